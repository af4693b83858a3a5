; The pseudo-instructions and long pairs, word by word (real instructions: unit tests). x is 0.
x:
        mov r1, r2              ; => 6120
        cmpi r3, 5              ; => 5035
        cmpi r3, 100            ; => F006 5034
        lea r1, -3(r2)          ; => FFFF 612D
        lea r1, x+20            ; => F001 6104
        sext r1, r2             ; => 3128 2118
        zext r1, r2             ; => 3128 1118

; long registers: rN is the low half, rN+1 the high one, and r0 pairs itself
        addl r0, r11            ; => 70B8 70CA
        subl sp, r2             ; => 7129 723B
        andl r2, r4             ; => 7240 7350
        orl r2, r4              ; => 7244 7354
        xorl r11, r10           ; => 7BA1 7CB1
        andnl r3, r0            ; => 7305 7405
        movl r0, r11            ; => 60B0 60C0
        addl r12, r1            ; error: r12 is not a long register name
        subl r1, r12            ; error: r12 is not a long register name
        andnl r1, r2, r3        ; error: syntax error ; note: expected the end of the line at ','
; ll and sl: low half at offset+2, high at offset, r15 pairs with r0; keywords with no statement
        ll r2, 4(r6)            ; => A266 A364
        ll r2, -2(r6)           ; => A260 FFFF A36E
        sl r2, 30(r6)           ; => F002 B260 B36F
        ll r2, x(r6)            ; => F000 A262 F000 A360
        sl r15, 0(r1)           ; => BF12 B010
        ll r2, 3(r6)            ; => A265 A363 ; error: odd offset ; error: odd offset
        ll r2, r6               ; error: syntax error ; note: expected a memory operand at 'r6'
        ljneg r1                ; error: unexpected token ; note: 'ljneg' is reserved but is not an instruction
        cmpl r1, r2             ; error: unexpected token ; note: 'cmpl' is reserved but is not an instruction
