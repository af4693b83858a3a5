; An included file is read in place: the includer's scope, the location counter running on.
        nop                             ; => 0000
        .include "inc/defs.s"
        lw      r1, PORT(r0)            ; => FFF0 A104
        word    here                    ; => 0002
        .byte   1, SHARED               ; => 01 34; warning: value 4660 does not fit in 8 bits
        word    gone                    ; => 0000 ; late error: undefined symbol 'gone' ; late note: 'gone' is used here
