; An alignment that no address above 0 inside the image meets pads to the end of the image.
        nop                     ; => 0000
        align 0x20000           ; => 00*65534 ; error: code image is full
        align 0x10000
