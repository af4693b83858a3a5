; How lines are read: white space, comments, line ends and over-long lines.

; lines that hold no statement
	
        ; an indented comment
;
empty:
	nop				; => 0000
        nop ; a plain comment may stand before the markers ; => 0000
        byte 1 ; the first piece of a 600-character line .................................................................................................................................................................................................................................................................................................................................................................................; warning: line longer than 511 characters: the rest is read as the next line ; => 01        byte 2 ; the last 89 characters ..........................................; => 02
; a line of exactly 511 characters is no longer than the limit ................................................................................................................................................................................................................................................................................................................................................................................................................................................................
; the second piece counts as a line of its own
        ret r1                  ; error: syntax error ; note: expected the end of the line at 'r1'
; a carriage return before the newline is stripped with it
        nop                     ; => 0000
        word 0x1234             ; => 1234   	  
