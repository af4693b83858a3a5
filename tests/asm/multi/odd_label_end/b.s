; reported at the first statement here that pads, naming the other file's label
next:                           ; nothing laid down yet
        word tail               ; => 00 0007; warning: label 'tail' at odd address 0003 names a padding byte; warning: label 'next' at odd address 0003 names a padding byte
        byte 2                  ; => 02
; this file's own tail: another symbol, so no redefinition
tail:   word tail               ; => 00 0007; warning: label 'tail' at odd address 0007 names a padding byte
