// Field boundaries of the instruction words: where a 4-bit field stops and an imm prefix
// starts, the packed word offset of lw and sw, prefixes of negative values, branch reach.
#include "unit_util.h"

using EncodeTest = FreshTables;

TEST_F(EncodeTest, FieldHelpers)
{
    struct Row { int32_t v; bool field; bool word_offset; uint32_t prefix; };
    const Row rows[] = {
        {0, true, true, 0xF000},
        {1, true, false, 0xF000},
        {14, true, true, 0xF000},
        {15, true, false, 0xF000},
        {16, false, true, 0xF001},
        {30, false, true, 0xF001},
        {31, false, false, 0xF001},
        {32, false, false, 0xF002},
        {-1, false, false, 0xFFFF},
        {-2, false, false, 0xFFFF},
        {-16, false, false, 0xFFFF},
        {-17, false, false, 0xFFFE},
        {-32768, false, false, 0xF800},
        {65535, false, false, 0xFFFF},
        {65536 + 5, false, false, 0xF000},
        {INT32_MIN, false, false, 0xF000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.v);
        EXPECT_EQ(fits_field(row.v), row.field);
        EXPECT_EQ(fits_word_offset(row.v), row.word_offset);
        EXPECT_EQ(imm_prefix(row.v), row.prefix);
    }
    // Packing keeps bits 3..1 and moves bit 4 of the offset to bit 0 of L.
    const uint32_t packed[][2] = {{0, 0x0}, {2, 0x2}, {14, 0xE}, {16, 0x1}, {18, 0x3},
                                  {30, 0xF}};
    for (const auto& p : packed) {
        SCOPED_TRACE(p[0]);
        EXPECT_EQ(pack_word_offset(static_cast<int32_t>(p[0])), p[1]);
        EXPECT_EQ(unpack_word_offset(p[1]), p[0]);
    }
    EXPECT_EQ(compose_word(0x6000, 2, 3, -1), 0x623Fu) << "fields are cut to 4 bits";
    EXPECT_EQ(compose_word(0x7008, 17, -15, 0), 0x7118u);
    EXPECT_EQ(high_register(0), 0);
    EXPECT_EQ(high_register(11), 12);
}

// Each source assembles alone into a fresh image; `at` is the byte address where `words`
// start, so long sources can check just the word that matters.
TEST_F(EncodeTest, Statements)
{
    struct Row { const char* source; int32_t at; const char* words; const char* error; };
    const Row rows[] = {
        {"addi r2, r3, 15", 0, "623F", nullptr},
        {"addi r2, r3, 16", 0, "F001 6230", nullptr},
        {"addi r2, r3, 0", 0, "6230", nullptr},
        {"addi r2, r3, -1", 0, "FFFF 623F", nullptr},
        {"addi r2, r3, -16", 0, "FFFF 6230", nullptr},
        {"addi r2, r3, -17", 0, "FFFE 623F", nullptr},
        {"addi r2, r3, 65541", 0, "F000 6235", nullptr},
        {"addi r2, r3, 0x7FFF", 0, "F7FF 623F", nullptr},
        {"subi r3, r4, -2", 0, "FFFF 534E", nullptr},
        {"srli r1, r2, 3", 0, "1123", nullptr},
        {"cmpi r3, 15", 0, "503F", nullptr},
        {"cmpi r3, 16", 0, "F001 5030", nullptr},
        {"cmpi r3, -1", 0, "FFFF 503F", nullptr},
        {"lw r1, 0(r2)", 0, "A120", nullptr},
        {"lw r1, 14(r2)", 0, "A12E", nullptr},
        {"lw r1, 16(r2)", 0, "A121", nullptr},
        {"lw r1, 30(r2)", 0, "A12F", nullptr},
        {"lw r1, 32(r2)", 0, "F002 A120", nullptr},
        {"lw r1, -2(r2)", 0, "FFFF A12E", nullptr},
        {"lw r1, 3(r2)", 0, "A123", "odd offset"},
        {"lw r1, 17(r2)", 0, "A121", "odd offset"},
        {"lw r1, 31(r2)", 0, "A12F", "odd offset"},
        {"lw r1, -1(r2)", 0, "A12F", "odd offset"},
        {"sw r1, 30(r2)", 0, "B12F", nullptr},
        {"sw r1, 32(r2)", 0, "F002 B120", nullptr},
        {"lb r1, 15(r2)", 0, "C12F", nullptr},
        {"lb r1, 16(r2)", 0, "F001 C120", nullptr},
        {"lb r1, -1(r2)", 0, "FFFF C12F", nullptr},
        {"lu r1, 20(r2)", 0, "F001 E124", nullptr},
        {"sb r5, 7(r6)", 0, "D567", nullptr},
        {"lea r1, 15(r2)", 0, "612F", nullptr},
        {"lea r1, 16(r2)", 0, "F001 6120", nullptr},
        {"lea r1, -3(r2)", 0, "FFFF 612D", nullptr},
        {"imm -1", 0, "FFFF", nullptr},
        {"imm 0x1234", 0, "F123", nullptr},
        {"call r3", 0, "8F31", nullptr},
        {"ret", 0, "8F02", nullptr},
        {"reti", 0, "8F04", nullptr},
        {"ljeq r5", 0, "8258", nullptr},
        {"lja sp", 0, "8F18", nullptr},
        {"ll r2, 30(r6)", 0, "F002 A260 A36F", nullptr},
        {"ll r15, 0(r1)", 0, "AF12 A010", nullptr},
        // Branch reach: 256 bytes forward and 254 back of the branch word fit.
        {"ba t\nbss 254\nt:", 0, "9F7F", nullptr},
        {"ba t\nbss 256\nt:", 0, "9F00", "branch displacement overflow at 0000 target 't'"},
        {"t: bss 254\nba t", 254, "9F80", nullptr},
        {"t: bss 256\nba t", 256, "9F00", "branch displacement overflow at 0100 target 't'"},
        {"beq t\nt:", 0, "9200", nullptr},
        {"t: bne t", 0, "93FF", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source);
        assemble_text(std::string(row.source) + "\n");
        std::string got = image_words(row.at).substr(0, std::string(row.words).size());
        EXPECT_EQ(got, row.words);
        std::vector<std::string> want;
        if (row.error != nullptr) {
            want.push_back(row.error);
        }
        EXPECT_EQ(error_messages(), want);
    }
}
