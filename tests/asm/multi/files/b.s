; the load at the end of a.s counts for the first statement here
        mov r1, r5              ; => 0000 6150
        ba first                ; => 9FF6
loop:   ba loop                 ; => 9FFF
later:  nop                     ; => 0000
        global start            ; too late for a.s, which kept a record of its own
start:  nop                     ; => 0000 ; late note: 'start' is defined here, as a global: a file that uses it names it global too
dup:    word dup                ; => 001A; warning: label 'dup' redefined: every reference uses the last definition
        byte 1                  ; => 01
tail:
