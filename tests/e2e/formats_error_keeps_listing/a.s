nop
ba nowhere
