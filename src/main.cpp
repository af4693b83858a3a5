// vexa-as: assembles vexa source files, in command-line order, into one 64 KiB image and
// writes it in the requested forms. Options and sources may be given in any order.
#include "asm.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#ifndef VEXA_VERSION
#define VEXA_VERSION "unknown"
#endif

static bool write_dep(const char* path);

static bool listing_writer(const char* path)
{
    write_listing(path);
    return false;                        // the listing is never removed
}

// Every output: its option, its writer, and whether it is an image output (put in place only
// after a successful run, removed after a failed one). Rows stand in the order in which the
// outputs are written; the listing comes last so that it shows the diagnostics of every
// writer before it.
// The help text gives each row's option and description, in this order.
struct OutputRow {
    const char* option;
    bool (*writer)(const char* path);    // true when it wrote a regular file
    bool image;
    const char* help;
};
constexpr OutputRow OutputTable[] = {
    {"-hex=", write_hex,      true,  "hex dump of the program's bytes"},
    {"-bin=", write_bin,      true,  "65536-byte binary image, words low byte first"},
    {"-ram=", write_ram,      true,  "RAM file (created empty)"},
    {"-prg=", write_prg,      true,  "program list: word number, word and disassembly"},
    {"-vhd=", write_vhdl,     true,  "VHDL ROM entity prom"},
    {"-vlg=", write_verilog,  true,  "Verilog ROM module, named after FILE"},
    {"-mem=", write_mem,      true,  "memory file for Verilog $readmemh, 32768 words"},
    {"-ihx=", write_ihx,      true,
     "Intel HEX with byte addresses (objcopy, srec_cat, programmers)"},
    {"-mif=", write_mif,      true,  "Memory Initialization File for Quartus"},
    {"-coe=", write_coe,      true,  "coefficient file for the Vivado block memory generator"},
    {"-sym=", write_symbols,  true,  "symbol map: value, scope and name of every defined symbol"},
    {"-dep=", write_dep,      true,  "make rule: the other outputs depend on every file read"},
    {"-lst=", listing_writer, false, "listing: every word beside its source line and diagnostics"},
};
constexpr int OUTPUT_COUNT = sizeof OutputTable / sizeof OutputTable[0];
constexpr int OUTPUT_LISTING = OUTPUT_COUNT - 1;
constexpr size_t OPTION_LENGTH = 5;
static_assert(OutputTable[OUTPUT_LISTING].writer == listing_writer);
constexpr int OUTPUT_DEP = OUTPUT_LISTING - 1;
static_assert(OutputTable[OUTPUT_DEP].writer == write_dep);

// The path each output was given, by row, or null: the dependency file's targets.
static const char* OutputPaths[OUTPUT_COUNT];

// A path as make reads it in a rule: a blank written "\ ", '#' "\#" and '$' "$$".
static void output_make_path(const char* path)
{
    for (; *path != '\0'; path++) {
        char* out = output_reserve(2);
        if (*path == ' ' || *path == '#') {
            *out++ = '\\';
        } else if (*path == '$') {
            *out++ = '$';
        }
        *out++ = *path;
        output_commit(out);
    }
}

// One rule whose targets are the other outputs, in the table's order, and whose
// prerequisites are the files read, each once, in reading order; then an empty rule for each
// of those, so that make goes on when one of them has been deleted.
static void dep_text(const char*)
{
    const char* separator = "";
    for (int k = 0; k < OUTPUT_COUNT; k++) {
        if (k != OUTPUT_DEP && OutputPaths[k] != nullptr) {
            output_text(separator);
            output_make_path(OutputPaths[k]);
            separator = " ";
        }
    }
    if (*separator != '\0') {
        output_text(":");
        for (int32_t k = 0; k < read_file_count(); k++) {
            output_text(" ");
            output_make_path(read_file_path(k));
        }
        output_text("\n");
    }
    for (int32_t k = 0; k < read_file_count(); k++) {
        output_text("\n");
        output_make_path(read_file_path(k));
        output_text(":\n");
    }
}

static bool write_dep(const char* path)
{
    return write_output(path, "w", dep_text);
}
static_assert(OUTPUT_COUNT <= MAX_OUTPUTS);

// -depth=N: the depth of the memory files, N decimal from 1 to 32768.
static bool set_depth(const char* text)
{
    int32_t depth = 0;
    for (const char* p = text; *p != '\0'; p++) {
        if (*p < '0' || *p > '9' || depth > IMAGE_SIZE / 2) {
            return false;
        }
        depth = 10 * depth + (*p - '0');
    }
    if (depth < 1 || depth > IMAGE_SIZE / 2) {
        return false;
    }
    memory_depth = depth;
    return true;
}

// -name=NAME: the entity's and the module's name. One that is no usable name is an error of
// the run, not of the command line.
static bool set_name(const char* text)
{
    if (!usable_module_name(text)) {
        char shown[TEXT_BUF];
        report_error("'%s' is not a usable module name", shown_path(text, shown, sizeof shown));
    }
    module_name = text;
    return true;
}

// Options that set a value rather than name an output: the option, and the setter that takes
// the text after it, false when the usage text is due. All of them take effect before the
// first source is read.
struct ValueRow {
    const char* option;
    bool (*set)(const char* text);
    const char* help;                    // after the option and its value's name
    const char* value;                   // the value's form, for the note on a missing one
};
constexpr ValueRow ValueTable[] = {
    {"-depth=", set_depth, "N   depth in words of the memory of -mem= and -mif=, 1 to 32768 "
                           "(default\n             32768); a program of more words is an error",
     "N, N from 1 to 32768"},
    {"-name=",  set_name,  "NAME entity of -vhd= and module of -vlg= (default prom, and FILE's "
                           "name)", "NAME"},
};

static const char* run_name()
{
    static char shown[TEXT_BUF];
    return program_name != nullptr ? shown_path(program_name, shown, sizeof shown) : "vexa-as";
}

static int usage()
{
    std::fprintf(stderr,
                 "Usage: %s [-ram=<file>.ram] [-hex=<file>.hex] [-bin=<file>.bin] "
                 "[-prg=<file>.prg] [-vhd=<file>.vhd] [-lst=<file>.lst] source* \n",
                 run_name());
    return 1;
}

// The help: a line for each output and each setting, from their tables, between fixed texts.
static void print_help()
{
    std::printf("Usage: %s [-OPTION=FILE]... SOURCE...\n"
                "Assembles vexa source files, in the order given, into one 64 KiB memory image.\n"
                "\n"
                "Outputs (each option names a file; options may stand anywhere among the "
                "sources):\n", run_name());
    for (const OutputRow& row : OutputTable) {
        std::printf("  %sFILE  %s\n", row.option, row.help);
    }
    std::printf("\nSettings (they too may stand anywhere):\n");
    for (const ValueRow& row : ValueTable) {
        std::printf("  %s%s\n", row.option, row.help);
    }
    std::printf(
        "\n"
        "  -h, --help     show this help and exit\n"
        "  --version      show the version and exit\n"
        "\n"
        "Every argument that does not start with '-' is a source file. The exit status is 0\n"
        "when no error was reported and 1 otherwise; after an error the image outputs are\n"
        "removed and the listing is kept. SOURCE_DATE_EPOCH fixes the listing's date.\n"
        "The manual: man vexa-as\n");
}

// The status of a run that only printed to standard output: 1, with a message, when that
// could not be written.
static int stdout_status()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) {
        return 0;
    }
    report_error("error writing standard output (%s)", std::strerror(errno != 0 ? errno : EIO));
    return 1;
}

// The row whose option `argument` names with a non-empty path, or -1.
static int output_row(const char* argument)
{
    if (std::strlen(argument) <= OPTION_LENGTH) {
        return -1;
    }
    for (int k = 0; k < OUTPUT_COUNT; k++) {
        if (std::strncmp(argument, OutputTable[k].option, OPTION_LENGTH) == 0) {
            return k;
        }
    }
    return -1;
}

// The row of ValueTable whose option starts `argument`, or -1.
static int value_row(const char* argument)
{
    for (const ValueRow& row : ValueTable) {
        if (std::strncmp(argument, row.option, std::strlen(row.option)) == 0) {
            return static_cast<int>(&row - ValueTable);
        }
    }
    return -1;
}

// Whether `argument` is `option` without its '=', or with nothing after it.
static bool lacks_value(const char* argument, const char* option)
{
    size_t length = std::strlen(option) - 1;
    return std::strncmp(argument, option, length) == 0 &&
           (argument[length] == '\0' || (argument[length] == '=' && argument[length + 1] == '\0'));
}

static void note_value_form(const char* argument, const ValueRow& row)
{
    char shown[TEXT_BUF];
    report_note(nullptr, 0, "'%s' needs a value: %s%s", shown_path(argument, shown, sizeof shown),
                row.option, row.value);
}

// The note before the usage text for an argument that starts with '-' but names no option:
// an option without its file name or value, or else the nearest option name (within two
// edits, the first in table order) in place of the argument's own, the text after '=' kept.
static void note_bad_argument(const char* argument)
{
    const char* equals = std::strchr(argument, '=');
    size_t part = equals != nullptr ? static_cast<size_t>(equals + 1 - argument)
                                    : std::strlen(argument);
    const char* nearest = nullptr;
    int32_t best = 3;
    char shown[TEXT_BUF];
    for (const OutputRow& row : OutputTable) {
        if (lacks_value(argument, row.option)) {
            report_note(nullptr, 0, "'%s' needs a file name: %sFILE",
                        shown_path(argument, shown, sizeof shown), row.option);
            return;
        }
        int32_t distance = edit_distance(argument, part, row.option);
        nearest = distance < best ? row.option : nearest;
        best = std::min(best, distance);
    }
    for (const ValueRow& row : ValueTable) {
        if (lacks_value(argument, row.option)) {
            note_value_form(argument, row);
            return;
        }
        int32_t distance = edit_distance(argument, part, row.option);
        nearest = distance < best ? row.option : nearest;
        best = std::min(best, distance);
    }
    if (nearest != nullptr && static_cast<size_t>(best) < part) {
        char meant[TEXT_BUF], shown_meant[TEXT_BUF];
        std::snprintf(meant, sizeof meant, "%s%s", nearest, argument + part);
        report_note(nullptr, 0, "'%s' is not an option; did you mean '%s'?",
                    shown_path(argument, shown, sizeof shown),
                    shown_path(meant, shown_meant, sizeof shown_meant));
    }
}

// Looks at the whole command line before any source is read, as far as the run will take
// it (up to the first word that is no option): counts the sources, records each output's
// path (the later of an option given twice), and notes where each output leads. Returns
// false, after reporting why, for a run that must not start: too many sources, or two
// outputs naming one file.
static bool scan_arguments(int argc, char** argv, const char* paths[OUTPUT_COUNT])
{
    int sources = 0;
    int given[OUTPUT_COUNT] = {};        // the argument that gave each path
    for (int i = 1; i < argc; i++) {
        int row = argv[i][0] == '-' ? output_row(argv[i]) : -1;
        if (row >= 0) {
            paths[row] = argv[i] + OPTION_LENGTH;
            given[row] = i;
        } else if (argv[i][0] != '-') {
            sources++;
        } else if (value_row(argv[i]) < 0) {
            break;
        }
    }
    if (sources > MAX_SOURCES) {
        report_error("too many source files (at most %d)", MAX_SOURCES);
        return false;
    }
    // Outputs in command-line order, so that each refusal names the earlier option first.
    int order[OUTPUT_COUNT];
    int32_t noted[OUTPUT_COUNT];
    int count = 0;
    for (int i = 1; i < argc; i++) {
        for (int k = 0; k < OUTPUT_COUNT; k++) {
            if (given[k] == i) {
                order[count] = k;
                noted[count++] = note_output(paths[k], OutputTable[k].image);
            }
        }
    }
    // An output named like a source is refused when its turn comes and writes nothing, so
    // it can take no other output's file.
    bool clash = false;
    for (int b = 1; b < count; b++) {
        for (int a = 0; a < b && !named_like_source(paths[order[b]]); a++) {
            if (!named_like_source(paths[order[a]]) && same_output_file(noted[a], noted[b])) {
                char first[TEXT_BUF], second[TEXT_BUF];
                report_error("options '%s' and '%s' name the same file",
                             shown_path(argv[given[order[a]]], first, sizeof first),
                             shown_path(argv[given[order[b]]], second, sizeof second));
                clash = true;
                break;
            }
        }
    }
    return !clash;
}

int main(int argc, char** argv)
{
    program_name = argc > 0 ? argv[0] : nullptr;
    // A closed pipe or the file size limit shows as a failed write, reported like any other,
    // rather than ending the run with outputs half written.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    if (argc < 2) {
        return usage();
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        print_help();
        return stdout_status();
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("vexa-as %s\n", VEXA_VERSION);
        return stdout_status();
    }

    // Options may follow the sources, so the settings are taken before the first file is
    // read: they hold for the whole run, and a name that no tool could take ends it at once.
    for (int i = 1; i < argc; i++) {
        int row = value_row(argv[i]);
        if (row >= 0 && !ValueTable[row].set(argv[i] + std::strlen(ValueTable[row].option))) {
            note_value_form(argv[i], ValueTable[row]);
            return usage();
        }
    }
    if (error_count > 0) {
        return 1;
    }

    // Each output's path; the fuzzer runs main many times in one process.
    const char* (&paths)[OUTPUT_COUNT] = OutputPaths;
    for (const char*& path : paths) {
        path = nullptr;
    }
    if (!scan_arguments(argc, argv, paths)) {
        return 1;
    }
    // The notes serve the listing alone.
    notes_wanted = paths[OUTPUT_LISTING] != nullptr;

    for (int i = 1; i < argc; i++) {
        if (argv[i][0] != '-') {
            assemble_file(argv[i]);
        } else if (output_row(argv[i]) < 0 && value_row(argv[i]) < 0) {
            note_bad_argument(argv[i]);
            return usage();
        }
    }

    resolve_fixups();
    check_memory_depth();

    // Image outputs go into temporary files, renamed over their names only when the whole
    // run has succeeded; the listing is put in place as soon as it is written. When the run
    // has already failed, the images are removed before the listing is written, which then
    // has their room on a full disk.
    for (int k = 0; k < OUTPUT_COUNT; k++) {
        if (k == OUTPUT_LISTING && error_count > 0) {
            discard_outputs();
        }
        if (paths[k] != nullptr) {
            OutputTable[k].writer(paths[k]);
        }
    }
    if (error_count == 0) {
        place_outputs();
    }
    if (error_count == 0) {
        return 0;
    }
    discard_outputs();
    return 1;
}
