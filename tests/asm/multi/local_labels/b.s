loop:   nop                     ; => 0000 ; scope: loop 2
        ba loop                 ; => 9FFE
        ba before               ; => 9F00 ; late error: undefined symbol 'before'
