; A statement that reads a register loaded by the word just before it gets a nop in front;
; the second line of each pair owns it. rs is checked, or the only register; none below 2.
        mov r1, r2              ; => 6120
        lw r2, 0(r3)            ; => A230
        add r1, r2              ; => 0000 7128
        lw r2, 0(r3)            ; => A230
        add r2, r1              ; => 7218
        lw r2, 0(r3)            ; => A230
        mov r1, r2              ; => 0000 6120
        lb r2, 0(r3)            ; => C230
        call r2                 ; => 0000 8F21
        lu r2, 1(r3)            ; => E231
        ljeq r2                 ; => 0000 8228
        lw r2, 0(r3)            ; => A230
        sext r1, r2             ; => 0000 3128 2118

; before the prefix of an immediate; stores check the register stored, after their prefix
        lw r2, 0(r3)            ; => A230
        addi r1, r2, 100        ; => 0000 F006 6124
        lw r2, 0(r3)            ; => A230
        cmpi r2, 100            ; => 0000 F006 5024

        lw r2, 0(r3)            ; => A230
        sw r2, 0(r4)            ; => 0000 B240
        lw r2, 0(r3)            ; => A230
        sw r2, 100(r4)          ; => F006 B244
        lw r2, 0(r3)            ; => A230
        sl r2, 0(r4)            ; => 0000 B242 B340
        lw r3, 0(r5)            ; => A350
        sl r2, 0(r4)            ; => B242 B340

; no base register is checked; after ll the high half was loaded last
        lw r2, 0(r3)            ; => A230
        lw r1, 4(r2)            ; => A124
        lw r2, 0(r3)            ; => A230
        sb r1, 0(r2)            ; => D120
        ll r2, 0(r4)            ; => A242 A340
        srli r1, r3, 3          ; => 0000 1133

; statements that check nothing; r0 is never loaded; a data word that looks like a load is one
        lw r2, 0(r3)            ; => A230
        lea r1, 0(r2)           ; => 6120
        lw r2, 0(r3)            ; => A230
        addl r4, r2             ; => 7428 753A

        lw r0, 0(r3)            ; => A030
        add r1, r0              ; => 7108
        word 0xA500             ; => A500
        mov r1, r5              ; => 0000 6150
