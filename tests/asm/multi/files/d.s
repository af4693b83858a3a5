; after an empty file: b.s's global start, and the padding byte its label at the odd end names
        word start              ; => 00 0018; warning: label 'tail' at odd address 001D names a padding byte
