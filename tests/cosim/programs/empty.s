; No code at all: the ROM has only its "others" choice, and every word reads as 0000.
