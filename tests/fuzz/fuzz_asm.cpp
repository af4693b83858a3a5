// libFuzzer target: the input is the text of one or two source files, split at the first pair
// of zero bytes. Each input runs the whole program with every output requested in a scratch
// folder, and checks what a run promises: the status follows the error count, the image
// outputs remain exactly when it succeeds, the listing always, and a source named as an
// output is left as it was. A broken promise ends the run as a crash would.
#include "asm.h"

#include <cerrno>
#include <cstdlib>
#include <string>
#include <fcntl.h>
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

static std::string read_file(const char* path)
{
    std::string text;
    if (std::FILE* stream = std::fopen(path, "rb")) {
        for (int c; (c = std::getc(stream)) != EOF;) text += static_cast<char>(c);
        std::fclose(stream);
    }
    return text;
}

static void write_file(const char* path, const uint8_t* data, size_t size)
{
    std::FILE* stream = std::fopen(path, "wb");
    check(stream && std::fwrite(data, 1, size, stream) == size && !std::fclose(stream), path);
}

// Runs the whole program from fresh tables with its standard error in `errors`.
static int run(int argc, const char** argv, const char* errors)
{
    reset_assembler();
    std::fflush(stderr);
    int saved = dup(2), caught = open(errors, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    check(dup2(caught, 2) == 2 && close(caught) == 0, errors);
    int status = vexa_main(argc, const_cast<char**>(argv));
    std::fflush(stderr);
    check(dup2(saved, 2) == 2 && close(saved) == 0, "standard error back");
    return status;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // One folder per process, where every input runs (so give libFuzzer absolute paths);
    // relative names keep every message the same from one process to the next.
    static std::string scratch = "/tmp/vexa-fuzz-" + std::to_string(getpid());
    check((mkdir(scratch.c_str(), 0755) == 0 || errno == EEXIST) && chdir(scratch.c_str()) == 0,
          "scratch folder");
    std::atexit([] { check(std::system(("rm -rf " + scratch).c_str()) == 0, "clean up"); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const outputs[] = {"o.hex", "o.bin", "o.ram", "o.prg", "o.vhd", "o.v",
                                          "o.mem", "o.ihx", "o.mif", "o.coe", "o.sym", "o.lst"};
    size_t split = size;
    for (size_t i = 0; i + 1 < size && split == size; ++i)
        if (data[i] == 0 && data[i + 1] == 0) split = i;
    size_t rest = split < size ? split + 2 : size;   // b.s is empty for a single file
    write_file("a.s", data, split);
    write_file("b.s", data + rest, size - rest);
    for (const char* output : outputs) std::remove(output);
    // Every fifth input hands its first bytes over as SOURCE_DATE_EPOCH, however malformed;
    // inputs of odd length name the first source as the hex output, which must be refused.
    if (size % 5 == 0) setenv("SOURCE_DATE_EPOCH", std::string(data, data + split).c_str(), 1);
    else unsetenv("SOURCE_DATE_EPOCH");
    bool aimed = size % 2 == 1;
    const char* argv[] = {"vexa-as", aimed ? "-hex=a.s" : "-hex=o.hex", "-bin=o.bin", "-ram=o.ram",
                          "-prg=o.prg", "-vhd=o.vhd", "-vlg=o.v", "-mem=o.mem", "-ihx=o.ihx",
                          "-mif=o.mif", "-coe=o.coe", "-sym=o.sym", "a.s", "b.s", nullptr, nullptr};
    // Every third input runs first without a listing, when the reader may pass over quiet
    // lines in bulk; the run with the listing must report exactly the same.
    line_scan_width = size % 2 == 0 ? 16 : 0;   // the reader's narrow pass, or its widest
    int quiet = size % 3 == 0 ? run(14, argv, "e1") : 0;
    argv[14] = "-lst=o.lst";
    int status = run(15, argv, "e2");
    if (size % 3 == 0) check(status == quiet && read_file("e1") == read_file("e2"), "the listing");
    check(status == (error_count > 0 ? 1 : 0), "exit status follows the error count");
    for (const char* output : outputs)
        if (!aimed || output[2] != 'h')
            check(access(output, F_OK) == (status == 0 || output[2] == 'l' ? 0 : -1), output);
    check(!aimed || read_file("a.s") == std::string(data, data + split), "a source survives");
    reset_assembler();
    return 0;
}
