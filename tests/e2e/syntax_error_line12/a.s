        addi r1, r0, 1
        addi r2, r0, 2
        addi r3, r0, 3
        addi r4, r0, 4
        addi r5, r0, 5
        addi r6, r0, 6
        addi r7, r0, 7
        addi r8, r0, 8
        addi r9, r0, 9
        addi r10, r0, 10
; line 11
        addi r1, r2
        ret
