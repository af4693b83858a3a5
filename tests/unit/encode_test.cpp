// Field boundaries of the instruction words: where a 4-bit field stops and an imm prefix
// starts, the packed word offset of lw and sw, prefixes of negative values. Whole statements
// at these boundaries are golden cases (tests/asm/imm_prefix.s, branches.s).
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
