        addi r2, r0, 1
