// The disassembler: exact texts of every format, the reserved words, a sweep of all 65536
// words, and the round trip of each text through the assembler.
#include "unit_util.h"

#include <cstring>

using DisasmTest = FreshTables;

static std::string disasm(uint32_t word, int32_t address)
{
    char buffer[DISASM_BUF];
    std::memset(buffer, 'X', sizeof buffer);
    char* text = disassemble_word(word, buffer, address);
    EXPECT_EQ(text, buffer);
    EXPECT_EQ(buffer[DISASM_BUF - 1], '\0');
    return buffer;
}

// Words that encode no instruction, worked out from the formats rather than from the table.
static bool is_reserved(uint32_t word)
{
    uint32_t m = word >> 12;
    uint32_t l = word & 15;
    switch (m) {
    case 0: return l != 0 && l != 1 && l != 15;
    case 4: return true;
    case 7: return l >= 14;
    case 8: return l != 1 && l != 2 && l != 4 && l != 8;
    default: return false;
    }
}

TEST_F(DisasmTest, Texts)
{
    struct Row { uint32_t word; int32_t address; const char* text; };
    std::vector<Row> rows = {
        {0x0000, 0, "nop"},
        {0x0FF0, 0, "nop"},
        {0x0120, 0, "nop"},
        {0x0001, 0, "wait"},
        {0x0A51, 0, "wait"},
        {0x000F, 0, "break"},
        {0x0002, 0, "<reserved>"},
        {0x000E, 0, "<reserved>"},
        {0x1FFF, 0, "srli r15,r15,0xF"},
        {0x2000, 0, "srai r0,r0,0x0"},
        {0x3123, 0, "slli sp,r2,0x3"},
        {0x4000, 0, "<reserved>"},
        {0x4123, 0, "<reserved>"},
        {0x4FFF, 0, "<reserved>"},
        {0x5034, 0, "subi r0,r3,0x4"},
        {0x6105, 0, "addi sp,r0,0x5"},
        {0x7128, 0, "add  sp,r2"},
        {0x712E, 0, "<reserved>"},
        {0x7FFF, 0, "<reserved>"},
        {0x8258, 0, "ljeq  r5"},
        {0x8C58, 0, "ljneg r5"},
        {0x8F31, 0, "call r3"},
        {0x8031, 0, "call r3"},
        {0x8002, 0, "ret"},
        {0x8F02, 0, "ret"},
        {0x8F04, 0, "reti"},
        {0x8000, 0, "<reserved>"},
        {0x8F03, 0, "<reserved>"},
        {0x8F09, 0, "<reserved>"},
        {0x8F0F, 0, "<reserved>"},
        {0x93FE, 0x0010, "bne  0x000E"},
        {0x9A05, 0x0100, "bgtu 0x010C"},
        {0x9300, 0x0000, "bne  0x0002"},
        {0x9300, 0x1000, "bne  0x1002"},
        {0x9FFF, 0x0020, "ba   0x0020"},
        {0x9F80, 0x0000, "ba   0xFF02"},    // below 0: the low 16 bits of the target
        {0x9F7F, 0xFFFE, "ba   0x00FE"},    // past 0xFFFF likewise
        {0xA215, 0, "lw   r2,0x14(sp)"},
        {0xA121, 0, "lw   sp,0x10(r2)"},
        {0xA12E, 0, "lw   sp,0xE(r2)"},
        {0xBFFF, 0, "sw   r15,0x1E(r15)"},
        {0xC215, 0, "lb   r2,0x5(sp)"},
        {0xD567, 0, "sb   r5,0x7(r6)"},
        {0xE000, 0, "lu   r0,0x0(r0)"},
        {0xF123, 0, "imm  0x1230"},
        {0xF000, 0, "imm  0x0000"},
        {0xFFFF, 0, "imm  0xFFF0"},
    };
    // Every ALU function, long jump and branch, padded to their operand columns.
    const char* alu[] = {"and", "xor", "ror", "rcr", "or", "andn", "subr", "cmp", "add", "sub",
                         "addc", "subc", "rol", "rcl"};
    const char* cond[] = {"ltu", "geu", "eq", "ne", "lt", "ge", "vs", "vc", "le", "gt", "gtu",
                          "leu", "neg", "pos", "n", "a"};
    static char texts[48][DISASM_BUF];
    for (uint32_t i = 0; i < 14; i++) {
        std::snprintf(texts[i], DISASM_BUF, "%-5sr%u,r%u", alu[i], i % 10 + 2, i % 3 + 2);
        rows.push_back({0x7000 | (i % 10 + 2) << 8 | (i % 3 + 2) << 4 | i, 0, texts[i]});
    }
    for (uint32_t c = 0; c < 16; c++) {
        std::snprintf(texts[16 + c], DISASM_BUF, "lj%-4sr%u", cond[c], c % 7 + 2);
        rows.push_back({0x8008 | c << 8 | (c % 7 + 2) << 4, 0, texts[16 + c]});
        std::snprintf(texts[32 + c], DISASM_BUF, "b%-4s0x0222", cond[c]);
        rows.push_back({0x9010 | c << 8, 0x200, texts[32 + c]});
    }
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << std::hex << row.word << " at " << row.address);
        EXPECT_EQ(disasm(row.word, row.address), row.text);
    }
}

TEST_F(DisasmTest, SweepAllWords)
{
    int reserved = 0;
    for (uint32_t word = 0; word < 0x10000; word++) {
        std::string text = disasm(word, static_cast<int32_t>(word & 0xFFFE));
        bool ok = text.size() >= 3 && text.size() <= 18;
        if (!ok || (text == "<reserved>") != is_reserved(word)) {
            ADD_FAILURE() << std::hex << word << ": \"" << text << "\"";
        }
        reserved += is_reserved(word);
    }
    EXPECT_EQ(reserved, 13 * 256 + 4096 + 2 * 256 + 12 * 256);
}

// Every word's field as the text writers show it, through the field cache: the text padded
// with blanks to 18 columns. Each address holds two words in turn, so that the second pass
// finds a field rendered for another word.
TEST_F(DisasmTest, FieldsOfAllWords)
{
    for (uint32_t half = 0; half < 2; half++) {
        for (int32_t a = 0; a < IMAGE_SIZE; a += 2) {
            uint32_t word = half << 15 | static_cast<uint32_t>(a) >> 1;
            CodeImage[a] = static_cast<uint8_t>(word >> 8);
            CodeImage[a + 1] = static_cast<uint8_t>(word);
        }
        for (int32_t a = 0; a < IMAGE_SIZE; a += 2) {
            uint32_t word = image_word(a);
            std::string expected = disasm(word, a);
            expected.resize(DISASM_FIELD, ' ');
            std::string field(word_field(a, word), DISASM_FIELD);
            if (field != expected) {
                ADD_FAILURE() << std::hex << word << " at " << a << ": \"" << field << "\"";
                return;
            }
        }
    }
}

// Words the assembler cannot give back from their own text, each with the reason. A word
// matches a row when (word & mask) == match; the assembler then gives (word & keep) | set,
// or rejects the text.
struct RoundTripException {
    uint32_t mask, match, keep, set;
    bool rejected;
    const char* why;
};
static const RoundTripException round_trip_exceptions[] = {
    {0xF000, 0x0000, 0xF00F, 0x0000, false, "nop, wait and break show neither A nor B"},
    {0xF00F, 0x8001, 0xF0FF, 0x0F00, false, "call shows only B; its A is always 15"},
    {0xF00F, 0x8002, 0xF00F, 0x0F00, false, "ret shows no operand; A is 15, B 0"},
    {0xF00F, 0x8004, 0xF00F, 0x0F00, false, "reti shows no operand; A is 15, B 0"},
    {0xFF0F, 0x8C08, 0, 0, true, "ljneg is a reserved word without a statement"},
    {0xFF0F, 0x8D08, 0, 0, true, "ljpos is a reserved word without a statement"},
};

TEST_F(DisasmTest, RoundTrip)
{
    int checked = 0;
    int failed = 0;
    // The rejected texts are meant to fail; keep their diagnostics off the terminal.
    std::fflush(stderr);
    int saved_stderr = dup(2);
    int null_fd = open("/dev/null", O_WRONLY);
    dup2(null_fd, 2);
    for (uint32_t word = 0; word < 0x10000; word++) {
        // A short branch shows an absolute target, but its operand must be a label.
        if (is_reserved(word) || word >> 12 == 9) {
            continue;
        }
        std::string text = disasm(word, 0);
        uint32_t want = word;
        bool rejected = false;
        for (const RoundTripException& e : round_trip_exceptions) {
            if ((word & e.mask) == e.match) {
                want = (word & e.keep) | e.set;
                rejected = e.rejected;
            }
        }
        assemble_text(text + "\n");
        checked++;
        char expected[8];
        std::snprintf(expected, sizeof expected, "%04X", want);
        std::string got = image_words();
        bool ok = rejected ? location_counter == 0 && error_count == 1
                           : got == expected && error_count == 0;
        if (!ok && ++failed <= 20) {
            ADD_FAILURE() << std::hex << word << " \"" << text << "\" gave [" << got << "] with "
                          << error_count << " errors";
        }
    }
    std::fflush(stderr);
    dup2(saved_stderr, 2);
    close(saved_stderr);
    close(null_fd);
    EXPECT_EQ(failed, 0);
    EXPECT_GT(checked, 50000);
}
