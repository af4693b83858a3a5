        nop                     ; => 0000
dup:    word dup                ; => 0004; warning: label 'dup' redefined: every reference uses the last definition
