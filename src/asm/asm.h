// The asm module of vexa-as: what its source files share. All state is static, zeroed at
// start; each section lists what one source file offers the others.

#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

constexpr int TEXT_MAX = 511;            // longest message, diagnostic line, note or source line
constexpr int TEXT_BUF = TEXT_MAX + 1;
constexpr int32_t IMAGE_SIZE = 65536;
constexpr int MAX_SYMBOLS = 10000;
constexpr int MAX_NOTES = 50000;
constexpr int NAME_MAX_CHARS = 31;       // significant characters of a symbol name
constexpr int MAX_SOURCES = 32767;       // source files of a run: each file's scope is 16-bit
constexpr int MAX_OUTPUTS = 16;          // outputs of a run

// ---- diag.cpp: diagnostics, the listing's notes, the source position ---------------------
// A note's location counter when recorded (0..65536) and its text's offset in the note pool.
struct ListingNote { int32_t address; uint32_t text; };
extern ListingNote NoteTable[MAX_NOTES];
extern int32_t note_count;
const char* note_text(int32_t k);        // the text of note k, for k < note_count
size_t note_length(int32_t k);
extern int32_t error_count;
extern const char* program_name;         // argv[0], or null
extern bool notes_wanted;                // false when no listing will read the notes
extern const char* current_file;         // source being assembled, or null
extern int64_t current_line;             // 0 when no line is current

[[gnu::format(printf, 1, 2)]] void report_error(const char* format, ...);
[[gnu::format(printf, 1, 2)]] void report_warning(const char* format, ...);   // not counted
// Explains the diagnostic just reported, at `path` and `line` (null and 0: no position).
[[gnu::format(printf, 3, 4)]] void report_note(const char* path, int64_t line,
                                               const char* format, ...);
// The edit distance from the `length` characters at `text` to `name`, when at most 2; else 3.
int32_t edit_distance(const char* text, size_t length, const char* name);
void add_note(const char* text);
void add_line_note(const char* text, size_t length);   // a text of known length: a line
void report_once(bool& reported, const char* message);   // unless `reported`; then sets it
// A path as messages, notes and the symbol map show it: every control byte (0x01..0x1F,
// 0x7F) written as \xHH, so that no name can start a line or a field of its own. Returns
// `path` itself when it holds none, else `out`, filled with at most `size` - 1 characters.
const char* shown_path(const char* path, char* out, size_t size);
// Reports `format` (a '%s' for the shown path, a '(%s)' for the system's text of `error`).
void report_file_error(const char* format, const char* path, int error);

// ---- image.cpp: CodeImage, location counter, emit helpers, load-use probe ---------------
extern uint8_t CodeImage[IMAGE_SIZE];
extern int32_t location_counter;         // 0..65536; 65536 means full
void emit_byte(int32_t value);
void emit_word(int32_t word);
void align_to(uint32_t n);
void emit_even();                        // pad to an even address, as before a fixup record
int32_t load_hazard_reg();
// The big-endian word at an even address below 65536, zero past the location counter: every
// reader of the program's words goes through here.
uint32_t image_word(int32_t address);

// ---- lex.cpp: character classes, next_token ----------------------------------------------
enum : int32_t {
    TOKEN_EOL = 10, TOKEN_MNEMONIC = 'i', TOKEN_REGISTER = 'r', TOKEN_SYMBOL = 's', TOKEN_NUMBER = '1'
};
struct Token { int32_t kind; int32_t value; };

constexpr bool is_space(unsigned char c) { return c == ' ' || (c >= 9 && c <= 13); }
// Character classes of plain 7-bit ASCII, by byte; bytes 0x80..0xFF belong to none.
// CLASS_END marks the two bytes that end a line's tokens, NUL and the comment's `;`.
enum : uint8_t { CLASS_LETTER = 1, CLASS_DIGIT = 2, CLASS_SPACE = 4, CLASS_END = 8 };
constexpr uint8_t CLASS_WORD = CLASS_LETTER | CLASS_DIGIT;   // `_` counts as a letter here
extern const std::array<uint8_t, 256> CharClasses;
inline uint8_t class_of(const char* p) { return CharClasses[static_cast<unsigned char>(*p)]; }
// The next token of the line at `cursor`, moving past it (not past the end of the line).
Token next_token(char*& cursor);

// ---- symbol.cpp: SymbolTable, scopes ------------------------------------------------------
using SymbolHandle = int32_t;            // 1-based index into SymbolTable; 0 is no symbol
struct SymbolRecord {
    char name[NAME_MAX_CHARS + 1];
    int32_t value;
    int16_t scope;                       // 0 global, else the creating file's number
    int32_t defined;
    int32_t reported;
    const char* path;                    // where it was defined: the file and its line
    int64_t line;
};
extern SymbolRecord SymbolTable[MAX_SYMBOLS];
extern int32_t symbol_count;
extern int32_t file_number;
// The path of each source file as given on the command line, by file number (1-based).
extern const char* FilePaths[MAX_SOURCES + 1];

SymbolHandle find_symbol_text(const char* text, size_t length);   // a name with no NUL after it
SymbolRecord& symbol_record(SymbolHandle handle);
void make_global(SymbolHandle handle);
// The location counter as the label's value, warning if defined before; false, after an
// error, for the name of a constant.
bool define_label(SymbolHandle handle);
// Gives the record its value and kind of definition (SYMBOL_LABEL, SYMBOL_CONSTANT) here.
void define_symbol(SymbolRecord& record, int32_t value, int32_t how);
// Called just before a zero byte pads an odd location counter to even: warns of each label
// defined at this address since the last byte was laid down, which now names the padding.
void warn_padded_labels();
// False, after reporting "symbol table is full" once, for a symbol token with no record.
bool symbol_usable(SymbolHandle handle);
extern int32_t symbol_misses;            // identifiers that got no record, as a full table says
// Whether no identifier missed its record since `misses_before`, reporting it if one did.
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
bool read_two_regs(char*& cursor, int32_t& rd, int32_t& rs,
                   bool long_pairs = false);                                    // rd, rs
bool read_reg_number(char*& cursor, int32_t& rs, int32_t& n);                   // rs, n
bool read_two_regs_number(char*& cursor, int32_t& rd, int32_t& rs, int32_t& n); // rd, rs, n
bool read_reg_mem(char*& cursor, int32_t& rd, SymbolHandle& symbol, int32_t& offset,
                  int32_t& base, bool long_pair = false);                       // rd, memory
bool check_long_reg(int32_t reg);
// Warns that `value` loses bits when it, or value + span (the second word of a pair), lies
// outside -32768..65535, the numbers that 16 bits hold signed or unsigned.
void warn_unless_16_bits(int32_t value, int32_t span = 0);

// ---- encode.cpp: InstructionTable, field composition, prefixes, lw/sw offset packing -----
// Mnemonic numbers, the keywords' values, index InstructionTable; the directives come last.
enum : int32_t { MN_GLOBAL = 78, MN_ALIGN, MN_BYTE, MN_WORD, MN_BSS, MN_COUNT };
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
constexpr uint32_t field_m(uint32_t word) { return (word >> 12) & 15; }
uint32_t compose_word(uint32_t base, int32_t a, int32_t b, int32_t l);
uint32_t imm_prefix(int32_t value);      // 0xF000 | bits 15..4 of value
bool fits_field(int32_t value);          // 0..15 needs no prefix
bool fits_word_offset(int32_t offset);   // even 0..30 packs into lw/sw L without a prefix
uint32_t pack_word_offset(int32_t offset);
uint32_t unpack_word_offset(uint32_t l);
int32_t high_register(int32_t reg);      // the high half of a long register; r0 pairs itself

// ---- fixup.cpp: add_fixup, resolve_fixups -------------------------------------------------
enum : int32_t { FIXUP_WORD = 0, FIXUP_IMM = 1, FIXUP_BRANCH = 2, FIXUP_NONE = 3 };
void add_fixup(int32_t kind, SymbolHandle symbol, int32_t addend);
void resolve_fixups();

// ---- reader.cpp: source files cut into lines --------------------------------------------
// A line without the white space at its end, NUL-ended in place and valid until the next
// call, its first byte that is no white space, and whether it was cut at 511 characters.
struct SourceLine { char* text; size_t length; char* start; bool cut; };
// Makes `path` the file being read, suspending the one read so far (current_file and
// current_line follow it). False, with errno set, when it cannot be opened.
bool open_source(const char* path);
// The next line, counted in current_line; false at the end. With `statements_only` it may
// count blank and comment lines without handing them out.
bool next_line(SourceLine& line, bool statements_only);
void close_source();                     // reports a read error, resumes the file suspended
bool is_source_file(const char* path);   // by device and inode, a source of this run

// ---- statement.cpp and instr.cpp: statements ----------------------------------------------
void assemble_file(const char* path);
// Assembles the statement of mnemonic `mn` from the rest of the line at `cursor`.
void assemble_statement(int32_t mn, char*& cursor);

// ---- disasm.cpp: disassembly, hexadecimal text ---------------------------------------------
// The text of `word` at `address`, NUL-ended in `buffer`, which has 20 bytes.
char* disassemble_word(uint32_t word, char* buffer, int32_t address);
// The same as the text outputs show it: left-aligned and blank-padded to exactly DISASM_FIELD
// characters (no NUL), rendered once per address and word and then kept in a cache.
constexpr size_t DISASM_FIELD = 18;
const char* word_field(int32_t address, uint32_t word);
// Text building for the writers: each appends at `out` (no NUL) and returns the new end.
char* put_hex(char* out, uint32_t value, int min_digits);   // upper case, zero-padded
char* put_hex2(char* out, uint32_t value);                  // two digits of the low byte
char* put_hex4(char* out, uint32_t value);                  // four digits of the low 16 bits
char* put_text(char* out, const char* text);

// ---- outbuf.cpp: the frame of every writer and its one output buffer ------------------------
// Opens `path` (refusing a source file), has `text` write the contents, then writes out,
// tests and closes. True when it created or truncated a regular file: one a failed run may
// remove. The contents go into one buffer: output_reserve gives room for `length` bytes (at
// most OUTPUT_ROOM), and output_commit takes the end of what the writer put there.
bool write_output(const char* path, const char* mode, void (*text)(const char*));
constexpr size_t OUTPUT_ROOM = 1 << 14;
char* output_reserve(size_t length);
void output_commit(const char* end);
void output_text(const char* text);      // the same for a NUL-ended text of any length

// ---- write.cpp: hex, bin, ram, prg and VHDL writers, and the word lines of every ROM file --
bool write_hex(const char* path);
bool write_bin(const char* path);
bool write_ram(const char* path);
bool write_prg(const char* path);
bool write_vhdl(const char* path);
// The lines of word numbers `first` up to `end`, each `form` with its gaps filled in hex
// ("nnnn" word number, "aaaa" byte address, "wwww" the word), `parts`, and a newline:
// LINE_FIELD the disassembly field after it (LINE_TRIMMED without its blanks at the end),
// LINE_DECIMAL the word number in decimal and a tab before it.
enum : uint8_t { LINE_FIELD = 1, LINE_TRIMMED = 2, LINE_DECIMAL = 4 };
void write_word_lines(const char* form, uint8_t parts, int32_t first, int32_t end);

// ---- output.cpp: where outputs go: temporary file and rename, removal after a failure ----
// Notes, before anything is written, the file `path` leads to and its device and inode;
// returns the output's number. A held output (an image) is placed by place_outputs.
int32_t note_output(const char* path, bool held);
// Whether two noted outputs name one file, by path or by device and inode; a device, FIFO
// or socket takes any number.
bool same_output_file(int32_t a, int32_t b);
// Whether `path`, or the file it leads to, ends like an assembly source's name.
bool named_like_source(const char* path);
// Opens the output, in a temporary file beside its target where it can; null on failure.
std::FILE* open_destination(const char* path, const char* mode, bool* created);
void output_closed(const char* path);    // after the close: places an output that is not held
void place_outputs();                    // after a successful run: places the held outputs
// After a failed run: removes each held output's temporary file, and its noted file while
// that is still the regular file noted or written by this run. Safe to call again.
void discard_outputs();

// ---- verilog.cpp: the Verilog ROM module ------------------------------------------------
bool write_verilog(const char* path);
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

bool write_symbols(const char* path);    // symmap.cpp
void write_listing(const char* path);    // listing.cpp

// ---- reset: each file with tables returns them to their state at program start -----------
void reset_image(), reset_fixups(), reset_symbols(), reset_notes(), reset_sources();
void reset_outputs();
void reset_assembler();                  // all of them, for tests and the fuzzer

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
// operand.cpp: reports what is wrong with a token that does not fit, which lies between
// `start` and `end`, with a note naming what was wanted: a token kind or a WANT_ code.
// Returns false.
enum : int32_t { WANT_LONG_REGISTER = 256, WANT_MEMORY, WANT_STRING, WANT_NAME };
bool token_error(Token token, const char* start, const char* end, int32_t wanted);
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
