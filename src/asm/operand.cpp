// Operand lists: each list of the instructions and directives stated once, as a chain of
// steps that read one token each, and the range checks of operand values.
#include "asm.h"

// Arithmetic in operands wraps at 32 bits, as the target's assembler arithmetic does.
static int32_t wrap_add(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

static int32_t wrap_sub(int32_t a, int32_t b)
{
    return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

// ---- steps --------------------------------------------------------------------------------
// Every operand list below is a chain of these steps. A step reads one token (a signed
// number two) and reports a syntax error when it is not what the list wants there; the list
// then ends and reads no further. A step first tries, in line, the spelling that nearly every
// source uses (r0..r15, a decimal number of up to nine digits, a one-character token, the
// end of the line), which next_token would read as the same token, and hands anything else
// to next_token: both ways read the same tokens and enter the same symbols. The steps are
// forced inline, so that a list in its common spelling runs as one function without calls.

// The words for what a step wanted, by token kind or WANT_ code; any other kind is the
// character it stands for.
struct WantRow { int32_t wanted; const char* text; };
constexpr WantRow WantTable[] = {
    {TOKEN_REGISTER,     "a register"},
    {WANT_LONG_REGISTER, "a long register"},
    {TOKEN_NUMBER,       "a number"},
    {TOKEN_SYMBOL,       "a label"},
    {WANT_MEMORY,        "a memory operand"},
    {WANT_STRING,        "a string"},
    {WANT_NAME,          "a name"},
    {TOKEN_EOL,          "the end of the line"},
};

// The note after a syntax error: what was wanted, and the token found instead, which lies
// between `start` (white space before it aside) and `end`. A name where a number belongs is
// no constant that the line could see.
[[gnu::cold]] static void note_unexpected(Token token, const char* start, const char* end,
                                          int32_t wanted)
{
    while (class_of(start) == CLASS_SPACE) {
        start++;
    }
    int length = static_cast<int>(end - start);
    if (wanted == TOKEN_NUMBER && token.kind == TOKEN_SYMBOL) {
        report_note(current_file, current_line, "'%.*s' is not a constant defined above",
                    length, start);
        return;
    }
    char character[] = "'?'";
    const char* what = character;
    character[1] = static_cast<char>(wanted);
    for (const WantRow& row : WantTable) {
        what = row.wanted == wanted ? row.text : what;
    }
    if (token.kind == TOKEN_EOL) {
        report_note(current_file, current_line, "expected %s at the end of the line", what);
    } else {
        report_note(current_file, current_line, "expected %s at '%.*s'", what, length, start);
    }
}

bool token_error(Token token, const char* start, const char* end, int32_t wanted)
{
    if (token.kind == '"') {
        report_error("a string needs .byte, .ascii or .asciz");
    } else if (token.kind == TOKEN_BAD_LITERAL) {
        report_quote_error(token.value);
    } else {
        report_error("syntax error");
        note_unexpected(token, start, end, wanted);
    }
    return false;
}

[[gnu::always_inline]] inline static char* skip_space(char* p)
{
    while (class_of(p) == CLASS_SPACE) {
        p++;
    }
    return p;
}

// The general step: the next token through the lexer, which must be of `kind`, `wanted` says
// in the note otherwise. A constant defined above is a number.
[[gnu::noinline]] static bool want_token(char*& cursor, int32_t kind, int32_t& value,
                                         int32_t wanted)
{
    char* start = cursor;
    Token token = next_token(cursor);
    value = token.value;
    if (kind == TOKEN_NUMBER && token.kind == TOKEN_SYMBOL && is_constant(token.value)) {
        value = symbol_record(token.value).value;
        return true;
    }
    return token.kind == kind || token_error(token, start, cursor, wanted);
}

// Whether the next token is the one-character token `c`, which is then read; if it is not,
// nothing is read.
[[gnu::always_inline]] inline static bool accept_char(char*& cursor, char c)
{
    char* p = skip_space(cursor);
    if (*p != c) {
        return false;
    }
    cursor = p + 1;
    return true;
}

[[gnu::always_inline]] inline static bool want_char(char*& cursor, char c)
{
    int32_t ignored;
    return accept_char(cursor, c) || want_token(cursor, c, ignored, c);
}

// The end of the line; `wanted` is what the note names, when something else may come first.
[[gnu::always_inline]] inline static bool want_eol(char*& cursor, int32_t wanted = TOKEN_EOL)
{
    char* p = skip_space(cursor);
    if (class_of(p) == CLASS_END) {
        cursor = p;     // the end of the line is never passed
        return true;
    }
    int32_t ignored;
    return want_token(cursor, TOKEN_EOL, ignored, wanted);
}

// r0..r15 with no name character after them, read by their digits: lex.cpp checks at compile
// time that each is the register keyword of that number.
[[gnu::always_inline]] inline static bool quick_register(char*& cursor, int32_t& reg)
{
    char* p = skip_space(cursor);
    uint32_t first = static_cast<unsigned char>(p[1]) - uint32_t{'0'};
    if (p[0] != 'r' || first >= 10) {
        return false;
    }
    if ((class_of(p + 2) & CLASS_WORD) == 0) {
        reg = static_cast<int32_t>(first);
        cursor = p + 2;
        return true;
    }
    uint32_t second = static_cast<unsigned char>(p[2]) - uint32_t{'0'};
    if (first != 1 || second >= 6 || (class_of(p + 3) & CLASS_WORD) != 0) {
        return false;
    }
    reg = static_cast<int32_t>(10 + second);
    cursor = p + 3;
    return true;
}

// A decimal number of one to nine digits, which stays below the largest 32-bit value where
// next_token saturates; "0x" starts a hexadecimal number, left to next_token.
[[gnu::always_inline]] inline static bool quick_number(char*& cursor, int32_t& n)
{
    char* p = skip_space(cursor);
    uint32_t value = static_cast<unsigned char>(*p) - uint32_t{'0'};
    if (value >= 10 || (value == 0 && (static_cast<unsigned char>(p[1]) | 0x20) == 'x')) {
        return false;
    }
    char* end = p + 1;
    for (; class_of(end) == CLASS_DIGIT; end++) {
        if (end - p == 9) {
            return false;
        }
        value = value * 10 + static_cast<uint32_t>(*end - '0');
    }
    n = static_cast<int32_t>(value);
    cursor = end;
    return true;
}

[[gnu::always_inline]] inline static bool want_register(char*& cursor, int32_t& reg,
                                                        bool long_pair = false)
{
    int32_t wanted = long_pair ? int32_t{WANT_LONG_REGISTER} : int32_t{TOKEN_REGISTER};
    return quick_register(cursor, reg) || want_token(cursor, TOKEN_REGISTER, reg, wanted);
}

[[gnu::always_inline]] inline static bool want_unsigned(char*& cursor, int32_t& n)
{
    return quick_number(cursor, n) || want_token(cursor, TOKEN_NUMBER, n, TOKEN_NUMBER);
}

// A number, with a minus sign before it or not.
[[gnu::always_inline]] inline static bool want_number(char*& cursor, int32_t& n)
{
    bool negate = accept_char(cursor, '-');
    if (!want_unsigned(cursor, n)) {
        return false;
    }
    n = negate ? wrap_sub(0, n) : n;
    return true;
}

// The value that word expressions and memory operands start with: a symbol or a number (a
// constant defined above is its number).
[[gnu::always_inline]] inline static bool want_value(char*& cursor, SymbolHandle& symbol,
                                                     int32_t& number, int32_t wanted)
{
    if (quick_number(cursor, number)) {
        return true;
    }
    char* start = cursor;
    Token token = next_token(cursor);
    if (token.kind == TOKEN_SYMBOL && is_constant(token.value)) {
        number = symbol_record(token.value).value;
    } else if (token.kind == TOKEN_SYMBOL) {
        symbol = token.value;
    } else if (token.kind == TOKEN_NUMBER) {
        number = token.value;
    } else {
        return token_error(token, start, cursor, wanted);
    }
    return true;
}

// Numbers added or taken away after a value: { ( + | - ) number }.
[[gnu::always_inline]] inline static bool want_terms(char*& cursor, int32_t& sum)
{
    for (char* p; *(p = skip_space(cursor)) == '+' || *p == '-';) {
        cursor = p + 1;
        int32_t n;
        if (!want_unsigned(cursor, n)) {
            return false;
        }
        sum = *p == '+' ? wrap_add(sum, n) : wrap_sub(sum, n);
    }
    return true;
}

// ---- operand lists ----------------------------------------------------------------------

bool read_eol(char*& cursor)
{
    return want_eol(cursor);
}

bool read_number(char*& cursor, int32_t& n)
{
    return want_number(cursor, n);
}

bool read_number_eol(char*& cursor, int32_t& n)
{
    return want_number(cursor, n) && want_eol(cursor);
}

bool read_symbol_eol(char*& cursor, SymbolHandle& symbol)
{
    return want_token(cursor, TOKEN_SYMBOL, symbol, TOKEN_SYMBOL) && want_eol(cursor) &&
           symbol_usable(symbol);
}

bool read_word_expr(char*& cursor, SymbolHandle& symbol, int32_t& number)
{
    int32_t misses = symbol_misses;
    symbol = 0;
    number = 0;
    return want_value(cursor, symbol, number, TOKEN_NUMBER) && want_terms(cursor, number) &&
           want_eol(cursor) && operand_symbols_usable(misses);
}

bool read_reg_eol(char*& cursor, int32_t& rs)
{
    return want_register(cursor, rs) && want_eol(cursor);
}

bool read_two_regs(char*& cursor, int32_t& rd, int32_t& rs, bool long_pairs)
{
    return want_register(cursor, rd, long_pairs) && want_char(cursor, ',') &&
           want_register(cursor, rs, long_pairs) && want_eol(cursor);
}

bool read_reg_number(char*& cursor, int32_t& rs, int32_t& n)
{
    return want_register(cursor, rs) && want_char(cursor, ',') && want_number(cursor, n) &&
           want_eol(cursor);
}

bool read_two_regs_number(char*& cursor, int32_t& rd, int32_t& rs, int32_t& n)
{
    return want_register(cursor, rd) && want_char(cursor, ',') && want_register(cursor, rs) &&
           want_char(cursor, ',') && want_number(cursor, n) && want_eol(cursor);
}

// A memory operand is [value] terms [( register )], where a missing value is 0 and a missing
// register r0; it starts with a value, a sign or the parenthesis.
bool read_reg_mem(char*& cursor, int32_t& rd, SymbolHandle& symbol, int32_t& offset,
                  int32_t& base, bool long_pair)
{
    int32_t misses = symbol_misses;
    symbol = 0;
    offset = 0;
    base = 0;
    if (!want_register(cursor, rd, long_pair) || !want_char(cursor, ',')) {
        return false;
    }
    char* p = skip_space(cursor);
    if (*p != '+' && *p != '-' && *p != '(' && !want_value(cursor, symbol, offset, WANT_MEMORY)) {
        return false;
    }
    if (!want_terms(cursor, offset)) {
        return false;
    }
    bool bracket = accept_char(cursor, '(');
    if (bracket && (!want_register(cursor, base) || !want_char(cursor, ')'))) {
        return false;
    }
    int32_t wanted = bracket ? int32_t{TOKEN_EOL} : int32_t{'('};
    return want_eol(cursor, wanted) && operand_symbols_usable(misses);
}

// ---- checks -----------------------------------------------------------------------------

bool check_long_reg(int32_t reg)
{
    if (static_cast<uint32_t>(reg) > 11) {
        report_error("r%d is not a long register name", reg);
        return false;
    }
    return true;
}

static bool fits_16_bits(int32_t value)
{
    return value >= -32768 && value <= 65535;
}

void warn_unless_16_bits(int32_t value, int32_t span)
{
    if (!fits_16_bits(value) || !fits_16_bits(wrap_add(value, span))) {
        report_warning("value %d does not fit in 16 bits", value);
    }
}
