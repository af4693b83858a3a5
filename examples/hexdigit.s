; hexdigit.s: writes the 16-bit value at value as four ASCII hex digits into text, most
; significant digit first, looking each digit up in a table of characters.

start:  lw      r2, value       ; the value to convert
        lea     r3, text        ; where the next digit goes
        addi    r4, r0, 4       ; digits left
next:   srli    r5, r2, 12      ; the top four bits select the digit
        lea     r6, digits
        add     r6, r5
        lb      r7, 0(r6)
        sb      r7, 0(r3)       ; stores r7 right after loading it: a nop goes in between
        slli    r2, r2, 4       ; bring up the next four bits
        addi    r3, r3, 1
        subi    r4, r4, 1
        bne     next
halt:   ba      halt

value:  word    0xBEEF

; The sixteen digit characters, 0-9 then A-F.
digits:
        byte    0x30
        byte    0x31
        byte    0x32
        byte    0x33
        byte    0x34
        byte    0x35
        byte    0x36
        byte    0x37
        byte    0x38
        byte    0x39
        byte    0x41
        byte    0x42
        byte    0x43
        byte    0x44
        byte    0x45
        byte    0x46
        align   2
text:   bss     4               ; the four digits
