; A header: its includes are found beside it.
        .equ    PORT, 0xFF04
        .equ    SHARED, 0x1234
        global  SHARED
        .include "sub.s"
