// A diagnostic's position past 2^31 lines, and a path whose control bytes could forge a line
// of stderr or of the listing: both are written as they are, the bytes as \xHH.
#include "unit_util.h"

TEST(Diagnostics, PositionCannotOverflowOrForge)
{
    reset_assembler();
    const char* saved_name = program_name;
    program_name = "vexa-as";
    current_file = "a\n\t\x7f.s";
    current_line = 2147483653;
    testing::internal::CaptureStderr();
    report_warning("x");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "vexa-as: a\\x0A\\x09\\x7F.s(2147483653): warning: x\n");
    ASSERT_EQ(note_count, 1);
    EXPECT_STREQ(note_text(0), "# warning a\\x0A\\x09\\x7F.s(2147483653): x");
    program_name = saved_name;
    reset_assembler();
}
