// The pass over one source file: lines and their notes, labels, dispatch by mnemonic number
// (or to the dot directives), and the directives global, align, byte, word and bss.
#include "asm.h"

#include <cerrno>
#include <cstring>

static void directive_global(char*& cursor)
{
    SymbolHandle symbol;
    if (read_symbol_eol(cursor, symbol)) {
        make_global(symbol);
    }
}

static void directive_align(char*& cursor)
{
    int32_t n;
    if (!read_number_eol(cursor, n)) {
        return;
    }
    // 0 and the negative numbers are no powers of two, though n & (n - 1) lets some through.
    if (n <= 0 || (n & (n - 1)) != 0) {
        report_error("alignment %d is not a power of 2", n);
        return;
    }
    align_to(static_cast<uint32_t>(n));
}

static void directive_byte(char*& cursor)
{
    int32_t n;
    if (!read_number(cursor, n)) {
        return;
    }
    if (n < -128 || n > 255) {
        report_warning("value %d does not fit in 8 bits", n);
    }
    // One value per line: the rest is looked at but not read as tokens, so that a name
    // there does not become a symbol.
    while (is_space(static_cast<unsigned char>(*cursor))) {
        cursor++;
    }
    if (*cursor != '\0' && *cursor != ';') {
        report_warning("text after the byte value is ignored");
        report_note(current_file, current_line, "'.byte' lays down a list of values");
    }
    emit_byte(n);
}

static void directive_word(char*& cursor)
{
    SymbolHandle symbol;
    int32_t n;
    if (!read_word_expr(cursor, symbol, n)) {
        return;
    }
    if (symbol == 0) {
        warn_unless_16_bits(n);
    } else {
        emit_even();
        add_fixup(FIXUP_WORD, symbol, n);
    }
    emit_word(n);
}

static void directive_bss(char*& cursor)
{
    int32_t n;
    if (!read_number_eol(cursor, n)) {
        return;
    }
    if (n <= 0) {
        report_error("bss %d is not positive", n);
        return;
    }
    if ((n & 1) == 0) {
        align_to(2);
    }
    // A block that ends exactly at the end of the image fits; one that runs past it does not.
    uint32_t room = static_cast<uint32_t>(IMAGE_SIZE - location_counter);
    uint32_t count = static_cast<uint32_t>(n) < room ? static_cast<uint32_t>(n) : room;
    std::memset(CodeImage + location_counter, 0, count);
    location_counter += static_cast<int32_t>(count);
    if (count < static_cast<uint32_t>(n)) {
        emit_byte(0);
    }
}

// The note after a line whose first word, the `length` characters at `word`, is no mnemonic:
// the mnemonic it spells in lower case, else the nearest one (within two edits and fewer
// than the word's letters, the first in table order), else, where the word could be a label,
// the colon it lacks.
[[gnu::cold]] static void note_first_word(const char* word, size_t length, bool may_be_label)
{
    char lower[TEXT_BUF];
    for (size_t i = 0; i < length; i++) {
        lower[i] = word[i] >= 'A' && word[i] <= 'Z' ? static_cast<char>(word[i] + 'a' - 'A')
                                                    : word[i];
    }
    lower[length] = '\0';
    const char* nearest = nullptr;
    int32_t best = 3;
    for (const InstructionRow& row : InstructionTable) {
        if (std::strcmp(lower, row.name) == 0) {
            report_note(current_file, current_line, "mnemonics are lower case: '%s'", row.name);
            return;
        }
        int32_t distance = edit_distance(lower, length, row.name);
        if (row.handler != HANDLER_NONE && distance < best &&
            static_cast<size_t>(distance) < length) {
            best = distance;
            nearest = row.name;
        }
    }
    int shown = static_cast<int>(length);
    if (nearest != nullptr) {
        report_note(current_file, current_line, "'%.*s' is not a mnemonic; did you mean '%s'?",
                    shown, word, nearest);
    } else if (may_be_label) {
        report_note(current_file, current_line,
                    "'%.*s' is not a mnemonic, and a label needs a ':'", shown, word);
    }
}

// The length of the name at `p`.
static size_t word_length(const char* p)
{
    const char* end = p;
    while ((class_of(end) & CLASS_WORD) != 0) {
        end++;
    }
    return static_cast<size_t>(end - p);
}

// One line: an optional label, then a statement. `line` is the stripped source text and
// `cursor` its first character that is no white space; a blank or comment line holds neither.
static void assemble_line(char* line, char* cursor)
{
    char* word = cursor;
    Token token = next_token(cursor);
    if (token.kind == TOKEN_SYMBOL) {
        SymbolHandle label = token.value;
        if (next_token(cursor).kind != ':') {
            report_error("syntax error: %s", line);
            note_first_word(word, word_length(word), true);
            return;
        }
        if (!symbol_usable(label) || !define_label(label)) {
            return;
        }
        word = cursor;
        token = next_token(cursor);
    }
    if (token.kind == TOKEN_EOL) {
        return;
    }
    if (token.kind != TOKEN_MNEMONIC) {
        if (token.kind == '.') {
            assemble_dot_directive(cursor);
        } else {
            report_error("syntax error; expecting opcode");
            if (token.kind == TOKEN_SYMBOL) {
                while (is_space(static_cast<unsigned char>(*word))) {
                    word++;
                }
                note_first_word(word, word_length(word), false);
            }
        }
        return;
    }
    // Instructions come first in mnemonic order; the directives follow them.
    if (token.value < MN_GLOBAL) {
        assemble_statement(token.value, cursor);
        return;
    }
    switch (token.value) {
    case MN_GLOBAL:
        directive_global(cursor);
        break;
    case MN_ALIGN:
        directive_align(cursor);
        break;
    case MN_BYTE:
        directive_byte(cursor);
        break;
    case MN_WORD:
        directive_word(cursor);
        break;
    case MN_BSS:
        directive_bss(cursor);
        break;
    }
}

// The listing's "# file" note for the file being read.
static void file_note()
{
    char note[TEXT_BUF];
    char shown[TEXT_BUF];
    std::snprintf(note, sizeof note, "# file %s", shown_path(current_file, shown, sizeof shown));
    add_note(note);
}

// Each line with its note when the listing keeps notes; without them, blank and comment
// lines need nothing but their count. After an included file the includer's note follows.
void assemble_source()
{
    file_note();
    SourceLine line;
    while (next_line(line, !notes_wanted || note_count >= MAX_NOTES)) {
        add_line_note(line.text, line.length);
        if (line.cut) {
            report_warning("line longer than 511 characters: the rest is read as the next line");
        }
        assemble_line(line.text, line.start);
    }
    close_source();
    if (current_file != nullptr) {
        file_note();
    }
}

// Assembles the lines of the file at `path`, with those of every file it includes.
void assemble_file(const char* path)
{
    file_number++;
    if (file_number <= MAX_SOURCES) {
        FilePaths[file_number] = path;
    }
    if (!open_source(path)) {
        current_file = path;
        report_file_error("cannot open '%s' (%s)", path, errno);
        current_file = nullptr;
        return;
    }
    assemble_source();
}
