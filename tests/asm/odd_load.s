; A symbolic load after an odd byte: a zero byte pads it to a word before its prefix.
        byte 1                  ; => 01
        lw r1, val              ; => 00 F000 A106
val:    word 0x1234             ; => 1234
