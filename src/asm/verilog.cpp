// The Verilog ROM: a module with the VHDL entity's ports and timing, its words in a case
// table read by a clocked process, the form that synthesis maps to block memory. Owns the
// table of words that no VHDL, Verilog or SystemVerilog tool accepts as an entity or module
// name, and judges the names given for both.
#include "asm.h"

#include <cstring>
#include <string_view>

// Words that no module name may be, in byte order, each marked with where it is taken: a
// keyword of Verilog-2005 or SystemVerilog (IEEE 1800-2017), which tools reserve even when they
// read plain Verilog; a reserved word of VHDL-2008; or a name that the generated VHDL already
// declares or imports. Verilog keywords are lower case and case-sensitive; VHDL ignores case.
enum : uint8_t { VLOG = 1, VHDL = 2, BOTH = VLOG | VHDL, USED = 4 };
struct ReservedRow { const char* word; uint8_t taken_by; };
constexpr ReservedRow ReservedWords[] = {
    {"abs", VHDL}, {"accept_on", VLOG}, {"access", VHDL}, {"address", USED}, {"addri", USED},
    {"after", VHDL}, {"alias", BOTH}, {"all", VHDL}, {"always", VLOG}, {"always_comb", VLOG},
    {"always_ff", VLOG}, {"always_latch", VLOG}, {"and", BOTH}, {"architecture", VHDL},
    {"array", VHDL}, {"assert", BOTH}, {"assign", VLOG}, {"assume", BOTH},
    {"assume_guarantee", VHDL}, {"attribute", VHDL}, {"automatic", VLOG}, {"before", VLOG},
    {"begin", BOTH}, {"bind", VLOG}, {"bins", VLOG}, {"binsof", VLOG}, {"bit", VLOG},
    {"block", VHDL}, {"body", VHDL}, {"break", VLOG}, {"buf", VLOG}, {"buffer", VHDL},
    {"bufif0", VLOG}, {"bufif1", VLOG}, {"bus", VHDL}, {"byte", VLOG}, {"case", BOTH},
    {"casex", VLOG}, {"casez", VLOG}, {"cell", VLOG}, {"chandle", VLOG}, {"checker", VLOG},
    {"class", VLOG}, {"clk", USED}, {"clocking", VLOG}, {"cmos", VLOG}, {"component", VHDL},
    {"config", VLOG}, {"configuration", VHDL}, {"const", VLOG}, {"constant", VHDL},
    {"constraint", VLOG}, {"context", BOTH}, {"continue", VLOG}, {"cover", BOTH},
    {"covergroup", VLOG}, {"coverpoint", VLOG}, {"cross", VLOG}, {"deassign", VLOG},
    {"default", BOTH}, {"defparam", VLOG}, {"design", VLOG}, {"disable", VLOG},
    {"disconnect", VHDL}, {"dist", VLOG}, {"do", VLOG}, {"downto", VHDL}, {"edge", VLOG},
    {"else", BOTH}, {"elsif", VHDL}, {"ena", USED}, {"end", BOTH}, {"endcase", VLOG},
    {"endchecker", VLOG}, {"endclass", VLOG}, {"endclocking", VLOG}, {"endconfig", VLOG},
    {"endfunction", VLOG}, {"endgenerate", VLOG}, {"endgroup", VLOG}, {"endinterface", VLOG},
    {"endmodule", VLOG}, {"endpackage", VLOG}, {"endprimitive", VLOG}, {"endprogram", VLOG},
    {"endproperty", VLOG}, {"endsequence", VLOG}, {"endspecify", VLOG}, {"endtable", VLOG},
    {"endtask", VLOG}, {"entity", VHDL}, {"enum", VLOG}, {"event", VLOG}, {"eventually", VLOG},
    {"exit", VHDL}, {"expect", VLOG}, {"export", VLOG}, {"extends", VLOG}, {"extern", VLOG},
    {"fairness", VHDL}, {"file", VHDL}, {"final", VLOG}, {"first_match", VLOG}, {"for", BOTH},
    {"force", BOTH}, {"foreach", VLOG}, {"forever", VLOG}, {"fork", VLOG}, {"forkjoin", VLOG},
    {"function", BOTH}, {"generate", BOTH}, {"generic", VHDL}, {"genvar", VLOG}, {"global", VLOG},
    {"group", VHDL}, {"guarded", VHDL}, {"highz0", VLOG}, {"highz1", VLOG}, {"ieee", USED},
    {"if", BOTH}, {"iff", VLOG}, {"ifnone", VLOG}, {"ignore_bins", VLOG}, {"illegal_bins", VLOG},
    {"implements", VLOG}, {"implies", VLOG}, {"import", VLOG}, {"impure", VHDL}, {"in", VHDL},
    {"incdir", VLOG}, {"include", VLOG}, {"inertial", VHDL}, {"initial", VLOG}, {"inout", BOTH},
    {"input", VLOG}, {"inside", VLOG}, {"instance", VLOG}, {"instr", USED}, {"int", VLOG},
    {"integer", VLOG}, {"interconnect", VLOG}, {"interface", VLOG}, {"intersect", VLOG},
    {"is", VHDL}, {"join", VLOG}, {"join_any", VLOG}, {"join_none", VLOG}, {"label", VHDL},
    {"large", VLOG}, {"let", VLOG}, {"liblist", VLOG}, {"library", BOTH}, {"linkage", VHDL},
    {"literal", VHDL}, {"local", VLOG}, {"localparam", VLOG}, {"logic", VLOG}, {"longint", VLOG},
    {"loop", VHDL}, {"macromodule", VLOG}, {"map", VHDL}, {"matches", VLOG}, {"medium", VLOG},
    {"mod", VHDL}, {"modport", VLOG}, {"module", VLOG}, {"nand", BOTH}, {"negedge", VLOG},
    {"nettype", VLOG}, {"new", BOTH}, {"next", VHDL}, {"nexttime", VLOG}, {"nmos", VLOG},
    {"nor", BOTH}, {"noshowcancelled", VLOG}, {"not", BOTH}, {"notif0", VLOG}, {"notif1", VLOG},
    {"null", BOTH}, {"of", VHDL}, {"on", VHDL}, {"open", VHDL}, {"or", BOTH}, {"others", VHDL},
    {"out", VHDL}, {"output", VLOG}, {"package", BOTH}, {"packed", VLOG}, {"parameter", BOTH},
    {"pmos", VLOG}, {"port", VHDL}, {"posedge", VLOG}, {"postponed", VHDL}, {"primitive", VLOG},
    {"priority", VLOG}, {"procedure", VHDL}, {"process", VHDL}, {"program", VLOG},
    {"prom_beh", USED}, {"property", BOTH}, {"protected", BOTH}, {"pull0", VLOG}, {"pull1", VLOG},
    {"pulldown", VLOG}, {"pullup", VLOG}, {"pulsestyle_ondetect", VLOG},
    {"pulsestyle_onevent", VLOG}, {"pure", BOTH}, {"rand", VLOG}, {"randc", VLOG},
    {"randcase", VLOG}, {"randsequence", VLOG}, {"range", VHDL}, {"rcmos", VLOG}, {"real", VLOG},
    {"realtime", VLOG}, {"record", VHDL}, {"ref", VLOG}, {"reg", VLOG}, {"register", VHDL},
    {"reject", VHDL}, {"reject_on", VLOG}, {"release", BOTH}, {"rem", VHDL}, {"repeat", VLOG},
    {"report", VHDL}, {"restrict", BOTH}, {"restrict_guarantee", VHDL}, {"return", BOTH},
    {"rnmos", VLOG}, {"rol", VHDL}, {"ror", VHDL}, {"rpmos", VLOG}, {"rtran", VLOG},
    {"rtranif0", VLOG}, {"rtranif1", VLOG}, {"s_always", VLOG}, {"s_eventually", VLOG},
    {"s_nexttime", VLOG}, {"s_until", VLOG}, {"s_until_with", VLOG}, {"scalared", VLOG},
    {"select", VHDL}, {"sequence", BOTH}, {"severity", VHDL}, {"shared", VHDL}, {"shortint", VLOG},
    {"shortreal", VLOG}, {"showcancelled", VLOG}, {"signal", VHDL}, {"signed", VLOG},
    {"sla", VHDL}, {"sll", VHDL}, {"small", VLOG}, {"soft", VLOG}, {"solve", VLOG},
    {"specify", VLOG}, {"specparam", VLOG}, {"sra", VHDL}, {"srl", VHDL}, {"static", VLOG},
    {"std", USED}, {"std_logic", USED}, {"std_logic_1164", USED}, {"std_logic_unsigned", USED},
    {"std_logic_vector", USED}, {"string", VLOG}, {"strong", BOTH}, {"strong0", VLOG},
    {"strong1", VLOG}, {"struct", VLOG}, {"subtype", VHDL}, {"super", VLOG}, {"supply0", VLOG},
    {"supply1", VLOG}, {"sync_accept_on", VLOG}, {"sync_reject_on", VLOG}, {"table", VLOG},
    {"tagged", VLOG}, {"task", VLOG}, {"then", VHDL}, {"this", VLOG}, {"throughout", VLOG},
    {"time", VLOG}, {"timeprecision", VLOG}, {"timeunit", VLOG}, {"to", VHDL}, {"tran", VLOG},
    {"tranif0", VLOG}, {"tranif1", VLOG}, {"transport", VHDL}, {"tri", VLOG}, {"tri0", VLOG},
    {"tri1", VLOG}, {"triand", VLOG}, {"trior", VLOG}, {"trireg", VLOG}, {"type", BOTH},
    {"typedef", VLOG}, {"unaffected", VHDL}, {"union", VLOG}, {"unique", VLOG}, {"unique0", VLOG},
    {"units", VHDL}, {"unsigned", VLOG}, {"until", BOTH}, {"until_with", VLOG}, {"untyped", VLOG},
    {"use", BOTH}, {"uwire", VLOG}, {"var", VLOG}, {"variable", VHDL}, {"vectored", VLOG},
    {"virtual", VLOG}, {"vmode", VHDL}, {"void", VLOG}, {"vprop", VHDL}, {"vunit", VHDL},
    {"wait", BOTH}, {"wait_order", VLOG}, {"wand", VLOG}, {"weak", VLOG}, {"weak0", VLOG},
    {"weak1", VLOG}, {"when", VHDL}, {"while", BOTH}, {"wildcard", VLOG}, {"wire", VLOG},
    {"with", BOTH}, {"within", VLOG}, {"wor", VLOG}, {"work", USED}, {"xnor", BOTH}, {"xor", BOTH},
};
constexpr int RESERVED_COUNT = sizeof ReservedWords / sizeof ReservedWords[0];
static_assert(RESERVED_COUNT == 334);

constexpr bool reserved_sorted()
{
    for (int i = 1; i < RESERVED_COUNT; i++) {
        std::string_view word = ReservedWords[i].word;
        if (std::string_view(ReservedWords[i - 1].word) >= word) {
            return false;
        }
    }
    return true;
}
static_assert(reserved_sorted(), "binary search needs the words in byte order");

// Whether the `length` characters at `name` are a reserved word taken by one of `languages`.
static bool is_reserved(const char* name, size_t length, uint8_t languages)
{
    int low = 0;
    int high = RESERVED_COUNT - 1;
    while (low <= high) {
        int middle = (low + high) / 2;
        const char* word = ReservedWords[middle].word;
        int order = std::strncmp(word, name, length);
        if (order == 0 && word[length] != '\0') {
            order = 1;                   // the word is longer than the name
        }
        if (order == 0) {
            return (ReservedWords[middle].taken_by & languages) != 0;
        }
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return false;
}

static bool is_identifier(const char* name, size_t length)
{
    if (length == 0 || (name[0] >= '0' && name[0] <= '9')) {
        return false;
    }
    for (size_t i = 0; i < length; i++) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && !(c >= '0' && c <= '9') && c != '_') {
            return false;
        }
    }
    return !is_reserved(name, length, VLOG);
}

const char* module_name;

// A name given for the VHDL entity and the Verilog module must be a basic identifier in both
// languages and keep its meaning in each: an ASCII letter, then letters, digits and single
// underscores, no underscore last, at most 64 characters, and no reserved word in any case.
bool usable_module_name(const char* name)
{
    constexpr size_t NAME_LIMIT = 64;
    char lower[NAME_LIMIT + 1];
    size_t length = 0;
    for (; name[length] != '\0'; length++) {
        unsigned char c = static_cast<unsigned char>(name[length]);
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        bool digit = c >= '0' && c <= '9' && length > 0;
        bool underscore = c == '_' && length > 0 && name[length - 1] != '_';
        if (length == NAME_LIMIT || !(letter || digit || underscore)) {
            return false;
        }
        lower[length] = static_cast<char>(letter ? c | 0x20 : c);
    }
    lower[length] = '\0';
    return length > 0 && name[length - 1] != '_' &&
           !is_reserved(lower, length, VLOG | VHDL | USED);
}

// The file name in `path` up to its first dot: where it starts, and its length.
static const char* base_name(const char* path, size_t& length)
{
    const char* base = std::strrchr(path, '/');
    base = base != nullptr ? base + 1 : path;
    length = std::strcspn(base, ".");
    return base;
}

// The module name for an output path: its base name up to the first dot when that is an
// identifier every Verilog tool accepts, else "prom". Writes at most `size` - 1 characters.
static void verilog_module_name(const char* path, char* out, size_t size)
{
    size_t length;
    const char* base = base_name(path, length);
    if (!is_identifier(base, length) || length + 1 > size) {
        std::snprintf(out, size, "prom");
        return;
    }
    std::memcpy(out, base, length);
    out[length] = '\0';
}

// Whether `name` is the one Verilator expects for a module in `path`.
static bool named_after_file(const char* path, const char* name)
{
    size_t length;
    const char* base = base_name(path, length);
    return std::strlen(name) == length && std::strncmp(base, name, length) == 0;
}

static const char* const VerilogPorts =
    " (\n"
    "    input  wire        clk,\n"
    "    input  wire        ena,\n"
    "    /* verilator lint_off UNUSED */\n"
    "    input  wire [15:0] addri,   // word number; bit 15 is ignored\n"
    "    /* verilator lint_on UNUSED */\n"
    "    output reg  [15:0] instr\n"
    ");\n"
    "\n"
    "initial instr = 16'h0000;\n"
    "\n"
    "// On a rising edge with ena high, instr takes the word that addri numbers; with ena low\n"
    "// it keeps its word.\n"
    "always @(posedge clk)\n"
    "    if (ena)\n"
    "        case (addri[14:0])\n";

static const char* const VerilogClosing =
    "            default:  instr <= 16'h0000;\n"
    "        endcase\n"
    "\n"
    "endmodule\n";

static void verilog_text(const char* path)
{
    char name[TEXT_BUF];
    if (module_name != nullptr) {
        std::snprintf(name, sizeof name, "%s", module_name);
    } else {
        verilog_module_name(path, name, sizeof name);
    }
    bool fallback = !named_after_file(path, name);

    output_text("// The program memory of a vexa: word n of the image at word number n, "
                "words beyond\n// the program read 0000. Written by vexa-as.\n");
    if (fallback) {
        output_text("/* verilator lint_off DECLFILENAME */\n");
    }
    output_text("module ");
    output_text(name);
    if (fallback) {
        output_text(" /* verilator lint_on DECLFILENAME */");
    }
    output_text(VerilogPorts);
    // A word's line of the case table: its number, the word and its text.
    write_word_lines("            15'hnnnn: instr <= 16'hwwww;    // ", LINE_TRIMMED, 0,
                     (location_counter + 1) / 2);
    output_text(VerilogClosing);
}

bool write_verilog(const char* path)
{
    return write_output(path, "w", verilog_text);
}
