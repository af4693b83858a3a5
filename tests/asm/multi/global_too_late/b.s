        global start
start:  nop                     ; => 0000 ; scope: start 0
