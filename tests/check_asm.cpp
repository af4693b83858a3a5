// Golden-case runner: assembles the files named on its command line, in order, resolves the
// fixups, then holds the image and the listing notes against the markers in the comments of
// the source lines (read as the assembler reads them, in pieces of 511 characters). A marker
// is a ';' followed by one of these, and runs to the next marker or the end of the line:
//   => F001 6230      the bytes the line owns in the final image, from its line note's address
//                     to the next one's; "00*240" is 240 copies of a group. Without it, none.
//   error: TEXT       a diagnostic on this line, in the order reported; @ is the whole line
//   warning: TEXT     a warning on this line, in that same order
//   note: TEXT        a note on this line, in that same order
//   late error: TEXT  a diagnostic without a position after the last file, in order
//   late note: TEXT   a note after the last file that points at this line, after the above
#include "asm.h"

#include <cstdlib>
#include <string>
#include <vector>

using std::string, std::to_string;
using Texts = std::vector<string>;
struct Line {
    string text, want, where;            // stripped text, expected bytes in hex, "file:line"
    Texts want_said, said;               // diagnostics expected and reported on this line
    int32_t address = -1;                // from the line's note
};
static std::vector<std::vector<Line>> files;
static std::vector<string> paths;
static std::vector<Line*> order;         // the lines in the order of their notes
static Texts late_want, late_said;
static int failures;

static void fail(const string& where, const string& message)
{
    std::printf("%s: %s\n", where.c_str(), message.c_str()), ++failures;
}
static bool starts(const string& text, const string& prefix) { return text.rfind(prefix, 0) == 0; }
static string trim(const string& text)
{
    size_t a = text.find_first_not_of(" \t"), b = text.find_last_not_of(" \t");
    return a == string::npos ? "" : text.substr(a, b - a + 1);
}

// "F001 6230", "00*240": the hex digits the groups spell, or "" when one is malformed.
static string hex_groups(const string& text)
{
    string digits, group;
    for (size_t at = 0; at < text.size(); at += group.size() + 1) {
        group = text.substr(at, text.find(' ', at) - at);
        size_t star = group.find('*');
        string hex = group.substr(0, star);
        long count = star == string::npos ? 1 : std::atol(group.c_str() + star + 1);
        if (hex.find_first_not_of("0123456789ABCDEF") != string::npos || count < 1) return "";
        while (count-- > 0) digits += hex;
    }
    return digits.size() % 2 == 0 ? digits : "";
}

static void read_markers(Line& line)
{
    std::vector<size_t> at;              // the ';' that opens each marker
    for (size_t p = line.text.find(';'); p != std::string::npos; p = line.text.find(';', p + 1))
        for (const char* kind : {"=>", "error:", "warning:", "note:", "late error:", "late note:"})
            if (starts(trim(line.text.substr(p + 1)), kind)) at.push_back(p);
    for (size_t k = 0; k < at.size(); ++k) {
        size_t end = k + 1 < at.size() ? at[k + 1] - at[k] - 1 : string::npos;
        string clause = trim(line.text.substr(at[k] + 1, end)), said;
        for (char c : trim(clause.substr(clause.find_first_of(">:") + 1)))
            said += c == '@' ? line.text : string(1, c);
        if (starts(clause, "=>")) line.want += said = hex_groups(said);
        else if (starts(clause, "error:")) line.want_said.push_back(said);
        else if (starts(clause, "late error:")) late_want.push_back(said);
        else line.want_said.push_back(clause.substr(0, clause.find(':')) + ": " + said);
        if (said.empty()) fail(line.where, "malformed marker '" + clause + "'");
    }
}

// The lines of one reading of a file: an included file gets new ones at each .include.
static size_t load(const string& path)
{
    files.emplace_back(), paths.push_back(path);
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    char buffer[TEXT_BUF];
    while (stream && std::fgets(buffer, sizeof buffer, stream)) {
        Line& line = files.back().emplace_back();
        line.text = buffer;
        line.text.erase(line.text.find_last_not_of(" \t\r\n\v\f") + 1);
        line.where = path + ":" + to_string(files.back().size());
        read_markers(line);
    }
    stream ? void(std::fclose(stream)) : fail(path, "cannot read");
    return files.size() - 1;
}

// A note after the last file that names the position of a line read (its first reading):
// that line's "late note". False for any other text.
static bool late_note(const std::string& said)
{
    for (size_t f = 0; f < files.size(); ++f) {
        if (!starts(said, paths[f] + "(")) continue;
        size_t close = said.find("): ", paths[f].size());
        size_t line = std::strtoul(said.c_str() + paths[f].size() + 1, nullptr, 10);
        if (close == std::string::npos || line < 1 || line > files[f].size()) continue;
        files[f][line - 1].said.push_back("late note: " + said.substr(close + 3));
        return true;
    }
    return false;
}

// Walks the notes in recording order: a "# file" note opens the next file, an included one
// or the includer again, a line note gives the next line its address, a diagnostic with the
// current line's position belongs to that line, and any other diagnostic is late, at the
// end of the image after every line; a late note belongs to the line it names.
static void walk_notes(int tops)
{
    std::vector<size_t> open, next(files.size());    // files being read; each one's next line
    int top = 0;
    for (int32_t i = 0; i < note_count; ++i) {
        std::string text = note_text(i);
        bool warning = starts(text, "# warning "), note = starts(text, "# note ");
        size_t file = open.empty() ? 0 : open.back(), line = open.empty() ? 0 : next[file];
        if (warning || note || starts(text, "# error ")) {
            std::string said = text.substr(warning ? 10 : note ? 7 : 8);
            std::string kind = warning ? "warning: " : note ? "note: " : "";
            std::string here = open.empty() ? "\n" : paths[file] + "(" + std::to_string(line) + "): ";
            if (line > 0 && late_said.empty() && starts(said, here))
                files[file][line - 1].said.push_back(kind + said.substr(here.size()));
            else if (NoteTable[i].address != location_counter)
                fail("late", "note before the end of the image: " + text);
            else if (!note || late_said.empty() || !late_note(said))
                late_said.push_back(kind + said);
        } else if (starts(text, "# file ")) {
            string path = text.substr(7);
            if (open.size() > 1 && paths[open[open.size() - 2]] == path) open.pop_back();
            else if (open.size() <= 1 && top < tops && paths[top] == path) open = {size_t(top++)};
            else if (open.empty()) return fail("notes", "stray " + text);
            else open.push_back(load(path)), next.push_back(0);
        } else if (open.empty() || line >= files[file].size() || !late_said.empty()) {
            fail("notes", "stray line note '" + text + "'");
        } else {
            Line& l = files[file][next[file]++];
            if (text != l.text) fail(l.where, "line note reads '" + text + "'");
            l.address = NoteTable[i].address, order.push_back(&l);
        }
    }
}

static string shown(string h) { return h.substr(0, 40) + " (" + to_string(h.size() / 2) + ")"; }
static string joined(const Texts& texts)
{
    string out;
    for (const string& t : texts) out += (out.empty() ? "'" : ", '") + t + "'";
    return out.empty() ? "nothing" : out;
}

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) load(argv[i]);
    for (int i = 1; i < argc; ++i) assemble_file(argv[i]);
    resolve_fixups(), walk_notes(argc - 1);
    if (late_said != late_want)
        fail("late", "want " + joined(late_want) + ", got " + joined(late_said));
    for (auto& lines : files)
        for (Line& l : lines) {
            if (l.address < 0) fail(l.where, "no line note");
            if (l.said != l.want_said)
                fail(l.where, "want " + joined(l.want_said) + ", got " + joined(l.said));
        }
    for (size_t k = 0; k < order.size(); ++k) {
        int32_t end = k + 1 < order.size() ? order[k + 1]->address : location_counter;
        string got, &want = order[k]->want;
        char hex[3];
        for (int32_t a = order[k]->address; a < end && a < IMAGE_SIZE; ++a)
            std::snprintf(hex, sizeof hex, "%02X", CodeImage[a]), got += hex;
        if (got != want) fail(order[k]->where, "want " + shown(want) + ", got " + shown(got));
    }
    if (failures) std::printf("%d failure(s)\n", failures);
    return failures ? 1 : 0;
}
