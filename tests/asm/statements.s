; One statement of every group, each at an even address after a word that loads nothing
; it reads. table, x and v name address 0, so their patched words equal the placeholders.
table:
x:
v:

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
        xor r1, r2              ; => 7121
        ror r1, r2              ; => 7122
        rcr r1, r2              ; => 7123
        or r1, r2               ; => 7124
        andn r1, r2             ; => 7125
        subr r1, r2             ; => 7126
        cmp r3, r4              ; => 7347
        add r1, r2              ; => 7128
        sub r1, r2              ; => 7129
        addc r1, r2             ; => 712A
        subc r1, r2             ; => 712B
        rol r1, r2              ; => 712C
        rcl sp, r15             ; => 71FD

; register jumps: the condition in A
        call r3                 ; => 8F31
        lja r2                  ; => 8F28
        ljltu r4                ; => 8048
        ljeq r5                 ; => 8258
        ljleu r15               ; => 8BF8
        ljn r0                  ; => 8E08

; short branch, left as laid down when its label is never defined
        beq done                ; => 9200 ; late error: undefined symbol 'done'

; loads and stores
        lw r1, 14(r2)           ; => A12E
        lw r1, 16(r2)           ; => A121
        lw r1, 30(r2)           ; => A12F
        lw r1, 32(r2)           ; => F002 A120
        lw r1, -2(r2)           ; => FFFF A12E
        lw r1, 3(r2)            ; => A123 ; error: odd offset
        lw r1, 17(r2)           ; => A121 ; error: odd offset
        lb r1, 20(r2)           ; => F001 C124
        sb r5, 7(r6)            ; => D567
        lw r2, table+4(r3)      ; => F000 A234
        lu r1, x                ; => F000 E100

; imm prefix alone: the low 4 bits are dropped
        imm 0x1234              ; => F123
        imm 5                   ; => F000

; pseudo-instructions
        mov r1, r2              ; => 6120
        cmpi r3, 5              ; => 5035
        cmpi r3, 100            ; => F006 5034
        lea r1, 8(r2)           ; => 6128
        lea r1, -3(r2)          ; => FFFF 612D
        lea r1, x+20            ; => F001 6104
        sext r1, r2             ; => 3128 2118
        zext r1, r2             ; => 3128 1118
        addl r2, r4             ; => 7248 735A
        subl r0, r4             ; => 7049 705B
        andl r2, r4             ; => 7240 7350
        orl r2, r4              ; => 7244 7354
        xorl r2, r4             ; => 7241 7351
        andnl r2, r4            ; => 7245 7355
        movl r2, r4             ; => 6240 6350
        movl r0, r11            ; => 60B0 60C0
        addl r12, r1            ; error: r12 is not a long register name
        ll r2, 4(r6)            ; => A266 A364
        sl r2, 4(r6)            ; => B266 B364
        ll r2, 14(r6)           ; => A261 A36E
        ll r2, 30(r6)           ; => F002 A260 A36F
        ll r2, v(r6)            ; => F000 A262 F000 A360
        ll r15, 0(r1)           ; => AF12 A010
        ll r2, 3(r6)            ; => A265 A363 ; error: odd offset ; error: odd offset

; statements that are refused whole
        ljneg r1                ; error: unexpected token
        addi r1, r2, x          ; error: syntax error
        ba 0x100                ; error: syntax error
        ba done+2               ; error: syntax error
        call done               ; error: syntax error
        ret r1                  ; error: syntax error
