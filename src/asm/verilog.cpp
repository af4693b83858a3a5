// The Verilog ROM: a module with the VHDL entity's ports and timing, its words in a case
// table read by a clocked process, the form that synthesis maps to block memory. Owns the
// table of words that no Verilog or SystemVerilog tool accepts as a module name.
#include "asm.h"

#include <cstring>
#include <string_view>

// The keywords of Verilog-2005 and of SystemVerilog (IEEE 1800-2017), in byte order: tools
// reserve the SystemVerilog ones even when they read plain Verilog.
constexpr const char* VerilogKeywords[] = {
    "accept_on", "alias", "always", "always_comb", "always_ff", "always_latch", "and",
    "assert", "assign", "assume", "automatic", "before", "begin", "bind", "bins", "binsof",
    "bit", "break", "buf", "bufif0", "bufif1", "byte", "case", "casex", "casez", "cell",
    "chandle", "checker", "class", "clocking", "cmos", "config", "const", "constraint",
    "context", "continue", "cover", "covergroup", "coverpoint", "cross", "deassign", "default",
    "defparam", "design", "disable", "dist", "do", "edge", "else", "end", "endcase",
    "endchecker", "endclass", "endclocking", "endconfig", "endfunction", "endgenerate",
    "endgroup", "endinterface", "endmodule", "endpackage", "endprimitive", "endprogram",
    "endproperty", "endsequence", "endspecify", "endtable", "endtask", "enum", "event",
    "eventually", "expect", "export", "extends", "extern", "final", "first_match", "for",
    "force", "foreach", "forever", "fork", "forkjoin", "function", "generate", "genvar",
    "global", "highz0", "highz1", "if", "iff", "ifnone", "ignore_bins", "illegal_bins",
    "implements", "implies", "import", "incdir", "include", "initial", "inout", "input",
    "inside", "instance", "int", "integer", "interconnect", "interface", "intersect", "join",
    "join_any", "join_none", "large", "let", "liblist", "library", "local", "localparam",
    "logic", "longint", "macromodule", "matches", "medium", "modport", "module", "nand",
    "negedge", "nettype", "new", "nexttime", "nmos", "nor", "noshowcancelled", "not",
    "notif0", "notif1", "null", "or", "output", "package", "packed", "parameter", "pmos",
    "posedge", "primitive", "priority", "program", "property", "protected", "pull0", "pull1",
    "pulldown", "pullup", "pulsestyle_ondetect", "pulsestyle_onevent", "pure", "rand",
    "randc", "randcase", "randsequence", "rcmos", "real", "realtime", "ref", "reg",
    "reject_on", "release", "repeat", "restrict", "return", "rnmos", "rpmos", "rtran",
    "rtranif0", "rtranif1", "s_always", "s_eventually", "s_nexttime", "s_until",
    "s_until_with", "scalared", "sequence", "shortint", "shortreal", "showcancelled",
    "signed", "small", "soft", "solve", "specify", "specparam", "static", "string", "strong",
    "strong0", "strong1", "struct", "super", "supply0", "supply1", "sync_accept_on",
    "sync_reject_on", "table", "tagged", "task", "this", "throughout", "time",
    "timeprecision", "timeunit", "tran", "tranif0", "tranif1", "tri", "tri0", "tri1",
    "triand", "trior", "trireg", "type", "typedef", "union", "unique", "unique0", "unsigned",
    "until", "until_with", "untyped", "use", "uwire", "var", "vectored", "virtual", "void",
    "wait", "wait_order", "wand", "weak", "weak0", "weak1", "while", "wildcard", "wire",
    "with", "within", "wor", "xnor", "xor",
};
constexpr int VERILOG_KEYWORD_COUNT = sizeof VerilogKeywords / sizeof VerilogKeywords[0];
static_assert(VERILOG_KEYWORD_COUNT == 248);

constexpr bool keywords_sorted()
{
    for (int i = 1; i < VERILOG_KEYWORD_COUNT; i++) {
        if (std::string_view(VerilogKeywords[i - 1]) >= std::string_view(VerilogKeywords[i])) {
            return false;
        }
    }
    return true;
}
static_assert(keywords_sorted(), "binary search needs the keywords in byte order");

static bool is_keyword(const char* name, size_t length)
{
    int low = 0;
    int high = VERILOG_KEYWORD_COUNT - 1;
    while (low <= high) {
        int middle = (low + high) / 2;
        int order = std::strncmp(VerilogKeywords[middle], name, length);
        if (order == 0 && VerilogKeywords[middle][length] != '\0') {
            order = 1;                   // the keyword is longer than the name
        }
        if (order == 0) {
            return true;
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
    return !is_keyword(name, length);
}

// The file name in `path` up to its first dot: where it starts, and its length.
static const char* base_name(const char* path, size_t& length)
{
    const char* base = std::strrchr(path, '/');
    base = base != nullptr ? base + 1 : path;
    length = std::strcspn(base, ".");
    return base;
}

void verilog_module_name(const char* path, char* out, size_t size)
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

// A word's line of the case table up to its text, the word number and the word still to be
// filled in.
constexpr char VerilogWordLine[] = "            15'hnnnn: instr <= 16'hwwww;    // ";
constexpr size_t VERILOG_NUMBER_AT = 16, VERILOG_WORD_AT = 35;
constexpr size_t VERILOG_TEXT_AT = sizeof VerilogWordLine - 1;
static_assert(std::string_view(VerilogWordLine).find("nnnn") == VERILOG_NUMBER_AT);
static_assert(std::string_view(VerilogWordLine).find("wwww") == VERILOG_WORD_AT);

static void verilog_text(std::FILE* stream, const char* path)
{
    char name[TEXT_BUF];
    verilog_module_name(path, name, sizeof name);
    bool fallback = !named_after_file(path, name);

    output_text(stream, "// The program memory of a vexa: word n of the image at word number n, "
                       "words beyond\n// the program read 0000. Written by vexa-as.\n");
    if (fallback) {
        output_text(stream, "/* verilator lint_off DECLFILENAME */\n");
    }
    output_text(stream, "module ");
    output_text(stream, name);
    if (fallback) {
        output_text(stream, " /* verilator lint_on DECLFILENAME */");
    }
    output_text(stream, VerilogPorts);
    // 15'hNNNN: instr <= 16'hWWWW;    // disassembly, with the text's trailing blanks cut:
    // every line's constant text is copied whole, and the numbers and the text go into it.
    int32_t end = location_counter;
    char* stop;
    char* out = output_chunk(stream, nullptr, stop);
    for (int32_t a = 0; a < end; a += 2) {
        out = line_room(stream, out, stop);
        std::memcpy(out, VerilogWordLine, VERILOG_TEXT_AT);
        put_hex4(out + VERILOG_NUMBER_AT, static_cast<uint32_t>(a / 2));
        uint32_t word;
        put_image_word(out + VERILOG_WORD_AT, a, word);
        const char* text = word_field(a, word);
        std::memcpy(out + VERILOG_TEXT_AT, text, DISASM_FIELD);
        size_t length = DISASM_FIELD;
        while (text[length - 1] == ' ') {   // a text never starts with a blank
            length--;
        }
        out += VERILOG_TEXT_AT + length;
        *out++ = '\n';
    }
    output_end(out);
    output_text(stream, VerilogClosing);
}

bool write_verilog(const char* path)
{
    return write_output(path, "w", verilog_text);
}
