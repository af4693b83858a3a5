; A program in three files using every statement group: the main routine (file 1), a helper
; (file 2) and its data (file 3). Words checked by hand against the instruction formats.
        global  helper
        global  table
        global  result
start:  lea     r2, table               ; => F006 6208
        lw      r3, 0(r2)               ; => A320
        add     r4, r3                  ; interlock: r3 was just loaded ; => 0000 7438
        lb      r5, 3(r2)               ; => C523
        call    r5                      ; => 0000 8F51
        cmpi    r4, 100                 ; => F006 5044
        bne     skip                    ; forward, 6 bytes ; => 9302
        imm     0x1230                  ; => F123
        addi    r6, r4, 1               ; => 6641
skip:   sext    r7, r5                  ; => 3758 2778
        zext    r8, r5                  ; => 3858 1888
        movl    r4, r6                  ; => 6460 6570
        addl    r4, r6                  ; => 7468 757A
        lu      r9, 1(r2)               ; => E921
        mov     r10, r9                 ; => 0000 6A90
        sw      r10, result             ; result = 0x006E ; => F006 BA0E
        ba      start                   ; back 52 bytes ; => 9FE5
        nop                             ; => 0000
        wait                            ; => 0001
        break                           ; => 000F
        ret                             ; => 8F02
        reti                            ; => 8F04
