// Without a listing the source reader passes over runs of blank and comment lines at once. It
// must count lines as the plain line-by-line reading of a listed run does: the diagnostics,
// which carry line numbers, and the image show it.
#include "unit_util.h"

#include <random>

// Standard error and the image of `source` assembled as the one file of a fresh run; when
// `listed` the reader keeps notes, so it hands out every line by itself.
static std::string outcome(const std::string& source, bool listed)
{
    static const std::string path = scratch_path("reader.s");
    write_file(path, source);
    reset_assembler();
    notes_wanted = listed;
    testing::internal::CaptureStderr();
    assemble_file(path.c_str());
    std::string said = testing::internal::GetCapturedStderr();
    std::string image(CodeImage, CodeImage + location_counter);
    reset_assembler();
    return said + '\0' + image;
}

static std::string times(size_t count, const std::string& text)
{
    std::string out;
    while (count-- > 0) out += text;
    return out;
}

TEST(Reader, QuietLinesCountedAlike)
{
    const std::string c510 = "; " + std::string(507, 'c') + "\n";   // one piece of 510
    const std::string split = "; " + std::string(600, 'c') + "\n";  // read in two pieces
    std::vector<std::string> sources = {
        times(63, "\n") + "bad1\n" + times(40, ";\n") + "bad2\n",
        // indentation passed eight blanks at a time, and every other white space
        times(5, std::string(17, ' ') + ";\n") + std::string(16, ' ') + "bad\n",
        "\t\v\f\r\n \t ; tab\r\n\v\n\fbad\n" + times(3, " \r\n") + "\r; cr\nbad\n",
        // bytes just outside it, each a statement the lexer refuses
        times(9, ";\n") + "\x01\n;\n\x08\n\n\x0e\n \x1f;\n\x7f\n\xff\n;\n",
        // lines at and past the line limit; the second piece of a split one is no comment
        c510 + "bad1\n" + split + "bad2\n" + times(3, c510) + "bad3\n",
        std::string(511, ' ') + "\nbad\n" + std::string(520, ' ') + "\nbad\n" +
            std::string(600, ' ') + "; far\nbad\n",
        // a last line without a newline; a NUL byte in a comment, before one and alone
        times(30, "; z\n") + "bad", times(200, "\n") + ";\nbad\n;",
        times(20, "; n\n") + std::string("; \0 hidden\n  \0; x\n\0\n", 20) + "\nbad\n",
        // a label alone is a statement; runs across the reader's 64 KiB blocks
        times(64, ";\n") + "here:\n" + times(64, ";\n") + "bad\n",
        times(8000, "; across the blocks\n") + "bad\n" + times(9000, "\n   ;\n") + "bad\n",
    };
    // Mostly blank and comment lines of every length, indented or not, with a statement now
    // and then, some of them refused with their line number.
    std::mt19937 random(20261207);
    const char* statements[] = {"nop", "addi r1, r2, 3", "x:", "bad", "sw r3, 4(r5)", "bogus r1"};
    for (int sample = 0; sample < 60; sample++) {
        std::string source;
        for (int lines = 50 + random() % 400; lines > 0; lines--) {
            uint32_t kind = random() % 10, width = random() % 8 == 0 ? 600 : 70;
            source += std::string(random() % 3 == 0 ? random() % 12 : 0, random() % 2 ? ' ' : '\t');
            if (kind == 3) source += statements[random() % 6];
            if (kind > 3)
                source += std::string(1 + random() % 3, ';') + std::string(random() % width, 'k');
            source += "\n";
        }
        sources.push_back(source + "bad\n");
    }
    for (const std::string& source : sources) {
        SCOPED_TRACE(source.substr(0, 80));
        std::string plain = outcome(source, true);
        ASSERT_NE(plain.find("error"), std::string::npos) << "each case reports a line number";
        EXPECT_EQ(outcome(source, false), plain);
    }
}
