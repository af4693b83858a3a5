; A 4-bit field takes 0..15, any other value an imm prefix with its bits 15..4; outside
; -32768..65535 a value loses its upper bits, with a warning. Register, register, immediate:
        addi r2, r3, 16         ; => F001 6230
        addi r2, r3, -32768     ; => F800 6230
        addi r2, r3, -32769     ; => F7FF 623F; warning: value -32769 does not fit in 16 bits
        addi r2, r3, 65535      ; => FFFF 623F
        addi r2, r3, 65536      ; => F000 6230; warning: value 65536 does not fit in 16 bits
        cmpi r0, -32769         ; => F7FF 500F; warning: value -32769 does not fit in 16 bits

; numbers beyond 32 bits: decimal saturates, hexadecimal keeps its low 32 bits
        addi r1, r1, 4294967296 ; => FFFF 611F; warning: value 2147483647 does not fit in 16 bits
        addi r1, r1, -2147483648 ; => F000 6111; warning: value -2147483647 does not fit in 16 bits
        addi r1, r1, 0x100000001 ; => 6111

; byte offsets
        lb r1, 16(r2)           ; => F001 C120
        lb r1, 65535(r2)        ; => FFFF C12F
        lb r1, 65536(r2)        ; => F000 C120; warning: value 65536 does not fit in 16 bits
        lea r1, 16(r2)          ; => F001 6120
        lea r1, 70000(r2)       ; => F117 6120; warning: value 70000 does not fit in 16 bits

; word offsets: even 0..30 packed into L, bit 4 of the offset in bit 0
        lw r1, 32(r2)           ; => F002 A120
        lw r1, -2(r2)           ; => FFFF A12E
        sw r1, -32770(r2)       ; => F7FF B12E; warning: value -32770 does not fit in 16 bits
; an odd one keeps its low 4 bits, gets no prefix, and is an error
        lw r1, -1(r2)           ; => A12F ; error: odd offset
        sw r3, 33(r2)           ; => B321 ; error: odd offset
        lw r1, 70001(r2)        ; => A121 ; error: odd offset

; a pair reaches d and d + 2: either may lose bits, one warning names d
        ll r2, 65532(r4)        ; => FFFF A24E FFFF A34C
        ll r2, 65534(r4)        ; => F000 A240 FFFF A34E; warning: value 65534 does not fit in 16 bits

; the prefix alone keeps bits 15..4
        imm 16                  ; => F001
        imm 0x10000             ; => F000; warning: value 65536 does not fit in 16 bits

; a symbol's value is an address: no warning for what the sum holds
        lea r1, far+70000(r2)   ; => F11D 6122
        word far+70000          ; => 11D2
far:
