; long32.s: routines on 32-bit values in long registers. A long register rN is the pair of
; rN (low half) and rN+1 (high half), so r4 stands for r4:r5. In memory a 32-bit value
; keeps its high half at the lower address.

        global  times5
        global  add_to

; times5: r4:r5 = 5 * r4:r5, as 4x + x. Uses r6:r7.
times5: movl    r6, r4          ; keep x
        addl    r4, r4          ; 2x
        addl    r4, r4          ; 4x
        addl    r4, r6          ; 5x
        ret

; add_to: adds r4:r5 to the 32-bit variable at the address in r2. Uses r6:r7.
add_to: ll      r6, 0(r2)       ; r7 = high half at r2, r6 = low half at r2+2
        addl    r6, r4
        sl      r6, 0(r2)
        ret
