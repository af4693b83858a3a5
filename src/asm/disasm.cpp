// The disassembler: DisasmTable of format strings in seven groups of 16, and
// disassemble_word, which turns one word into at most 18 characters of assembly text.
#include "asm.h"

#include <cstring>
#include <string_view>

// Groups of 16 entries, each picked by one 4-bit field; nullptr leaves "<reserved>".
// Mnemonic and blanks fill five columns before the operands (six for the long jumps).
constexpr const char* DisasmTable[] = {
    // 0: register names, by register number; register 1 is shown as sp
    "r0", "sp", "r2", "r3", "r4", "r5", "r6", "r7",
    "r8", "r9", "r10", "r11", "r12", "r13", "r14", "r15",
    // 16: major formats, by M (only M = 1, 2, 3, 5, 6, 10..15 are consulted)
    nullptr, "srli %s,%s,0x%X", "srai %s,%s,0x%X", "slli %s,%s,0x%X",
    nullptr, "subi %s,%s,0x%X", "addi %s,%s,0x%X", nullptr,
    nullptr, nullptr, "lw   %s,0x%X(%s)", "sw   %s,0x%X(%s)",
    "lb   %s,0x%X(%s)", "sb   %s,0x%X(%s)", "lu   %s,0x%X(%s)", "imm  0x%04X",
    // 32: two-register operations, M = 7, by L
    "and  %s,%s", "xor  %s,%s", "ror  %s,%s", "rcr  %s,%s",
    "or   %s,%s", "andn %s,%s", "subr %s,%s", "cmp  %s,%s",
    "add  %s,%s", "sub  %s,%s", "addc %s,%s", "subc %s,%s",
    "rol  %s,%s", "rcl  %s,%s", nullptr, nullptr,
    // 48: M = 0, by L
    "nop", "wait", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "break",
    // 64: M = 8 with L other than 8, by L
    nullptr, "call %s", "ret", nullptr, "reti", nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    // 80: long jumps, M = 8 and L = 8, by condition
    "ljltu %s", "ljgeu %s", "ljeq  %s", "ljne  %s", "ljlt  %s", "ljge  %s", "ljvs  %s",
    "ljvc  %s", "ljle  %s", "ljgt  %s", "ljgtu %s", "ljleu %s", "ljneg %s", "ljpos %s",
    "ljn   %s", "lja   %s",
    // 96: short branches, M = 9, by condition
    "bltu 0x%04X", "bgeu 0x%04X", "beq  0x%04X", "bne  0x%04X", "blt  0x%04X",
    "bge  0x%04X", "bvs  0x%04X", "bvc  0x%04X", "ble  0x%04X", "bgt  0x%04X",
    "bgtu 0x%04X", "bleu 0x%04X", "bneg 0x%04X", "bpos 0x%04X", "bn   0x%04X",
    "ba   0x%04X",
};
static_assert(sizeof DisasmTable / sizeof DisasmTable[0] == DISASM_ROWS);
static_assert(std::string_view(DisasmTable[31]) == "imm  0x%04X");
static_assert(std::string_view(DisasmTable[63]) == "break");
static_assert(std::string_view(DisasmTable[111]) == "ba   0x%04X");

constexpr int GROUP_REGISTER = 0, GROUP_MAJOR = 16, GROUP_ALU = 32, GROUP_MAJOR0 = 48;
constexpr int GROUP_MAJOR8 = 64, GROUP_LONG_JUMP = 80, GROUP_BRANCH = 96;
constexpr int TEXT_LIMIT = DISASM_BUF - 1;   // at most 19 characters before the NUL

// One argument of a format: a register name for %s, a number for %X and %04X.
struct DisasmArg { const char* name; uint32_t number; };

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

// Renders the three conversions the table uses (%s, %X and %04X) without printf's
// machinery, since the writers disassemble every word up to three times. No format can
// expand beyond 40 characters; the text keeps at most 19.
static void render(char* buffer, const char* format, const DisasmArg* args)
{
    char scratch[48];
    char* out = scratch;
    for (const char* f = format; *f != '\0'; f++) {
        if (*f != '%') {
            *out++ = *f;
        } else if (*++f == 's') {
            out = put_text(out, (args++)->name);
        } else if (*f == 'X') {
            out = put_hex(out, (args++)->number, 1);
        } else {                                // "04X"
            f += 2;
            out = put_hex(out, (args++)->number, 4);
        }
    }
    size_t length = static_cast<size_t>(out - scratch);
    length = length < static_cast<size_t>(TEXT_LIMIT) ? length : TEXT_LIMIT;
    std::memcpy(buffer, scratch, length);
    buffer[length] = '\0';
}

char* disassemble_word(uint32_t word, char* buffer, int32_t address)
{
    uint32_t m = field_m(word), a = field_a(word), b = field_b(word), l = field_l(word);
    DisasmArg ra{DisasmTable[GROUP_REGISTER + a], 0};
    DisasmArg rb{DisasmTable[GROUP_REGISTER + b], 0};
    const char* format = nullptr;
    DisasmArg args[3] = {};

    switch (m) {
    case 0:
        format = DisasmTable[GROUP_MAJOR0 + l];
        break;
    case 1: case 2: case 3: case 5: case 6:
        format = DisasmTable[GROUP_MAJOR + m];
        args[0] = ra, args[1] = rb, args[2] = {nullptr, l};
        break;
    case 7:
        format = DisasmTable[GROUP_ALU + l];
        args[0] = ra, args[1] = rb;
        break;
    case 8:
        format = l == 8 ? DisasmTable[GROUP_LONG_JUMP + a] : DisasmTable[GROUP_MAJOR8 + l];
        args[0] = rb;
        break;
    case 9: {
        // The target is relative to the branch's own address; the address bus has 16 bits.
        int32_t displacement = static_cast<int8_t>(word & 0xFF);
        uint32_t target = static_cast<uint32_t>(address + 2 + 2 * displacement) & 0xFFFF;
        format = DisasmTable[GROUP_BRANCH + a];
        args[0] = {nullptr, target};
        break;
    }
    case 10: case 11:
        format = DisasmTable[GROUP_MAJOR + m];
        args[0] = ra, args[1] = {nullptr, unpack_word_offset(l)}, args[2] = rb;
        break;
    case 12: case 13: case 14:
        format = DisasmTable[GROUP_MAJOR + m];
        args[0] = ra, args[1] = {nullptr, l}, args[2] = rb;
        break;
    case 15:
        format = DisasmTable[GROUP_MAJOR + 15];
        args[0] = {nullptr, (word & 0xFFF) << 4};
        break;
    default:   // M = 4 encodes nothing
        break;
    }
    // An empty entry is a word that encodes no instruction.
    render(buffer, format != nullptr ? format : "<reserved>", args);
    buffer[DISASM_BUF - 1] = '\0';
    return buffer;
}

// The prg, vhd and listing writers all show each word's text in an 18-column field; each
// field is rendered once per address and word and then reused.
struct FieldCacheEntry { uint32_t key; char field[DISASM_FIELD]; };   // key: word + 1
static FieldCacheEntry field_cache[IMAGE_SIZE / 2];

const char* disassembly_field(int32_t address)
{
    uint32_t word = image_word(address);
    FieldCacheEntry& entry = field_cache[address / 2];
    if (entry.key != word + 1) {
        char text[DISASM_BUF];
        disassemble_word(word, text, address);
        size_t length = std::strlen(text);
        std::memset(entry.field, ' ', DISASM_FIELD);
        std::memcpy(entry.field, text, length < DISASM_FIELD ? length : DISASM_FIELD);
        entry.key = word + 1;
    }
    return entry.field;
}
