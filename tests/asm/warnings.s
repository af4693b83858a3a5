; Lines that assemble as before but not as they read: each says so, and its bytes stay.

; immediates: -32768..65535 fit, one step beyond loses the upper bits
        addi r1, r0, 65535      ; => FFFF 610F
        addi r1, r0, 65536      ; => F000 6100; warning: value 65536 does not fit in 16 bits
        addi r1, r0, -32768     ; => F800 6100
        addi r1, r0, -32769     ; => F7FF 610F; warning: value -32769 does not fit in 16 bits
        addi r1, r0, 70000      ; => F117 6100; warning: value 70000 does not fit in 16 bits
        srli r2, r3, 70000      ; => F117 1230; warning: value 70000 does not fit in 16 bits
        subi r2, r3, -70000     ; => FEE9 5230; warning: value -70000 does not fit in 16 bits
        cmpi r2, 100000         ; => F86A 5020; warning: value 100000 does not fit in 16 bits
        imm 65536               ; => F000; warning: value 65536 does not fit in 16 bits
        imm -1                  ; => FFFF
        addi r1, r0, 70000 x    ; error: syntax error

; the interlock nop stays
        lw r4, 0(r5)            ; => A450
        addi r1, r4, 70000      ; => 0000 F117 6140; warning: value 70000 does not fit in 16 bits

; word: the value after its terms, unless a symbol makes it an address
        word 70000-10000        ; => EA60
        word 70000              ; => 1170; warning: value 70000 does not fit in 16 bits
        word 0-32769            ; => 7FFF; warning: value -32769 does not fit in 16 bits
        word 0-32768            ; => 8000
        word far+70000          ; => 1218

; memory offsets without a symbol; an odd lw or sw offset is an error instead
        lw r1, 70000(r2)        ; => F117 A120; warning: value 70000 does not fit in 16 bits
        lw r1, 70001(r2)        ; => A121; error: odd offset
        sw r1, -32770(r2)       ; => F7FF B12E; warning: value -32770 does not fit in 16 bits
        lb r1, 65535(r2)        ; => FFFF C12F
        lb r1, 65536(r2)        ; => F000 C120; warning: value 65536 does not fit in 16 bits
        sb r1, 0-40000(r2)      ; => F63C D120; warning: value -40000 does not fit in 16 bits
        lu r1, 70001(r2)        ; => F117 E121; warning: value 70001 does not fit in 16 bits
        lea r1, 70000(r2)       ; => F117 6120; warning: value 70000 does not fit in 16 bits
        lea r1, far+70000(r2)   ; => F121 6128
        lw r1, far+70000        ; => F121 A108
        lw r1, 70000(r2) junk   ; error: syntax error

; ll and sl reach d and d + 2: either may lose bits, one warning names d
        ll r2, 65532(r4)        ; => FFFF A24E FFFF A34C
        ll r2, 65534(r4)        ; => F000 A240 FFFF A34E; warning: value 65534 does not fit in 16 bits
        sl r2, -32770(r4)       ; => F800 B240 F7FF B34E; warning: value -32770 does not fit in 16 bits
        ll r2, 65535(r4)        ; => A241 A34F; error: odd offset; error: odd offset

; byte: -128..255 fit; text after the value is skipped, not read
        byte 255                ; => FF
        byte -128               ; => 80
        byte 256                ; => 00; warning: value 256 does not fit in 8 bits
        byte -129               ; => 7F; warning: value -129 does not fit in 8 bits
        byte 7 ; a comment      ; => 07
        byte 1, 2               ; => 01; warning: text after the byte value is ignored
        byte 300 unread         ; => 2C; warning: value 300 does not fit in 8 bits; warning: text after the byte value is ignored
        byte 2a                 ; => 02; warning: text after the byte value is ignored

; a label defined again: before its statement, whatever the statement does
dup:    nop                     ; => 0000
dup:    addi r1, r0, 70000      ; => F117 6100; warning: label 'dup' redefined: every reference uses the last definition; warning: value 70000 does not fit in 16 bits
dup:    addi r1                 ; warning: label 'dup' redefined: every reference uses the last definition; error: syntax error
a_label_name_well_beyond_31_characters: nop                      ; => 0000
a_label_name_well_beyond_31_characters_too: nop                  ; => 0000; warning: label 'a_label_name_well_beyond_31_cha' redefined: every reference uses the last definition

; a label at an odd address names the padding byte of the word after it
        byte 1                  ; => 01
odd1:                           ; a label alone
odd2:   align 1                 ; nothing laid down yet
        nop                     ; => 00 0000; warning: label 'odd1' at odd address 008B names a padding byte; warning: label 'odd2' at odd address 008B names a padding byte
        byte 1                  ; => 01
data:   byte 2                  ; => 02
        nop                     ; => 0000
        byte 1                  ; => 01
odd3:   lw r1, 3(r2)            ; => 00 A123; error: odd offset; warning: label 'odd3' at odd address 0093 names a padding byte
        byte 1                  ; => 01
odd4:   align 4                 ; => 00; warning: label 'odd4' at odd address 0097 names a padding byte
        byte 1                  ; => 01
odd5:   bss 2                   ; => 00 0000; warning: label 'odd5' at odd address 0099 names a padding byte
        byte 1                  ; => 01
odd6:   bss 3                   ; => 00 00 00
        byte 1                  ; => 01
odd7:   word far                ; => 00 00A8; warning: label 'odd7' at odd address 00A1 names a padding byte
        byte 9                  ; => 09
odd8:
odd8:   byte x                  ; warning: label 'odd8' redefined: every reference uses the last definition; error: syntax error
        beq far                 ; => 00 9200; warning: label 'odd8' at odd address 00A5 names a padding byte
far:
