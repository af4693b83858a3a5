; A prefix in the last word loses its load: the loss is reported, and the fixup dropped.
        bss 65534               ; => 00*65534
        lw r1, x                ; => F000 ; error: code image is full
x:
