; Operand forms accepted and refused. A statement that fails is reported once and emits
; nothing; the next line goes on. sym is 0x40.
        bss 0x40                ; => 00*64
sym:

; a number: one optional minus, no plus
        addi r1, r2, -5         ; => FFFF 612B
        addi r1, r2, - 5        ; => FFFF 612B
        addi r1, r2, -0x10      ; => FFFF 6120
        addi r1, r2, 0X1f       ; => F001 612F
        addi r1, r2, 007        ; => 6127
        addi r1, r2, 0x         ; => 6120
        addi r1, r2, +5         ; error: syntax error
        addi r1, r2, --5        ; error: syntax error
        addi r1, r2, 5 x        ; error: syntax error
        addi r1, r2, 12ab       ; error: syntax error
        addi r1, r2, 0x1g       ; error: syntax error

; a memory operand: [symbol | number] {+ or - number} [(register)]
        lw r1, (r2)             ; => A120
        lw r1, 4                ; => A104
        lw r1, +4(sp)           ; => A114
        lw r1, -2-2(r2)         ; => FFFF A12C
        lw r1, sym+4(r2)        ; => F004 A124
        lw r1, sym-2+8          ; => F004 A106
        lw r1,                  ; error: syntax error
        lw r1, sym 4            ; error: syntax error
        lw r1, 4 sym            ; error: syntax error
        lw r1, r2               ; error: syntax error
        lw r1, (sym)            ; error: syntax error
        lw r1, 4(r2             ; error: syntax error
        lw r1, 4(r2)x           ; error: syntax error
        lw r1, (r2)+4           ; error: syntax error
        lw r1, sym+sym          ; error: syntax error
        lea r1, 4(5)            ; error: syntax error
        lw r1 0(r2)             ; error: syntax error

; a branch takes one label and nothing else
        ba                      ; error: syntax error
        ba 0x100                ; error: syntax error
        ba sym 2                ; error: syntax error
        ba sym-2                ; error: syntax error

; register lists, of the wrong kind, too few or too many
        add sp, r2              ; => 7128
        nop r1                  ; error: syntax error
        add r1 r2               ; error: syntax error
        add r1, r2, r3          ; error: syntax error
        add r1, 5               ; error: syntax error
        addi r2, r3             ; error: syntax error
        addi r2, r3, r4         ; error: syntax error
        call                    ; error: syntax error
        call sym                ; error: syntax error
        imm 5 6                 ; error: syntax error
        imm sym                 ; error: syntax error
        mov r1                  ; error: syntax error
        cmpi r1, r2             ; error: syntax error
        sext r1, 5              ; error: syntax error
        addi r1, x, y           ; error: syntax error

; no mnemonic where one must stand
        r1, r2                  ; error: syntax error; expecting opcode
        + nop                   ; error: syntax error; expecting opcode
NOP                             ; error: syntax error: @
        nop;x                   ; => 0000
