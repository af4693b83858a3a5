; each file branches to its own loop
loop:   nop                     ; => 0000 ; scope: loop 1
        ba loop                 ; => 9FFE
