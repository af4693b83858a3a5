; One statement of every group, each after a word that loads nothing it reads. x names
; address 0, so its patched words equal the placeholders.
x:

; no operands
        nop                     ; => 0000
        wait                    ; => 0001
        break                   ; => 000F
        ret                     ; => 8F02
        reti                    ; => 8F04

; register, register, immediate
        srli r1, r2, 3          ; => 1123
        srai r4, r5, 15         ; => 245F
        slli r15, r0, 0         ; => 3F00
        addi r1, r2, 100        ; => F006 6124
        subi r3, r4, -2         ; => FFFF 534E

; two registers: the function in L
        and r1, r2              ; => 7120
        cmp r3, r4              ; => 7347
        add sp, r15             ; => 71F8
        rcl r1, r2              ; => 712D

; register jumps: the condition in A
        call r3                 ; => 8F31
        lja r2                  ; => 8F28
        ljltu r4                ; => 8048
        ljleu r15               ; => 8BF8
        ljn r0                  ; => 8E08

; loads and stores, a symbol taking a prefix
        lw r2, x+4(r3)          ; => F000 A234
        lu r1, x                ; => F000 E100
        sb r5, 7(r6)            ; => D567

; pseudo-instructions
        mov r1, r2              ; => 6120
        cmpi r3, 5              ; => 5035
        cmpi r3, 100            ; => F006 5034
        lea r1, -3(r2)          ; => FFFF 612D
        lea r1, x+20            ; => F001 6104
        sext r1, r2             ; => 3128 2118
        zext r1, r2             ; => 3128 1118

; long registers: rN is the low half, rN+1 the high one, and r0 pairs itself
        addl r0, r11            ; => 70B8 70CA
        addl r11, r10           ; => 7BA8 7CBA
        subl sp, r2             ; => 7129 723B
        andl r2, r4             ; => 7240 7350
        orl r2, r4              ; => 7244 7354
        xorl r2, r4             ; => 7241 7351
        andnl r3, r0            ; => 7305 7405
        movl r0, r11            ; => 60B0 60C0
        addl r12, r1            ; error: r12 is not a long register name
        subl r1, r12            ; error: r12 is not a long register name
        movl r13, r15           ; error: r13 is not a long register name
        andnl r1, r2, r3        ; error: syntax error

; long load and store: low half at offset+2, high half at offset; r15 pairs with r0
        ll r2, 4(r6)            ; => A266 A364
        sl r2, 14(r6)           ; => B261 B36E
        ll r2, 28(r6)           ; => A26F A36D
        ll r2, -2(r6)           ; => A260 FFFF A36E
        sl r2, 30(r6)           ; => F002 B260 B36F
        ll r2, x(r6)            ; => F000 A262 F000 A360
        sl r15, 0(r1)           ; => BF12 B010
        ll r11, -2              ; => AB00 FFFF AC0E
        ll r2, 3(r6)            ; => A265 A363 ; error: odd offset ; error: odd offset
        ll r2, r6               ; error: syntax error

; keywords without a statement
        ljneg r1                ; error: unexpected token
        ljpos r1                ; error: unexpected token
        bneg x                  ; error: unexpected token
        bpos x                  ; error: unexpected token
        cmpl r1, r2             ; error: unexpected token
