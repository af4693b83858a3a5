; a file that cannot be opened still takes a file number
first:  nop                     ; => 0000 ; scope: first 1
