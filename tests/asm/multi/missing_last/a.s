; an undefined symbol after a last file that failed to open: its note ends the image
        word nowhere            ; => 0000 ; late error: undefined symbol 'nowhere'
        nop                     ; => 0000
