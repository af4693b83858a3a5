// The command-line driver, built under another name so that the fuzz target can run the whole
// program, output removal included, once per input in one process.
#define main vexa_main
#include "../../src/main.cpp"
