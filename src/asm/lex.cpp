// The lexer: the keyword lookup over the instruction table and the register names, the
// character classes, and next_token, which recognises one token at a time in place in the
// caller's line buffer.
#include "asm.h"

#include <array>
#include <cassert>
#include <string_view>

// The reserved words beside the mnemonics: the sixteen register names and sp, an alias of r1.
struct RegisterRow { const char* name; int32_t reg; };
constexpr RegisterRow RegisterTable[] = {
    {"r0", 0},   {"r1", 1},   {"r2", 2},   {"r3", 3},   {"r4", 4},   {"r5", 5},
    {"r6", 6},   {"r7", 7},   {"r8", 8},   {"r9", 9},   {"r10", 10}, {"r11", 11},
    {"r12", 12}, {"r13", 13}, {"r14", 14}, {"r15", 15}, {"sp", 1},
};

// The operand readers take "r" and one or two digits, r0 to r15, as that register without a
// lookup (operand.cpp): each of those names must be a row of the table with that number.
constexpr bool registers_read_by_digits()
{
    for (int32_t n = 0; n < 16; n++) {
        char name[4] = {'r', static_cast<char>(n < 10 ? '0' + n : '1'),
                        static_cast<char>(n < 10 ? '\0' : '0' + n - 10), '\0'};
        bool found = false;
        for (const RegisterRow& row : RegisterTable) {
            found = found || (std::string_view(row.name) == name && row.reg == n);
        }
        if (!found) {
            return false;
        }
    }
    return true;
}
static_assert(registers_read_by_digits());

// Keyword lookup by hash instead of a scan of the rows: every name is distinct, so the one
// row that equals an identifier is the row a scan would find first. A name of at most six
// characters, packed into an integer first character highest, is its own exact key; no name
// packs to 0, which marks an empty slot. The multiplier spreads the 100 names over 512 slots
// with no two in one slot, so a lookup reads exactly one slot, and that slot carries its
// row's token.
constexpr int KEYWORD_LONGEST = 6;
constexpr int KEYWORD_SLOT_BITS = 9;
constexpr uint32_t KEYWORD_SLOTS = 1u << KEYWORD_SLOT_BITS;
constexpr uint64_t KEYWORD_MULTIPLIER = 0x8ACC7FEB5BDC7D83u;

static uint32_t keyword_slot(uint64_t packed)
{
    return static_cast<uint32_t>((packed * KEYWORD_MULTIPLIER) >> (64 - KEYWORD_SLOT_BITS));
}

struct KeywordSlot { uint64_t packed; Token token; };   // packed 0: empty slot
struct KeywordIndex { KeywordSlot slots[KEYWORD_SLOTS]; };

static void enter_keyword(KeywordIndex& index, const char* name, Token token)
{
    uint64_t packed = 0;
    for (const char* p = name; *p != '\0'; p++) {
        packed = packed << 8 | static_cast<unsigned char>(*p);
    }
    KeywordSlot& slot = index.slots[keyword_slot(packed)];
    assert(slot.packed == 0 && "two keywords share a slot: choose another multiplier");
    slot = {packed, token};
}

// The index is filled when the program starts, before any lookup: the mnemonics' rows live
// in encode.cpp, out of reach of a compile-time table here. The unit tests look up every
// keyword, so a multiplier that puts two in one slot fails them.
static KeywordIndex build_keyword_index()
{
    KeywordIndex index{};
    for (int32_t mn = 0; mn < MN_COUNT; mn++) {
        enter_keyword(index, InstructionTable[mn].name, {TOKEN_MNEMONIC, mn});
    }
    for (const RegisterRow& row : RegisterTable) {
        enter_keyword(index, row.name, {TOKEN_REGISTER, row.reg});
    }
    return index;
}
static const KeywordIndex KeywordSlots = build_keyword_index();

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


// The escapes of quoted text: \\ \" \' \n \r \t \0 and \xHH.
static int32_t escaped_char(const char*& p)
{
    char c = *p++;
    switch (c) {
    case '\\': case '"': case '\'':
        return static_cast<unsigned char>(c);
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case '0': return 0;
    case 'x':
        if (HexValues[static_cast<unsigned char>(p[0])] < 16 &&
            HexValues[static_cast<unsigned char>(p[1])] < 16) {
            p += 2;
            return HexValues[static_cast<unsigned char>(p[-2])] << 4 |
                   HexValues[static_cast<unsigned char>(p[-1])];
        }
        break;
    }
    return QUOTE_ESCAPE - static_cast<unsigned char>(c);
}

int32_t read_quoted_char(const char*& p, char quote)
{
    unsigned char c = static_cast<unsigned char>(*p);
    if (c == '\0' || (c == '\\' && p[1] == '\0')) {
        return QUOTE_OPEN;
    }
    p++;
    if (c == static_cast<unsigned char>(quote)) {
        return QUOTE_CLOSED;
    }
    return c == '\\' ? escaped_char(p) : c;
}

void report_quote_error(int32_t fault)
{
    if (fault == QUOTE_OPEN) {
        report_error("missing closing quote");
    } else if (fault == QUOTE_LENGTH) {
        report_error("a character literal holds one character");
    } else {
        report_error("unknown escape '\\%c'", static_cast<char>(QUOTE_ESCAPE - fault));
    }
}

// 'c': a number token of the character's value, or a TOKEN_BAD_LITERAL token that says what
// is wrong. It ends after its closing quote, or at the end of the line.
[[gnu::noinline]] static Token char_literal(char*& cursor)
{
    const char* p = cursor + 1;
    int32_t value = 0;
    int32_t count = 0;
    int32_t c;
    while ((c = read_quoted_char(p, '\'')) >= 0) {
        value = c;
        count++;
    }
    cursor = const_cast<char*>(p);
    if (c == QUOTE_CLOSED) {
        return count == 1 ? Token{TOKEN_NUMBER, value} : Token{TOKEN_BAD_LITERAL, QUOTE_LENGTH};
    }
    return {TOKEN_BAD_LITERAL, c};
}

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
    if (c == '\'') {
        cursor = p;
        return char_literal(cursor);
    }
    // Any other byte stands for itself, taken as a signed 8-bit code.
    cursor = p + 1;
    return {static_cast<int32_t>(static_cast<signed char>(c)), 0};
}
