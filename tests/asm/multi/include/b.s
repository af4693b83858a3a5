; A later file sees a global constant, and no other name of the file before.
        .word   SHARED                  ; => 1234
        .byte   PORT                    ; error: 'PORT' is not a defined constant
        word    here                    ; => 0000 ; late error: undefined symbol 'here' ; late note: 'here' is used here
