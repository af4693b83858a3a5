bss 65534
ret
