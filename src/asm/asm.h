// The asm module of vexa-as: every table and operation behind the driver. All state is
// static, zeroed at start and shared between the files below on purpose; each section lists
// what one source file owns.
//
// A vexa instruction word, stored high byte first at an even address:
//
//   15    12 11     8 7      4 3      0
//  +--------+--------+--------+--------+
//  |   M    |   A    |   B    |   L    |   M major opcode, A rd or condition, B rs or base,
//  +--------+--------+--------+--------+   L 4-bit immediate, offset or function
//  | 1001   |  cond  |  8-bit displacement (words)  |   short branch, M = 9
//  | 1111   |       12-bit payload = bits 15..4      |   imm prefix, M = 15
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

// ---- limits ----------------------------------------------------------------------------
constexpr int TEXT_MAX = 511;            // longest message, diagnostic line, note or source line
constexpr int TEXT_BUF = TEXT_MAX + 1;
constexpr int32_t IMAGE_SIZE = 65536;
constexpr int MAX_SYMBOLS = 10000;
constexpr int MAX_FIXUPS = 10000;
constexpr int MAX_NOTES = 50000;
constexpr int NAME_MAX_CHARS = 31;       // significant characters of a symbol name
constexpr int DISASM_BUF = 20;
constexpr int MAX_SOURCES = 32767;       // source files of a run: each file's scope is 16-bit
constexpr int MAX_OUTPUTS = 16;          // outputs of a run

// ---- diag.cpp: report_error, add_note, NoteTable, error count, source position ---------
// A note's own copy of its text, at most 511 characters and NUL-ended, lies in one pool
// that grows in recording order; an entry keeps its offset there, so that it takes 8 bytes.
struct ListingNote {
    int32_t address;     // location counter when recorded, 0..65536
    uint32_t text;       // offset of the text in the note pool
};
extern ListingNote NoteTable[MAX_NOTES];
extern int32_t note_count;
// The text of note k, for k < note_count; NOTE_SLACK readable bytes follow every text.
constexpr size_t NOTE_SLACK = 16;
const char* note_text(int32_t k);
size_t note_length(int32_t k);           // its length in characters
extern int32_t error_count;
extern const char* program_name;         // argv[0], or null
extern bool notes_wanted;                // false when no listing will read the notes
extern const char* current_file;         // source being assembled, or null
extern int64_t current_line;             // 0 when no line is current

[[gnu::format(printf, 1, 2)]] void report_error(const char* format, ...);
// As report_error, with "warning: " before the message and a "# warning" note, but not
// counted: a run with warnings alone succeeds.
[[gnu::format(printf, 1, 2)]] void report_warning(const char* format, ...);
void add_note(const char* text);
void add_note_text(const char* text, size_t length);   // the same for a text of known length
// The same for a source line of at most 511 characters with 15 readable bytes after it.
void add_line_note(const char* line, size_t length);
// Reports `message` unless `reported` is already set, then sets it: the tables that can fill
// up say so once per run.
void report_once(bool& reported, const char* message);
// A path as messages, notes and the symbol map show it: every control byte (0x01..0x1F,
// 0x7F) written as \xHH, so that no name can start a line or a field of its own. Returns
// `path` itself when it holds none, else `out`, filled with at most `size` - 1 characters.
const char* shown_path(const char* path, char* out, size_t size);
// Reports `format` (with a '%s' for the path and a '(%s)' for the system's text) about a
// file, its path shown as above and `error` as the system's text for it.
void report_file_error(const char* format, const char* path, int error);

// ---- image.cpp: CodeImage, location counter, emit helpers, load-use probe ---------------
extern uint8_t CodeImage[IMAGE_SIZE];
extern int32_t location_counter;         // 0..65536; 65536 means full
void emit_byte(int32_t value);
void emit_word(int32_t word);
void align_to(uint32_t n);
void emit_even();                        // pad to an even address, as before a fixup record
int32_t load_hazard_reg();
uint32_t image_word(int32_t address);    // big-endian word at an even address below 65536

// ---- lex.cpp: keyword lookup, character classes, next_token -------------------------------
enum : int32_t {
    TOKEN_EOL = 10,
    TOKEN_MNEMONIC = 'i',
    TOKEN_REGISTER = 'r',
    TOKEN_SYMBOL = 's',
    TOKEN_NUMBER = '1',
};
struct Token { int32_t kind; int32_t value; };

// White space in source text: blank, tab, newline, vertical tab, form feed, carriage return.
constexpr bool is_space(unsigned char c) { return c == ' ' || (c >= 9 && c <= 13); }
// Character classes of plain 7-bit ASCII, by byte; bytes 0x80..0xFF belong to none.
// CLASS_END marks the two bytes that end a line's tokens, NUL and the comment's `;`.
enum : uint8_t { CLASS_LETTER = 1, CLASS_DIGIT = 2, CLASS_SPACE = 4, CLASS_END = 8 };
constexpr uint8_t CLASS_WORD = CLASS_LETTER | CLASS_DIGIT;   // `_` counts as a letter here
extern const std::array<uint8_t, 256> CharClasses;
inline uint8_t class_of(const char* p) { return CharClasses[static_cast<unsigned char>(*p)]; }
// Returns the next token of the line at `cursor` and moves past it (not past the end of the
// line). Identifiers that are no keyword are looked up or created with find_symbol_text.
Token next_token(char*& cursor);

// ---- symbol.cpp: SymbolTable, scopes, find_symbol --------------------------------------
using SymbolHandle = int32_t;            // 1-based index into SymbolTable; 0 is no symbol
struct SymbolRecord {
    char name[NAME_MAX_CHARS + 1];
    int32_t value;
    int16_t scope;                       // 0 global, else the creating file's number
    int32_t defined;
    int32_t reported;
};
extern SymbolRecord SymbolTable[MAX_SYMBOLS];
extern int32_t symbol_count;
extern int32_t file_number;
// The path of each source file as given on the command line, by file number (1-based).
extern const char* FilePaths[MAX_SOURCES + 1];

SymbolHandle find_symbol(const char* name);
SymbolHandle find_symbol_text(const char* text, size_t length);   // a name with no NUL after it
SymbolRecord& symbol_record(SymbolHandle handle);
void make_global(SymbolHandle handle);
// Gives the label the location counter as its value, with a warning when it was defined before;
// false, after an error, for the name of a constant.
bool define_label(SymbolHandle handle);
// Called just before a zero byte pads an odd location counter to even: warns of each label
// that names the padding byte, that is, each label defined at this address since the last
// byte was laid down.
void warn_padded_labels();
// False, after reporting "symbol table is full" once per run, for a symbol token that carries
// no record.
bool symbol_usable(SymbolHandle handle);
// Counts the identifiers that got no record; an operand parsed while this grew named a symbol
// it cannot have.
extern int32_t symbol_misses;
bool operand_symbols_usable(int32_t misses_before);

// ---- operand.cpp: operand lists ---------------------------------------------------------
// Each reads its list from `cursor` up to the end of the line (read_number, a number, only
// that far), and reports the first token that does not fit as a syntax error. Those that
// take symbols also report a symbol that the full table could not enter.
bool read_eol(char*& cursor);                                                   // none
bool read_number(char*& cursor, int32_t& n);                                    // n, no end
bool read_number_eol(char*& cursor, int32_t& n);                                // n
bool read_symbol_eol(char*& cursor, SymbolHandle& symbol);                      // symbol
bool read_word_expr(char*& cursor, SymbolHandle& symbol, int32_t& number);      // value+-n
bool read_reg_eol(char*& cursor, int32_t& rs);                                  // rs
bool read_two_regs(char*& cursor, int32_t& rd, int32_t& rs);                    // rd, rs
bool read_reg_number(char*& cursor, int32_t& rs, int32_t& n);                   // rs, n
bool read_two_regs_number(char*& cursor, int32_t& rd, int32_t& rs, int32_t& n); // rd, rs, n
bool read_reg_mem(char*& cursor, int32_t& rd, SymbolHandle& symbol, int32_t& offset,
                  int32_t& base);                                               // rd, memory
bool check_long_reg(int32_t reg);
// Warns that `value` loses bits when it, or value + span (the second word of a pair), lies
// outside -32768..65535, the numbers that 16 bits hold signed or unsigned.
void warn_unless_16_bits(int32_t value, int32_t span = 0);

// ---- encode.cpp: InstructionTable, field composition, prefixes, lw/sw offset packing -----
enum Mnemonic : int32_t {
    MN_NOP, MN_WAIT, MN_BREAK, MN_SRLI, MN_SRAI, MN_SLLI, MN_SUBI, MN_ADDI,
    MN_AND, MN_XOR, MN_ROR, MN_RCR, MN_OR, MN_ANDN, MN_SUBR, MN_CMP, MN_ADD, MN_SUB,
    MN_ADDC, MN_SUBC, MN_ROL, MN_RCL, MN_CALL, MN_RET, MN_RETI,
    MN_LJLTU, MN_LJGEU, MN_LJEQ, MN_LJNE, MN_LJLT, MN_LJGE, MN_LJVS, MN_LJVC, MN_LJLE,
    MN_LJGT, MN_LJGTU, MN_LJLEU, MN_LJNEG, MN_LJPOS, MN_LJN, MN_LJA,
    MN_BLTU, MN_BGEU, MN_BEQ, MN_BNE, MN_BLT, MN_BGE, MN_BVS, MN_BVC, MN_BLE,
    MN_BGT, MN_BGTU, MN_BLEU, MN_BNEG, MN_BPOS, MN_BN, MN_BA,
    MN_LW, MN_SW, MN_LB, MN_SB, MN_LU, MN_IMM,
    MN_MOV, MN_CMPI, MN_LEA, MN_SEXT, MN_ZEXT, MN_ADDL, MN_SUBL, MN_ANDL, MN_ORL, MN_XORL,
    MN_ANDNL, MN_MOVL, MN_CMPL, MN_LL, MN_SL,
    MN_GLOBAL, MN_ALIGN, MN_BYTE, MN_WORD, MN_BSS,
    MN_COUNT,                            // 83
};
// The handler that reads a statement's operands and lays down its words: a case of
// assemble_statement, but for the directives, which the statement pass reads itself.
enum InstructionHandler : uint8_t {
    HANDLER_PLAIN, HANDLER_REG_REG_IMM, HANDLER_TWO_REG, HANDLER_REG_JUMP, HANDLER_BRANCH,
    HANDLER_LOAD_STORE, HANDLER_IMM, HANDLER_CMPI, HANDLER_LEA, HANDLER_EXTEND,
    HANDLER_LONG_ALU, HANDLER_LONG_MEM,
    HANDLER_NONE,                        // a reserved word that is no statement
    HANDLER_DIRECTIVE,
};
struct InstructionRow {
    const char* name;
    InstructionHandler handler;
    uint16_t word = 0;                   // base word, or a pseudo-instruction's first word
    uint16_t second = 0;                 // a pseudo-instruction's second word
};
extern const InstructionRow InstructionTable[MN_COUNT];
constexpr uint32_t IMM_BASE = 0xF000;
constexpr uint32_t NOP_WORD = 0x0000;
constexpr uint32_t field_m(uint32_t word) { return (word >> 12) & 15; }
constexpr uint32_t field_a(uint32_t word) { return (word >> 8) & 15; }
constexpr uint32_t field_b(uint32_t word) { return (word >> 4) & 15; }
constexpr uint32_t field_l(uint32_t word) { return word & 15; }
uint32_t compose_word(uint32_t base, int32_t a, int32_t b, int32_t l);
uint32_t imm_prefix(int32_t value);      // 0xF000 | bits 15..4 of value
bool fits_field(int32_t value);          // 0..15 needs no prefix
bool fits_word_offset(int32_t offset);   // even 0..30 packs into lw/sw L without a prefix
uint32_t pack_word_offset(int32_t offset);
uint32_t unpack_word_offset(uint32_t l);
int32_t high_register(int32_t reg);      // the high half of a long register; r0 pairs itself

// ---- fixup.cpp: FixupTable, resolve_fixups ----------------------------------------------
enum : int32_t { FIXUP_WORD = 0, FIXUP_IMM = 1, FIXUP_BRANCH = 2, FIXUP_NONE = 3 };
struct FixupRecord {
    int32_t kind;
    SymbolHandle symbol;
    int32_t address;                     // first byte to patch, even
    int32_t addend;
};
extern FixupRecord FixupTable[MAX_FIXUPS];
extern int32_t fixup_count;
void add_fixup(int32_t kind, SymbolHandle symbol, int32_t addend);
void resolve_fixups();

// ---- reader.cpp: source files cut into lines --------------------------------------------
// A line as the reader hands it out: its text without the white space at its end, NUL-ended
// in place and valid until the next call, and where its first byte that is no white space is.
struct SourceLine { char* text; size_t length; char* start; };
// Opens `path` and makes it the file being read, suspending the one read so far: current_file
// and current_line follow the lines it hands out. False, with errno set, when it cannot.
bool open_source(const char* path);
// The next line of the file being read, counted in current_line; false at its end. With
// `statements_only` it may count blank and comment lines without handing them out.
bool next_line(SourceLine& line, bool statements_only);
// Closes the file being read, reporting a read error, and resumes the one it suspended.
void close_source();
// True when `path` names (by device and inode) a file opened as a source in this run.
bool is_source_file(const char* path);

// ---- statement.cpp: assemble_file, labels, directives -----------------------------------
void assemble_file(const char* path);

// ---- instr.cpp: instruction handlers ------------------------------------------------------
// Assembles the statement of mnemonic `mn` from the rest of the line at `cursor`.
void assemble_statement(int32_t mn, char*& cursor);

// ---- disasm.cpp: DisasmTable, disassemble_word, hexadecimal text ------------------------
// The text of `word` at `address`, NUL-ended in `buffer`, which has DISASM_BUF bytes.
char* disassemble_word(uint32_t word, char* buffer, int32_t address);
// The same as the text outputs show it: left-aligned and blank-padded to exactly DISASM_FIELD
// characters (no NUL), rendered once per address and word and then kept in a cache.
constexpr size_t DISASM_FIELD = 18;
const char* word_field(int32_t address, uint32_t word);
// Text building for the writers: each appends at `out` (no NUL) and returns the new end.
char* put_hex(char* out, uint32_t value, int min_digits);   // upper case, zero-padded
char* put_hex2(char* out, uint32_t value);                  // two digits of the low byte
char* put_hex4(char* out, uint32_t value);                  // four digits of the low 16 bits
// The four digits of the image word at `address`, which also goes to `word`.
char* put_image_word(char* out, int32_t address, uint32_t& word);
char* put_text(char* out, const char* text);

// ---- write.cpp: hex, bin, ram, prg and VHDL writers -------------------------------------
// Each returns true when it created or truncated a regular file at `path`: the files that a
// failed run may remove.
bool write_hex(const char* path);
bool write_bin(const char* path);
bool write_ram(const char* path);
bool write_prg(const char* path);
bool write_vhdl(const char* path);
// The common frame of every writer: open (refusing a source file), and the final error test
// and close. `created` is set when a regular file is written.
std::FILE* open_output(const char* path, const char* mode, bool* created);
void finish_output(std::FILE* stream, const char* path);
// The whole frame around `text`, which writes the output's contents to the open stream
// (it gets the path too). Returns what open_output set `created` to.
bool write_output(const char* path, const char* mode, void (*text)(std::FILE*, const char*));
// Appends to the open output through one large buffer, written out by finish_output.
void output_bytes(std::FILE* stream, const char* data, size_t length);
void output_text(std::FILE* stream, const char* text);     // the same for a NUL-ended text
// Lines are built straight in that buffer: `output_room` makes room for `length` bytes (at
// most OUTPUT_ROOM) and returns where they go; the caller writes them and hands the new end
// to `output_end`.
constexpr size_t OUTPUT_ROOM = 1 << 14;
char* output_room(std::FILE* stream, size_t length);
void output_end(const char* end);
// Writers of many lines, none longer than OUTPUT_ROOM, keep their own cursor in the buffer
// and call output_chunk again once it has passed `stop`: output_chunk hands the buffer the
// end of what they wrote (null at the start), writes out what is due and returns where the
// next line goes.
char* output_chunk(std::FILE* stream, char* end, char*& stop);
// Where a writer's next line goes: its cursor `out`, or, once that has passed `stop`, the
// place output_chunk returns.
inline char* line_room(std::FILE* stream, char* out, char*& stop)
{
    return out > stop ? output_chunk(stream, out, stop) : out;
}
// Copies `length` bytes in 16-byte pieces, for short texts where a library call of unknown
// length costs more: up to 15 bytes past the text are read and written, so both sides need
// that much room after it.
inline char* copy_pieces(char* out, const char* text, size_t length)
{
    for (size_t i = 0; i < length; i += 16) {
        std::memcpy(out + i, text + i, 16);
    }
    return out + length;
}

// ---- output.cpp: where outputs go: temporary file and rename, removal after a failure ----
// Notes, before anything is written, the file that `path` leads to through links, and its
// device and inode if it exists; returns the output's number. A held output (an image) is
// renamed into place only by place_outputs, any other as soon as it is written.
int32_t note_output(const char* path, bool held);
// Whether two noted outputs name one file, by path or by device and inode; a device, FIFO
// or socket takes any number.
bool same_output_file(int32_t a, int32_t b);
// Whether `path`, or the file it leads to, ends like an assembly source's name.
bool named_like_source(const char* path);
// Opens the output at `path` (noted or not), in a temporary file beside its target where
// it can; reports "cannot open" and returns null on failure. `created` as for open_output.
std::FILE* open_destination(const char* path, const char* mode, bool* created);
void output_closed(const char* path);    // after the close: places an output that is not held
void place_outputs();                    // after a successful run: places the held outputs
// After a failed run: removes each held output's temporary file, and its noted file while
// that is still the regular file noted or written by this run. Safe to call again.
void discard_outputs();
void reset_outputs();

// ---- verilog.cpp: the Verilog ROM module ------------------------------------------------
bool write_verilog(const char* path);
// The module name for an output path: its base name up to the first dot when that is an
// identifier every Verilog tool accepts, else "prom". Writes at most `size` - 1 characters.
void verilog_module_name(const char* path, char* out, size_t size);
// The name that -name= gives the VHDL entity and the Verilog module, or null for their own.
extern const char* module_name;
// Whether `name` is an identifier that VHDL and Verilog tools alike accept for a design unit.
bool usable_module_name(const char* name);

// ---- memfile.cpp: memory files for other flows ---------------------------------------------
// The words of the memory that -mem= and -mif= describe, 1..32768; 32768 unless -depth= says.
extern int32_t memory_depth;
// Reports an error when the program's words do not fit memory_depth.
void check_memory_depth();
bool write_mem(const char* path);        // $readmemh: memory_depth lines of four hex digits
bool write_ihx(const char* path);        // Intel HEX, byte addresses, the program's bytes
bool write_mif(const char* path);        // Quartus Memory Initialization File
bool write_coe(const char* path);        // Vivado coefficient file

// ---- symmap.cpp: the symbol map -------------------------------------------------------------
bool write_symbols(const char* path);

// ---- listing.cpp: write_listing -----------------------------------------------------------
void write_listing(const char* path);

// ---- reset.cpp: for tests and the fuzzer only ---------------------------------------------
// The tables that can fill up report so once per run; these remember that they did.
extern bool image_full_reported;
extern bool symbols_full_reported;
extern bool fixups_full_reported;
void reset_symbol_index();
void reset_notes();
void reset_sources();
// Returns every table to its state at program start.
void reset_assembler();

// ---- the language's additions: constants, quoted text, data lists, includes --------------
// symbol.cpp: what SymbolRecord.defined holds once something has defined the name.
enum : int32_t { SYMBOL_LABEL = 1, SYMBOL_CONSTANT = 2 };
inline bool is_constant(SymbolHandle handle)
{
    return handle != 0 && SymbolTable[handle - 1].defined == SYMBOL_CONSTANT;
}
// lex.cpp: the next character of a quoted text at `p`, escapes applied, moving `p` past it:
// 0..255; QUOTE_CLOSED past the closing `quote`; QUOTE_OPEN at the end of the line, where
// `p` stays; QUOTE_ESCAPE - c after an unknown escape \c. A character literal that is no
// number is a token of kind TOKEN_BAD_LITERAL, its value one of these or QUOTE_LENGTH.
enum : int32_t { QUOTE_CLOSED = -1, QUOTE_OPEN = -2, QUOTE_LENGTH = -3, QUOTE_ESCAPE = -1000 };
enum : int32_t { TOKEN_BAD_LITERAL = '\'' };
int32_t read_quoted_char(const char*& p, char quote);
void report_quote_error(int32_t fault);
// operand.cpp: reports what is wrong with a token that does not fit; returns false.
bool token_error(Token token);
// expr.cpp: a constant expression; a .word item (a symbol and its terms, or an expression).
bool read_expression(char*& cursor, int32_t& value);
bool read_word_item(char*& cursor, SymbolHandle& symbol, int32_t& value);
// statement.cpp: the lines of the file just opened, between its "# file" notes; closes it.
void assemble_source();
// directive.cpp: the directive whose name follows the dot at `cursor`.
void assemble_dot_directive(char*& cursor);
// reader.cpp: opens the file that `name` names for an .include line (reporting why not), and
// the files read so far, each once, in reading order, by the path that diagnostics show.
bool open_include(const char* name);
int32_t read_file_count();
const char* read_file_path(int32_t k);
