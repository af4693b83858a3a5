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
const char* note_text(int32_t k);        // the text of note k, for k < note_count, and its length
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
void add_note(const char* text);
void add_line_note(const char* text, size_t length);   // a text of known length: a line
void report_once(bool& reported, const char* message);   // unless `reported`; then sets it
// A path as messages, notes and the symbol map show it, each control byte (0x01..0x1F, 0x7F)
// as \xHH: `path` itself when it holds none, else `out`, of at most `size` - 1 characters.
const char* shown_path(const char* path, char* out, size_t size);
// Reports `format` (a '%s' for the shown path, a '(%s)' for the system's text of `error`).
void report_file_error(const char* format, const char* path, int error);
// The edit distance from the `length` characters at `text` to `name`, when at most 2; else 3.
int32_t edit_distance(const char* text, size_t length, const char* name);

// ---- image.cpp: CodeImage, location counter, emit helpers, load-use probe ---------------
extern uint8_t CodeImage[IMAGE_SIZE];
extern int32_t location_counter;         // 0..65536; 65536 means full
void emit_byte(int32_t value), emit_word(int32_t word), align_to(uint32_t n);
void emit_even();                        // pad to an even address, as before a fixup record
int32_t load_hazard_reg();
uint32_t image_word(int32_t address);    // the word at an even address, for every reader

// ---- lex.cpp: character classes, next_token, quoted text ----------------------------------
// TOKEN_BAD_LITERAL: a character literal that is no number, its value a QUOTE_ fault.
enum : int32_t { TOKEN_EOL = 10, TOKEN_MNEMONIC = 'i', TOKEN_REGISTER = 'r', TOKEN_SYMBOL = 's',
                 TOKEN_NUMBER = '1', TOKEN_BAD_LITERAL = '\'' };
struct Token { int32_t kind; int32_t value; };
constexpr bool is_space(unsigned char c) { return c == ' ' || (c >= 9 && c <= 13); }
// Classes of plain 7-bit ASCII by byte (none for 0x80..0xFF); CLASS_END is NUL and `;`.
enum : uint8_t { CLASS_LETTER = 1, CLASS_DIGIT = 2, CLASS_SPACE = 4, CLASS_END = 8 };
constexpr uint8_t CLASS_WORD = CLASS_LETTER | CLASS_DIGIT;   // `_` counts as a letter here
extern const std::array<uint8_t, 256> CharClasses;
inline uint8_t class_of(const char* p) { return CharClasses[static_cast<unsigned char>(*p)]; }
Token next_token(char*& cursor);          // the line's next, moving past it (not past its end)
// The next character of a quoted text at `p`, escapes applied, moving `p` past it: 0..255,
// or QUOTE_CLOSED past the closing `quote`, QUOTE_OPEN at the line's end (`p` stays there),
// QUOTE_ESCAPE - c after an unknown escape \c; QUOTE_LENGTH is a literal of more characters.
enum : int32_t { QUOTE_CLOSED = -1, QUOTE_OPEN = -2, QUOTE_LENGTH = -3, QUOTE_ESCAPE = -1000 };
int32_t read_quoted_char(const char*& p, char quote);
void report_quote_error(int32_t fault);

// ---- symbol.cpp: SymbolTable, scopes ------------------------------------------------------
using SymbolHandle = int32_t;            // 1-based index into SymbolTable; 0 is no symbol
enum : int32_t { SYMBOL_LABEL = 1, SYMBOL_CONSTANT = 2 };   // how a defined name was defined
struct SymbolRecord {
    char name[NAME_MAX_CHARS + 1];
    int32_t value;
    int16_t scope;                       // 0 global, else the creating file's number
    uint8_t defined, reported;           // 0 or SYMBOL_LABEL or SYMBOL_CONSTANT; a flag
    uint16_t file; uint32_t line;        // where it was defined, as file_place and line_place
};
extern SymbolRecord SymbolTable[MAX_SYMBOLS];
extern int32_t symbol_count, file_number;
extern const char* FilePaths[MAX_SOURCES + 1];   // each source's path as given, by file number
SymbolHandle find_symbol_text(const char* text, size_t length);   // a name with no NUL after it
SymbolRecord& symbol_record(SymbolHandle handle);
inline bool is_constant(SymbolHandle handle)
{ return handle != 0 && SymbolTable[handle - 1].defined == SYMBOL_CONSTANT; }
void make_global(SymbolHandle handle);
bool define_label(SymbolHandle handle);   // here; false, after an error, for a constant's name
void define_symbol(SymbolRecord& record, int32_t value, int32_t how);   // here, as `how` says
void warn_padded_labels();               // before a byte pads an odd address: of its labels
bool symbol_usable(SymbolHandle handle); // false, reporting a full table once, for no record
extern int32_t symbol_misses;            // identifiers that got no record, as a full table says
bool operand_symbols_usable(int32_t misses_before);   // no miss since, else reports it

// ---- operand.cpp: operand lists ---------------------------------------------------------
// Each reads its list from `cursor` to the end of the line (read_number only its number),
// reporting the first token that does not fit, or a symbol that the full table lacks.
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
// Warns when `value`, or value + span (a pair's second word), lies outside -32768..65535.
void warn_unless_16_bits(int32_t value, int32_t span = 0);
// Reports what is wrong with a token that does not fit, found between `start` and `end`,
// with a note on what was wanted there: a token kind or a WANT_ code. Returns false.
enum : int32_t { WANT_LONG_REGISTER = 256, WANT_MEMORY, WANT_STRING, WANT_NAME };
bool token_error(Token token, const char* start, const char* end, int32_t wanted);

// ---- expr.cpp: constant expressions; .word items, a symbol and its terms or an expression --
bool read_expression(char*& cursor, int32_t& value),
    read_word_item(char*& cursor, SymbolHandle& symbol, int32_t& value);

// ---- encode.cpp: InstructionTable, field composition, prefixes, lw/sw offset packing -----
// Mnemonic numbers, the keywords' values, index InstructionTable; the directives come last.
enum : int32_t { MN_GLOBAL = 78, MN_ALIGN, MN_BYTE, MN_WORD, MN_BSS, MN_COUNT };
// What reads a statement's operands and lays down its words: a case of assemble_statement.
enum InstructionHandler : uint8_t {
    HANDLER_PLAIN, HANDLER_REG_REG_IMM, HANDLER_TWO_REG, HANDLER_REG_JUMP, HANDLER_BRANCH,
    HANDLER_LOAD_STORE, HANDLER_IMM, HANDLER_CMPI, HANDLER_LEA, HANDLER_EXTEND,
    HANDLER_LONG_ALU, HANDLER_LONG_MEM, HANDLER_NONE, HANDLER_DIRECTIVE,   // NONE: no statement
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
uint32_t pack_word_offset(int32_t offset), unpack_word_offset(uint32_t l);
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
bool open_include(const char* name);     // the same for an .include line, reporting failures
// The next line, counted in current_line; false at the end. `statements_only` may pass
// blank and comment lines.
bool next_line(SourceLine& line, bool statements_only);
void close_source();                     // reports a read error, resumes the file suspended
bool is_source_file(const char* path);   // by device and inode, a source of this run
// The files read so far, each once, in reading order, by the path that diagnostics show.
int32_t read_file_count();
const char* read_file_path(int32_t k);
// Where a note may point later, in 6 bytes: the file being read as 1 + its number among the
// files read (0 past their list), and the line (at most the largest 32-bit number).
extern uint16_t file_place;
uint32_t line_place();
const char* place_path(uint16_t file);   // null for 0

// ---- statement.cpp, directive.cpp and instr.cpp: statements --------------------------------
void assemble_file(const char* path);
void assemble_source();                  // the file just opened, between its "# file" notes
void assemble_dot_directive(char*& cursor);   // the directive named after the dot at `cursor`
// Assembles the statement of mnemonic `mn` from the rest of the line at `cursor`.
void assemble_statement(int32_t mn, char*& cursor);

// ---- disasm.cpp: disassembly, hexadecimal text ---------------------------------------------
// The text of `word` at `address`, NUL-ended in `buffer`, which has 20 bytes.
char* disassemble_word(uint32_t word, char* buffer, int32_t address);
// The same blank-padded to DISASM_FIELD characters, no NUL, as the outputs show it; cached.
constexpr size_t DISASM_FIELD = 18;
const char* word_field(int32_t address, uint32_t word);
// Text building for the writers: each appends at `out` (no NUL) and returns the new end.
char* put_hex(char* out, uint32_t value, int min_digits);   // upper case, zero-padded
char* put_hex2(char* out, uint32_t value);                  // two digits of the low byte
char* put_hex4(char* out, uint32_t value);                  // four digits of the low 16 bits
char* put_text(char* out, const char* text);

// ---- outbuf.cpp: the frame of every writer and its one output buffer ------------------------
// Opens `path` (not a source), has `text` fill the buffer, writes out, tests and closes: true
// for a regular file it created or truncated. output_reserve gives room for `length` bytes
// (at most OUTPUT_ROOM), output_commit takes the end of what the writer put there.
bool write_output(const char* path, const char* mode, void (*text)(const char*));
constexpr size_t OUTPUT_ROOM = 1 << 14;
char* output_reserve(size_t length);
void output_commit(const char* end);
void output_text(const char* text);      // the same for a NUL-ended text of any length

// ---- write.cpp: hex, bin, ram, prg and VHDL writers, and the word lines of every ROM file --
bool write_hex(const char* path), write_bin(const char* path), write_ram(const char* path);
bool write_prg(const char* path), write_vhdl(const char* path);
// Word lines `first` up to `end`: `form` with "nnnn" (word number), "aaaa" (address) and
// "wwww" (word) in hex, then as `parts` says the disassembly field (trimmed or not) and the
// decimal word number after a tab.
enum : uint8_t { LINE_FIELD = 1, LINE_TRIMMED = 2, LINE_DECIMAL = 4 };
void write_word_lines(const char* form, uint8_t parts, int32_t first, int32_t end);

// ---- output.cpp: where outputs go: temporary file and rename, removal after a failure ----
// Notes the file `path` leads to, before any is written; held outputs wait for place_outputs.
int32_t note_output(const char* path, bool held);
// Whether two noted outputs name one file (a device, FIFO or socket takes any number).
bool same_output_file(int32_t a, int32_t b);
// Whether `path`, or the file it leads to, ends like an assembly source's name.
bool named_like_source(const char* path);
std::FILE* open_destination(const char* path, const char* mode, bool* created);   // or null
void output_closed(const char* path);    // after the close: places an output that is not held
void place_outputs();                    // after a successful run: places the held outputs
// After a failed run: removes the held outputs' temporary files, and their files while those
// are still the regular files noted or written by this run.
void discard_outputs();

// ---- verilog.cpp: the Verilog ROM module ------------------------------------------------
bool write_verilog(const char* path);
extern const char* module_name;          // -name='s, for the entity and the module, or null
bool usable_module_name(const char* name);   // a design unit name that every tool accepts

// ---- memfile.cpp: memory files for other flows ---------------------------------------------
extern int32_t memory_depth;             // words of -mem= and -mif=, 1..32768, as -depth= says
void check_memory_depth();               // reports a program that does not fit it
// $readmemh (memory_depth lines of four hex digits), Intel HEX (the program's bytes at their
// addresses), Quartus Memory Initialization File and Vivado coefficient file.
bool write_mem(const char* path), write_ihx(const char* path);
bool write_mif(const char* path), write_coe(const char* path);

bool write_symbols(const char* path);    // symmap.cpp
void write_listing(const char* path);    // listing.cpp

// ---- reset: each file with tables returns them to their state at program start -----------
void reset_image(), reset_fixups(), reset_symbols(), reset_notes(), reset_sources();
void reset_outputs(), reset_assembler();   // the latter all of them, for tests and fuzzing
