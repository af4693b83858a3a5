nop
word foo
; end
