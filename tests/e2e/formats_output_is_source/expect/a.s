        word 0x1234
