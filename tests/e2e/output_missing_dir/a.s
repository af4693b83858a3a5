nop
ret
