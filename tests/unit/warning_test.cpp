// Warnings: the diagnostic line and note of report_warning, and what the text after a byte
// value leaves behind.
#include "unit_util.h"

#include <cstring>

using WarningTest = FreshTables;

TEST_F(WarningTest, LineAndNote)
{
    const std::string long_message(600, 'm');
    struct Row {
        const char* file; int64_t line; std::string message; std::string printed, note;
    };
    const Row rows[] = {
        {"a.s", 3, "x", "vexa-as: a.s(3): warning: x\n", "# warning a.s(3): x"},
        // Past 2^31 lines, and a path whose control bytes could forge a line or a field.
        {"a\n\t\x7f.s", 2147483653, "x", "vexa-as: a\\x0A\\x09\\x7F.s(2147483653): warning: x\n",
         "# warning a\\x0A\\x09\\x7F.s(2147483653): x"},
        // Each text is cut to 511 characters; the program name is not counted.
        {"a.s", 3, long_message,
         "vexa-as: " + ("a.s(3): warning: " + long_message).substr(0, TEXT_MAX) + "\n",
         ("# warning a.s(3): " + long_message).substr(0, TEXT_MAX)},
    };
    const char* saved_name = program_name;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.printed.substr(0, 40));
        reset_assembler();
        program_name = "vexa-as";
        current_file = row.file;
        current_line = row.line;
        testing::internal::CaptureStderr();
        report_warning("%s", row.message.c_str());
        std::string printed = testing::internal::GetCapturedStderr();
        EXPECT_EQ(printed, row.printed);
        ASSERT_EQ(note_count, 1);
        EXPECT_EQ(note_text(0), row.note);
        EXPECT_EQ(error_count, 0);
    }
    program_name = saved_name;
    reset_assembler();
}

// Only the first value of a byte line is read: a name after it becomes no symbol, so it can
// neither clash with a label nor show up as undefined.
TEST_F(WarningTest, TextAfterByte)
{
    struct Row { const char* source; int32_t symbols; int warnings; };
    const Row rows[] = {
        {"byte 5 name\n", 0, 1},
        {"byte 5, other\n", 0, 1},
        {"byte 5 ; name\n", 0, 0},
        {"byte 5\t \n", 0, 0},
        {"byte 0x5g\n", 0, 1},
        {"byte name\n", 1, 0},        // the value itself is read: a syntax error
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.source);
        assemble_text(row.source);
        EXPECT_EQ(symbol_count, row.symbols);
        EXPECT_EQ(static_cast<int>(error_messages("# warning ").size()), row.warnings);
    }
}
