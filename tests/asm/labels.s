; A label (symbol and colon opening a line) takes the location counter; uses, label, global in any order.
start:
        word start              ; => 0000
there   :   word there          ; => 0002
tight:word tight                ; => 0004
NOP:    word NOP                ; => 0006
r16:    word r16                ; => 0008
_tmp9:  word _tmp9              ; => 000A
        word late               ; => 000E
late:   word late               ; => 000E
        global late
        word late               ; => 000E

; names agree in their first 31 characters; case matters; a later label wins everywhere
abcdefghij_abcdefghij_abcdefghij_ab_12345: word abcdefghij_abcdefghij_abcdefghij_ab_X2345 ; => 0012
        word abcdefghij_abcdefghij_abcdefghij_ab_12345_more ; => 0012
        word Late               ; => 0000 ; late error: undefined symbol 'Late' ; late note: 'Late' is used here
        word undefined_name_of_forty_characters_long ; => 0000 ; late error: undefined symbol 'undefined_name_of_forty_charact' ; late note: 'undefined_name_of_forty_charact' is used here
        word twice              ; => 001E
twice:  word twice              ; => 001E
twice:  word twice              ; => 001E; warning: label 'twice' redefined: every reference uses the last definition

; a label stays defined when its statement fails; what cannot start a line
x:      y: nop                  ; error: syntax error; expecting opcode
a1:     addi r1, r2             ; error: syntax error ; note: expected ',' at the end of the line
        word x                  ; => 0020
        word a1                 ; => 0020
loop                            ; error: syntax error: @ ; note: 'loop' is not a mnemonic; did you mean 'nop'?
nop:                            ; error: syntax error ; note: expected the end of the line at ':'
        word loop               ; => 0000 ; late error: undefined symbol 'loop' ; late note: 'loop' is used here
        word y                  ; => 0000 ; late error: undefined symbol 'y' ; late note: 'y' is used here

; a label at an odd address names the padding byte of the word after it, once
        byte 1                  ; => 01
odd1:                           ; a label alone
odd2:   align 1                 ; nothing laid down yet
        nop                     ; => 00 0000; warning: label 'odd1' at odd address 0029 names a padding byte; warning: label 'odd2' at odd address 0029 names a padding byte
        byte 1                  ; => 01
odd3:   lw r1, 3(r2)            ; => 00 A123; error: odd offset; warning: label 'odd3' at odd address 002D names a padding byte
        byte 1                  ; => 01
odd4:   word far                ; => 00 0038; warning: label 'odd4' at odd address 0031 names a padding byte
        byte 9                  ; => 09
odd5:
odd5:   byte x                  ; warning: label 'odd5' redefined: every reference uses the last definition; error: syntax error ; note: 'x' is not a constant defined above
        beq far                 ; => 00 9200; warning: label 'odd5' at odd address 0035 names a padding byte
far:
