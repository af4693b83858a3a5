addi r1, r2, 16
word 0xBEEF
