// The lexer: KeywordTable of the 100 reserved words, the character classes, and next_token,
// which recognises one token at a time in place in the caller's line buffer.
#include "asm.h"

#include <array>
#include <string_view>

// Rows 0..82 are mnemonics and directives (value = position = mnemonic number; 0..62 also
// index the OpcodeTable), then the sixteen register names and sp, an alias of r1.
constexpr KeywordRow KeywordTable[] = {
    // plain, shifts and immediate arithmetic
    {"nop", 'i', 0},     {"wait", 'i', 1},    {"break", 'i', 2},   {"srli", 'i', 3},
    {"srai", 'i', 4},    {"slli", 'i', 5},    {"subi", 'i', 6},    {"addi", 'i', 7},
    // two-register operations, M = 7
    {"and", 'i', 8},     {"xor", 'i', 9},     {"ror", 'i', 10},    {"rcr", 'i', 11},
    {"or", 'i', 12},     {"andn", 'i', 13},   {"subr", 'i', 14},   {"cmp", 'i', 15},
    {"add", 'i', 16},    {"sub", 'i', 17},    {"addc", 'i', 18},   {"subc", 'i', 19},
    {"rol", 'i', 20},    {"rcl", 'i', 21},
    // calls, returns and long jumps, M = 8
    {"call", 'i', 22},   {"ret", 'i', 23},    {"reti", 'i', 24},   {"ljltu", 'i', 25},
    {"ljgeu", 'i', 26},  {"ljeq", 'i', 27},   {"ljne", 'i', 28},   {"ljlt", 'i', 29},
    {"ljge", 'i', 30},   {"ljvs", 'i', 31},   {"ljvc", 'i', 32},   {"ljle", 'i', 33},
    {"ljgt", 'i', 34},   {"ljgtu", 'i', 35},  {"ljleu", 'i', 36},  {"ljneg", 'i', 37},
    {"ljpos", 'i', 38},  {"ljn", 'i', 39},    {"lja", 'i', 40},
    // short branches, M = 9
    {"bltu", 'i', 41},   {"bgeu", 'i', 42},   {"beq", 'i', 43},    {"bne", 'i', 44},
    {"blt", 'i', 45},    {"bge", 'i', 46},    {"bvs", 'i', 47},    {"bvc", 'i', 48},
    {"ble", 'i', 49},    {"bgt", 'i', 50},    {"bgtu", 'i', 51},   {"bleu", 'i', 52},
    {"bneg", 'i', 53},   {"bpos", 'i', 54},   {"bn", 'i', 55},     {"ba", 'i', 56},
    // loads, stores and the imm prefix, M = 10..15
    {"lw", 'i', 57},     {"sw", 'i', 58},     {"lb", 'i', 59},     {"sb", 'i', 60},
    {"lu", 'i', 61},     {"imm", 'i', 62},
    // pseudo-instructions
    {"mov", 'i', 63},    {"cmpi", 'i', 64},   {"lea", 'i', 65},    {"sext", 'i', 66},
    {"zext", 'i', 67},   {"addl", 'i', 68},   {"subl", 'i', 69},   {"andl", 'i', 70},
    {"orl", 'i', 71},    {"xorl", 'i', 72},   {"andnl", 'i', 73},  {"movl", 'i', 74},
    {"cmpl", 'i', 75},   {"ll", 'i', 76},     {"sl", 'i', 77},
    // directives
    {"global", 'i', 78}, {"align", 'i', 79},  {"byte", 'i', 80},   {"word", 'i', 81},
    {"bss", 'i', 82},
    // registers
    {"r0", 'r', 0},      {"r1", 'r', 1},      {"r2", 'r', 2},      {"r3", 'r', 3},
    {"r4", 'r', 4},      {"r5", 'r', 5},      {"r6", 'r', 6},      {"r7", 'r', 7},
    {"r8", 'r', 8},      {"r9", 'r', 9},      {"r10", 'r', 10},    {"r11", 'r', 11},
    {"r12", 'r', 12},    {"r13", 'r', 13},    {"r14", 'r', 14},    {"r15", 'r', 15},
    {"sp", 'r', 1},      // 99
    {nullptr, 0, 0},
};
static_assert(sizeof KeywordTable / sizeof KeywordTable[0] == KEYWORD_ROWS + 1);
static_assert(std::string_view(KeywordTable[MN_LW].name) == "lw");
static_assert(std::string_view(KeywordTable[MN_IMM].name) == "imm");
static_assert(std::string_view(KeywordTable[MN_GLOBAL].name) == "global");
static_assert(std::string_view(KeywordTable[MN_BSS].name) == "bss");
static_assert(std::string_view(KeywordTable[MN_COUNT].name) == "r0");
static_assert(std::string_view(KeywordTable[KEYWORD_ROWS - 1].name) == "sp");

// Keyword lookup by hash instead of a scan of the rows: every name is distinct, so the one
// row that equals an identifier is the row a scan would find first. A name of at most six
// characters, packed into an integer first character highest, is its own exact key; no name
// packs to 0, which marks an empty slot. The multiplier spreads the 100 names over 512 slots
// with no two in one slot (the index builder checks it), so a lookup reads exactly one slot,
// and that slot carries its row's token.
constexpr int KEYWORD_LONGEST = 6;
constexpr int KEYWORD_SLOT_BITS = 9;
constexpr uint32_t KEYWORD_SLOTS = 1u << KEYWORD_SLOT_BITS;
constexpr uint64_t KEYWORD_MULTIPLIER = 0x8ACC7FEB5BDC7D83u;

constexpr uint64_t pack_name(const char* text, size_t length)
{
    uint64_t packed = 0;
    for (size_t i = 0; i < length; i++) {
        packed = packed << 8 | static_cast<unsigned char>(text[i]);
    }
    return packed;
}

constexpr uint32_t keyword_slot(uint64_t packed)
{
    return static_cast<uint32_t>((packed * KEYWORD_MULTIPLIER) >> (64 - KEYWORD_SLOT_BITS));
}

constexpr size_t text_length(const char* text)
{
    size_t length = 0;
    while (text[length] != '\0') {
        length++;
    }
    return length;
}

struct KeywordSlot { uint64_t packed; Token token; };   // packed 0: empty slot
struct KeywordIndex { KeywordSlot slots[KEYWORD_SLOTS]; bool collided; };

constexpr KeywordIndex build_keyword_index()
{
    KeywordIndex index{};
    for (int row = 0; row < KEYWORD_ROWS; row++) {
        const char* name = KeywordTable[row].name;
        uint64_t packed = pack_name(name, text_length(name));
        KeywordSlot& slot = index.slots[keyword_slot(packed)];
        index.collided |= slot.packed != 0;
        slot = {packed, {KeywordTable[row].kind, KeywordTable[row].value}};
    }
    return index;
}
constexpr KeywordIndex KeywordSlots = build_keyword_index();
static_assert(!KeywordSlots.collided, "two keywords share a slot: choose another multiplier");

constexpr std::array<uint8_t, 256> build_classes()
{
    std::array<uint8_t, 256> classes{};
    for (int c = 'A'; c <= 'Z'; c++) {
        classes[c] = classes[c + 'a' - 'A'] = CLASS_LETTER;
    }
    classes['_'] = CLASS_LETTER;
    for (int c = '0'; c <= '9'; c++) {
        classes[c] = CLASS_DIGIT;
    }
    for (int c = 0; c < 256; c++) {
        if (is_space(static_cast<unsigned char>(c))) {
            classes[c] = CLASS_SPACE;
        }
    }
    classes['\0'] = classes[';'] = CLASS_END;
    return classes;
}
constexpr std::array<uint8_t, 256> CharClasses = build_classes();

// The value of each hexadecimal digit, 16 for every other byte.
constexpr std::array<uint8_t, 256> build_hex_values()
{
    std::array<uint8_t, 256> values{};
    for (int c = 0; c < 256; c++) {
        values[c] = c >= '0' && c <= '9' ? c - '0'
                    : c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : c >= 'A' && c <= 'F' ? c - 'A' + 10
                    : 16;
    }
    return values;
}
constexpr std::array<uint8_t, 256> HexValues = build_hex_values();


// Kept out of line so that next_token, on its other paths, calls nothing and saves no
// registers.
[[gnu::noinline]] static Token symbol_token(const char* start, const char* end)
{
    return {TOKEN_SYMBOL, find_symbol_text(start, static_cast<size_t>(end - start))};
}

Token next_token(char*& cursor)
{
    char* p = cursor;
    while (class_of(p) == CLASS_SPACE) {
        p++;
    }
    unsigned char c = static_cast<unsigned char>(*p);
    uint8_t cls = CharClasses[c];

    if (cls == CLASS_LETTER) {
        // Pack the name while scanning it. Past the eighth character its first characters
        // shift out, which matters nothing: such a name is too long for a keyword.
        char* start = p;
        uint64_t packed = 0;
        do {
            packed = packed << 8 | c;
            c = static_cast<unsigned char>(*++p);
        } while (CharClasses[c] & CLASS_WORD);
        cursor = p;
        if (p - start <= KEYWORD_LONGEST) {
            const KeywordSlot& entry = KeywordSlots.slots[keyword_slot(packed)];
            if (entry.packed == packed) {
                return entry.token;
            }
        }
        return symbol_token(start, p);
    }

    if (cls == CLASS_DIGIT) {
        if (c == '0' && (p[1] == 'x' || p[1] == 'X')) {
            // Hexadecimal keeps the low 32 bits; "0x" with no digit is the number 0.
            p += 2;
            uint32_t value = 0;
            for (uint32_t digit; (digit = HexValues[static_cast<unsigned char>(*p)]) < 16; p++) {
                value = value << 4 | digit;
            }
            cursor = p;
            return {TOKEN_NUMBER, static_cast<int32_t>(value)};
        }
        // Decimal saturates at the largest signed 32-bit value.
        int64_t value = 0;
        do {
            value = value * 10 + (*p - '0');
            if (value > INT32_MAX) {
                value = INT32_MAX;
            }
            p++;
        } while (class_of(p) == CLASS_DIGIT);
        cursor = p;
        return {TOKEN_NUMBER, static_cast<int32_t>(value)};
    }

    if (cls == CLASS_END) {
        cursor = p;
        return {TOKEN_EOL, 0};
    }
    // Any other byte stands for itself, taken as a signed 8-bit code.
    cursor = p + 1;
    return {static_cast<int32_t>(static_cast<signed char>(c)), 0};
}
