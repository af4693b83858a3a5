addi r1, r2
word never_defined
