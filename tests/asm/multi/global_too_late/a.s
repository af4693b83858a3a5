; a name used before any file makes it global keeps a record of its own
        word start              ; => 0000 ; late error: undefined symbol 'start' ; scope: start 1
