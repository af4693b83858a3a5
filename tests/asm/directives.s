; Data and layout directives, from address 0.

; byte: the low 8 bits of one number; text after it is skipped, not read
        byte 1, 2, 3            ; => 01; warning: text after the byte value is ignored ; note: '.byte' lays down a list of values
msg:    nop                     ; => 00 0000; warning: label 'msg' at odd address 0001 names a padding byte
        word msg                ; => 0001
        word target             ; => 000C
        byte 255                ; => FF
        byte -128               ; => 80
        byte -129               ; => 7F; warning: value -129 does not fit in 8 bits
        byte 256                ; => 00; warning: value 256 does not fit in 8 bits
        byte x                  ; error: syntax error ; note: 'x' is not a constant defined above

; word: a number, or one symbol first, then signed numbers
target: word 0x1234             ; => 1234
        word 0-5                ; => FFFB
        word target+4-1         ; => 000F
        word 0x12345            ; => 2345; warning: value 74565 does not fit in 16 bits
        word -5                 ; error: syntax error ; note: expected a number at '-'
        word target 4           ; error: syntax error ; note: expected the end of the line at '4'
        word target+other       ; error: syntax error ; note: 'other' is not a constant defined above

; bss: n zero bytes, aligned to 2 first when n is even
        byte 7                  ; => 07
        bss 3                   ; => 00 0000
        byte 7                  ; => 07
        bss 4                   ; => 00 0000 0000
        bss 0                   ; error: bss 0 is not positive
        bss 2 3                 ; error: syntax error ; note: expected the end of the line at '3'

; align: zero bytes up to the next multiple of a power of 2; global: one symbol
        byte 7                  ; => 07
        align 4                 ; => 00
        align 4
        byte 7                  ; => 07
        align 8                 ; => 00*7
        align 6                 ; error: alignment 6 is not a power of 2
        align 0                 ; error: alignment 0 is not a power of 2
        align 0x80000000        ; error: alignment -2147483648 is not a power of 2
        align                   ; error: syntax error ; note: expected a number at the end of the line
        global 5                ; error: syntax error ; note: expected a label at '5'
