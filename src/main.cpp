// vexa-as: assembles vexa source files, in command-line order, into one 64 KiB image and
// writes it in the requested forms. Options and sources may be given in any order.
#include "asm.h"

#include <cstdio>
#include <cstring>

enum Output { OUT_HEX, OUT_BIN, OUT_RAM, OUT_PRG, OUT_VHD, OUT_LST, OUT_COUNT };

// In the order in which the outputs are written (and removed after a failed run).
static const char* const OptionNames[OUT_COUNT] = {"-hex=", "-bin=", "-ram=", "-prg=", "-vhd=",
                                                   "-lst="};
constexpr size_t OPTION_LENGTH = 5;

static int usage()
{
    std::fprintf(stderr,
                 "Usage: %s [-ram=<file>.ram] [-hex=<file>.hex] [-bin=<file>.bin] "
                 "[-prg=<file>.prg] [-vhd=<file>.vhd] [-lst=<file>.lst] source* \n",
                 program_name != nullptr ? program_name : "vexa-as");
    return 1;
}

int main(int argc, char** argv)
{
    program_name = argc > 0 ? argv[0] : nullptr;
    if (argc < 2) {
        return usage();
    }

    const char* paths[OUT_COUNT] = {};
    for (int i = 1; i < argc; i++) {
        const char* argument = argv[i];
        if (argument[0] != '-') {
            assemble_file(argument);
            continue;
        }
        int matched = -1;
        for (int k = 0; k < OUT_COUNT && matched < 0; k++) {
            if (std::strlen(argument) > OPTION_LENGTH &&
                std::strncmp(argument, OptionNames[k], OPTION_LENGTH) == 0) {
                matched = k;
            }
        }
        if (matched < 0) {
            return usage();
        }
        paths[matched] = argument + OPTION_LENGTH;
    }

    resolve_fixups();

    bool (*const writers[])(const char*) = {write_hex, write_bin, write_ram, write_prg,
                                            write_vhdl};
    bool created[OUT_COUNT] = {};
    for (int k = OUT_HEX; k <= OUT_VHD; k++) {
        if (paths[k] != nullptr) {
            created[k] = writers[k](paths[k]);
        }
    }
    if (paths[OUT_LST] != nullptr) {
        write_listing(paths[OUT_LST]);
    }

    if (error_count == 0) {
        return 0;
    }
    // Remove only what this run wrote itself: never a file it could not open, never a device,
    // and never the listing, even when an image output names the same file.
    for (int k = OUT_HEX; k <= OUT_VHD; k++) {
        if (created[k] &&
            (paths[OUT_LST] == nullptr || !same_file(paths[k], paths[OUT_LST]))) {
            std::remove(paths[k]);
        }
    }
    return 1;
}
