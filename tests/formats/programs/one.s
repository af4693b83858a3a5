; A single word whose two bytes differ, so that a swapped byte order shows.
        word    0xA51C
