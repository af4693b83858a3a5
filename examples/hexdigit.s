; hexdigit.s: writes the 16-bit value at value as four ASCII hex digits into text, most
; significant digit first, looking each digit up in a table of characters.

        .equ    DIGIT_BITS, 4                   ; bits per hex digit
        .equ    DIGITS, 16 / DIGIT_BITS         ; digits per 16-bit value
        .equ    TOP_DIGIT, 16 - DIGIT_BITS      ; shift that leaves the top digit

start:  lw      r2, value       ; the value to convert
        lea     r3, text        ; where the next digit goes
        addi    r4, r0, DIGITS  ; digits left
next:   srli    r5, r2, TOP_DIGIT ; the top four bits select the digit
        lea     r6, digits
        add     r6, r5
        lb      r7, 0(r6)
        sb      r7, 0(r3)       ; stores r7 right after loading it: a nop goes in between
        slli    r2, r2, DIGIT_BITS ; bring up the next four bits
        addi    r3, r3, 1
        subi    r4, r4, 1
        bne     next
halt:   ba      halt

value:  word    0xBEEF

; The sixteen digit characters, 0-9 then A-F.
digits: .ascii  "0123456789ABCDEF"
        align   2
text:   bss     4               ; the four digits
