        nop                     ; => 0000
dup:    word dup                ; => 0004
