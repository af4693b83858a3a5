; The module of a failed run is removed, even though it replaced a file that was there before.
start:  ba      nowhere
