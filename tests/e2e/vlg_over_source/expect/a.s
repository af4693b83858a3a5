; A map that names its own source is refused, and the source stays as it is.
start:  nop
