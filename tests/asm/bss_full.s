; A block that runs past the end of the image fills it and says so.
        bss 65530               ; => 00*65530
        bss 8                   ; => 00*6 ; error: code image is full
