        global start
start:  addi r1, r2, 100
loop:   bne loop
        byte 7
