// The disassembler: DisasmTable holds a row per instruction form, picked by the word's fields,
// and one switch renders each row's operands into the 18-column field the text outputs show.
// Also the hexadecimal text helpers of the writers.
#include "asm.h"

#include <cstring>
#include <string_view>

constexpr uint32_t field_a(uint32_t word) { return (word >> 8) & 15; }
constexpr uint32_t field_b(uint32_t word) { return (word >> 4) & 15; }
constexpr uint32_t field_l(uint32_t word) { return word & 15; }
constexpr size_t DISASM_BUF = 20;

// How a row shows the word's operands, from its fields A, B and L: registers by name, numbers
// in hexadecimal after "0x". Operands start in column 5, those of SHOW_JUMP in column 6.
enum : uint8_t {
    SHOW_NOTHING,    // nop, ret, and <reserved>, the row of every word that encodes nothing
    SHOW_A_B_L,      // srli r2,r3,0x4
    SHOW_A_W_B,      // lw   r2,0x1E(r3): L packs an even offset 0..30
    SHOW_A_L_B,      // lb   r2,0x5(r3)
    SHOW_A_B,        // add  r2,r3
    SHOW_B,          // call r3
    SHOW_JUMP,       // ljeq  r3
    SHOW_TARGET,     // beq  0x0010: the branch's target address
    SHOW_PAYLOAD,    // imm  0x1230: A, B and L are bits 15..4 of the number
};
struct DisasmRow { char text[16]; uint8_t show; };   // the mnemonic, NUL-padded
constexpr DisasmRow RESERVED = {"<reserved>", SHOW_NOTHING};
constexpr uint8_t ABL = SHOW_A_B_L, AWB = SHOW_A_W_B, ALB = SHOW_A_L_B, AB = SHOW_A_B;
constexpr uint8_t JUMP = SHOW_JUMP, TARGET = SHOW_TARGET;

// Six groups of 16 rows, each picked by one field of the word (see disasm_row).
constexpr DisasmRow DisasmTable[] = {
    // 0: by M, for the majors that M alone decides (0, 7, 8 and 9 have groups below)
    RESERVED, {"srli", ABL}, {"srai", ABL}, {"slli", ABL},
    RESERVED, {"subi", ABL}, {"addi", ABL}, RESERVED,
    RESERVED, RESERVED, {"lw", AWB}, {"sw", AWB},
    {"lb", ALB}, {"sb", ALB}, {"lu", ALB}, {"imm", SHOW_PAYLOAD},
    // 16: M = 0, by L
    {"nop", SHOW_NOTHING}, {"wait", SHOW_NOTHING}, RESERVED, RESERVED,
    RESERVED, RESERVED, RESERVED, RESERVED, RESERVED, RESERVED, RESERVED, RESERVED,
    RESERVED, RESERVED, RESERVED, {"break", SHOW_NOTHING},
    // 32: two-register operations, M = 7, by L
    {"and", AB}, {"xor", AB}, {"ror", AB}, {"rcr", AB}, {"or", AB}, {"andn", AB},
    {"subr", AB}, {"cmp", AB}, {"add", AB}, {"sub", AB}, {"addc", AB}, {"subc", AB},
    {"rol", AB}, {"rcl", AB}, RESERVED, RESERVED,
    // 48: M = 8 but the long jumps, by L
    RESERVED, {"call", SHOW_B}, {"ret", SHOW_NOTHING}, RESERVED,
    {"reti", SHOW_NOTHING}, RESERVED, RESERVED, RESERVED,
    RESERVED, RESERVED, RESERVED, RESERVED, RESERVED, RESERVED, RESERVED, RESERVED,
    // 64: long jumps, M = 8 and L = 8, by condition
    {"ljltu", JUMP}, {"ljgeu", JUMP}, {"ljeq", JUMP}, {"ljne", JUMP}, {"ljlt", JUMP},
    {"ljge", JUMP}, {"ljvs", JUMP}, {"ljvc", JUMP}, {"ljle", JUMP}, {"ljgt", JUMP},
    {"ljgtu", JUMP}, {"ljleu", JUMP}, {"ljneg", JUMP}, {"ljpos", JUMP}, {"ljn", JUMP},
    {"lja", JUMP},
    // 80: short branches, M = 9, by condition
    {"bltu", TARGET}, {"bgeu", TARGET}, {"beq", TARGET}, {"bne", TARGET}, {"blt", TARGET},
    {"bge", TARGET}, {"bvs", TARGET}, {"bvc", TARGET}, {"ble", TARGET}, {"bgt", TARGET},
    {"bgtu", TARGET}, {"bleu", TARGET}, {"bneg", TARGET}, {"bpos", TARGET}, {"bn", TARGET},
    {"ba", TARGET},
};
constexpr int GROUP_MAJOR = 0, GROUP_SYSTEM = 16, GROUP_ALU = 32, GROUP_CONTROL = 48;
constexpr int GROUP_LONG_JUMP = 64, GROUP_BRANCH = 80, DISASM_ROWS = 96;
static_assert(sizeof DisasmTable / sizeof DisasmTable[0] == DISASM_ROWS);
static_assert(std::string_view(DisasmTable[GROUP_MAJOR + 15].text) == "imm");
static_assert(std::string_view(DisasmTable[GROUP_SYSTEM + 15].text) == "break");
static_assert(std::string_view(DisasmTable[GROUP_ALU + 13].text) == "rcl");
static_assert(std::string_view(DisasmTable[GROUP_LONG_JUMP].text) == "ljltu");
static_assert(std::string_view(DisasmTable[DISASM_ROWS - 1].text) == "ba");

// The column where a row's operands start.
constexpr int operand_column(uint8_t show) { return show == SHOW_JUMP ? 6 : 5; }

// Every character of a row's text has bit 5 set (lower-case letters, '<' and '>'), so that
// setting it in each byte turns the NUL padding into blanks; and every mnemonic ends before
// its operands' column.
constexpr bool texts_fit()
{
    for (const DisasmRow& row : DisasmTable) {
        int length = static_cast<int>(std::string_view(row.text).size());
        for (int i = 0; i < length; i++) {
            if ((row.text[i] & 0x20) == 0) {
                return false;
            }
        }
        if (row.show != SHOW_NOTHING && length >= operand_column(row.show)) {
            return false;
        }
    }
    return true;
}
static_assert(texts_fit());

// Register names, blank-padded to four characters; r1 is the stack pointer.
constexpr char RegisterNames[16][5] = {
    "r0  ", "sp  ", "r2  ", "r3  ", "r4  ", "r5  ", "r6  ", "r7  ",
    "r8  ", "r9  ", "r10 ", "r11 ", "r12 ", "r13 ", "r14 ", "r15 ",
};

// Two hexadecimal digits for every byte value, for the writers' fixed-width fields.
struct HexPairTable { char digits[256][2]; };
constexpr HexPairTable build_hex_pairs()
{
    HexPairTable table{};
    for (int i = 0; i < 256; i++) {
        table.digits[i][0] = "0123456789ABCDEF"[i >> 4];
        table.digits[i][1] = "0123456789ABCDEF"[i & 15];
    }
    return table;
}
constexpr HexPairTable HexPairs = build_hex_pairs();

char* put_hex2(char* out, uint32_t value)
{
    std::memcpy(out, HexPairs.digits[value & 0xFF], 2);
    return out + 2;
}

char* put_hex4(char* out, uint32_t value)
{
    return put_hex2(put_hex2(out, value >> 8), value);
}

char* put_hex(char* out, uint32_t value, int min_digits)
{
    char digits[8];
    int count = 0;
    do {
        digits[count++] = "0123456789ABCDEF"[value & 15];
        value >>= 4;
    } while (value != 0);
    while (count < min_digits) {
        digits[count++] = '0';
    }
    while (count > 0) {
        *out++ = digits[--count];
    }
    return out;
}

char* put_text(char* out, const char* text)
{
    while (*text != '\0') {
        *out++ = *text++;
    }
    return out;
}

// The row of `word`: a long jump is M = 8 with L = 8, its condition in A.
static int disasm_row(uint32_t word)
{
    int m = static_cast<int>(field_m(word));
    int a = static_cast<int>(field_a(word));
    int l = static_cast<int>(field_l(word));
    switch (m) {
    case 0: return GROUP_SYSTEM + l;
    case 7: return GROUP_ALU + l;
    case 8: return l == 8 ? GROUP_LONG_JUMP + a : GROUP_CONTROL + l;
    case 9: return GROUP_BRANCH + a;
    default: return GROUP_MAJOR + m;
    }
}

static char* put_register(char* out, uint32_t r)
{
    std::memcpy(out, RegisterNames[r], 4);
    return out + (RegisterNames[r][2] != ' ' ? 3 : 2);
}

// "0x" and `n`, below 32, in hexadecimal without leading zeros.
static char* put_short_hex(char* out, uint32_t n)
{
    std::memcpy(out, "0x1", 3);
    out += n >= 16 ? 3 : 2;
    *out = "0123456789ABCDEF"[n & 15];
    return out + 1;
}

// Writes the field of `word`, found at `address`: its text, blank-padded to DISASM_FIELD
// characters. `field` has FIELD_ROOM bytes, of which those past the field are scratch.
constexpr size_t FIELD_ROOM = 24;
static void render_field(char* field, uint32_t word, int32_t address)
{
    const DisasmRow& row = DisasmTable[disasm_row(word)];
    uint64_t text[2];
    std::memcpy(text, row.text, sizeof text);
    text[0] |= 0x2020202020202020u;   // blanks for the NULs (see texts_fit)
    text[1] |= 0x2020202020202020u;
    std::memcpy(field, text, sizeof text);
    std::memcpy(field + sizeof text, "        ", FIELD_ROOM - sizeof text);
    char* out = field + operand_column(row.show);
    uint32_t a = field_a(word), b = field_b(word), l = field_l(word);
    switch (row.show) {
    case SHOW_NOTHING:
        break;
    case SHOW_A_B_L:
        out = put_register(out, a);
        *out++ = ',';
        out = put_register(out, b);
        *out++ = ',';
        put_short_hex(out, l);
        break;
    case SHOW_A_W_B:
        l = unpack_word_offset(l);
        [[fallthrough]];
    case SHOW_A_L_B:
        out = put_register(out, a);
        *out++ = ',';
        out = put_short_hex(out, l);
        *out++ = '(';
        *put_register(out, b) = ')';
        break;
    case SHOW_A_B:
        out = put_register(out, a);
        *out++ = ',';
        put_register(out, b);
        break;
    case SHOW_B:
    case SHOW_JUMP:
        put_register(out, b);
        break;
    case SHOW_TARGET: {
        // The target is relative to the branch's own address; the address bus has 16 bits.
        int32_t displacement = static_cast<int8_t>(word & 0xFF);
        put_hex4(put_text(out, "0x"), static_cast<uint32_t>(address + 2 + 2 * displacement));
        break;
    }
    case SHOW_PAYLOAD:
        put_hex4(put_text(out, "0x"), (word & 0xFFF) << 4);
        break;
    }
}

char* disassemble_word(uint32_t word, char* buffer, int32_t address)
{
    char field[FIELD_ROOM];
    render_field(field, word, address);
    size_t length = DISASM_FIELD;
    while (field[length - 1] == ' ') {   // no text ends in a blank
        length--;
    }
    std::memcpy(buffer, field, length);
    std::memset(buffer + length, '\0', DISASM_BUF - length);
    return buffer;
}

// The prg, VHDL, Verilog and listing writers each show every word's field, so a field is
// rendered once per address and word and then reused. An entry whose field starts with a NUL,
// as a zeroed one does, is empty.
struct FieldCacheEntry { uint16_t word; char field[DISASM_FIELD]; };
static FieldCacheEntry field_cache[IMAGE_SIZE / 2];

// Out of line, so that a hit in the cache stays a few instructions in each writer.
[[gnu::noinline]] static void fill_field(FieldCacheEntry& entry, uint32_t word, int32_t address)
{
    char field[FIELD_ROOM];
    render_field(field, word, address);
    std::memcpy(entry.field, field, DISASM_FIELD);
    entry.word = static_cast<uint16_t>(word);
}

const char* word_field(int32_t address, uint32_t word)
{
    FieldCacheEntry& entry = field_cache[static_cast<uint32_t>(address) / 2];
    if (entry.word != word || entry.field[0] == '\0') {
        fill_field(entry, word, address);
    }
    return entry.field;
}
