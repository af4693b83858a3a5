; Four files: each has its own scope, and global joins names in either order.
        global first            ; declared and defined here, used by b.s
        global later            ; declared and used here, defined in b.s without global
        global dup              ; defined here and in b.s: every use gets the last
first:  nop                     ; => 0000
        word later              ; => 0016
        ba later                ; => 9F08
        word start              ; => 0000 ; late error: undefined symbol 'start' ; late note: 'start' is used here
loop:   ba loop                 ; => 9FFF
dup:    word dup                ; => 001A
        lw r5, 0(r3)            ; => A530
