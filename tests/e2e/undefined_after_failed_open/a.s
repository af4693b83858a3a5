nop
word foo
