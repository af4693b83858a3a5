here:   word here               ; => 0002
