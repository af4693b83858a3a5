x: y: nop
loop
z: ljneg r1
        addi r1, r2
        align 6
        align 0
        align -4
        align 131072
        bss 0
        bss -2
        global 5
        global a b
        addl r12, r2
        lw r1, 3(r2)
        word undefined_one
        beq far
        lw r1, odd(r0)
odd:    byte 1
        bss 600
far:    nop
