; A long register rN holds its low half in rN and its high half in rN+1; r0 pairs itself.
v:

; two-register long operations: the low pair, then the high pair
        addl r0, r0             ; => 7008 700A
        addl r0, r11            ; => 70B8 70CA
        addl r11, r10           ; => 7BA8 7CBA
        addl sp, r2             ; => 7128 723A
        subl r11, r11           ; => 7BB9 7CCB
        andnl r3, r0            ; => 7305 7405
        movl r1, r0             ; => 6100 6200

; r12 and above name no pair; the first bad register is the one reported
        addl r12, r1            ; error: r12 is not a long register name
        subl r1, r12            ; error: r12 is not a long register name
        andl r13, r14           ; error: r13 is not a long register name
        orl r15, r0             ; error: r15 is not a long register name
        xorl r0, r15            ; error: r15 is not a long register name
        movl r12, r12           ; error: r12 is not a long register name
        andnl r1, r2, r3        ; error: syntax error

; long load and store: low half at offset+2, high half at offset, any register
        ll r0, 0(r0)            ; => A002 A000
        sl r15, 0(r1)           ; => BF12 B010
        ll r14, 0(r2)           ; => AE22 AF20
        ll r11, -2              ; => AB00 FFFF AC0E
        ll r2, -2(r6)           ; => A260 FFFF A36E
        ll r2, 28(r6)           ; => A26F A36D
        sl r2, 30(r6)           ; => F002 B260 B36F
        sl r2, v(r6)            ; => F000 B262 F000 B360
        sl r2, 1(r6)            ; => B263 B361 ; error: odd offset ; error: odd offset
        ll r2, r6               ; error: syntax error
