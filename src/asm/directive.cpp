// The directives whose names start with a dot: named constants, data lists and strings,
// include files and .org. No plain name is reserved for them, and each is an error to a
// reader that does not know it, so none of them changes a program written without them.
#include "asm.h"

#include <cerrno>
#include <cstring>

static char* skip_blank(char* p)
{
    while (class_of(p) == CLASS_SPACE) {
        p++;
    }
    return p;
}

// Whether a comma follows, which is then read.
static bool accept_comma(char*& cursor)
{
    char* p = skip_blank(cursor);
    if (*p != ',') {
        return false;
    }
    cursor = p + 1;
    return true;
}

// The string "..." that starts at `cursor`: its bytes, escapes applied, go to bytes[count..].
// Every byte takes at least one character of the line, so a line's bytes fit TEXT_BUF.
static bool read_string(char*& cursor, int32_t* bytes, int32_t& count)
{
    const char* p = cursor + 1;
    int32_t c;
    while ((c = read_quoted_char(p, '"')) >= 0) {
        bytes[count++] = c;
    }
    cursor = const_cast<char*>(p);
    if (c != QUOTE_CLOSED) {
        report_quote_error(c);
        return false;
    }
    return true;
}

// .equ NAME, EXPR: the name stands for the value from here on. It is a label's or another
// constant's symbol record, so it is scoped, made global and resolved as labels are.
static void directive_equ(char*& cursor)
{
    char* start = cursor;
    Token name = next_token(cursor);
    if (name.kind != TOKEN_SYMBOL) {
        token_error(name, start, cursor, WANT_NAME);
        return;
    }
    start = cursor;
    Token comma = next_token(cursor);
    int32_t value;
    if ((comma.kind != ',' && !token_error(comma, start, cursor, ',')) ||
        !read_expression(cursor, value) ||
        !read_eol(cursor) || !symbol_usable(name.value)) {
        return;
    }
    SymbolRecord& record = symbol_record(name.value);
    if (record.defined == SYMBOL_LABEL) {
        report_error("'%s' is already a label", record.name);
    } else if (record.defined == SYMBOL_CONSTANT && record.value != value) {
        report_error("constant '%s' redefined with another value", record.name);
    } else {
        define_symbol(record, value, SYMBOL_CONSTANT);
    }
}

// .byte, .ascii and .asciz: every item is read before the first byte is laid down. A string
// lays down its bytes (.asciz a zero after them), an expression one byte, as byte does.
static void byte_list(char*& cursor, bool strings_only, bool zero_after)
{
    int32_t values[TEXT_BUF];
    int32_t count = 0;
    do {
        char* p = skip_blank(cursor);
        if (*p == '"') {
            cursor = p;
            if (!read_string(cursor, values, count)) {
                return;
            }
            if (zero_after) {
                values[count++] = 0;
            }
        } else if (strings_only) {
            Token token = next_token(cursor);
            token_error(token, p, cursor, WANT_STRING);
            return;
        } else if (!read_expression(cursor, values[count++])) {
            return;
        }
    } while (accept_comma(cursor));
    if (!read_eol(cursor)) {
        return;
    }
    for (int32_t i = 0; i < count; i++) {
        if (values[i] < -128 || values[i] > 255) {
            report_warning("value %d does not fit in 8 bits", values[i]);
        }
        emit_byte(values[i]);
    }
}

static void directive_byte(char*& cursor)
{
    byte_list(cursor, false, false);
}

static void directive_ascii(char*& cursor)
{
    byte_list(cursor, true, false);
}

static void directive_asciz(char*& cursor)
{
    byte_list(cursor, true, true);
}

// .word: one word per item, each as word lays it down: a symbol's word through a fixup.
static void directive_word(char*& cursor)
{
    SymbolHandle symbols[TEXT_BUF];
    int32_t values[TEXT_BUF];
    int32_t count = 0;
    do {
        if (!read_word_item(cursor, symbols[count], values[count])) {
            return;
        }
        count++;
    } while (accept_comma(cursor));
    if (!read_eol(cursor)) {
        return;
    }
    for (int32_t i = 0; i < count; i++) {
        if (symbols[i] == 0) {
            warn_unless_16_bits(values[i]);
        } else {
            emit_even();
            add_fixup(FIXUP_WORD, symbols[i], values[i]);
        }
        emit_word(values[i]);
    }
}

// .include "PATH": the file's lines, read here as if they stood in this file.
static void directive_include(char*& cursor)
{
    int32_t bytes[TEXT_BUF];
    int32_t count = 0;
    char* p = skip_blank(cursor);
    if (*p != '"') {
        Token token = next_token(cursor);
        token_error(token, p, cursor, WANT_STRING);
        return;
    }
    cursor = p;
    if (!read_string(cursor, bytes, count) || !read_eol(cursor)) {
        return;
    }
    char name[TEXT_BUF];
    for (int32_t i = 0; i < count; i++) {
        name[i] = static_cast<char>(bytes[i]);
    }
    name[count] = '\0';
    // A path holds no zero byte: the system would read a shorter one.
    if (std::strlen(name) != static_cast<size_t>(count)) {
        report_file_error("cannot open '%s' (%s)", name, EINVAL);
    } else if (open_include(name)) {
        assemble_source();
    }
}

// .org EXPR: zero bytes up to the address EXPR, read as unsigned; past the image's end
// the image is full.
static void directive_org(char*& cursor)
{
    int32_t value;
    if (!read_expression(cursor, value) || !read_eol(cursor)) {
        return;
    }
    uint32_t target = static_cast<uint32_t>(value);
    uint32_t lc = static_cast<uint32_t>(location_counter);
    if (target < lc) {
        report_error("org %04X is below the location counter %04X", target, lc);
        return;
    }
    uint32_t end = target < static_cast<uint32_t>(IMAGE_SIZE) ? target : IMAGE_SIZE;
    std::memset(CodeImage + lc, 0, end - lc);
    location_counter = static_cast<int32_t>(end);
    if (target > static_cast<uint32_t>(IMAGE_SIZE)) {
        emit_byte(0);                    // reports the full image
    }
}

// The directives by name, without the dot; looked up only for lines that start with one.
struct DotDirectiveRow { const char* name; void (*read)(char*& cursor); };
constexpr DotDirectiveRow DotDirectiveTable[] = {
    {"equ",     directive_equ},
    {"byte",    directive_byte},
    {"word",    directive_word},
    {"ascii",   directive_ascii},
    {"asciz",   directive_asciz},
    {"include", directive_include},
    {"org",     directive_org},
};

void assemble_dot_directive(char*& cursor)
{
    char* end = cursor;
    while ((class_of(end) & CLASS_WORD) != 0) {
        end++;
    }
    size_t length = static_cast<size_t>(end - cursor);
    for (const DotDirectiveRow& row : DotDirectiveTable) {
        if (std::strlen(row.name) == length && std::memcmp(row.name, cursor, length) == 0) {
            cursor = end;
            row.read(cursor);
            return;
        }
    }
    report_error("unknown directive '.%.*s'", static_cast<int>(length), cursor);
}
