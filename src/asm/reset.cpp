// Returns every table to its start state, so that tests and the fuzzer can assemble many
// programs in one process. The assembler itself never resets anything during a run.
#include "asm.h"

#include <cstring>

void reset_assembler()
{
    std::memset(CodeImage, 0, sizeof CodeImage);
    location_counter = 0;
    image_full_reported = false;
    std::memset(FixupTable, 0, sizeof FixupTable);
    fixup_count = 0;
    fixups_full_reported = false;
    reset_symbol_index();
    reset_notes();
    reset_sources();
    reset_outputs();
    memory_depth = IMAGE_SIZE / 2;
    module_name = nullptr;
}
