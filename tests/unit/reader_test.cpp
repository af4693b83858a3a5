// The source reader passes over blank and comment lines in bulk when no listing needs their
// notes. Whatever the vector width of that pass, a run must count lines exactly as the plain
// line-by-line reading does, which the diagnostics' line numbers and the image show.
#include "unit_util.h"

#include <random>

namespace {

struct Outcome {
    std::string diagnostics;   // standard error, with every line number in it
    std::vector<uint8_t> image;
};

// Assembles `source` as the one file of a fresh run. With `plain` the reader keeps notes, so
// it reads every line by itself; otherwise it passes over quiet lines `width` bytes a step.
Outcome assemble_with(const std::string& source, bool plain, int32_t width)
{
    static const std::string path = scratch_path("reader.s");
    write_file(path, source);
    reset_assembler();
    notes_wanted = plain;
    line_scan_width = width;
    testing::internal::CaptureStderr();
    assemble_file(path.c_str());
    Outcome outcome;
    outcome.diagnostics = testing::internal::GetCapturedStderr();
    outcome.image.assign(CodeImage, CodeImage + location_counter);
    reset_assembler();
    return outcome;
}

// The widths this processor can run; 0 lets the reader choose.
std::vector<int32_t> widths()
{
    std::vector<int32_t> list = {0, 16};
#if defined(__x86_64__) && defined(__GNUC__)
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt")) {
        list.push_back(32);
    }
#endif
    return list;
}

void expect_same_counting(const std::string& source)
{
    Outcome plain = assemble_with(source, true, 0);
    ASSERT_NE(plain.diagnostics, "") << "every case needs a diagnostic to show its line number";
    for (int32_t width : widths()) {
        SCOPED_TRACE(testing::Message() << "width " << width);
        Outcome quick = assemble_with(source, false, width);
        EXPECT_EQ(quick.diagnostics, plain.diagnostics);
        EXPECT_EQ(quick.image, plain.image);
    }
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
    const std::string rows[] = {
        // runs of quiet lines that end at every offset of a 64-byte window
        repeat("\n", 63) + "bad1\n" + repeat(";\n", 40) + "bad2\n",
        repeat("; x\n", 17) + "nop\n" + repeat("   \t; y\n", 9) + "bad\n",
        // a semicolon late in a window carries into the next one
        std::string(60, ' ') + "; a comment that crosses the window\nbad\n",
        // a statement after a comment on the line before, and after blanks on its own line
        "; one\n       nop ; two\nbad\n",
        // every control character that counts as white space
        "\t\v\f\r\n \t ; tab\r\n\v\n\fbad\n",
        // lines at and past the line limit
        long_comment + "bad1\n" + split_comment + "bad2\n" + repeat(long_comment, 3) + "bad3\n",
        std::string(511, ' ') + "\nbad\n" + std::string(520, ' ') + "\nbad\n",
        // a statement in the last line, with no newline after it
        repeat("; z\n", 30) + "bad",
        repeat("\n", 200) + ";\nbad\n;",
        // a NUL byte keeps the bulk pass away from the whole buffer
        repeat("; n\n", 20) + std::string("; \0 hidden\n", 11) + repeat("\n", 70) + "bad\n",
        // a label alone is a statement
        repeat(";\n", 64) + "here:\n" + repeat(";\n", 64) + "bad\n",
    };
    for (const std::string& source : rows) {
        SCOPED_TRACE(source.substr(0, 80));
        expect_same_counting(source);
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

TEST(Reader, LentFieldCacheHoldsNoSourceText)
{
    // The reader reads into the memory of the writers' field cache. Lines of 20 bytes lay
    // each source line over one cache entry, its first two characters where the entry keeps
    // its word, and each line assembles to exactly that word: left uncleared, every entry
    // would look like a field already rendered for its word.
    std::string source;
    for (int i = 0; i < 200; i++) {
        std::string line = "  word 0x2020";
        line.resize(19, ' ');
        source += line + "\n";
    }
    assemble_text(source);
    ASSERT_EQ(error_count, 0);
    ASSERT_EQ(location_counter, 400);
    for (int32_t a = 0; a < location_counter; a += 2) {
        char text[DISASM_BUF];
        std::string expected = disassemble_word(image_word(a), text, a);
        expected.resize(DISASM_FIELD, ' ');
        ASSERT_EQ(std::string(disassembly_field(a), DISASM_FIELD), expected) << "address " << a;
    }
    reset_assembler();
}
