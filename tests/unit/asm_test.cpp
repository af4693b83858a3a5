// Unit tests for what only they can show: every word disassembled and assembled back, the
// reader's pass over quiet lines against line-by-line reading, and a diagnostic's position.
#include "asm.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

using std::string, std::to_string;

// The source file of this process's tests, holding `text`: made anew each time, since a file
// cut short and written again is flushed to the disk on closing.
static const string scratch = "/tmp/vexa-unit-" + to_string(getpid()) + ".s";
static const char* scratch_source(const string& text)
{
    std::remove(scratch.c_str());
    EXPECT_TRUE(std::ofstream(scratch, std::ios::binary) << text);
    return scratch.c_str();
}

// Every one of the 65536 words disassembled, and its text assembled back to the word; a short
// branch is placed at 0x100 with a label at its target. Words given back otherwise: where
// (word & mask) == match the assembler gives (word & keep) | set, or, with keep 0, refuses it.
struct Exception { uint32_t mask, match, keep, set; };
static const Exception exceptions[] = {
    {0xF000, 0x0000, 0xF00F, 0x0000},   // nop, wait and break show neither A nor B
    {0xF00F, 0x8001, 0xF0FF, 0x0F00},   // call shows only B; its A is always 15
    {0xF00F, 0x8002, 0xF00F, 0x0F00},   // ret shows no operand: A is 15, B 0
    {0xF00F, 0x8004, 0xF00F, 0x0F00},   // reti likewise
    {0xFE0F, 0x8C08, 0, 0},             // ljneg, ljpos, bneg and bpos are reserved words
    {0xFE00, 0x9C00, 0, 0},             // without a statement
};

TEST(Disassembler, EveryWordAssemblesBack)
{
    int failed = 0;
    std::fflush(stderr);   // the refused texts are meant to fail: their messages go nowhere
    int saved = dup(2);
    ASSERT_TRUE(std::freopen("/dev/null", "w", stderr));
    for (uint32_t word = 0; word < 0x10000; word++) {
        uint32_t m = word >> 12, l = word & 15, want = word, keep = 1, at = m == 9 ? 0x100 : 0;
        for (const Exception& e : exceptions)
            if ((word & e.mask) == e.match) want = (word & (keep = e.keep)) | e.set;
        char buffer[32];
        string text = disassemble_word(word, buffer, at), source = text;
        bool reserved = (m == 0 && l != 0 && l != 1 && l != 15) || m == 4 || (m == 7 && l >= 14) ||
                        (m == 8 && l != 1 && l != 2 && l != 4 && l != 8);
        int32_t target = 0x102 + 2 * static_cast<int8_t>(word & 0xFF);
        string branch = text.substr(0, text.find(' ')) + " t\n";
        if (m == 9 && target <= 0x100)
            source = "bss " + to_string(target) + "\nt: " +
                     (target < 0x100 ? "bss " + to_string(0x100 - target) + "\n" : "") + branch;
        else if (m == 9)
            source = "bss 256\n" + branch +
                     (target > 0x102 ? "bss " + to_string(target - 0x102) + "\n" : "") + "t:";
        bool refused = reserved || text == "<reserved>", ok = text.size() >= 3 && text.size() <= 18;
        if (!refused)
            reset_assembler(), assemble_file(scratch_source(source + "\n")), resolve_fixups();
        ok = ok && (refused     ? reserved && text == "<reserved>"
                    : keep == 0 ? error_count == 1 && image_word(at) == 0
                                : error_count == 0 && image_word(at) == want);
        if (!ok && ++failed <= 20)
            ADD_FAILURE() << std::hex << word << " \"" << text << "\" gave " << image_word(at);
    }
    std::fflush(stderr), dup2(saved, 2), close(saved);
    std::remove(scratch.c_str());
}

// Without a listing the source reader passes over runs of blank and comment lines at once, and
// must count lines as the line-by-line reading of a listed run does (diagnostics and image).
// Standard error and the image of `source` assembled alone; `listed` keeps notes, line by line.
static string outcome(const string& source, bool listed)
{
    reset_assembler(), notes_wanted = listed, testing::internal::CaptureStderr();
    assemble_file(scratch_source(source));
    string said = testing::internal::GetCapturedStderr() + '\0';
    said.append(CodeImage, CodeImage + location_counter), reset_assembler();
    return said;
}
static string times(size_t count, const string& text)
{
    string out;
    while (count-- > 0) out += text;
    return out;
}

// Each run of one process says once that the image is full, however many ran before it.
TEST(Reset, FullImageReportedAfterReset)
{
    for (int run = 0; run < 2; run++)
        EXPECT_NE(outcome("bss 65536\nnop\n", true).find("code image is full"), string::npos);
}

TEST(Reader, QuietLinesCountedAlike)
{
    const string c510 = "; " + string(507, 'c') + "\n";   // one piece of 510
    const string split = "; " + string(600, 'c') + "\n";  // read in two pieces
    std::vector<string> sources = {
        // indentation passed eight blanks at a time, and every other white space
        times(5, string(17, ' ') + ";\n") + string(16, ' ') + "bad\n",
        "\t\v\f\r\n \t ; tab\r\n\v\n\fbad\n" + times(3, " \r\n") + "\r; cr\nbad\n",
        // bytes just outside it, each a statement the lexer refuses
        times(9, ";\n") + "\x01\n;\n\x08\n\n\x0e\n \x1f;\n\x7f\n\xff\n;\n",
        // lines at and past the line limit; the second piece of a split one is no comment
        c510 + "bad1\n" + split + "bad2\n" + times(3, c510) + "bad3\n",
        string(511, ' ') + "\nbad\n" + string(520, ' ') + "\nbad\n" + string(600, ' ') +
            "; far\nbad\n",
        // a last line without a newline; a NUL byte in a comment, before one and alone
        times(30, "; z\n") + "bad", times(200, "\n") + ";\nbad\n;",
        times(20, "; n\n") + string("; \0 hidden\n  \0; x\n\0\n", 20) + "\nbad\n",
        // runs across the reader's 64 KiB blocks
        times(8000, "; across the blocks\n") + "bad\n" + times(9000, "\n   ;\n") + "bad\n",
    };
    // Blank and comment lines of every length, indented or not, and now and then a statement.
    std::mt19937 random(20261207);
    const char* statements[] = {"nop", "addi r1, r2, 3", "x:", "bad", "sw r3, 4(r5)", "bogus r1"};
    for (int sample = 0; sample < 60; sample++) {
        string source;
        for (int lines = 50 + random() % 400; lines > 0; lines--) {
            uint32_t kind = random() % 10, width = random() % 8 == 0 ? 600 : 70;
            source += string(random() % 3 == 0 ? random() % 12 : 0, random() % 2 ? ' ' : '\t');
            if (kind == 3) source += statements[random() % 6];
            if (kind > 3) source += string(1 + random() % 3, ';') + string(random() % width, 'k');
            source += "\n";
        }
        sources.push_back(source + "bad\n");
    }
    for (const string& source : sources) {
        SCOPED_TRACE(source.substr(0, 80));
        string plain = outcome(source, true);
        ASSERT_NE(plain.find("error"), string::npos) << "each case reports a line number";
        EXPECT_EQ(outcome(source, false), plain);
    }
    std::remove(scratch.c_str());
}

// A diagnostic's position past 2^31 lines, and a path whose control bytes could forge a line
// of stderr or of the listing: both are written as they are, the bytes as \xHH.
TEST(Diagnostics, PositionCannotOverflowOrForge)
{
    reset_assembler();
    const char* saved_name = std::exchange(program_name, "vexa-as");
    current_file = "a\n\t\x7f.s", current_line = 2147483653;
    testing::internal::CaptureStderr(), report_warning("x");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vexa-as: a\\x0A\\x09\\x7F.s(2147483653): warning: x\n");
    ASSERT_EQ(note_count, 1);
    EXPECT_STREQ(note_text(0), "# warning a\\x0A\\x09\\x7F.s(2147483653): x");
    program_name = saved_name, reset_assembler();
}
