; the first statement that pads reports the label left at the odd end of a.s
        sw r1, 4(r2)
