; the helper, at 0x0040: shifts, a prefixed subtract, a long load and store, long logic
        global  result
helper: srli    r1, r2, 3               ; => 1123
        srai    r1, r2, 4               ; => 2124
        slli    r1, r2, 15              ; => 312F
        subi    r1, r2, 16              ; => F001 5120
        ll      r2, result(r0)          ; low half at result+2 ; => F007 A200 F006 A30E
        sl      r2, 4(r3)               ; r3 was loaded, r2 is stored: no nop ; => B236 B334
        ljeq    r1                      ; => 8218
        andl    r2, r4                  ; => 7240 7350
        lja     r15                     ; => 8FF8
loop:   subi    r3, r3, 1               ; => 5331
        bne     loop                    ; => 93FE
        sb      r1, 20(r2)              ; => F001 D124
