; one statement of every group
start:  nop
        wait
        break
        addi r2, r0, 100
        subi r3, r3, -1
        srli r4, r5, 3
        slli r6, r7, 16
        and r1, r2
        add r3, sp
        call r4
        lja r5
        beq start
        ba done
        lw r2, table+4(r3)
        sw r2, 6(r1)
        lb r3, 1(r2)
        sb r3, table
        lu r4, -2(r5)
        imm 0x1234
        mov r1, r2
        cmpi r3, 200
        lea r4, table(r2)
        sext r5, r6
        zext r7, r8
        addl r2, r4
        movl r6, r8
        ll r2, table(r0)
        sl r4, 8(r1)
done:   ret
        reti
        align 4
table:  word start+2
        word 0xFFFF, 1
        byte 0x41
        bss 3
        bss 4
