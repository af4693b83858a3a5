; A few words: an immediate that needs a prefix, a load followed by its use (which gets a
; nop), a branch back, and a trailing byte that leaves the program 13 bytes long, so its
; last word is 5A00.
start:  addi    r2, r0, 100
        lw      r3, 0(r2)
        add     r4, r3
        bne     start
        byte    0x5A
