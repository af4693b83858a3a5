// Returns every table to its start state, so that tests and the fuzzer can assemble many
// programs in one process. The assembler itself never resets anything during a run.
#include "asm.h"

void reset_assembler()
{
    reset_image();
    reset_fixups();
    reset_symbols();
    reset_notes();
    reset_sources();
    reset_outputs();
    memory_depth = IMAGE_SIZE / 2;
    module_name = nullptr;
}
