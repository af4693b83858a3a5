// Golden-case runner: assembles the source files named on its command line, in order, through
// the library, resolves the fixups, then holds the image and the note table against the markers
// written in the comments of the source lines. Exit status 0 when every marker holds, else 1.
//
// The comment of a line (from its first ';') is split into clauses at every further ';' that is
// followed by one of these markers; only the first clause may be plain comment text:
//   => F001 6230      the bytes the line owns in the final image, from its line note's address up
//                     to the next line note's (the final location counter after the last line).
//                     Spaces are ignored; a group followed by *N stands for N copies ("00*240").
//                     A line without this marker must own no bytes.
//   error: text       one diagnostic on this line; give one clause per diagnostic, in the order
//                     they are reported. An @ in the text stands for the whole stripped line.
//   warning: text     one warning on this line, in that same order among the line's errors.
//   late error: text  one diagnostic with no position after the last file; these are checked in
//                     order across all files.
//   scope: name N     a symbol record of that name has scope N (0 is global, else a file number).
// A file whose first line is "; absent" is not assembled: "<path>.absent", which must not exist,
// goes to the assembler in its place and must be reported as "cannot open", without a line.
// Lines are counted as the assembler reads them: one longer than 511 characters counts as two.
#include "asm.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

using Texts = std::vector<std::string>;

struct Line {
    std::string text;                    // stripped, as its line note must read
    bool has_bytes = false;
    std::string want;                    // expected bytes as upper-case hex digits
    Texts errors, got, late;
    std::string scope_name;
    int scope = -1;
    int32_t address = -1;                // from its line note; -1 until the note is seen
};
struct Source {
    std::string path;                    // as given to assemble_file
    bool absent = false, opened = false;
    std::vector<Line> lines;
    Texts file_want, file_got;   // diagnostics with the path alone
};

static std::vector<Source> sources;
static int failures = 0;

static void fail(const std::string& where, const std::string& message)
{
    std::printf("%s: %s\n", where.c_str(), message.c_str());
    ++failures;
}

static std::string at(const Source& s, size_t index)
{
    return s.path + ":" + std::to_string(index + 1);
}

static bool starts(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

static std::string trim(const std::string& text)
{
    size_t a = text.find_first_not_of(" \t"), b = text.find_last_not_of(" \t");
    return a == std::string::npos ? "" : text.substr(a, b - a + 1);
}

// Reads "=> hex" groups into upper-case digits; false when a group is not hex[*count].
static bool parse_bytes(const std::string& text, std::string& digits)
{
    size_t pos = 0;
    while ((pos = text.find_first_not_of(' ', pos)) != std::string::npos) {
        size_t end = text.find(' ', pos);
        std::string group = text.substr(pos, end == std::string::npos ? end : end - pos);
        pos = end;
        size_t star = group.find('*');
        std::string hex = group.substr(0, star);
        long count = 1;
        if (star != std::string::npos) {
            char* stop = nullptr;
            count = std::strtol(group.c_str() + star + 1, &stop, 10);
            if (*stop != 0 || count <= 0 || star + 1 == group.size()) return false;
        }
        if (hex.empty() || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return false;
        for (char& c : hex) c = static_cast<char>(c >= 'a' ? c - 32 : c);
        for (long i = 0; i < count; ++i) digits += hex;
        if (pos == std::string::npos) break;
    }
    return !digits.empty() && digits.size() % 2 == 0;
}

// True for a clause that starts like a marker, well-formed or not.
static bool is_marker(const std::string& clause)
{
    return starts(clause, "=") || starts(clause, "error") || starts(clause, "late error") ||
           starts(clause, "warning") || starts(clause, "scope");
}

static void parse_markers(Source& s, size_t index)
{
    Line& line = s.lines[index];
    size_t semi = line.text.find(';');
    if (starts(line.text, "# error ") || starts(line.text, "# warning ") ||
        starts(line.text, "# file "))
        fail(at(s, index), "line would read as a note of another kind");
    for (bool first = true; semi != std::string::npos; first = false) {
        size_t next = semi;
        do next = line.text.find(';', next + 1);
        while (next != std::string::npos && !is_marker(trim(line.text.substr(next + 1))));
        std::string clause = trim(line.text.substr(semi + 1, next == std::string::npos
                                                                 ? next : next - semi - 1));
        semi = next;
        if (starts(clause, "=>")) {
            if (line.has_bytes || !parse_bytes(clause.substr(2), line.want))
                fail(at(s, index), "malformed marker '" + clause + "'");
            line.has_bytes = true;
        } else if (starts(clause, "error:") || starts(clause, "late error:") ||
                   starts(clause, "warning:")) {
            // Warnings share the list of the line's errors, marked by their prefix.
            bool late = clause[0] == 'l', warning = clause[0] == 'w';
            std::string text;
            for (char c : trim(clause.substr(late ? 11 : warning ? 8 : 6)))
                text += c == '@' ? line.text : std::string(1, c);
            if (text.empty()) fail(at(s, index), "malformed marker '" + clause + "'");
            (late ? line.late : line.errors).push_back((warning ? "warning: " : "") + text);
        } else if (starts(clause, "scope:")) {
            char name[TEXT_BUF] = "";
            if (std::sscanf(clause.c_str() + 6, " %511s %d", name, &line.scope) != 2 ||
                line.scope < 0)
                fail(at(s, index), "malformed marker '" + clause + "'");
            line.scope_name = std::string(name).substr(0, NAME_MAX_CHARS);
        } else if (!first || starts(clause, "=")) {
            fail(at(s, index), "malformed marker '" + clause + "'");
        }
    }
}

// Reads a source the way the assembler does: 511-character pieces, trailing white space removed.
static void load_source(Source& s)
{
    std::FILE* stream = std::fopen(s.path.c_str(), "rb");
    if (!stream) return fail(s.path, std::string("cannot read (") + std::strerror(errno) + ")");
    char buffer[TEXT_BUF];
    while (std::fgets(buffer, sizeof buffer, stream)) {
        std::string text = buffer;
        size_t end = text.find_last_not_of(" \t\r\n\v\f");
        text.erase(end == std::string::npos ? 0 : end + 1);
        if (s.lines.empty() && text == "; absent") s.absent = true;
        s.lines.emplace_back();
        s.lines.back().text = text;
        parse_markers(s, s.lines.size() - 1);
    }
    std::fclose(stream);
    if (!s.absent) return;
    s.path += ".absent";
    struct stat info;
    if (stat(s.path.c_str(), &info) == 0) fail(s.path, "must not exist");
    s.lines.clear();
    s.file_want.push_back("cannot open '" + s.path + "' (" + std::strerror(ENOENT) + ")");
}

static std::string show(const std::string& digits)
{
    std::string out;
    for (size_t i = 0; i < digits.size() && i < 64; i += 4) out += digits.substr(i, 4) + " ";
    if (digits.size() > 64) out += "... (" + std::to_string(digits.size() / 2) + " bytes)";
    return out.empty() ? "nothing" : trim(out);
}

// Compares diagnostics in order; where[i] names the place of the i-th (the last serves the rest).
static void compare_errors(const Texts& where, const char* kind,
                           const Texts& want, const Texts& got)
{
    for (size_t i = 0; i < want.size() || i < got.size(); ++i) {
        const std::string& place = where[std::min(i, where.size() - 1)];
        if (i >= got.size())
            fail(place, std::string("missing ") + kind + " '" + want[i] + "'");
        else if (i >= want.size())
            fail(place, std::string("unexpected ") + kind + " '" + got[i] + "'");
        else if (want[i] != got[i])
            fail(place, std::string("want ") + kind + " '" + want[i] + "', got '" + got[i] + "'");
    }
}

// Walks the note table in recording order: "# file" notes open each source, line notes give
// each line its address, error and warning notes land on the line (or file) named by their
// position.
static void walk_notes(Texts& late)
{
    int cur = -1;
    size_t line = 0;
    for (int32_t i = 0; i < note_count; ++i) {
        std::string text = note_text(i);
        bool warning = starts(text, "# warning ");
        if (starts(text, "# error ") || warning) {
            std::string tag = warning ? "warning: " : "";
            std::string rest = text.substr(warning ? 10 : 8);
            int owner = -1;
            for (size_t k = 0; k < sources.size(); ++k)
                if (starts(rest, sources[k].path.c_str()) &&
                    (owner < 0 || sources[k].path.size() > sources[owner].path.size()))
                    owner = static_cast<int>(k);
            std::string after = owner < 0 ? "" : rest.substr(sources[owner].path.size());
            size_t close = after.find("): ");
            if (starts(after, ": ")) {
                sources[owner].file_got.push_back(tag + after.substr(2));
            } else if (starts(after, "(") && close != std::string::npos) {
                if (owner != cur || after.substr(1, close - 1) != std::to_string(line) || !line)
                    fail(sources[owner].path, "error note out of place: " + text);
                else
                    sources[cur].lines[line - 1].got.push_back(tag + after.substr(close + 3));
            } else {
                if (NoteTable[i].address != location_counter)
                    fail("late", "note not at the end of the image: " + text);
                late.push_back(tag + rest);
            }
            continue;
        }
        if (!late.empty()) fail("late", "note after a late error: " + text);
        if (starts(text, "# file ")) {
            int next = cur + 1;
            while (next < static_cast<int>(sources.size()) && sources[next].path != text.substr(7))
                ++next;
            if (next == static_cast<int>(sources.size())) return fail("notes", "stray " + text);
            for (int k = cur + 1; k < next; ++k)
                if (!sources[k].absent) fail(sources[k].path, "no file note");
            cur = next;
            sources[cur].opened = true;
            line = 0;
        } else if (cur < 0 || line >= sources[cur].lines.size()) {
            fail("notes", "extra line note '" + text + "'");
        } else {
            Line& l = sources[cur].lines[line++];
            if (text != l.text) fail(at(sources[cur], line - 1), "line note reads '" + text + "'");
            l.address = NoteTable[i].address;
        }
    }
}

static void check_late(const Texts& got)
{
    Texts want, where;
    for (Source& s : sources)
        for (size_t i = 0; i < s.lines.size(); ++i)
            for (const std::string& text : s.lines[i].late) {
                want.push_back(text);
                where.push_back(at(s, i));
            }
    where.push_back("late");
    compare_errors(where, "late error", want, got);
}

static void check_bytes()
{
    std::vector<std::pair<Source*, size_t>> order;
    for (Source& s : sources)
        for (size_t i = 0; i < s.lines.size(); ++i)
            if (s.lines[i].address >= 0) order.emplace_back(&s, i);
    for (size_t k = 0; k < order.size(); ++k) {
        Line& l = order[k].first->lines[order[k].second];
        int32_t end = k + 1 < order.size()
                          ? order[k + 1].first->lines[order[k + 1].second].address
                          : location_counter;
        std::string got;
        char hex[3];
        for (int32_t a = l.address; a < end && a < IMAGE_SIZE; ++a) {
            std::snprintf(hex, sizeof hex, "%02X", CodeImage[a]);
            got += hex;
        }
        if (got != l.want) fail(at(*order[k].first, order[k].second),
                                "want " + show(l.want) + ", got " + show(got));
    }
}

static void check_scope(const Source& s, size_t index)
{
    const Line& l = s.lines[index];
    for (int32_t i = 0; i < symbol_count; ++i)
        if (l.scope_name == SymbolTable[i].name && SymbolTable[i].scope == l.scope) return;
    fail(at(s, index), "no symbol '" + l.scope_name + "' of scope " + std::to_string(l.scope));
}

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        sources.emplace_back();
        sources.back().path = argv[i];
        load_source(sources.back());
    }
    for (Source& s : sources) assemble_file(s.path.c_str());
    resolve_fixups();

    Texts late;
    walk_notes(late);
    if (file_number != static_cast<int32_t>(sources.size()))
        fail("run", "file number " + std::to_string(file_number) + " after " +
                        std::to_string(sources.size()) + " files");
    for (Source& s : sources) {
        if (!s.absent && !s.opened) fail(s.path, "no file note");
        compare_errors({s.path}, "error", s.file_want, s.file_got);
        for (size_t i = 0; i < s.lines.size(); ++i) {
            if (s.lines[i].address < 0) fail(at(s, i), "no line note");
            compare_errors({at(s, i)}, "diagnostic", s.lines[i].errors, s.lines[i].got);
            if (s.lines[i].scope >= 0) check_scope(s, i);
        }
    }
    check_late(late);
    check_bytes();
    if (failures) std::printf("%d failure(s)\n", failures);
    return failures ? 1 : 0;
}
