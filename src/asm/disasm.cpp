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
constexpr size_t TEXT_ROOM = 64;             // a rendering's scratch, with room for its copies

// The formats compiled into plans: each is cut at its conversions (%s a register name, %X
// a number in hexadecimal, %04X the same in at least four digits) into literal pieces, so
// that rendering copies whole pieces instead of reading the format a character at a time.
// Row DISASM_ROWS is the plan of "<reserved>", the text of every word that encodes nothing.
constexpr int PLAN_PIECES = 4;            // at most three conversions
constexpr size_t PIECE_ROOM = 16;         // longest piece: 10 characters
enum : uint8_t { CONVERT_END, CONVERT_NAME, CONVERT_HEX, CONVERT_HEX4 };
struct FormatPlan {
    char piece[PLAN_PIECES][PIECE_ROOM];  // literal text before conversion i, blank-padded
    uint8_t length[PLAN_PIECES];
    uint8_t convert[PLAN_PIECES];         // after piece i; CONVERT_END after the last
};
struct PlanTable { FormatPlan plans[DISASM_ROWS + 1]; bool fits; };

constexpr PlanTable build_plans()
{
    PlanTable table{};
    table.fits = true;
    for (FormatPlan& plan : table.plans) {
        for (auto& piece : plan.piece) {
            for (char& c : piece) {
                c = ' ';
            }
        }
    }
    for (int row = 0; row <= DISASM_ROWS; row++) {
        const char* f = row < DISASM_ROWS ? DisasmTable[row] : "<reserved>";
        if (f == nullptr || row < GROUP_MAJOR) {
            continue;   // empty rows render as row DISASM_ROWS; names are no formats
        }
        FormatPlan& plan = table.plans[row];
        int i = 0;
        size_t length = 0;
        for (; *f != '\0'; f++) {
            if (*f != '%') {
                if (length == PIECE_ROOM) {
                    table.fits = false;
                    break;
                }
                plan.piece[i][length++] = *f;
                continue;
            }
            plan.length[i] = static_cast<uint8_t>(length);
            f++;
            plan.convert[i] = *f == 's' ? CONVERT_NAME : *f == 'X' ? CONVERT_HEX : CONVERT_HEX4;
            f += *f == '0' ? 2 : 0;   // "04X"
            length = 0;
            if (++i == PLAN_PIECES) {
                table.fits = false;
                break;
            }
        }
        if (i < PLAN_PIECES) {
            plan.length[i] = static_cast<uint8_t>(length);
            plan.convert[i] = CONVERT_END;
        }
    }
    return table;
}
constexpr PlanTable Plans = build_plans();
static_assert(Plans.fits);
static_assert(Plans.plans[GROUP_MAJOR + 10].convert[1] == CONVERT_HEX);   // lw's offset
static_assert(Plans.plans[DISASM_ROWS].length[0] == 10);

// An operand of a format as its text, ready to copy whole: at most four characters,
// blank-padded, and their count. A conversion copies the four bytes and moves on by the count.
struct OperandText { char text[4]; uint32_t length; };

// The register names, by register number.
struct NameTable { OperandText names[16]; };
constexpr NameTable build_names()
{
    NameTable table{};
    for (int r = 0; r < 16; r++) {
        OperandText& name = table.names[r];
        name.text[0] = name.text[1] = name.text[2] = name.text[3] = ' ';
        for (const char* c = DisasmTable[GROUP_REGISTER + r]; *c != '\0'; c++) {
            name.text[name.length++] = *c;
        }
    }
    return table;
}
constexpr NameTable RegisterNames = build_names();

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

// The numbers of the "%X" conversions (shift counts and immediates of four bits, memory
// offsets up to 30) in hexadecimal without leading zeros.
constexpr uint32_t SHORT_HEX_VALUES = 32;
struct ShortHexTable { OperandText numbers[SHORT_HEX_VALUES]; };
constexpr ShortHexTable build_short_hex()
{
    ShortHexTable table{};
    for (uint32_t i = 0; i < SHORT_HEX_VALUES; i++) {
        OperandText& number = table.numbers[i];
        number.text[0] = number.text[1] = number.text[2] = number.text[3] = ' ';
        if (i >= 16) {
            number.text[number.length++] = "0123456789ABCDEF"[i >> 4];
        }
        number.text[number.length++] = "0123456789ABCDEF"[i & 15];
    }
    return table;
}
constexpr ShortHexTable ShortHex = build_short_hex();
static_assert(ShortHex.numbers[30].length == 2 && ShortHex.numbers[30].text[0] == '1');

char* put_hex2(char* out, uint32_t value)
{
    std::memcpy(out, HexPairs.digits[value & 0xFF], 2);
    return out + 2;
}

char* put_hex4(char* out, uint32_t value)
{
    return put_hex2(put_hex2(out, value >> 8), value);
}

char* put_image_word(char* out, int32_t address, uint32_t& word)
{
    // Each byte gives its digit pair as it lies; the word is only put together for `word`.
    uint32_t high = CodeImage[address];
    uint32_t low = CodeImage[address + 1];
    word = high << 8 | low;
    return put_hex2(put_hex2(out, high), low);
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

// Whether every format in rows first..first+count-1 takes its operands in the order and of
// the kinds `kinds` lists, or a leading part of them: disassembly_text hands each group its
// operands as texts, so a format must convert exactly what its group hands over.
constexpr bool group_takes(int first, int count, const uint8_t (&kinds)[PLAN_PIECES])
{
    for (int row = first; row < first + count; row++) {
        if (DisasmTable[row] == nullptr) {
            continue;
        }
        for (int i = 0; i < PLAN_PIECES && Plans.plans[row].convert[i] != CONVERT_END; i++) {
            if (Plans.plans[row].convert[i] != kinds[i]) {
                return false;
            }
        }
    }
    return true;
}
// Whether every format in rows first..first+count-1 converts exactly `operands` operands:
// disassembly_text renders those groups with that many and never looks at the plan's count.
constexpr bool group_converts(int first, int count, int operands)
{
    for (int row = first; row < first + count; row++) {
        if (DisasmTable[row] == nullptr) {
            continue;
        }
        int n = 0;
        while (n < PLAN_PIECES && Plans.plans[row].convert[n] != CONVERT_END) {
            n++;
        }
        if (n != operands) {
            return false;
        }
    }
    return true;
}
// Whether the formats in rows first..first+count-1 differ in their mnemonic alone: each has
// the conversions, the width of mnemonic and the later pieces of row `first`. Rendering takes
// all but the mnemonic from row `first`, a plan known when compiling.
constexpr bool group_shares(int first, int count)
{
    const FormatPlan& shape = Plans.plans[first];
    for (int row = first; row < first + count; row++) {
        if (DisasmTable[row] == nullptr) {
            continue;
        }
        const FormatPlan& plan = Plans.plans[row];
        for (int i = 0; i < PLAN_PIECES; i++) {
            if (plan.convert[i] != shape.convert[i] || plan.length[i] != shape.length[i]) {
                return false;
            }
            for (size_t c = 0; i > 0 && c < PIECE_ROOM; c++) {
                if (plan.piece[i][c] != shape.piece[i][c]) {
                    return false;
                }
            }
        }
    }
    return true;
}
constexpr uint8_t REG_REG_HEX[PLAN_PIECES] = {CONVERT_NAME, CONVERT_NAME, CONVERT_HEX};
constexpr uint8_t REG_HEX_REG[PLAN_PIECES] = {CONVERT_NAME, CONVERT_HEX, CONVERT_NAME};
constexpr uint8_t REG_REG[PLAN_PIECES] = {CONVERT_NAME, CONVERT_NAME};
constexpr uint8_t ONE_HEX4[PLAN_PIECES] = {CONVERT_HEX4};
constexpr uint8_t ONE_REG[PLAN_PIECES] = {CONVERT_NAME};
constexpr uint8_t NOTHING[PLAN_PIECES] = {};
static_assert(group_takes(GROUP_MAJOR + 1, 6, REG_REG_HEX) &&
              group_converts(GROUP_MAJOR + 1, 6, 3));
static_assert(group_takes(GROUP_MAJOR + 10, 5, REG_HEX_REG) &&
              group_converts(GROUP_MAJOR + 10, 5, 3));
static_assert(group_takes(GROUP_MAJOR + 15, 1, ONE_HEX4) && group_converts(GROUP_MAJOR + 15, 1, 1));
static_assert(group_takes(GROUP_ALU, 16, REG_REG) && group_converts(GROUP_ALU, 16, 2));
static_assert(group_takes(GROUP_MAJOR0, 16, NOTHING));
static_assert(group_takes(GROUP_MAJOR8, 32, ONE_REG));   // and the long jumps
static_assert(group_converts(GROUP_LONG_JUMP, 16, 1));
static_assert(group_takes(GROUP_BRANCH, 16, ONE_HEX4) && group_converts(GROUP_BRANCH, 16, 1));
static_assert(group_shares(GROUP_MAJOR + 1, 6) && group_shares(GROUP_MAJOR + 10, 5));
static_assert(group_shares(GROUP_ALU, 16) && group_shares(GROUP_LONG_JUMP, 16));
static_assert(group_shares(GROUP_BRANCH, 16));

// Copies piece i of `plan` at `out` with its blank padding and returns the end of its text.
static char* put_piece(char* out, const FormatPlan& plan, int i)
{
    std::memcpy(out, plan.piece[i], PIECE_ROOM);
    return out + plan.length[i];
}

// Copies an operand's four bytes at `out` and returns the end of its text.
static char* put_operand(char* out, const OperandText& operand)
{
    std::memcpy(out, operand.text, 4);
    return out + operand.length;
}

// Renders plan `row` at `out`, which has TEXT_ROOM bytes, and returns the end of the text:
// the first piece, then each of the `count` operands followed by the piece after it. All but
// the first piece, the mnemonic, come from plan `shape`, the first row of the group (see
// group_shares). Wherever the group fixes them, `shape` and `count` are constants, so that
// the loop unrolls into a straight run of copies whose lengths are known when compiling.
// Pieces and operands are copied whole with their blank padding, so every byte written past
// the end of the text is a blank, and the first piece covers the first 16 columns. No text
// is longer than 40 characters.
[[gnu::always_inline]] static inline char* render(char* out, int row, int shape,
                                                  const OperandText* operands, int count)
{
    std::memcpy(out, Plans.plans[row].piece[0], PIECE_ROOM);
    out += Plans.plans[shape].length[0];
    for (int i = 0; i < count; i++) {
        out = put_operand(out, operands[i]);
        out = put_piece(out, Plans.plans[shape], i + 1);
    }
    return out;
}

// "<reserved>", the text of every word that encodes nothing.
static char* render_reserved(char* out)
{
    return render(out, DISASM_ROWS, DISASM_ROWS, nullptr, 0);
}

static OperandText hex4_text(uint32_t value)
{
    OperandText number;
    put_hex4(number.text, value);
    number.length = 4;
    return number;
}

// Writes the text of `word` at `out`, which has TEXT_ROOM bytes, and returns its end. Each
// group takes its own path with its operands as texts; an empty entry in the table is a
// word that encodes no instruction.
static char* disassembly_text(char* out, uint32_t word, int32_t address)
{
    uint32_t m = field_m(word), a = field_a(word), b = field_b(word), l = field_l(word);
    switch (m) {
    case 0: {
        int row = GROUP_MAJOR0 + static_cast<int>(l);
        return DisasmTable[row] != nullptr ? render(out, row, row, nullptr, 0)
                                           : render_reserved(out);
    }
    case 1: case 2: case 3: case 5: case 6: {
        const OperandText operands[] = {RegisterNames.names[a], RegisterNames.names[b],
                                        ShortHex.numbers[l]};
        return render(out, GROUP_MAJOR + static_cast<int>(m), GROUP_MAJOR + 1, operands, 3);
    }
    case 7: {
        int row = GROUP_ALU + static_cast<int>(l);
        const OperandText operands[] = {RegisterNames.names[a], RegisterNames.names[b]};
        return DisasmTable[row] != nullptr ? render(out, row, GROUP_ALU, operands, 2)
                                           : render_reserved(out);
    }
    case 8: {
        // A long jump shows its register; of the rest, call shows its register and ret and
        // reti nothing.
        const OperandText operands[] = {RegisterNames.names[b]};
        if (l == 8) {
            return render(out, GROUP_LONG_JUMP + static_cast<int>(a), GROUP_LONG_JUMP, operands, 1);
        }
        int row = GROUP_MAJOR8 + static_cast<int>(l);
        if (DisasmTable[row] == nullptr) {
            return render_reserved(out);
        }
        return render(out, row, row, operands, Plans.plans[row].convert[0] == CONVERT_NAME ? 1 : 0);
    }
    case 9: {
        // The target is relative to the branch's own address; the address bus has 16 bits.
        int32_t displacement = static_cast<int8_t>(word & 0xFF);
        const OperandText operands[] = {
            hex4_text(static_cast<uint32_t>(address + 2 + 2 * displacement))};
        return render(out, GROUP_BRANCH + static_cast<int>(a), GROUP_BRANCH, operands, 1);
    }
    case 10: case 11: case 12: case 13: case 14: {
        // lw and sw scale their offset; the byte loads and stores take L as it stands.
        const OperandText operands[] = {RegisterNames.names[a],
                                        ShortHex.numbers[m <= 11 ? unpack_word_offset(l) : l],
                                        RegisterNames.names[b]};
        return render(out, GROUP_MAJOR + static_cast<int>(m), GROUP_MAJOR + 10, operands, 3);
    }
    case 15: {
        const OperandText operands[] = {hex4_text((word & 0xFFF) << 4)};
        return render(out, GROUP_MAJOR + 15, GROUP_MAJOR + 15, operands, 1);
    }
    default:   // M = 4 encodes nothing
        return render_reserved(out);
    }
}

char* disassemble_word(uint32_t word, char* buffer, int32_t address)
{
    char scratch[TEXT_ROOM];
    size_t length = static_cast<size_t>(disassembly_text(scratch, word, address) - scratch);
    length = length < static_cast<size_t>(TEXT_LIMIT) ? length : TEXT_LIMIT;
    std::memcpy(buffer, scratch, length);
    std::memset(buffer + length, '\0', DISASM_BUF - length);
    return buffer;
}

// The prg, vhd and listing writers all show each word's text in an 18-column field; each
// field is rendered once per address and word and then reused. An entry holds the word it
// was rendered for; a field never starts with a NUL, so an entry whose field does, a zeroed
// one among them, is an empty one.
// Entries are 20 bytes, so the cache of a full image touches 160 pages of memory.
struct FieldCacheEntry { uint16_t word; char field[DISASM_FIELD]; };
static_assert(sizeof(FieldCacheEntry) == 20);
static FieldCacheEntry field_cache[IMAGE_SIZE / 2];

// Renders the field of `word` at `address` into its cache entry. Out of line, so that the
// common case of word_field, a hit, stays a few instructions. The text's first piece fills
// the first 16 columns and every later copy pads with blanks, so blanking the columns after
// those is all the filling the field needs.
[[gnu::noinline]] static void fill_field(FieldCacheEntry& entry, uint32_t word, int32_t address)
{
    static_assert(DISASM_FIELD <= PIECE_ROOM + 8);
    char scratch[TEXT_ROOM];
    std::memcpy(scratch + PIECE_ROOM, "        ", 8);
    disassembly_text(scratch, word, address);
    std::memcpy(entry.field, scratch, DISASM_FIELD);
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

const char* disassembly_field(int32_t address)
{
    return word_field(address, image_word(address));
}
