// The image writers byte for byte at the interesting sizes of the image, their results and
// failures, and the listing of a small program.
#include "unit_util.h"

#include <algorithm>
#include <cstdarg>
#include <regex>
#include <unistd.h>

using WriteTest = FreshTables;

static std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
static std::string format(const char* fmt, ...)
{
    char buffer[TEXT_BUF];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    return buffer;
}

static std::string text_of(uint32_t word, int32_t address)
{
    char buffer[DISASM_BUF];
    return disassemble_word(word, buffer, address);
}

static const char* const VHDL_HEAD =
    "library IEEE;\n"
    "use IEEE.STD_LOGIC_1164.all;\n"
    "use IEEE.STD_LOGIC_unsigned.all;\n"
    "\n"
    "entity prom is\n"
    "\tport(\n"
    "\t\tclk : in STD_LOGIC;\n"
    "\t\tena : in STD_LOGIC;\n"
    "\t\taddri : in std_logic_vector(15 downto 0);\n"
    "\t\tinstr : out std_logic_vector(15 downto 0)\n"
    "\t);\n"
    "end;\n"
    "\n"
    "architecture prom_beh of prom is\n"
    "signal address: std_logic_vector(15 downto 0);\n"
    "begin\n"
    "\n"
    "process (clk, addri)\n"
    "begin\n"
    "\tif clk = '1' and clk'event then\n"
    "\t\tif ena = '1' then\n"
    "\t\t\taddress <= (addri(14 downto 0) & '0') after 1 ns;\n"
    "\t\tend if;\n"
    "\tend if;\n"
    "end process;\n"
    "\n"
    "process (address)\n"
    "begin\n"
    "\tcase address is\n";
static const char* const VHDL_TAIL =
    "\t\twhen others=> instr <= x\"0000\" after 1 ns;\n"
    "\tend case;\n"
    "end process;\n"
    "\n"
    "end;\n";

TEST_F(WriteTest, ImageFormats)
{
    const int32_t sizes[] = {0, 5, 17, 65536};
    for (int32_t lc : sizes) {
        SCOPED_TRACE(testing::Message() << "LC " << lc);
        reset_assembler();
        for (int32_t a = 0; a < lc; a++) {
            CodeImage[a] = static_cast<uint8_t>(a * 7 + 0x0D);
        }
        location_counter = lc;

        std::string hex, bin, prg, vhd = VHDL_HEAD;
        for (int32_t i = 0; i < lc; i++) {
            if (i % 16 == 0) {
                hex += format("- %02X %04X", lc - i < 16 ? lc - i : 16, i);
            }
            hex += format(" %02X", CodeImage[i]);
            if (i % 16 == 15 || i == lc - 1) {
                hex += "\n";
            }
        }
        for (int32_t a = 0; a < IMAGE_SIZE; a += 2) {
            bin += static_cast<char>(CodeImage[a + 1]);
            bin += static_cast<char>(CodeImage[a]);
        }
        for (int32_t a = 0; a < lc; a += 2) {
            uint32_t word = CodeImage[a] * 256u + CodeImage[a + 1];
            prg += format("%d\t%04X\t%-18s\n", a / 2, word, text_of(word, a).c_str());
            vhd += format("\t\twhen x\"%04X\"=> instr <= x\"%04X\" after 1 ns;\t---%-18s\n", a,
                          word, text_of(word, a).c_str());
        }
        vhd += VHDL_TAIL;

        struct Out { const char* name; bool (*writer)(const char*); const std::string& want; };
        const std::string empty;
        const Out outs[] = {
            {"t.hex", write_hex, hex}, {"t.bin", write_bin, bin}, {"t.ram", write_ram, empty},
            {"t.prg", write_prg, prg}, {"t.vhd", write_vhdl, vhd},
        };
        for (const Out& out : outs) {
            SCOPED_TRACE(out.name);
            std::string path = scratch_path(out.name);
            write_file(path, "old contents that must go");
            EXPECT_TRUE(out.writer(path.c_str())) << "a regular file was truncated";
            std::string got = read_file(path);
            EXPECT_EQ(got.size(), out.want.size());
            EXPECT_TRUE(got == out.want);
            if (got != out.want) {
                size_t at = std::mismatch(got.begin(), got.end(), out.want.begin(),
                                          out.want.end()).first - got.begin();
                ADD_FAILURE() << "first difference at byte " << at << ": got \""
                              << got.substr(at > 40 ? at - 40 : 0, 80) << "\"";
            }
        }
        EXPECT_EQ(error_count, 0);
        EXPECT_EQ(location_counter, lc) << "writers change nothing";
    }
}

// What each writer answers for paths that are no regular file it made.
TEST_F(WriteTest, Results)
{
    bool (*const writers[])(const char*) = {write_hex, write_bin, write_ram, write_prg,
                                            write_vhdl};
    const std::string missing = scratch_path("no/such/dir/out");
    struct Row { const char* path; bool created; const char* error; };
    const Row rows[] = {
        {"/dev/null", false, nullptr},
        {missing.c_str(), false, "cannot open '%s' (No such file or directory)"},
        {scratch_dir().c_str(), false, "cannot open '%s' (Is a directory)"},
        {"/dev/full", false, "error writing '%s' (No space left on device)"},
    };
    location_counter = 64;   // something to write, so /dev/full has to fail
    for (const Row& row : rows) {
        for (int w = 0; w < 5; w++) {
            SCOPED_TRACE(testing::Message() << row.path << " writer " << w);
            error_count = 0;
            note_count = 0;
            EXPECT_EQ(writers[w](row.path), row.created);
            std::vector<std::string> want;
            if (row.error != nullptr && !(w == 2 && row.error[0] == 'e')) {
                want.push_back(format(row.error, row.path));
            }
            EXPECT_EQ(error_messages(), want);
        }
    }
}

// The four-line demo program and its listing, the date masked.
TEST_F(WriteTest, ListingWorkedExample)
{
    char saved[4096];
    ASSERT_NE(getcwd(saved, sizeof saved), nullptr);
    ASSERT_EQ(chdir(scratch_dir().c_str()), 0);
    write_file("demo.s", "; demo\naddi r2,r0,100\nnop\n; end\n");
    assemble_file("demo.s");
    resolve_fixups();
    write_listing("demo.lst");
    std::string got = read_file("demo.lst");
    ASSERT_EQ(chdir(saved), 0);

    const std::string pad(29, ' ');
    const std::string want =
        "# generated by vexa rev.1 on DATE\n"
        "\n"
        "addr\tcode\tdisassembly\t       source\n"
        "----\t----\t-----------\t       ------\n" +
        pad + "# file demo.s\n" +
        pad + "; demo\n" +
        format("0000\tF006\t%-18s\taddi r2,r0,100\n", "imm  0x0060") +
        format("0002\t6204\t%-18s\t\n", "addi r2,r0,0x4") +
        format("0004\t0000\t%-18s\tnop\n", "nop") +
        pad + "; end\n";
    size_t on = got.find(" on ");
    size_t end = got.find('\n');
    ASSERT_NE(on, std::string::npos);
    ASSERT_NE(end, std::string::npos);
    std::string date = got.substr(on + 4, end - on - 4);
    const std::regex shape("(Mon|Tue|Wed|Thu|Fri|Sat|Sun) "
                           "(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
                           "[0-3][0-9] [0-2][0-9]:[0-5][0-9]:[0-6][0-9] [0-9]{4}");
    EXPECT_TRUE(std::regex_match(date, shape)) << date;
    EXPECT_EQ(got.substr(0, on + 4) + "DATE" + got.substr(end), want);
    EXPECT_EQ(error_count, 0);
}

// Where the listing puts each note: a word line carries the last unwritten note at or below
// its address, the notes before that one stand on lines of their own, and notes past the
// last word follow at the end. Every word is a nop; a line `@aaaa text` is a word line.
TEST_F(WriteTest, ListingNotePlaces)
{
    struct Note { int32_t address; std::string text; };
    struct Case {
        const char* name;
        int32_t lc;
        std::vector<Note> notes;
        std::vector<std::string> lines;
    };
    const std::string longest(TEXT_MAX, 'k');
    const Case cases[] = {
        {"no notes", 4, {}, {"@0000 ", "@0002 "}},
        {"no words", 0, {{0, "only"}, {0, "both"}}, {"only", "both"}},
        {"several at one address", 4,
         {{0, "a"}, {0, "b"}, {2, "c"}, {4, "d"}, {4, "e"}},
         {"a", "@0000 b", "@0002 c", "d", "e"}},
        {"first note after the first word", 4, {{2, "x"}}, {"@0000 ", "@0002 x"}},
        {"a word line between notes", 6,
         {{0, "p"}, {4, "q"}, {4, "r"}},
         {"@0000 p", "@0002 ", "q", "@0004 r"}},
        {"odd address", 3, {{1, "odd"}}, {"@0000 ", "@0002 odd"}},
        {"empty and longest", 2, {{0, ""}, {0, longest}}, {"", "@0000 " + longest}},
        {"skips an address", 6, {{0, "s"}, {4, "t"}}, {"@0000 s", "@0002 ", "@0004 t"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reset_assembler();
        for (const Note& note : c.notes) {
            location_counter = note.address;
            add_note(note.text.c_str());
        }
        location_counter = c.lc;
        std::string want;
        for (const std::string& line : c.lines) {
            if (line[0] == '@') {
                want += line.substr(1, 4) + "\t0000\t" + format("%-18s", "nop") + "\t" +
                        line.substr(6) + "\n";
            } else {
                want += std::string(29, ' ') + line + "\n";
            }
        }
        std::string path = scratch_path("notes.lst");
        write_listing(path.c_str());
        std::string got = read_file(path);
        size_t body = 0;
        for (int i = 0; i < 4 && body != std::string::npos; i++) {
            body = got.find('\n', body) + 1;   // past the header's four lines
        }
        EXPECT_EQ(got.substr(body), want);
    }
}
