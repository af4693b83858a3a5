; Named constants: a constant defined above is its number wherever a number stands.
        .equ    TEN, 10
        .equ    UART, 0xFF00
        .equ    BIG, TEN * 100          ; nothing laid down
        .equ    FOUR, TEN-6
        addi    r2, r3, TEN             ; => 623A
        addi    r2, r3, BIG             ; => F03E 6238
        addi    r2, r3, -TEN            ; => FFFF 6236
        lw      r1, UART+2(r0)          ; => FFF0 A102
        lw      r1, TEN(r2)             ; => A12A
        sw      r6, -TEN+UART(sp)       ; => FFEF B616
        lea     r4, UART                ; => FFF0 6400
        imm     UART                    ; => FFF0
        cmpi    r1, 'A'                 ; => F004 5011
        byte    -TEN                    ; => F6
        align   FOUR                    ; => 00
        bss     FOUR                    ; => 0000 0000
        word    UART+TEN                ; => FF0A
        word    lab+TEN                 ; => 0034
        word    LATER                   ; => 2345
lab:    beq     LATER                   ; => 9200 ; late error: 'LATER' is a constant, not a label ; late note: the branch is here
        addi    r1, r2, LATER           ; error: syntax error ; note: 'LATER' is not a constant defined above
        .equ    LATER, 0x12345

; expressions: C's precedence and associativity, 32 bits that wrap
        .word   1|2^3&4<<1+1*2, (1+2)*3, 10-3-2, 64>>2>>1, 100/10/5 ; => 0003 0009 0005 0008 0002
        .word   -7/2, -7%2, -16>>2, ~0, -+-1, 6&3 ; => FFFD FFFF FFFC FFFF 0001 0002
        .word   (-2147483647-1)/-1>>16, (-2147483647-1)%-1, 0xFFFF<<16>>31 ; => 8000 0000 FFFF
        .word   0x7FFFFFFF+1            ; => 0000; warning: value -2147483648 does not fit in 16 bits

; character literals and their escapes
        .byte   '\\', '\'', '"', '\n', '\r', '\t', '\0', '\x7f', ';', 'a' ; => 5C 27 22 0A 0D 09 00 7F 3B 61

; what a constant cannot do, and what cannot be read
        .equ    TEN, 5+5
        .equ    TEN, 11                 ; error: constant 'TEN' redefined with another value
        .equ    lab, 1                  ; error: 'lab' is already a label
TEN:    nop                             ; error: 'TEN' is already a constant
        beq     TEN                     ; error: 'TEN' is a constant, not a label
        .equ    X, Y                    ; error: 'Y' is not a defined constant
        .equ    X, lab                  ; error: 'lab' is not a defined constant
        .equ    X, 1/0                  ; error: division by zero
        .equ    X, 1%0                  ; error: division by zero
        .equ    X, 1<<32                ; error: shift count 32 is out of range
        .equ    X, 1>>-1                ; error: shift count -1 is out of range
        .equ    X, (1                   ; error: syntax error ; note: expected ')' at the end of the line
        .equ    X 1                     ; error: syntax error ; note: expected ',' at '1'
        .equ    5, 1                    ; error: syntax error ; note: expected a name at '5'
        nop     'ab'                    ; error: a character literal holds one character
        nop     ''                      ; error: a character literal holds one character
        nop     '\q'                    ; error: unknown escape '\q'
        nop     '\x4'                   ; error: unknown escape '\x'
        nop     "x"                     ; error: a string needs .byte, .ascii or .asciz
        addi    r1, r2, 'a              ; error: missing closing quote
        .frob   1                       ; error: unknown directive '.frob'
        . equ   X, 1                    ; error: unknown directive '.'
        word    X                       ; => 0000 ; late error: undefined symbol 'X' ; late note: 'X' is used here
