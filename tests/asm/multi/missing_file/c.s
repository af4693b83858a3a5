third:  word third              ; => 0002 ; scope: third 3
