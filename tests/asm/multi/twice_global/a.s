; one global label defined in two files: every use gets the one read last
        global dup
dup:    word dup                ; => 0004
