        nop                     ; => 0000
start:  nop                     ; => 0000
far:    nop                     ; => 0000 ; scope: far 0
