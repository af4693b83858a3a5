; Data lists and strings: .byte, .ascii and .asciz lay down bytes with no alignment.
        .byte   1, 2+3, "a;b", 'c'      ; => 01 05 61 3B 62 63
        .ascii  "hi\x21", "\"\\"        ; => 68 69 21 22 5C
        .asciz  "ab", ""                ; => 61 62 00 00
        .byte   256, -129               ; => 00 7F; warning: value 256 does not fit in 8 bits; warning: value -129 does not fit in 8 bits
; .word aligns as word does: one word per item, a symbol's through a fixup
odd:    .word   1, odd+2*2, 0x12345     ; => 00 0001 0015 2345; warning: label 'odd' at odd address 0011 names a padding byte; warning: value 74565 does not fit in 16 bits
        .word   later-2, -1             ; => 002E FFFF
; nothing of a list is laid down when an item is wrong
        .byte   1, x                    ; error: 'x' is not a defined constant
        .byte   1,                      ; error: syntax error ; note: expected a number at the end of the line
        .byte   1 2                     ; error: syntax error ; note: expected the end of the line at '2'
        .ascii  1                       ; error: syntax error ; note: expected a string at '1'
        .byte   "abc                    ; error: missing closing quote
        .asciz  "a\z"                   ; error: unknown escape '\z'
        .word   "ab"                    ; error: a string needs .byte, .ascii or .asciz
        .word   later-x                 ; error: 'x' is not a defined constant
        byte    "a"                     ; error: a string needs .byte, .ascii or .asciz
        byte    1, "a"                  ; => 01; warning: text after the byte value is ignored ; note: '.byte' lays down a list of values
; .org: zero bytes up to an address, never back, never past the image
        .org    0x30                    ; => 00*19
later:  .org    0x30
        .org    0x2F                    ; error: org 002F is below the location counter 0030
        .org    0x10001                 ; => 00*65488; error: code image is full
