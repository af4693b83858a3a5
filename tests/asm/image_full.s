; The image ends at 65536: the first statement that loses a byte says so, once per run.
        bss 65532               ; => 00*65532
        nop                     ; => 0000
        byte 1                  ; => 01
        nop                     ; => 00 ; error: code image is full
        nop
        byte 2
        bss 4
        word 5
        align 0x20000
; a fixup whose word was lost is dropped without a message
        lw r1, sym
sym:    ba sym
