// libFuzzer target: the input is the text of one or two source files, split at the first pair
// of zero bytes. Each input runs the whole program with every output requested, and checks
// what a run promises: the status follows the error count, the image outputs remain exactly
// when it succeeds, the listing always, and a source named as an output is left as it was.
// A broken promise ends the run as a crash would.
#include "asm.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

int vexa_main(int argc, char** argv);

static void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

static void write_file(const char* path, const uint8_t* data, size_t size)
{
    std::FILE* stream = std::fopen(path, "wb");
    check(stream && std::fwrite(data, 1, size, stream) == size && !std::fclose(stream), path);
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Every input runs in one folder of this process (so give libFuzzer absolute paths);
    // relative names keep every message the same from one process to the next.
    static std::string scratch = "/tmp/vexa-fuzz-" + std::to_string(getpid());
    check(mkdir(scratch.c_str(), 0755) == 0 && chdir(scratch.c_str()) == 0, "scratch folder");
    std::atexit([] { check(std::system(("rm -rf " + scratch).c_str()) == 0, "clean up"); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const outputs[] = {"o.hex", "o.bin", "o.ram", "o.prg", "o.vhd", "o.v",
                                          "o.mem", "o.ihx", "o.mif", "o.coe", "o.sym", "o.d", "o.lst"};
    size_t split = size;
    for (size_t i = 0; i + 1 < size && split == size; ++i)
        if (data[i] == 0 && data[i + 1] == 0) split = i;
    size_t rest = split < size ? split + 2 : size;   // b.s is empty for a single file
    write_file("a.s", data, split);
    write_file("b.s", data + rest, size - rest);
    for (const char* output : outputs) std::remove(output);
    // Every fifth input hands its first line over as SOURCE_DATE_EPOCH, however malformed;
    // inputs of odd length name the first source as the hex output, which must be refused.
    std::string epoch(data, data + split);
    if (size % 5 == 0) setenv("SOURCE_DATE_EPOCH", epoch.substr(0, epoch.find('\n')).c_str(), 1);
    else unsetenv("SOURCE_DATE_EPOCH");
    bool aimed = size % 2 == 1;
    const char* argv[] = {"vexa-as", aimed ? "-hex=a.s" : "-hex=o.hex", "-bin=o.bin", "-ram=o.ram",
                          "-prg=o.prg", "-vhd=o.vhd", "-vlg=o.v", "-mem=o.mem", "-ihx=o.ihx",
                          "-mif=o.mif", "-coe=o.coe", "-sym=o.sym", "-dep=o.d", "a.s", "b.s", "-lst=o.lst",
                          nullptr};
    // Every third input runs without a listing, when the reader passes over quiet lines in bulk.
    bool listed = size % 3 != 0;
    reset_assembler();
    int status = vexa_main(listed ? 16 : 15, const_cast<char**>(argv));
    check(status == (error_count > 0 ? 1 : 0), "exit status follows the error count");
    for (const char* output : outputs) {
        bool kept = output[2] == 'l' ? listed : status == 0;   // the listing, an image output
        check((aimed && output[2] == 'h') || (access(output, F_OK) == 0) == kept, output);
    }
    std::ifstream source("a.s", std::ios::binary);
    check(!aimed || std::string(std::istreambuf_iterator<char>(source), {}) == epoch,
          "a source named as an output survives");
    reset_assembler();
    return 0;
}
