; Two words and a byte: the location counter ends odd (5), and the last word is 0700.
        word    0x12AB
        word    0xCD34
        byte    7
