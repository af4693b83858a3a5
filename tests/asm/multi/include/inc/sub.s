here:   .byte   'h', 256                ; => 68 00; warning: value 256 does not fit in 8 bits ; late note: 'here' is defined here, local to its file
        word    gone                    ; => 0000 ; late note: 'gone' is used here
