; The first file: a global, a loop of its own, and three labels at its very end, where the
; second file starts.
        global  start
        global  declared_only   ; never defined: not in the map
start:  nop
loop:   ba      loop
Same:
end:
same:
