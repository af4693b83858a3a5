; No statement at all: the image is empty and the location counter stays 0.
