; every kind of warning, in a program that still assembles
start:  lw r2, 0(r3)
        addi r1, r2, 70000      ; the interlock nop comes after the warning
        byte 300
        byte 1, 2
        byte 3
msg:    word 0x12345            ; both warnings: the value first, then the padding
start:  ba start
        byte 7
end:
