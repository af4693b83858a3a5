bss 65534
nop
nop
nop
