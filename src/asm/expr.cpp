// Constant expressions: numbers, character literals and constants defined above, combined
// with C's operators and precedence in 32-bit two's complement arithmetic that wraps. They
// are read where a value must be known at once: .equ, .org and the data lists.
#include "asm.h"

// The binary operator at `p` and how tightly it binds: 6 for * / %, 5 for + -, 4 for the
// shifts << >>, 3 for &, 2 for ^, 1 for |; 0 for anything else. Shifts are two characters.
constexpr int32_t MULTIPLY_LEVEL = 6;
constexpr int32_t SHIFT_LEVEL = 4;

static int32_t binary_level(const char* p)
{
    switch (*p) {
    case '*': case '/': case '%': return MULTIPLY_LEVEL;
    case '+': case '-': return 5;
    case '<': case '>': return p[1] == p[0] ? SHIFT_LEVEL : 0;
    case '&': return 3;
    case '^': return 2;
    case '|': return 1;
    }
    return 0;
}

static char* skip_blank(char* p)
{
    while (class_of(p) == CLASS_SPACE) {
        p++;
    }
    return p;
}

// a op b, or false after reporting why it has no value. Division truncates toward zero, and
// the one quotient that overflows, INT_MIN / -1, wraps to INT_MIN; >> keeps the sign.
static bool apply(char op, int32_t a, int32_t b, int32_t& result)
{
    uint32_t ua = static_cast<uint32_t>(a);
    uint32_t ub = static_cast<uint32_t>(b);
    if ((op == '/' || op == '%') && b == 0) {
        report_error("division by zero");
        return false;
    }
    if ((op == '<' || op == '>') && (b < 0 || b > 31)) {
        report_error("shift count %d is out of range", b);
        return false;
    }
    switch (op) {
    case '*': result = static_cast<int32_t>(ua * ub); break;
    case '/': result = b == -1 ? static_cast<int32_t>(0 - ua) : a / b; break;
    case '%': result = b == -1 ? 0 : a % b; break;
    case '+': result = static_cast<int32_t>(ua + ub); break;
    case '-': result = static_cast<int32_t>(ua - ub); break;
    case '<': result = static_cast<int32_t>(ua << b); break;
    case '>': result = a >> b; break;
    case '&': result = a & b; break;
    case '^': result = a ^ b; break;
    default: result = a | b; break;
    }
    return true;
}

static bool read_binary(char*& cursor, int32_t& value, int32_t min_level);

// A number, a character literal, a constant defined above, a parenthesised expression, or a
// unary - ~ + before one of these.
static bool read_operand(char*& cursor, int32_t& value)
{
    char* start = cursor;
    Token token = next_token(cursor);
    switch (token.kind) {
    case TOKEN_NUMBER:
        value = token.value;
        return true;
    case TOKEN_SYMBOL:
        if (!symbol_usable(token.value)) {
            return false;
        }
        if (!is_constant(token.value)) {
            report_error("'%s' is not a defined constant", symbol_record(token.value).name);
            return false;
        }
        value = symbol_record(token.value).value;
        return true;
    case '(':
        if (!read_binary(cursor, value, 1)) {
            return false;
        }
        start = cursor;
        token = next_token(cursor);
        return token.kind == ')' || token_error(token, start, cursor, ')');
    case '-':
    case '~':
    case '+':
        if (!read_operand(cursor, value)) {
            return false;
        }
        value = token.kind == '-'   ? static_cast<int32_t>(0 - static_cast<uint32_t>(value))
                : token.kind == '~' ? ~value
                                    : value;
        return true;
    }
    return token_error(token, start, cursor, TOKEN_NUMBER);
}

// An operand, then every operator binding at least as tightly as `min_level` with its right
// side; operators of one level associate to the left.
static bool read_binary(char*& cursor, int32_t& value, int32_t min_level)
{
    if (!read_operand(cursor, value)) {
        return false;
    }
    for (;;) {
        char* p = skip_blank(cursor);
        int32_t level = binary_level(p);
        if (level == 0 || level < min_level) {
            return true;
        }
        cursor = p + (level == SHIFT_LEVEL ? 2 : 1);
        int32_t right;
        if (!read_binary(cursor, right, level + 1) || !apply(*p, value, right, value)) {
            return false;
        }
    }
}

bool read_expression(char*& cursor, int32_t& value)
{
    return read_binary(cursor, value, 1);
}

// A name that is no constant defined above starts a symbol, resolved after the last file,
// and + or - terms may follow it, each a product or better; anything else is an expression.
// The first token is read again as the expression's: lexing a name twice finds one record.
bool read_word_item(char*& cursor, SymbolHandle& symbol, int32_t& value)
{
    char* start = cursor;
    Token token = next_token(cursor);
    symbol = 0;
    value = 0;
    if (token.kind != TOKEN_SYMBOL || is_constant(token.value)) {
        cursor = start;
        return read_expression(cursor, value);
    }
    if (!symbol_usable(token.value)) {
        return false;
    }
    symbol = token.value;
    for (char* p; *(p = skip_blank(cursor)) == '+' || *p == '-';) {
        cursor = p + 1;
        int32_t term;
        if (!read_binary(cursor, term, MULTIPLY_LEVEL)) {
            return false;
        }
        apply(*p, value, term, value);
    }
    return true;
}
