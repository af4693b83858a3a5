here:   .byte   'h', 256                ; => 68 00; warning: value 256 does not fit in 8 bits
