// Laying bytes and words into the image: big-endian words at even addresses, zero padding,
// the end of the 64 KiB image, and the probe for a load just below the location counter.
#include "unit_util.h"

#include <cstring>

using ImageTest = FreshTables;

// Ops: 'b' emit_byte, 'w' emit_word, 'a' align_to.
struct Op { char kind; int64_t value; };

static void run_ops(std::initializer_list<Op> ops)
{
    for (const Op& op : ops) {
        switch (op.kind) {
        case 'b': emit_byte(static_cast<int32_t>(op.value)); break;
        case 'w': emit_word(static_cast<int32_t>(op.value)); break;
        default: align_to(static_cast<uint32_t>(op.value)); break;
        }
    }
}

TEST_F(ImageTest, EmitAndAlign)
{
    // bytes: what the image holds from `start` on afterwards; start is filled with 0xEE first
    // so that padding shows whether it really stored zeros.
    struct Row {
        int32_t start; std::initializer_list<Op> ops; const char* bytes; int32_t lc; bool full;
    };
    const Row rows[] = {
        {4, {{'w', 0x1234}}, "12 34", 6, false},
        {0, {{'b', 0x41}, {'w', 0x1234}}, "41 00 12 34", 4, false},
        {0, {{'b', 0x1FF}, {'w', 0x12345}}, "FF 00 23 45", 4, false},
        {0, {{'w', -1}, {'b', -2}}, "FF FF FE", 3, false},
        {65534, {{'w', 0xABCD}}, "AB CD", 65536, false},
        {65534, {{'w', 0xABCD}, {'w', 1}, {'b', 1}, {'a', 1 << 20}, {'w', 1}}, "AB CD", 65536,
         true},
        {65535, {{'w', 0xABCD}}, "00", 65536, true},
        {65535, {{'b', 7}}, "07", 65536, false},
        {65535, {{'b', 7}, {'b', 8}}, "07", 65536, true},
        {5, {{'a', 4}}, "00 00 00", 8, false},
        {8, {{'a', 4}}, "", 8, false},
        {3, {{'a', 1}}, "", 3, false},
        {6, {{'a', 2}}, "", 6, false},
        {7, {{'a', 2}}, "00", 8, false},
        {1, {{'a', 65536}}, "00 00 00 00 00 00 00", 65536, false},
        {65535, {{'a', 65536}}, "00", 65536, false},
        {0, {{'a', 65536}}, "", 0, false},
        {0, {{'a', 131072}}, "", 0, false},
        {2, {{'a', 131072}}, "00 00 00 00 00 00", 65536, true},
        {65536, {{'a', 4}}, "", 65536, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "start " << row.start << ", " << row.ops.size()
                                        << " ops, first " << row.ops.begin()->kind << " "
                                        << row.ops.begin()->value);
        reset_assembler();
        for (int32_t a = row.start; a < row.start + 8 && a < IMAGE_SIZE; a++) {
            CodeImage[a] = 0xEE;
        }
        location_counter = row.start;
        run_ops(row.ops);
        EXPECT_EQ(location_counter, row.lc);
        std::string got;
        char byte[4];
        int32_t shown = static_cast<int32_t>(std::strlen(row.bytes) + 1) / 3;
        for (int32_t a = row.start; a < row.lc && a < row.start + shown; a++) {
            std::snprintf(byte, sizeof byte, "%s%02X", got.empty() ? "" : " ", CodeImage[a]);
            got += byte;
        }
        EXPECT_EQ(got, row.bytes);
        std::vector<std::string> want;
        if (row.full) {
            want.push_back("code image is full");
        }
        EXPECT_EQ(error_messages(), want) << "a loss is reported once, an exact fit never";
    }
}

TEST_F(ImageTest, LoadHazardReg)
{
    struct Row { std::initializer_list<Op> ops; int32_t reg; };
    const Row rows[] = {
        {{}, 0},
        {{{'w', 0xA310}}, 3},
        {{{'w', 0xCF00}}, 15},
        {{{'w', 0xE5FF}}, 5},
        {{{'w', 0xB310}}, 0},
        {{{'w', 0xD310}}, 0},
        {{{'w', 0xE0F0}}, 0},
        {{{'w', 0xF310}}, 0},
        {{{'w', 0x0000}}, 0},
        {{{'w', 0x9310}}, 0},
        {{{'w', 0xA310}, {'w', 0x6120}}, 0},
        {{{'w', 0x6120}, {'w', 0xA710}}, 7},
        {{{'b', 0xA3}}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.ops.size() << " ops, last "
                                        << (row.ops.size() ? (row.ops.end() - 1)->value : 0));
        reset_assembler();
        run_ops(row.ops);
        EXPECT_EQ(load_hazard_reg(), row.reg);
    }
}
