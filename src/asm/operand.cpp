// Operand parsers: fixed token sequences, signed numbers, word expressions and memory
// operands. None of them backtracks; a token read is consumed whether it fits or not.
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

bool expect_tokens(char*& cursor, std::initializer_list<Expect> list)
{
    for (const Expect& item : list) {
        Token token = next_token(cursor);
        if (token.kind != item.kind) {
            report_error("syntax error");
            return false;
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

bool read_number_eol(char*& cursor, int32_t& n)
{
    if (!parse_number(cursor, n)) {
        report_error("syntax error");
        return false;
    }
    return expect_tokens(cursor, {{TOKEN_EOL}});
}

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
