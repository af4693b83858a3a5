; A statement that fails is reported once and emits nothing; the next line goes on.

; keywords with no statement
        ljneg r1                ; error: unexpected token
        ljpos r1                ; error: unexpected token
        bneg next               ; error: unexpected token
        bpos next               ; error: unexpected token
        cmpl r1, r2             ; error: unexpected token

; no mnemonic where one must stand
        r1, r2                  ; error: syntax error; expecting opcode
        5                       ; error: syntax error; expecting opcode
        + nop                   ; error: syntax error; expecting opcode
        (r2)                    ; error: syntax error; expecting opcode
NOP                             ; error: syntax error: @
Nop r1                          ; error: syntax error: @

; operands of the wrong kind, too few or too many
        nop r1                  ; error: syntax error
        wait 1                  ; error: syntax error
        add r1 r2               ; error: syntax error
        add r1, r2, r3          ; error: syntax error
        add r1,                 ; error: syntax error
        add r1, 5               ; error: syntax error
        add sym, r2             ; error: syntax error
        addi r2, r3             ; error: syntax error
        addi r2, r3, 4, 5       ; error: syntax error
        addi r2, r3, r4         ; error: syntax error
        call                    ; error: syntax error
        call r1, r2             ; error: syntax error
        imm                     ; error: syntax error
        imm 5 6                 ; error: syntax error
        imm sym                 ; error: syntax error
        mov r1                  ; error: syntax error
        cmpi r1, r2             ; error: syntax error
        sext r1, 5              ; error: syntax error
        lw 5, 0(r2)             ; error: syntax error
        lw r1 0(r2)             ; error: syntax error

; two faults in one statement give one message
        addi r1, x, y           ; error: syntax error
        addl r12, r13           ; error: r12 is not a long register name
        lw r1, 3 sym            ; error: syntax error

; the lines after a failure assemble as usual
next:   nop                     ; => 0000
        nop;x                   ; => 0000
