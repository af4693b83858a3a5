; an empty file between two others changes nothing
        nop                     ; => 0000
