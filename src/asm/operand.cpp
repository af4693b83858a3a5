// Operand parsers: fixed token sequences, signed numbers, word expressions, memory operands,
// and the operand lists of the instructions. None of them backtracks; a token read is
// consumed whether it fits or not (the lists' scans only look ahead, and read nothing).
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

static bool syntax_error()
{
    report_error("syntax error");
    return false;
}

bool expect_tokens(char*& cursor, std::initializer_list<Expect> list)
{
    for (const Expect& item : list) {
        Token token = next_token(cursor);
        if (token.kind != item.kind) {
            return syntax_error();
        }
        if (item.dest != nullptr) {
            *item.dest = token;
        }
    }
    return true;
}

bool parse_number(char*& cursor, int32_t& number)
{
    number = 0;
    Token token = next_token(cursor);
    bool negate = token.kind == '-';
    if (negate) {
        token = next_token(cursor);
    }
    if (token.kind != TOKEN_NUMBER) {
        return false;
    }
    number = negate ? wrap_sub(0, token.value) : token.value;
    return true;
}

// Reads { ( + | - ) number } starting with `token`, adding into `sum`; leaves in `token` the
// first token after the terms.
static bool parse_terms(char*& cursor, Token& token, int32_t& sum)
{
    while (token.kind == '+' || token.kind == '-') {
        bool add = token.kind == '+';
        Token number = next_token(cursor);
        if (number.kind != TOKEN_NUMBER) {
            return false;
        }
        sum = add ? wrap_add(sum, number.value) : wrap_sub(sum, number.value);
        token = next_token(cursor);
    }
    return true;
}

bool parse_word_expr(char*& cursor, SymbolHandle& symbol, int32_t& number)
{
    symbol = 0;
    number = 0;
    Token token = next_token(cursor);
    if (token.kind == TOKEN_SYMBOL) {
        symbol = token.value;
    } else if (token.kind == TOKEN_NUMBER) {
        number = token.value;
    } else {
        return false;
    }
    token = next_token(cursor);
    return parse_terms(cursor, token, number) && token.kind == TOKEN_EOL;
}

bool parse_mem_operand(char*& cursor, SymbolHandle& symbol, int32_t& offset, int32_t& base)
{
    symbol = 0;
    offset = 0;
    base = 0;
    Token token = next_token(cursor);
    if (token.kind == TOKEN_SYMBOL) {
        symbol = token.value;
        token = next_token(cursor);
    } else if (token.kind == TOKEN_NUMBER) {
        offset = token.value;
        token = next_token(cursor);
    } else if (token.kind != '+' && token.kind != '-' && token.kind != '(') {
        return false;
    }
    if (!parse_terms(cursor, token, offset)) {
        return false;
    }
    if (token.kind == '(') {
        Token reg = next_token(cursor);
        if (reg.kind != TOKEN_REGISTER || next_token(cursor).kind != ')') {
            return false;
        }
        base = reg.value;
        token = next_token(cursor);
    }
    return token.kind == TOKEN_EOL;
}

// ---- operand lists ----------------------------------------------------------------------
// Each list is first scanned for its common spelling: registers r0..r15, decimal numbers of
// at most nine digits, the one-character tokens and the end of the line, none of which
// next_token would read any other way. A scan has no effect but on its own copy of the
// cursor, so when anything else turns up (a name, sp, a hexadecimal number, a missing
// comma), the general readers above start again from the list's first token, and read,
// enter symbols and report exactly as if the scan had never looked. The scans make no
// calls and are forced inline, which leaves the common case a leaf of straight-line code.


[[gnu::always_inline]] inline static char* skip_space(char* p)
{
    while (class_of(p) == CLASS_SPACE) {
        p++;
    }
    return p;
}

// r0..r15, ended by a byte that cannot continue a name.
[[gnu::always_inline]] inline static bool scan_register(char*& p, int32_t& reg)
{
    char* q = skip_space(p);
    if (q[0] != 'r') {
        return false;
    }
    uint32_t first = static_cast<unsigned char>(q[1]) - uint32_t{'0'};
    if (first >= 10) {
        return false;
    }
    if ((class_of(q + 2) & CLASS_WORD) == 0) {
        reg = static_cast<int32_t>(first);
        p = q + 2;
        return true;
    }
    uint32_t second = static_cast<unsigned char>(q[2]) - uint32_t{'0'};
    if (first == 1 && second < 6 && (class_of(q + 3) & CLASS_WORD) == 0) {
        reg = static_cast<int32_t>(10 + second);
        p = q + 3;
        return true;
    }
    return false;
}

// The one-character token `c`: a byte of no class, which next_token reads as itself.
[[gnu::always_inline]] inline static bool scan_char(char*& p, char c)
{
    char* q = skip_space(p);
    if (*q != c) {
        return false;
    }
    p = q + 1;
    return true;
}

// The end of the line, where next_token leaves the cursor.
[[gnu::always_inline]] inline static bool scan_eol(char*& p)
{
    char* q = skip_space(p);
    if (class_of(q) != CLASS_END) {
        return false;
    }
    p = q;
    return true;
}

// A decimal number of one to nine digits, which stays below the largest 32-bit value where
// next_token saturates; "0x" starts a hexadecimal number instead.
[[gnu::always_inline]] inline static bool scan_number(char*& p, int32_t& n)
{
    char* q = skip_space(p);
    uint32_t value = static_cast<unsigned char>(*q) - uint32_t{'0'};
    if (value >= 10 || (value == 0 && (static_cast<unsigned char>(q[1]) | 0x20) == 'x')) {
        return false;
    }
    char* end = q + 1;
    for (; class_of(end) == CLASS_DIGIT; end++) {
        if (end - q == 9) {
            return false;
        }
        value = value * 10 + static_cast<uint32_t>(*end - '0');
    }
    n = static_cast<int32_t>(value);
    p = end;
    return true;
}

// A number as parse_number reads it, then the end of the line.
[[gnu::always_inline]] inline static bool scan_number_eol(char*& p, int32_t& n)
{
    bool negate = scan_char(p, '-');
    int32_t value = 0;
    if (!scan_number(p, value) || !scan_eol(p)) {
        return false;
    }
    n = negate ? wrap_sub(0, value) : value;
    return true;
}

// Each list below is its scan, then, out of line so that the scan saves no registers, the
// same list through the general readers.

[[gnu::noinline]] static bool read_number_eol_slowly(char*& cursor, int32_t& n)
{
    return (parse_number(cursor, n) || syntax_error()) && expect_tokens(cursor, {{TOKEN_EOL}});
}

bool read_number_eol(char*& cursor, int32_t& n)
{
    char* p = cursor;
    if (scan_number_eol(p, n)) {
        cursor = p;
        return true;
    }
    return read_number_eol_slowly(cursor, n);
}

[[gnu::noinline]] static bool read_eol_slowly(char*& cursor)
{
    return expect_tokens(cursor, {{TOKEN_EOL}});
}

bool read_eol(char*& cursor)
{
    char* p = cursor;
    if (scan_eol(p)) {
        cursor = p;
        return true;
    }
    return read_eol_slowly(cursor);
}

[[gnu::noinline]] static bool read_reg_eol_slowly(char*& cursor, int32_t& rs)
{
    Token reg{};
    bool ok = expect_tokens(cursor, {{TOKEN_REGISTER, &reg}, {TOKEN_EOL}});
    rs = reg.value;
    return ok;
}

bool read_reg_eol(char*& cursor, int32_t& rs)
{
    char* p = cursor;
    if (scan_register(p, rs) && scan_eol(p)) {
        cursor = p;
        return true;
    }
    return read_reg_eol_slowly(cursor, rs);
}

[[gnu::noinline]] static bool read_two_regs_slowly(char*& cursor, int32_t& rd, int32_t& rs)
{
    Token first{}, second{};
    bool ok = expect_tokens(cursor, {{TOKEN_REGISTER, &first}, {','},
                                     {TOKEN_REGISTER, &second}, {TOKEN_EOL}});
    rd = first.value;
    rs = second.value;
    return ok;
}

bool read_two_regs(char*& cursor, int32_t& rd, int32_t& rs)
{
    char* p = cursor;
    if (scan_register(p, rd) && scan_char(p, ',') && scan_register(p, rs) && scan_eol(p)) {
        cursor = p;
        return true;
    }
    return read_two_regs_slowly(cursor, rd, rs);
}

[[gnu::noinline]] static bool read_reg_number_slowly(char*& cursor, int32_t& rs, int32_t& n)
{
    Token reg{};
    bool ok = expect_tokens(cursor, {{TOKEN_REGISTER, &reg}, {','}}) && read_number_eol(cursor, n);
    rs = reg.value;
    return ok;
}

bool read_reg_number(char*& cursor, int32_t& rs, int32_t& n)
{
    char* p = cursor;
    if (scan_register(p, rs) && scan_char(p, ',') && scan_number_eol(p, n)) {
        cursor = p;
        return true;
    }
    return read_reg_number_slowly(cursor, rs, n);
}

[[gnu::noinline]] static bool read_two_regs_number_slowly(char*& cursor, int32_t& rd,
                                                          int32_t& rs, int32_t& n)
{
    Token first{}, second{};
    bool ok = expect_tokens(cursor, {{TOKEN_REGISTER, &first}, {','},
                                     {TOKEN_REGISTER, &second}, {','}}) &&
              read_number_eol(cursor, n);
    rd = first.value;
    rs = second.value;
    return ok;
}

bool read_two_regs_number(char*& cursor, int32_t& rd, int32_t& rs, int32_t& n)
{
    char* p = cursor;
    if (scan_register(p, rd) && scan_char(p, ',') && scan_register(p, rs) &&
        scan_char(p, ',') && scan_number_eol(p, n)) {
        cursor = p;
        return true;
    }
    return read_two_regs_number_slowly(cursor, rd, rs, n);
}

// The common memory operands: "number", "(register)" and "number(register)".
[[gnu::always_inline]] inline static bool scan_mem_operand(char*& p, int32_t& offset,
                                                           int32_t& base)
{
    bool numbered = scan_number(p, offset);
    if (!numbered) {
        offset = 0;
    }
    base = 0;
    if (scan_char(p, '(')) {
        if (!scan_register(p, base) || !scan_char(p, ')')) {
            return false;
        }
    } else if (!numbered) {
        return false;
    }
    return scan_eol(p);
}

[[gnu::noinline]] static bool read_reg_mem_slowly(char*& cursor, int32_t& rd,
                                                  SymbolHandle& symbol, int32_t& offset,
                                                  int32_t& base)
{
    Token reg{};
    if (!expect_tokens(cursor, {{TOKEN_REGISTER, &reg}, {','}})) {
        return false;
    }
    rd = reg.value;
    int32_t misses = symbol_misses;
    if (!parse_mem_operand(cursor, symbol, offset, base)) {
        return syntax_error();
    }
    return operand_symbols_usable(misses);
}

bool read_reg_mem(char*& cursor, int32_t& rd, SymbolHandle& symbol, int32_t& offset,
                  int32_t& base)
{
    char* p = cursor;
    if (scan_register(p, rd) && scan_char(p, ',') && scan_mem_operand(p, offset, base)) {
        symbol = 0;
        cursor = p;
        return true;
    }
    return read_reg_mem_slowly(cursor, rd, symbol, offset, base);
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
