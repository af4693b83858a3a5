; The image ends at 65536: its last word is patched, the first statement that loses a byte
; says so, once per run; fixups made at a full image are dropped silently.
        bss 65532               ; => 00*65532
last:   nop                     ; => 0000
        word last               ; => FFFC
        nop                     ; error: code image is full
        byte 2
        word last
        lw r1, last
        ba last
        align 0x20000
