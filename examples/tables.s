; tables.s: the data of the checksum demo.

        global  samples
        global  sample_count
        global  banner
        global  banner_len
        global  total

; "vexa" as bytes, ended by a zero byte.
banner: byte    0x76            ; v
        byte    0x65            ; e
        byte    0x78            ; x
        byte    0x61            ; a
        byte    0
banner_len:
        bss     1               ; written by main.s
        align   2               ; word data must start at an even address

; The sample table: how many samples, then the samples themselves.
sample_count:
        word    6
samples:
        word    1000
        word    0x7FFF
        word    0xFFFF
        word    250
        word    0x8000
        word    12

; Entry points of long32.s, for a caller that dispatches by number.
routines:
        word    times5
        word    add_to

        align   4
total:  bss     4               ; 32-bit result, high half first
