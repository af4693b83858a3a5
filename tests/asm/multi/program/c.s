; the data, after the code: a byte table at 0x0068 and the result word at 0x006E
        global  table
        align   4                       ; => 0000
table:  byte    1                       ; => 01
        byte    2                       ; => 02
        byte    3                       ; => 03
        byte    4                       ; => 04
        word    result                  ; => 006E
result: bss     4                       ; => 00000000
        word    helper                  ; => 0040
