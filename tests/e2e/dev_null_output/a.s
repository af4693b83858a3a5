nop
addi r1
