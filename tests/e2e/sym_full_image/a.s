; Fills the whole image: the label after the last word is 65536, five digits in the map, and
; sorts after FFFE by value, not by text.
        global  zero
zero:   bss     65534
last:   word    1
end:
