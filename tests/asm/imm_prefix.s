; A 4-bit field takes 0..15; any other value gets an imm prefix with its bits 15..4.

; register, register, immediate
        addi r2, r3, 0          ; => 6230
        addi r2, r3, 15         ; => 623F
        addi r2, r3, 16         ; => F001 6230
        addi r2, r3, -1         ; => FFFF 623F
        addi r2, r3, -16        ; => FFFF 6230
        addi r2, r3, -17        ; => FFFE 623F
        addi r2, r3, 0x7FFF     ; => F7FF 623F
        addi r2, r3, -32768     ; => F800 6230
        addi r2, r3, 65535      ; => FFFF 623F
        addi r2, r3, 65541      ; => F000 6235; warning: value 65541 does not fit in 16 bits
        addi r2, r3, 0x12345    ; => F234 6235; warning: value 74565 does not fit in 16 bits
        subi r2, r3, 0x100      ; => F010 5230
        cmpi r0, -1             ; => FFFF 500F

; numbers beyond 32 bits: decimal saturates, hexadecimal keeps its low 32 bits
        addi r1, r1, 4294967296 ; => FFFF 611F; warning: value 2147483647 does not fit in 16 bits
        addi r1, r1, -2147483648 ; => F000 6111; warning: value -2147483647 does not fit in 16 bits
        addi r1, r1, 0x100000001 ; => 6111
        addi r1, r1, 0xFFFFFFFF ; => FFFF 611F

; byte offsets
        lb r1, 15(r2)           ; => C12F
        lb r1, 16(r2)           ; => F001 C120
        lb r1, -1(r2)           ; => FFFF C12F
        sb r1, 0x1234           ; => F123 D104
        lu r1, 255(r3)          ; => F00F E13F
        lea r1, 15(r2)          ; => 612F
        lea r1, 16(r2)          ; => F001 6120
        lea r1, -1              ; => FFFF 610F

; word offsets: even 0..30 packed into L, bit 4 of the offset in bit 0
        lw r1, 0(r2)            ; => A120
        lw r1, 2(r2)            ; => A122
        lw r1, 14(r2)           ; => A12E
        lw r1, 16(r2)           ; => A121
        lw r1, 28(r2)           ; => A12D
        lw r1, 30(r2)           ; => A12F
        lw r1, 32(r2)           ; => F002 A120
        lw r1, 34(r2)           ; => F002 A122
        lw r1, -32(r2)          ; => FFFE A120
        sw r1, 0x100(r2)        ; => F010 B120
        sw r1, 18(r2)           ; => B123

; odd word offsets keep their low 4 bits and get no prefix
        lw r1, -1(r2)           ; => A12F ; error: odd offset
        lw r1, 31(r2)           ; => A12F ; error: odd offset
        sw r3, 33(r2)           ; => B321 ; error: odd offset

; the prefix statement alone
        imm 0                   ; => F000
        imm 15                  ; => F000
        imm 16                  ; => F001
        imm -1                  ; => FFFF
        imm -16                 ; => FFFF
        imm 0xFFFF              ; => FFFF
        imm 0x10000             ; => F000; warning: value 65536 does not fit in 16 bits
