; Symbol values are patched in after the last file; the targets stand at fixed addresses.
        bss 0x10                ; => 00*16
s0010:  bss 0xF0                ; => 00*240
s0100:  bss 0x1134              ; => 00*4404
s1234:  nop                     ; => 0000

; word: the value plus the addend, cut to 16 bits
        word s0100+3            ; => 0103
        word top+6              ; => 0002
        word top                ; => FFFC
        word s0100-0x101        ; => FFFF
        word nowhere+5          ; => 0005 ; late error: undefined symbol 'nowhere' ; late note: 'nowhere' is used here

; loads, stores and lea: bits 15..4 of the target into the prefix, bits 3..0 into L
        lw r1, s1234            ; => F123 A104
        sw r2, s1234-2(r3)      ; => F123 B232
        lw r1, s0010-32         ; => FFFF A100
        lb r1, s1234+1          ; => F123 C105
        sb r1, s1234+1(r2)      ; => F123 D125
        lu r1, s1234+1          ; => F123 E105
        lea r1, s1234+1         ; => F123 6105
        ll r4, s1234(r5)        ; => F123 A456 F123 A554

; a word access at an odd target is refused and both words keep their placeholders
        lw r1, s1234+1          ; => F000 A101 ; late error: ldst word fixup error target 's1234' odd address 1234 + 1 ; late note: lw, sw, ll and sl need an even address
        sw r1, s0010-1          ; => F000 B10F ; late error: ldst word fixup error target 's0010' odd address 0010 + -1 ; late note: lw, sw, ll and sl need an even address

; later uses of a reported symbol stay silent; lea's placeholder carries its offset
        lea r1, nowhere+0x120   ; => F012 6100
        lw r2, nowhere+4(r3)    ; => F000 A234

; a prefix in the last word but one, its load in the last: both are patched
        align 0x8000            ; => 00*28044
        bss 0x7FFC              ; => 00*32764
top:    lw r1, top+2            ; => FFFF A10E
