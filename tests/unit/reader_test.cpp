// Without a listing the source reader passes over runs of blank and comment lines at once.
// A run must count lines exactly as the plain line-by-line reading of a run with notes does,
// which the diagnostics' line numbers and the image show.
#include "unit_util.h"

#include <algorithm>
#include <random>

namespace {

struct Outcome {
    std::string diagnostics;   // standard error, with every line number in it
    std::vector<uint8_t> image;
};

// Assembles `source` as the one file of a fresh run; with `plain` the reader keeps notes, so
// it hands out every line by itself.
Outcome assemble_with(const std::string& source, bool plain)
{
    static const std::string path = scratch_path("reader.s");
    write_file(path, source);
    reset_assembler();
    notes_wanted = plain;
    testing::internal::CaptureStderr();
    assemble_file(path.c_str());
    Outcome outcome;
    outcome.diagnostics = testing::internal::GetCapturedStderr();
    outcome.image.assign(CodeImage, CodeImage + location_counter);
    reset_assembler();
    return outcome;
}

// Both runs report alike, `errors` diagnostics when that is given.
void expect_same_counting(const std::string& source, int errors = -1)
{
    Outcome plain = assemble_with(source, true);
    ASSERT_NE(plain.diagnostics, "") << "every case needs a diagnostic to show its line number";
    if (errors >= 0) {
        int found = 0;   // the errors, each a syntax error; notes and warnings come beside them
        for (size_t at = 0; (at = plain.diagnostics.find("syntax error", at)) != std::string::npos;
             at++) {
            found++;
        }
        EXPECT_EQ(found, errors);
    }
    Outcome quick = assemble_with(source, false);
    EXPECT_EQ(quick.diagnostics, plain.diagnostics);
    EXPECT_EQ(quick.image, plain.image);
}

std::string repeat(const std::string& text, size_t count)
{
    std::string out;
    for (size_t i = 0; i < count; i++) {
        out += text;
    }
    return out;
}

}   // namespace

TEST(Reader, QuietLinesCountedAlike)
{
    const std::string long_comment = "; " + std::string(507, 'c') + "\n";   // 510 characters
    const std::string split_comment = "; " + std::string(600, 'c') + "\n";  // read in two pieces
    struct Row { int errors; std::string source; };
    const Row rows[] = {
        {2, repeat("\n", 63) + "bad1\n" + repeat(";\n", 40) + "bad2\n"},
        {1, repeat("; x\n", 17) + "nop\n" + repeat("   \t; y\n", 9) + "bad\n"},
        // indentation passed eight blanks at a time, and every other white space
        {1, repeat(std::string(17, ' ') + ";\n", 5) + std::string(16, ' ') + "bad\n"},
        {2, "\t\v\f\r\n \t ; tab\r\n\v\n\fbad\n" + repeat(" \r\n", 3) + "\r; cr\nbad\n"},
        // bytes just outside it, each a statement the lexer refuses
        {6, repeat(";\n", 9) + "\x01\n;\n\x08\n\n\x0e\n \x1f;\n\x7f\n\xff\n;\n"},
        // lines at and past the line limit; the second piece of the split one is no comment
        {4, long_comment + "bad1\n" + split_comment + "bad2\n" + repeat(long_comment, 3) + "bad3\n"},
        {3, std::string(511, ' ') + "\nbad\n" + std::string(520, ' ') + "\nbad\n" +
                std::string(600, ' ') + "; far\nbad\n"},
        // a statement in the last line, with no newline after it, and a comment there
        {1, repeat("; z\n", 30) + "bad"},
        {1, repeat("\n", 200) + ";\nbad\n;"},
        // a NUL byte in a comment, before one and alone
        {1, repeat("; n\n", 20) + std::string("; \0 hidden\n  \0; x\n\0\n", 20) + "\nbad\n"},
        // a label alone is a statement
        {1, repeat(";\n", 64) + "here:\n" + repeat(";\n", 64) + "bad\n"},
        // runs across the reader's 64 KiB blocks
        {2, repeat("; across the blocks\n", 8000) + "bad\n" + repeat("\n   ;\n", 9000) + "bad\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source.substr(0, 80));
        expect_same_counting(row.source, row.errors);
    }
}

TEST(Reader, RandomQuietRunsCountedAlike)
{
    // Sources of mostly blank and comment lines of every length, indented or not, with a
    // statement now and then and a bad one now and then whose message carries its number.
    std::mt19937 random(20261207);
    const char* statements[] = {"nop", "addi r1, r2, 3", "x:", "bad", "sw r3, 4(r5)", "bogus r1"};
    for (int sample = 0; sample < 60; sample++) {
        std::string source;
        int lines = 50 + static_cast<int>(random() % 400);
        for (int i = 0; i < lines; i++) {
            std::string indent(random() % 3 == 0 ? random() % 12 : 0, random() % 2 ? ' ' : '\t');
            switch (random() % 10) {
            case 0:
            case 1:
            case 2:
                source += indent + "\n";
                break;
            case 3:
                source += indent + statements[random() % 6] + "\n";
                break;
            default:
                source += indent + std::string(1 + random() % 3, ';') +
                          std::string(random() % (random() % 8 == 0 ? 600 : 70), 'k') + "\n";
                break;
            }
        }
        source += "bad\n";
        SCOPED_TRACE(testing::Message() << "sample " << sample);
        expect_same_counting(source);
    }
}
