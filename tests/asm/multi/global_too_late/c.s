        word start              ; => 0002
