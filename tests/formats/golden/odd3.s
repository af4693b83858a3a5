; Three words, the last holding a single byte, so the location counter ends odd (5).
start:  addi    r2, r0, 100     ; an imm prefix and its instruction: F006 6204
        byte    0x7A            ; 7A, and the zero at the location counter makes 7A00
