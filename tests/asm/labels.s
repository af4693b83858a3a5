; A label is a symbol and a colon at the start of a line; it takes the location counter.

; alone, before a statement, and with white space before the colon
start:
        word start              ; => 0000
here:   word here               ; => 0002
there   :   word there          ; => 0004
tight:word tight                ; => 0006
mark:                           ; a label with a comment
        word mark               ; => 0008
NOP:    word NOP                ; => 000A
R1:     word R1                 ; => 000C
Sp:     word Sp                 ; => 000E
r16:    word r16                ; => 0010
nopx:   word nopx               ; => 0012
sp1:    word sp1                ; => 0014
_tmp9:  word _tmp9              ; => 0016

; a second definition replaces the first, for every use before or after it
        word twice              ; => 0020
twice:  word twice              ; => 0020
        nop                     ; => 0000
        word twice              ; => 0020
twice:  word twice              ; => 0020; warning: label 'twice' redefined: every reference uses the last definition

; the label stays defined when its statement fails
x:      y: nop                  ; error: syntax error; expecting opcode
a1:     addi r1, r2             ; error: syntax error
z:      ljneg r1                ; error: unexpected token
        word x                  ; => 0022
        word a1                 ; => 0022
        word z                  ; => 0022

; what cannot start a line
loop                            ; error: syntax error: @
lbl nop                         ; error: syntax error: @
5:      nop                     ; error: syntax error; expecting opcode
r1:     nop                     ; error: syntax error; expecting opcode
:       nop                     ; error: syntax error; expecting opcode
lbl2: : nop                     ; error: syntax error; expecting opcode
nop:                            ; error: syntax error
        word loop               ; => 0000 ; late error: undefined symbol 'loop'
        word y                  ; => 0000 ; late error: undefined symbol 'y'
