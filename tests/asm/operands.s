; Operand forms accepted and refused: a failed statement is reported once, emits nothing. sym is 0x40.
        bss 0x40                ; => 00*64
sym:

; every register name by its number
        add r7, r8              ; => 7788
        add r9, r13             ; => 79D8
        add r14, r15            ; => 7EF8

; a number: one optional minus, no plus
        addi r1, r2, - 5        ; => FFFF 612B
        addi r1, r2, 0X1f       ; => F001 612F
        addi r1, r2, 0x         ; => 6120
        addi r1, r2, +5         ; error: syntax error
        addi r1, r2, --5        ; error: syntax error
        addi r1, r2, 12ab       ; error: syntax error

; a memory operand: [symbol | number] {+ or - number} [(register)]
        lw r1, (r2)             ; => A120
        lw r1, 4                ; => A104
        lw r1, +4(sp)           ; => A114
        lw r1, -2-2(r2)         ; => FFFF A12C
        lw r1, sym+4(r2)        ; => F004 A124
        lw r1, sym-2+8          ; => F004 A106
        lw r1,                  ; error: syntax error
        lw r1, sym 4            ; error: syntax error
        lw r1, sym+sym          ; error: syntax error
        lw r1, (sym)            ; error: syntax error
        lw r1, 4(r2             ; error: syntax error
        lw r1, 4(r2)x           ; error: syntax error

; fixed operand lists: too few, too many, or of the wrong kind
        nop r1                  ; error: syntax error
        add r1 r2               ; error: syntax error
        add r1, r2, r3          ; error: syntax error
        add r16, r2             ; error: syntax error
        add r:, r2              ; error: syntax error
        add a1, r2              ; error: syntax error
        addi r2, r3             ; error: syntax error
        addi r1, x, y           ; error: syntax error
        call sym                ; error: syntax error
        imm sym                 ; error: syntax error
        cmpi r1, r2             ; error: syntax error
        ba 0x100                ; error: syntax error
        ba sym 2                ; error: syntax error

; no mnemonic where one must stand
        r1, r2                  ; error: syntax error; expecting opcode
NOP                             ; error: syntax error: @
        nop;x                   ; => 0000
