; the last word of one file counts for the first statement of the next
        lw r5, 0(r3)            ; => A530
