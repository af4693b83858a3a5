// Golden-case runner: assembles the files named on its command line, in order, resolves the
// fixups, then holds the image and the listing notes against the markers in the comments of
// the source lines (read as the assembler reads them, in pieces of 511 characters). A marker
// is a ';' followed by one of these, and runs to the next marker or the end of the line:
//   => F001 6230      the bytes the line owns in the final image, from its line note's address
//                     to the next one's; "00*240" is 240 copies of a group. Without it, none.
//   error: TEXT       a diagnostic on this line, in the order reported; @ is the whole line
//   warning: TEXT     a warning on this line, in that same order
//   late error: TEXT  a diagnostic without a position after the last file, in order
#include "asm.h"

#include <cstdlib>
#include <string>
#include <vector>

using std::string;
using Texts = std::vector<string>;
struct Line {
    string text, want, where;       // stripped text, expected bytes in hex, "file:line"
    Texts want_said, said;               // diagnostics expected and reported on this line
    int32_t address = -1;                // from the line's note
};
static std::vector<std::vector<Line>> files;
static Texts late_want, late_said;
static int failures;

static void fail(const string& where, const string& message)
{
    std::printf("%s: %s\n", where.c_str(), message.c_str());
    ++failures;
}

static bool starts(const string& text, const string& prefix) { return text.rfind(prefix, 0) == 0; }

static string trim(const string& text)
{
    size_t a = text.find_first_not_of(" \t"), b = text.find_last_not_of(" \t");
    return a == std::string::npos ? "" : text.substr(a, b - a + 1);
}

// "F001 6230", "00*240": the hex digits the groups spell, or "" when one is malformed.
static string hex_groups(const string& text)
{
    string digits, group;
    for (size_t at = 0; at < text.size(); at += group.size() + 1) {
        group = text.substr(at, text.find(' ', at) - at);
        size_t star = group.find('*');
        string hex = group.substr(0, star);
        long count = star == std::string::npos ? 1 : std::atol(group.c_str() + star + 1);
        if (hex.find_first_not_of("0123456789ABCDEF") != std::string::npos || count < 1) return "";
        while (count-- > 0) digits += hex;
    }
    return digits.size() % 2 == 0 ? digits : "";
}

static void read_markers(Line& line)
{
    std::vector<size_t> at;              // the ';' that opens each marker
    for (size_t p = line.text.find(';'); p != std::string::npos; p = line.text.find(';', p + 1))
        for (const char* kind : {"=>", "error:", "warning:", "late error:"})
            if (starts(trim(line.text.substr(p + 1)), kind)) at.push_back(p);
    for (size_t k = 0; k < at.size(); ++k) {
        size_t end = k + 1 < at.size() ? at[k + 1] - at[k] - 1 : std::string::npos;
        string clause = trim(line.text.substr(at[k] + 1, end)), said;
        for (char c : trim(clause.substr(clause.find_first_of(">:") + 1)))
            said += c == '@' ? line.text : string(1, c);
        if (starts(clause, "=>")) line.want += said = hex_groups(said);
        else if (starts(clause, "error:")) line.want_said.push_back(said);
        else if (starts(clause, "warning:")) line.want_said.push_back("warning: " + said);
        else late_want.push_back(said);
        if (said.empty()) fail(line.where, "malformed marker '" + clause + "'");
    }
}

// Walks the notes in recording order: a "# file" note opens the next file, a line note gives
// the next line its address, a diagnostic with the current line's position belongs to that
// line, and any other diagnostic is late, at the end of the image after every line.
static void walk_notes(char** paths)
{
    int file = -1;
    size_t line = 0;
    for (int32_t i = 0; i < note_count; ++i) {
        string text = note_text(i);
        bool warning = starts(text, "# warning ");
        if (warning || starts(text, "# error ")) {
            string said = text.substr(warning ? 10 : 8);
            string here = file < 0 ? "\n" : paths[file] + string("(") +
                                                     std::to_string(line) + "): ";
            if (line > 0 && late_said.empty() && starts(said, here))
                files[file][line - 1].said.push_back((warning ? "warning: " : "") +
                                                     said.substr(here.size()));
            else if (NoteTable[i].address == location_counter)
                late_said.push_back(said);
            else
                fail("late", "note before the end of the image: " + text);
        } else if (starts(text, "# file ")) {
            if (++file >= static_cast<int>(files.size()) || text.substr(7) != paths[file])
                return fail("notes", "stray " + text);
            line = 0;
        } else if (file < 0 || line >= files[file].size() || !late_said.empty()) {
            fail("notes", "stray line note '" + text + "'");
        } else {
            Line& l = files[file][line++];
            if (text != l.text) fail(l.where, "line note reads '" + text + "'");
            l.address = NoteTable[i].address;
        }
    }
}

static string joined(const Texts& texts)
{
    string out;
    for (const string& t : texts) out += (out.empty() ? "'" : ", '") + t + "'";
    return out.empty() ? "nothing" : out;
}

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        files.emplace_back();
        std::FILE* stream = std::fopen(argv[i], "rb");
        char buffer[TEXT_BUF];
        while (stream && std::fgets(buffer, sizeof buffer, stream)) {
            Line& line = files.back().emplace_back();
            line.text = buffer;
            line.text.erase(line.text.find_last_not_of(" \t\r\n\v\f") + 1);
            line.where = argv[i] + (":" + std::to_string(files.back().size()));
            read_markers(line);
        }
        if (stream) std::fclose(stream);
        else fail(argv[i], "cannot read");
    }
    for (int i = 1; i < argc; ++i) assemble_file(argv[i]);
    resolve_fixups();
    walk_notes(argv + 1);
    if (late_said != late_want)
        fail("late", "want " + joined(late_want) + ", got " + joined(late_said));
    std::vector<Line*> order;
    for (auto& lines : files)
        for (Line& l : lines) {
            l.address >= 0 ? order.push_back(&l) : fail(l.where, "no line note");
            if (l.said != l.want_said)
                fail(l.where, "want " + joined(l.want_said) + ", got " + joined(l.said));
        }
    for (size_t k = 0; k < order.size(); ++k) {
        int32_t end = k + 1 < order.size() ? order[k + 1]->address : location_counter;
        string got;
        for (int32_t a = order[k]->address; a < end && a < IMAGE_SIZE; ++a)
            got += {"0123456789ABCDEF"[CodeImage[a] >> 4], "0123456789ABCDEF"[CodeImage[a] & 15]};
        auto shown = [](const string& hex) {   // the first 20 bytes and the count
            return hex.substr(0, 40) + " (" + std::to_string(hex.size() / 2) + ")";
        };
        if (got != order[k]->want)
            fail(order[k]->where, "want " + shown(order[k]->want) + ", got " + shown(got));
    }
    return failures ? std::printf("%d failure(s)\n", failures), 1 : 0;
}
