bss 65530
nop
nop
word t
beq t
lw r1, t(r2)
t: nop
byte 1
align 65536
