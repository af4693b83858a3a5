nop
lw r1, 3(r2)
ret
