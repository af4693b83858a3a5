; The second file: a global named like a label of the first file (which stays the first
; file's own), labels of its own named like the first file's, and a name past 31 characters.
        global  same
        global  start
same:
end:
        word    start
loop:   ba      loop
a_label_whose_name_runs_past_thirty_one_characters:
        nop
