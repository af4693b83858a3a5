; Operand forms accepted and refused, through the statements that use them. sym is 0x40.
        bss 0x40                ; => 00*64
sym:

; a number: one optional minus, no plus
        addi r1, r2, -5         ; => FFFF 612B
        addi r1, r2, - 5        ; => FFFF 612B
        addi r1, r2, 0x10       ; => F001 6120
        addi r1, r2, -0x10      ; => FFFF 6120
        addi r1, r2, 0X1f       ; => F001 612F
        addi r1, r2, 007        ; => 6127
        addi r1, r2, +5         ; error: syntax error
        addi r1, r2, --5        ; error: syntax error
        addi r1, r2, x          ; error: syntax error
        addi r1, r2, 5 x        ; error: syntax error
        addi r1, r2, 12ab       ; error: syntax error
        addi r1, r2, 0x1g       ; error: syntax error
        addi r1, r2, 0x         ; => 6120

; a memory operand: [symbol | number] {+ or - number} [(register)]
        lw r1, (r2)             ; => A120
        lw r1, (r0)             ; => A100
        lw r1, 4                ; => A104
        lw r1, -4(r3)           ; => FFFF A13C
        lw r1, +4(sp)           ; => A114
        lw r1, 2+2(r2)          ; => A124
        lw r1, -2-2(r2)         ; => FFFF A12C
        lw r1, sym              ; => F004 A100
        lw r1, sym+4(r2)        ; => F004 A124
        lw r1, sym-2+8          ; => F004 A106
        lea r1, (r2)            ; => 6120
        lea r1, sym-0x41(r2)    ; => FFFF 612F
        lw r1,                  ; error: syntax error
        lw r1, sym 4            ; error: syntax error
        lw r1, 4 sym            ; error: syntax error
        lw r1, r2               ; error: syntax error
        lw r1, (sym)            ; error: syntax error
        lw r1, 4(r2             ; error: syntax error
        lw r1, 4(r2)x           ; error: syntax error
        lw r1, (r2)+4           ; error: syntax error
        lw r1, 4(r2)(r3)        ; error: syntax error
        lw r1, sym+sym          ; error: syntax error
        lea r1, 4(5)            ; error: syntax error
        sw r1, ()               ; error: syntax error

; a word expression: one symbol or number first, then signed numbers
        word sym                ; => 0040
        word sym+4-1            ; => 0043
        word 5+3                ; => 0008
        word sym+sym            ; error: syntax error
        word 5 sym              ; error: syntax error

; register lists
        add r1,r2               ; => 7128
        add sp, r1              ; => 7118
        add r1, r2 r3           ; error: syntax error
        add r1,r2,r3            ; error: syntax error
