; a warning does not save a run that has an error, and stays in the listing
        byte 1
here:   lw r1, 3(r2)
        word 0x10000
