// libFuzzer target: the input is the text of one or two source files, split at the first pair
// of zero bytes. Each input runs the whole program (the driver with every output requested) in
// a scratch folder, then checks the invariants that the tables and the outputs promise. The
// tables are returned to their start state before every input, so a run depends on nothing
// but its bytes.
#include "asm.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string scratch;
const char* const ImageOutputs[] = {"out.hex", "out.bin", "out.ram", "out.prg", "out.vhd",
                                    "out.v",   "out.mem", "out.ihx", "out.mif", "out.coe",
                                    "out.sym"};

bool exists(const char* path)
{
    struct stat status;
    return stat(path, &status) == 0;
}

void remove_scratch()
{
    for (const char* name : ImageOutputs)
        std::remove((scratch + "/" + name).c_str());
    for (const char* name : {"a.s", "b.s", "out.lst", "err1.txt", "err2.txt"})
        std::remove((scratch + "/" + name).c_str());
    rmdir(scratch.c_str());
}

void write_source(const char* path, const uint8_t* data, size_t size)
{
    std::FILE* stream = std::fopen(path, "wb");
    if (!stream)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, stream) != size)
        std::abort();
    if (std::fclose(stream) != 0)
        std::abort();
}

// A broken promise of the tables is a fault of the assembler even when no memory is touched
// out of bounds, so it ends the run like a crash would.
void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

void check_tables()
{
    check(location_counter >= 0 && location_counter <= IMAGE_SIZE, "location counter in range");
    check(note_count >= 0 && note_count <= MAX_NOTES, "note count in range");
    check(symbol_count >= 0 && symbol_count <= MAX_SYMBOLS, "symbol count in range");
    check(fixup_count >= 0 && fixup_count <= MAX_FIXUPS, "fixup count in range");
    check(current_file == nullptr && current_line == 0, "no source position after the pass");
    int32_t previous = 0;
    int32_t error_notes = 0;
    for (int32_t i = 0; i < note_count; ++i) {
        const ListingNote& note = NoteTable[i];
        check(note.address >= previous && note.address <= IMAGE_SIZE, "note addresses ordered");
        check(note_length(i) <= TEXT_MAX && std::strlen(note_text(i)) == note_length(i),
              "note text bounded");
        if (std::strncmp(note_text(i), "# error ", 8) == 0)
            ++error_notes;
        previous = note.address;
    }
    // Every diagnostic leaves its note while the table has room. A source line can itself
    // read like an error note, so the notes may outnumber the errors, never the reverse.
    if (note_count < MAX_NOTES)
        check(error_notes >= error_count, "one note per diagnostic");
    for (int32_t i = 0; i < fixup_count; ++i) {
        const FixupRecord& fixup = FixupTable[i];
        check(fixup.address % 2 == 0 && fixup.address >= 0 && fixup.address <= IMAGE_SIZE,
              "fixup at an even address");
        check(fixup.symbol >= 1 && fixup.symbol <= symbol_count, "fixup names a symbol");
    }
    for (int32_t i = 0; i < symbol_count; ++i)
        check(std::memchr(SymbolTable[i].name, 0, sizeof SymbolTable[i].name) != nullptr,
              "symbol name terminated");
}

std::string read_file(const char* path)
{
    std::string text;
    if (std::FILE* stream = std::fopen(path, "rb")) {
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, stream)) > 0;)
            text.append(buffer, got);
        std::fclose(stream);
    }
    return text;
}

bool source_unchanged(const uint8_t* data, size_t size)
{
    std::string text = read_file("a.s");
    return text.size() == size && (size == 0 || std::memcmp(text.data(), data, size) == 0);
}

} // namespace

int vexa_main(int argc, char** argv);

namespace {

// Runs the whole program with its standard error caught in `errors`; returns the status.
int run_caught(int argc, const char** argv, const char* errors)
{
    std::fflush(stderr);
    int saved = dup(2);
    int caught = open(errors, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (caught < 0 || dup2(caught, 2) < 0)
        std::abort();
    close(caught);
    int status = vexa_main(argc, const_cast<char**>(argv));
    std::fflush(stderr);
    if (saved >= 0) {
        dup2(saved, 2);
        close(saved);
    } else {
        close(2);
    }
    return status;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Every input writes up to fourteen files: a memory file system, where there is one, runs
    // half again as many inputs a second as a disk. Relative names keep every note and
    // message the same from one process to the next.
    const char* base = std::getenv("VEXA_FUZZ_TMP");
    if (!base)
        base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    scratch = std::string(base) + "/vexa-fuzz-" + std::to_string(getpid());
    std::string command = "mkdir -p " + scratch;
    if (std::system(command.c_str()) != 0)
        std::abort();
    std::atexit(remove_scratch);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // libFuzzer names its inputs relative to the starting folder, so the run visits the scratch
    // folder only for the length of one input.
    int home = open(".", O_RDONLY | O_DIRECTORY);
    if (home < 0 || chdir(scratch.c_str()) != 0)
        std::abort();
    size_t split = size;
    for (size_t i = 0; i + 1 < size; ++i)
        if (data[i] == 0 && data[i + 1] == 0) {
            split = i;
            break;
        }
    write_source("a.s", data, split);
    bool two_files = split < size;
    if (two_files)
        write_source("b.s", data + split + 2, size - split - 2);

    for (const char* output : ImageOutputs)
        std::remove(output);
    std::remove("out.lst");
    reset_assembler();
    // The listing's date may come from SOURCE_DATE_EPOCH: every fifth input hands its first
    // bytes over as the variable's text, however malformed.
    if (size % 5 == 0) {
        std::string epoch(reinterpret_cast<const char*>(data), size < 14 ? size : 14);
        epoch.resize(std::strlen(epoch.c_str()));
        setenv("SOURCE_DATE_EPOCH", epoch.c_str(), 1);
    } else {
        unsetenv("SOURCE_DATE_EPOCH");
    }
    // Inputs of odd length also name the first source as the hex output, which must be refused.
    bool aim_at_source = size % 2 == 1;
    const char* argv[] = {"vexa-as", aim_at_source ? "-hex=a.s" : "-hex=out.hex", "-bin=out.bin",
                          "-ram=out.ram", "-prg=out.prg", "-vhd=out.vhd", "-vlg=out.v",
                          "-mem=out.mem", "-ihx=out.ihx", "-mif=out.mif", "-coe=out.coe",
                          "-sym=out.sym", "-lst=out.lst", "a.s", "b.s", nullptr};
    int argc = two_files ? 15 : 14;
    argv[argc] = nullptr;
    // Without a listing the run keeps no notes and passes over comment lines in bulk; every
    // third input runs that way first, and must report exactly what the full run reports.
    bool without_listing_first = size % 3 == 0;
    std::string quiet_errors;
    int quiet_status = 0;
    if (without_listing_first) {
        const char* quiet[16];
        int quiet_argc = 0;
        for (int i = 0; i < argc; ++i)
            if (std::strcmp(argv[i], "-lst=out.lst") != 0)
                quiet[quiet_argc++] = argv[i];
        quiet[quiet_argc] = nullptr;
        quiet_status = run_caught(quiet_argc, quiet, "err1.txt");
        check(note_count == 0, "no notes kept without a listing");
        check(!exists("out.lst"), "no listing written unasked");
        quiet_errors = read_file("err1.txt");
        reset_assembler();
    }
    int status = run_caught(argc, argv, "err2.txt");
    if (without_listing_first) {
        check(status == quiet_status, "the listing changes no exit status");
        check(read_file("err2.txt") == quiet_errors, "the listing changes no diagnostic");
    }
    check(status == (error_count > 0 ? 1 : 0), "exit status follows the error count");
    // A failed run leaves no image output behind, a successful one all of them; the listing
    // stays either way.
    for (const char* output : ImageOutputs)
        if (!aim_at_source || std::strcmp(output, "out.hex") != 0)
            check(exists(output) == (status == 0), "image outputs kept exactly on success");
    check(exists("out.lst"), "listing kept");
    check_tables();
    if (aim_at_source)
        check(source_unchanged(data, split), "a source file survives being named as an output");
    // Releases what the run holds, so that every input leaves the heap as it found it.
    reset_assembler();
    if (fchdir(home) != 0)
        std::abort();
    close(home);
    return 0;
}
