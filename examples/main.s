; main.s: the checksum demo. Sums the samples of tables.s into the long register r4:r5,
; multiplies the sum by five with long32.s, adds it into total and measures the banner.

        .include "demo.inc"     ; the shared names, and SAMPLE_SIZE

start:  movl    r4, r0          ; total = 0: r0 reads as zero and is its own high half
        lea     r2, samples     ; r2 walks the sample table
        lw      r3, sample_count

; Sum loop. The add reads r6 in the very next instruction after the load that writes it,
; so the assembler slips a nop in between (see the listing).
sum:    lw      r6, 0(r2)
        add     r4, r6          ; low half
        addc    r5, r0          ; carry into the high half
        addi    r2, r2, SAMPLE_SIZE
        subi    r3, r3, 1
        bne     sum

        lea     r8, times5
        call    r8              ; r4:r5 = 5 * sum
        lea     r2, total
        lea     r8, add_to
        call    r8              ; total += r4:r5
        ll      r10, total      ; read it back into r10:r11

; Length of the zero-terminated banner. cmpi tests the byte just loaded: another nop.
        lea     r2, banner
        mov     r3, r0
len:    lu      r6, 0(r2)
        cmpi    r6, '\0'       ; the zero byte that ends it
        beq     len_done
        addi    r2, r2, 1
        addi    r3, r3, 1
        ba      len
len_done:
        sb      r3, banner_len

halt:   wait
        ba      halt
