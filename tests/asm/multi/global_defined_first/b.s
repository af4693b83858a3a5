        word start              ; => 0002
        ba start                ; => 9FFD
