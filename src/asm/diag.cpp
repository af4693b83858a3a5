// Diagnostics and listing notes: report_error prints, counts and records every problem, and
// report_warning does the same for what is doubtful without counting it, and report_note adds
// what explains either; the NoteTable keeps, in recording order, the notes the listing shows.
#include "asm.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdarg>
#include <cstring>

ListingNote NoteTable[MAX_NOTES];
int32_t note_count;
int32_t error_count;
const char* program_name;
bool notes_wanted = true;
const char* current_file;
int64_t current_line;

// Note texts live in one pool, appended in order: a note costs its own length and no
// allocation. The pool can hold every note at its longest, so a copy never fails.
static char note_pool[static_cast<size_t>(MAX_NOTES) * TEXT_BUF];
static size_t note_pool_used;

// Whether a note is to be kept. Only the listing reads the notes: without one, a run keeps
// none and copies no line. A full table drops every further note, of every kind, without a
// word.
static bool note_wanted()
{
    return notes_wanted && note_count < MAX_NOTES;
}

// Enters the next note, of `length` characters, whose text the caller has copied to the
// pool's end, and ends that text.
static void enter_note(size_t length)
{
    note_pool[note_pool_used + length] = '\0';
    NoteTable[note_count].address = location_counter;
    NoteTable[note_count].text = static_cast<uint32_t>(note_pool_used);
    note_pool_used += length + 1;
    note_count++;
}

void add_line_note(const char* text, size_t length)
{
    if (!note_wanted()) {
        return;
    }
    if (length > static_cast<size_t>(TEXT_MAX)) {
        length = TEXT_MAX;
    }
    std::memcpy(note_pool + note_pool_used, text, length);
    enter_note(length);
}

void add_note(const char* text)
{
    add_line_note(text, notes_wanted ? std::strlen(text) : 0);
}

const char* note_text(int32_t k)
{
    return note_pool + NoteTable[k].text;
}

// Texts lie one after the other in the pool, each with its NUL, so a note's length is the
// distance to the next note's text (or to the end of the pool) less one.
size_t note_length(int32_t k)
{
    size_t end = k + 1 < note_count ? NoteTable[k + 1].text : note_pool_used;
    return end - NoteTable[k].text - 1;
}

// Formats into a TEXT_BUF buffer; a longer result is cut to 511 characters on purpose.
[[gnu::format(printf, 2, 3)]] static void format_cut(char* out, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vsnprintf(out, TEXT_BUF, format, args);
    va_end(args);
}

// Prints one diagnostic and records its note. Standard error gets the program name, the
// position (`path` and `line`, as far as known), `severity` and the message; the note is
// `kind` followed by the position and the message. Each text is cut to 511 characters.
[[gnu::format(printf, 5, 0)]] static void report(const char* severity, const char* kind,
                                                 const char* path, int64_t line,
                                                 const char* format, va_list args)
{
    char message[TEXT_BUF];
    std::vsnprintf(message, sizeof message, format, args);

    char position[TEXT_BUF];
    char shown[TEXT_BUF];
    if (path != nullptr && line != 0) {
        format_cut(position, "%s(%" PRId64 "): ", shown_path(path, shown, sizeof shown), line);
    } else if (path != nullptr) {
        format_cut(position, "%s: ", shown_path(path, shown, sizeof shown));
    } else {
        position[0] = '\0';
    }

    char text[TEXT_BUF];
    format_cut(text, "%s%s%s", position, severity, message);
    if (program_name != nullptr) {
        std::fprintf(stderr, "%s: ", shown_path(program_name, shown, sizeof shown));
    }
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);

    char note[TEXT_BUF];
    format_cut(note, "%s%s%s", kind, position, message);
    add_note(note);
}

void report_error(const char* format, ...)
{
    error_count++;
    va_list args;
    va_start(args, format);
    report("", "# error ", current_file, current_line, format, args);
    va_end(args);
}

// A warning says what the assembler did with a doubtful line; it counts as no error, so it
// changes neither the exit status nor which outputs remain.
void report_warning(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    report("warning: ", "# warning ", current_file, current_line, format, args);
    va_end(args);
}

// A note explains the diagnostic just reported, at the place it names, which may lie in a
// file read before; it counts as nothing and changes no output but the listing.
void report_note(const char* path, int64_t line, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    report("note: ", "# note ", path, line, format, args);
    va_end(args);
}

const char* shown_path(const char* path, char* out, size_t size)
{
    const char* p = path;
    while (*p != '\0' && static_cast<unsigned char>(*p) >= 0x20 && *p != 0x7F) {
        p++;
    }
    if (*p == '\0') {
        return path;
    }
    static const char Digits[] = "0123456789ABCDEF";
    size_t used = 0;
    for (p = path; *p != '\0' && used + 4 < size; p++) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c == 0x7F) {
            out[used++] = '\\';
            out[used++] = 'x';
            out[used++] = Digits[c >> 4];
            out[used++] = Digits[c & 15];
        } else {
            out[used++] = static_cast<char>(c);
        }
    }
    out[used] = '\0';
    return out;
}

void report_file_error(const char* format, const char* path, int error)
{
    char shown[TEXT_BUF];
    report_error(format, shown_path(path, shown, sizeof shown),
                 std::strerror(error != 0 ? error : EIO));
}

void report_once(bool& reported, const char* message)
{
    if (!reported) {
        reported = true;
        report_error("%s", message);
    }
}

void reset_notes()
{
    note_count = 0;
    note_pool_used = 0;
    notes_wanted = true;
    error_count = 0;
    current_file = nullptr;
    current_line = 0;
}

// Levenshtein's distance, one row at a time; a difference in length of more than 2, or a name
// longer than the row, is far at once, so a long text costs nothing.
int32_t edit_distance(const char* text, size_t length, const char* name)
{
    constexpr int32_t FAR = 3;
    constexpr size_t ROW = 32;
    size_t name_length = std::strlen(name);
    if (name_length >= ROW || length > name_length + 2 || name_length > length + 2) {
        return FAR;
    }
    int32_t row[ROW];
    for (size_t j = 0; j <= name_length; j++) {
        row[j] = static_cast<int32_t>(j);
    }
    for (size_t i = 1; i <= length; i++) {
        int32_t diagonal = row[0];
        row[0] = static_cast<int32_t>(i);
        for (size_t j = 1; j <= name_length; j++) {
            int32_t above = row[j];
            int32_t change = diagonal + (text[i - 1] != name[j - 1] ? 1 : 0);
            row[j] = std::min({change, above + 1, row[j - 1] + 1});
            diagonal = above;
        }
    }
    return std::min(row[name_length], FAR);
}
