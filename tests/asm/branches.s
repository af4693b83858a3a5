; A short branch at A reaches A + 2 + 2d for d in -128..127: 254 bytes back to 256 forward.

; reach at both ends, from the branch at 0x0100 on
t0:     bss 2                   ; => 0000
t2:     bss 254                 ; => 00*254
        ba t2                   ; => 9F80
        ba t2                   ; => 9F00 ; late error: branch displacement overflow at 0102 target 't2' ; late note: the branch is here; its target is -258 bytes away, beyond -256..+254
self:   ba self                 ; => 9FFF
        ba n108                 ; => 9F00
n108:   ba f208                 ; => 9F7F
        ba f20c                 ; => 9F00 ; late error: branch displacement overflow at 010A target 'f20c' ; late note: the branch is here; its target is 256 bytes away, beyond -256..+254
        bss 252                 ; => 00*252
f208:   nop                     ; => 0000
        nop                     ; => 0000
f20c:   nop                     ; => 0000

; an odd target: the distance is halved toward zero
        ba odd5                 ; => 9F01
        nop                     ; => 0000
        byte 0x11               ; => 11
odd5:   byte 0x22               ; => 22
        nop                     ; => 0000
        nop                     ; => 0000
        ba odd5                 ; => 9FFD

; an undefined label is reported once, at its first use, and no word is changed
        ba nowhere              ; => 9F00 ; late error: undefined symbol 'nowhere' ; late note: 'nowhere' is used here
        bne nowhere             ; => 9300


; a branch in the last word of the image
        align 0x8000            ; => 00*32226
        bss 0x7FFC              ; => 00*32764
back:   nop                     ; => 0000
        ba back                 ; => 9FFE
