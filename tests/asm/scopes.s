; Names within one file: one record per name, significant to 31 characters, case-sensitive.

; use, label and global in any order name one symbol, which ends up global
        word start              ; => 0004
        nop                     ; => 0000
start:  word start              ; => 0004
        global start            ; scope: start 0
        word start              ; => 0004

; names that agree in their first 31 characters are one symbol
abcdefghij_abcdefghij_abcdefghij_ab_12345: word abcdefghij_abcdefghij_abcdefghij_ab_X2345 ; => 0008
        word abcdefghij_abcdefghij_abcdefghij_ab_12345_more ; => 0008
        word undefined_name_of_forty_characters_long ; => 0000 ; late error: undefined symbol 'undefined_name_of_forty_charact'

; case matters
Loop:   nop                     ; => 0000
loop:   nop                     ; => 0000
        word Loop               ; => 000E
        word loop               ; => 0010
        word LOOP               ; => 0000 ; late error: undefined symbol 'LOOP'
