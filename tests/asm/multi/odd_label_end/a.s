; a label at the odd end of one file names the padding byte that the next file lays down
        nop                     ; => 0000
        byte 1                  ; => 01
tail:                           ; scope: tail 1
