; tables.s: the data of the checksum demo.

        .include "demo.inc"

; "vexa" as bytes, ended by a zero byte.
banner: .asciz  "vexa"
banner_len:
        bss     1               ; written by main.s
        align   2               ; word data must start at an even address

; The sample table: how many samples, then the samples themselves.
        .equ    SAMPLES, 6
sample_count:
        word    SAMPLES
samples:
        .word   1000, 0x7FFF, 0xFFFF, 250, 0x8000, 12

; Entry points of long32.s, for a caller that dispatches by number.
routines:
        word    times5
        word    add_to

        align   4
total:  bss     TOTAL_SIZE      ; 32-bit result, high half first
