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
        addi r1, r2, +5         ; error: syntax error ; note: expected a number at '+'
        addi r1, r2, --5        ; error: syntax error ; note: expected a number at '-'
        addi r1, r2, 12ab       ; error: syntax error ; note: expected the end of the line at 'ab'

; a memory operand: [symbol | number] {+ or - number} [(register)]
        lw r1, (r2)             ; => A120
        lw r1, 4                ; => A104
        lw r1, +4(sp)           ; => A114
        lw r1, -2-2(r2)         ; => FFFF A12C
        lw r1, sym+4(r2)        ; => F004 A124
        lw r1, sym-2+8          ; => F004 A106
        lw r1,                  ; error: syntax error ; note: expected a memory operand at the end of the line
        lw r1, sym 4            ; error: syntax error ; note: expected '(' at '4'
        lw r1, sym+sym          ; error: syntax error ; note: 'sym' is not a constant defined above
        lw r1, (sym)            ; error: syntax error ; note: expected a register at 'sym'
        lw r1, 4(r2             ; error: syntax error ; note: expected ')' at the end of the line
        lw r1, 4(r2)x           ; error: syntax error ; note: expected the end of the line at 'x'

; fixed operand lists: too few, too many, or of the wrong kind
        nop r1                  ; error: syntax error ; note: expected the end of the line at 'r1'
        add r1 r2               ; error: syntax error ; note: expected ',' at 'r2'
        add r1, r2, r3          ; error: syntax error ; note: expected the end of the line at ','
        add r16, r2             ; error: syntax error ; note: expected a register at 'r16'
        add r:, r2              ; error: syntax error ; note: expected a register at 'r'
        add a1, r2              ; error: syntax error ; note: expected a register at 'a1'
        addi r2, r3             ; error: syntax error ; note: expected ',' at the end of the line
        addi r1, x, y           ; error: syntax error ; note: expected a register at 'x'
        call sym                ; error: syntax error ; note: expected a register at 'sym'
        imm sym                 ; error: syntax error ; note: 'sym' is not a constant defined above
        cmpi r1, r2             ; error: syntax error ; note: expected a number at 'r2'
        ba 0x100                ; error: syntax error ; note: expected a label at '0x100'
        ba sym 2                ; error: syntax error ; note: expected the end of the line at '2'
        mov r1, 5               ; error: syntax error ; note: expected a register at '5'
        addl r2, 4              ; error: syntax error ; note: expected a long register at '4'
        sl 2, 0(r4)             ; error: syntax error ; note: expected a long register at '2'

; no mnemonic where one must stand
        r1, r2                  ; error: syntax error; expecting opcode
NOP                             ; error: syntax error: @ ; note: mnemonics are lower case: 'nop'
        ADDI r1, r2, 1          ; error: syntax error: @ ; note: mnemonics are lower case: 'addi'
        addd r1, r2             ; error: syntax error: @ ; note: 'addd' is not a mnemonic; did you mean 'addi'?
here    nop                     ; error: syntax error: @ ; note: 'here' is not a mnemonic, and a label needs a ':'
lab:    Ret                     ; error: syntax error; expecting opcode ; note: mnemonics are lower case: 'ret'
        nop;x                   ; => 0000
