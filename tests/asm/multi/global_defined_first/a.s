; a global label of the first file, used by the second
        global start
        nop                     ; => 0000
start:  nop                     ; => 0000 ; scope: start 0
