// libFuzzer target: the input is the text of one or two source files, split at the first pair
// of zero bytes, run through the whole program with every output requested. A broken promise
// ends the run as a crash would: the status follows the error count, the image outputs remain
// exactly when it succeeds, the listing always, and a source named as an output stays as it was.
// It runs in the current folder (smoke.sh makes a scratch one), so every message stays the same.
#include "asm.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

int vexa_main(int argc, char** argv);

static void check(bool ok, const char* what)
{
    if (!ok) std::fprintf(stderr, "invariant broken: %s\n", what), std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const options[] = {"-hex=o.hex", "-bin=o.bin", "-ram=o.ram", "-prg=o.prg",
        "-vhd=o.vhd", "-vlg=o.v", "-mem=o.mem", "-ihx=o.ihx", "-mif=o.mif", "-coe=o.coe",
        "-sym=o.sym", "-dep=o.d", "-lst=o.lst"};
    size_t split = 0;
    while (split + 1 < size && (data[split] != 0 || data[split + 1] != 0)) split++;
    std::string first(data, data + (split + 1 < size ? split : size));
    std::string second(data + std::min(size, split + 2), data + size);   // empty for one file
    std::ofstream("a.s", std::ios::binary) << first;
    std::ofstream("b.s", std::ios::binary) << second;
    for (const char* option : options) std::remove(option + 5);
    // Every fifth input hands its first line over as SOURCE_DATE_EPOCH, however malformed;
    // inputs of odd length name the first source as the hex output, which must be refused;
    // every third runs without a listing, when the reader passes over quiet lines in bulk.
    if (size % 5 == 0) setenv("SOURCE_DATE_EPOCH", first.substr(0, first.find('\n')).c_str(), 1);
    else unsetenv("SOURCE_DATE_EPOCH");
    bool aimed = size % 2 == 1, listed = size % 3 != 0;
    const char* argv[17] = {"vexa-as", aimed ? "-hex=a.s" : options[0]};
    std::copy(options + 1, options + 12, argv + 2);
    argv[13] = "a.s", argv[14] = "b.s", argv[15] = options[12];
    reset_assembler();
    int status = vexa_main(listed ? 16 : 15, const_cast<char**>(argv));
    check(status == (error_count > 0 ? 1 : 0), "exit status follows the error count");
    for (const char* option : options) {
        bool kept = option[1] == 'l' ? listed : status == 0;   // the listing, an image output
        check((aimed && option[1] == 'h') || (access(option + 5, F_OK) == 0) == kept, option);
    }
    std::ifstream source("a.s", std::ios::binary);
    check(!aimed || std::string(std::istreambuf_iterator<char>(source), {}) == first,
          "a source named as an output survives");
    reset_assembler();
    return 0;
}
