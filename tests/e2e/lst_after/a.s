; counts down from 3
        global start
start:  addi r2, r0, 3
loop:   subi r2, r2, 1
        bne loop
        lw r3, table+2(r0)
        ba start
table:  word 0x1234
        word table
