// The operand parsers on every accepted and rejected form, and the symbol table's scopes,
// significant length, case and capacity.
#include "unit_util.h"

#include <cstring>

using OperandTest = FreshTables;

static const char* name_of(SymbolHandle symbol)
{
    return symbol == 0 ? "" : symbol_record(symbol).name;
}

TEST_F(OperandTest, ParseNumber)
{
    struct Row { const char* text; bool ok; int32_t value; const char* rest; };
    const Row rows[] = {
        {"5", true, 5, ""},
        {"-5", true, -5, ""},
        {"- 5", true, -5, ""},
        {"0x10", true, 16, ""},
        {"-0x10", true, -16, ""},
        {"-2147483648", true, -2147483647, ""},
        {"5 r1, x", true, 5, "r1, x"},
        {"5,", true, 5, ","},
        {"+5", false, 0, nullptr},
        {"--5", false, 0, nullptr},
        {"x", false, 0, nullptr},
        {"r1", false, 0, nullptr},
        {"", false, 0, nullptr},
        {"-", false, 0, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        reset_assembler();
        char buffer[TEXT_BUF];
        std::snprintf(buffer, sizeof buffer, "%s", row.text);
        char* cursor = buffer;
        int32_t number = 99;
        EXPECT_EQ(parse_number(cursor, number), row.ok);
        EXPECT_EQ(number, row.value);
        EXPECT_EQ(error_count, 0) << "the caller reports, not the parser";
        if (row.rest != nullptr) {
            while (*cursor == ' ') {
                cursor++;
            }
            EXPECT_STREQ(cursor, row.rest) << "the rest is left for the caller";
        }
    }
}

TEST_F(OperandTest, ParseWordExpr)
{
    struct Row { const char* text; bool ok; const char* symbol; int32_t number; };
    const Row rows[] = {
        {"sym", true, "sym", 0},
        {"sym+4-1", true, "sym", 3},
        {"sym - 2 ; comment", true, "sym", -2},
        {"5+3", true, "", 8},
        {"0-5", true, "", -5},
        {"0x7FFFFFFF+1", true, "", INT32_MIN},
        {"0-2147483647-2147483647", true, "", 2},
        {"-5", false, "", 0},
        {"+5", false, "", 0},
        {"sym 4", false, "", 0},
        {"5 sym", false, "", 0},
        {"sym+sym2", false, "", 0},
        {"sym+", false, "", 0},
        {"sym+-4", false, "", 0},
        {"", false, "", 0},
        {"r1", false, "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        reset_assembler();
        char buffer[TEXT_BUF];
        std::snprintf(buffer, sizeof buffer, "%s", row.text);
        char* cursor = buffer;
        SymbolHandle symbol = 77;
        int32_t number = 99;
        EXPECT_EQ(parse_word_expr(cursor, symbol, number), row.ok);
        if (row.ok) {
            EXPECT_STREQ(name_of(symbol), row.symbol);
            EXPECT_EQ(number, row.number);
        }
        EXPECT_EQ(error_count, 0);
    }
}

TEST_F(OperandTest, ParseMemOperand)
{
    struct Row { const char* text; bool ok; const char* symbol; int32_t offset; int32_t base; };
    const Row rows[] = {
        {"(r2)", true, "", 0, 2},
        {"sym+4(r2)", true, "sym", 4, 2},
        {"-4(r3)", true, "", -4, 3},
        {"+4(sp)", true, "", 4, 1},
        {"4", true, "", 4, 0},
        {"sym", true, "sym", 0, 0},
        {"sym-2+8", true, "sym", 6, 0},
        {"(r0)", true, "", 0, 0},
        {"0x10 ( r15 ) ; c", true, "", 16, 15},
        {"", false, "", 0, 0},
        {"sym 4", false, "", 0, 0},
        {"4 sym", false, "", 0, 0},
        {"r2", false, "", 0, 0},
        {"(sym)", false, "", 0, 0},
        {"4(r2", false, "", 0, 0},
        {"4(r2)x", false, "", 0, 0},
        {"(r2)+4", false, "", 0, 0},
        {"4(r2)(r3)", false, "", 0, 0},
        {"sym+(r2)", false, "", 0, 0},
        {"()", false, "", 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        reset_assembler();
        char buffer[TEXT_BUF];
        std::snprintf(buffer, sizeof buffer, "%s", row.text);
        char* cursor = buffer;
        SymbolHandle symbol = 77;
        int32_t offset = 99;
        int32_t base = 99;
        EXPECT_EQ(parse_mem_operand(cursor, symbol, offset, base), row.ok);
        if (row.ok) {
            EXPECT_STREQ(name_of(symbol), row.symbol);
            EXPECT_EQ(offset, row.offset);
            EXPECT_EQ(base, row.base);
        }
        EXPECT_EQ(error_count, 0);
    }
}

// register, comma, register, end of line
TEST_F(OperandTest, ExpectTokens)
{
    struct Row { const char* text; bool ok; int32_t first; int32_t second; const char* rest; };
    const Row rows[] = {
        {"r1,r2", true, 1, 2, ""},
        {"sp , r15 ; c", true, 1, 15, nullptr},
        {"r1 r2", false, 1, 99, ""},
        {"r1,r2,r3", false, 1, 2, "r3"},
        {"5,r2", false, 99, 99, ",r2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        reset_assembler();
        char buffer[TEXT_BUF];
        std::snprintf(buffer, sizeof buffer, "%s", row.text);
        char* cursor = buffer;
        Token first = {0, 99};
        Token second = {0, 99};
        bool ok = expect_tokens(cursor, {{TOKEN_REGISTER, &first}, {','},
                                         {TOKEN_REGISTER, &second}, {TOKEN_EOL}});
        EXPECT_EQ(ok, row.ok);
        EXPECT_EQ(first.value, row.first);
        EXPECT_EQ(second.value, row.second);
        if (row.ok) {
            EXPECT_EQ(first.kind, TOKEN_REGISTER);
            EXPECT_EQ(error_count, 0);
        } else {
            EXPECT_EQ(error_messages(), std::vector<std::string>{"syntax error"});
        }
        if (row.rest != nullptr) {
            EXPECT_STREQ(cursor, row.rest) << "the mismatching token is consumed, no more";
        }
    }
    // An empty list reads nothing.
    char buffer[] = "junk";
    char* cursor = buffer;
    EXPECT_TRUE(expect_tokens(cursor, {}));
    EXPECT_EQ(cursor, buffer);
}

TEST_F(OperandTest, CheckLongReg)
{
    struct Row { int32_t reg; bool ok; const char* message; };
    const Row rows[] = {
        {0, true, nullptr},
        {1, true, nullptr},
        {11, true, nullptr},
        {12, false, "r12 is not a long register name"},
        {15, false, "r15 is not a long register name"},
        {-1, false, "r-1 is not a long register name"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reg);
        reset_assembler();
        EXPECT_EQ(check_long_reg(row.reg), row.ok);
        std::vector<std::string> want;
        if (row.message != nullptr) {
            want.push_back(row.message);
        }
        EXPECT_EQ(error_messages(), want);
    }
}

// Lookups in file order; each step's handle must equal that of an earlier step, or be new.
TEST_F(OperandTest, SymbolScopes)
{
    const char* long40 = "abcdefghijklmnopqrstuvwxyz0123456789ABCD";
    const char* long40b = "abcdefghijklmnopqrstuvwxyz01234567X9ABCD";   // differs at 35
    struct Step { int32_t file; const char* name; bool make_global; int same_as; };
    const Step steps[] = {
        {1, "loop", false, -1},     // 0
        {1, "loop", false, 0},
        {2, "loop", false, -1},     // 2: another file's loop is its own
        {2, "start", true, -1},     // 3: made global
        {3, "start", false, 3},     // a later file finds the global record
        {3, "loop", false, -1},     // 5: but not file 1's or file 2's local loop
        {3, "Loop", false, -1},     // 6: case matters
        {3, long40, false, -1},     // 7
        {3, long40b, false, 7},     // only 31 characters count
        {1, "loop", false, 0},
        {2, "loop", false, 2},
        {4, "only4", false, -1},    // 11: first sight, local, then made global in its file
        {4, "only4", true, 11},
        {5, "only4", false, 11},
    };
    std::vector<SymbolHandle> handles;
    int created = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "step " << handles.size() << " file " << step.file
                                        << " " << step.name);
        file_number = step.file;
        SymbolHandle handle = find_symbol(step.name);
        ASSERT_NE(handle, 0);
        if (step.same_as >= 0) {
            EXPECT_EQ(handle, handles[step.same_as]);
        } else {
            created++;
            for (SymbolHandle earlier : handles) {
                EXPECT_NE(handle, earlier);
            }
        }
        if (step.make_global) {
            make_global(handle);
        }
        handles.push_back(handle);
    }
    EXPECT_EQ(symbol_count, created);
    EXPECT_STREQ(symbol_record(handles[7]).name, std::string(long40, 31).c_str());
    EXPECT_EQ(symbol_record(handles[3]).scope, 0);
    EXPECT_EQ(symbol_record(handles[5]).scope, 3);
}

TEST_F(OperandTest, SymbolTableCapacity)
{
    file_number = 1;
    std::vector<SymbolHandle> handles;
    char name[32];
    for (int i = 0; i < MAX_SYMBOLS; i++) {
        std::snprintf(name, sizeof name, "s%d", i);
        handles.push_back(find_symbol(name));
        ASSERT_NE(handles.back(), 0) << name;
    }
    EXPECT_EQ(symbol_count, MAX_SYMBOLS);
    EXPECT_EQ(find_symbol("one_too_many"), 0);
    EXPECT_EQ(find_symbol("s9999"), handles[9999]) << "existing names are still found";
    EXPECT_EQ(find_symbol("s0"), handles[0]);
    EXPECT_EQ(error_count, 0) << "the lookup itself reports nothing";

    // Using a symbol that got no record is reported once per run.
    EXPECT_TRUE(symbol_usable(handles[0]));
    EXPECT_FALSE(symbol_usable(0));
    EXPECT_FALSE(symbol_usable(0));
    EXPECT_EQ(error_messages(), std::vector<std::string>{"symbol table is full"});
}
