; the first file declares and uses names that the second defines without global
        global start
        global far
        word start              ; => 0006
        ba far                  ; => 9F02
