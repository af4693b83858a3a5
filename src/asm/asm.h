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
constexpr int MAX_SOURCES = 32768;       // source files whose identity is remembered

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
extern int32_t current_line;             // 0 when no line is current

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
// Gives the label the location counter as its value, with a warning when it was defined before.
void define_label(SymbolHandle handle);
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

// ---- statement.cpp: assemble_file, labels, directives -----------------------------------
void assemble_file(const char* path);
// True when `path` names (by device and inode) a file opened as a source in this run.
bool is_source_file(const char* path);
// The width in bytes of the vector groups in which the reader passes over blank and comment
// lines: 0 until the first file is read, then 32 on processors with AVX2, else 16. Tests
// set it to 16 or 32 to try each pass.
extern int32_t line_scan_width;

// ---- instr.cpp: instruction handlers ------------------------------------------------------
// Assembles the statement of mnemonic `mn` from the rest of the line at `cursor`.
void assemble_statement(int32_t mn, char*& cursor);

// ---- disasm.cpp: DisasmTable, disassemble_word -------------------------------------------
constexpr int DISASM_ROWS = 112;
extern const char* const DisasmTable[DISASM_ROWS];
char* disassemble_word(uint32_t word, char* buffer, int32_t address);
// The disassembly of the image word at `address`, left-aligned and blank-padded to exactly
// DISASM_FIELD characters (no NUL), as the text outputs show it.
constexpr size_t DISASM_FIELD = 18;
const char* disassembly_field(int32_t address);
// The same for writers that go through the image word by word: settle_field_cache once before
// the loop clears what the source reader left in the cache, and word_field then takes the
// word at `address` as the writer already read it.
void settle_field_cache();
const char* word_field(int32_t address, uint32_t word);
// The field cache's memory, lent to the source reader while it assembles (the two are never
// in use at once). `used` is how many bytes at its start the reader has written so far.
constexpr size_t FIELD_CACHE_BYTES = 20 * (IMAGE_SIZE / 2);
char* borrow_field_cache(size_t used);
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
bool same_file(const char* a, const char* b);  // both exist and are one file
// The common frame of every writer: open (refusing a source file), and the final error test
// and close. `created` is set when a regular file was created or truncated.
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

// ---- verilog.cpp: the Verilog ROM module ------------------------------------------------
bool write_verilog(const char* path);
// The module name for an output path: its base name up to the first dot when that is an
// identifier every Verilog tool accepts, else "prom". Writes at most `size` - 1 characters.
void verilog_module_name(const char* path, char* out, size_t size);

// ---- memfile.cpp: memory files for other flows ---------------------------------------------
bool write_mem(const char* path);        // $readmemh: 32768 lines of four hex digits
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
