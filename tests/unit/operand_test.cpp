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
        // Names are hashed eight characters at a time: differ in the first or last of them.
        {6, "abcdefgh", false, -1},          // 14
        {6, "abcdefgi", false, -1},
        {6, "bbcdefgh", false, -1},
        {6, "abcdefghi", false, -1},         // 17
        {6, "abcdefghj", false, -1},
        {6, "abcdefghijklmnop", false, -1},  // 19
        {6, "abcdefghijklmnoq", false, -1},
        {6, "abcdefghijklmnopq", false, -1},
        {6, "abcdefgh", false, 14},
        {6, "abcdefghi", false, 17},
        {6, "abcdefghijklmnop", false, 19},
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

// The operand lists read their common spelling straight from the text and hand anything else
// to the general readers. Either way each must agree with the general readers alone: result,
// operands, where the cursor stops, the messages and the symbols entered.
TEST_F(OperandTest, OperandListsAgreeWithGeneralReaders)
{
    enum List { EOL, REG, TWO_REGS, REG_NUMBER, TWO_REGS_NUMBER, NUMBER, REG_MEM };
    struct Row { List list; const char* text; };
    const Row rows[] = {
        {EOL, ""}, {EOL, " \t; r1"}, {EOL, "x"}, {EOL, ","},
        {REG, "r4"}, {REG, "r9 ;"}, {REG, "sp"}, {REG, "r4, r5"}, {REG, "r16"}, {REG, "r"},
        {TWO_REGS, "r1, r2"}, {TWO_REGS, "r15,r10"}, {TWO_REGS, "r1 ,\tr2 ; c"},
        {TWO_REGS, "r16, r1"}, {TWO_REGS, "r1x, r2"}, {TWO_REGS, "r01, r2"},
        {TWO_REGS, "r1_, r2"}, {TWO_REGS, "sp, r1"}, {TWO_REGS, "r1, sp"},
        {TWO_REGS, "R1, r2"}, {TWO_REGS, "r1 r2"}, {TWO_REGS, "r1, r2 x"},
        {TWO_REGS, "r1, ret"}, {TWO_REGS, "r1,"}, {TWO_REGS, "r1, r2,"}, {TWO_REGS, "r19, r2"},
        {REG_NUMBER, "r3, 7"}, {REG_NUMBER, "r3, -0x10"}, {REG_NUMBER, "r3 7"},
        {TWO_REGS_NUMBER, "r1, r2, 5"}, {TWO_REGS_NUMBER, "r1, r2, -5"},
        {TWO_REGS_NUMBER, "r1, r2, - 5"}, {TWO_REGS_NUMBER, "r1, r2, 123456789"},
        {TWO_REGS_NUMBER, "r1, r2, 1234567890"}, {TWO_REGS_NUMBER, "r1, r2, 4294967296"},
        {TWO_REGS_NUMBER, "r1, r2, 99999999999"},
        {TWO_REGS_NUMBER, "r1, r2, 0x10"}, {TWO_REGS_NUMBER, "r1, r2, 0X1f"},
        {TWO_REGS_NUMBER, "r1, r2, 0"}, {TWO_REGS_NUMBER, "r1, r2, 007"},
        {TWO_REGS_NUMBER, "r1, r2, 5x"}, {TWO_REGS_NUMBER, "r1, r2, --5"},
        {TWO_REGS_NUMBER, "r1, r2, -"}, {TWO_REGS_NUMBER, "r1, r2, name"},
        {NUMBER, "5"}, {NUMBER, "-5"}, {NUMBER, "5 x"}, {NUMBER, "0x"}, {NUMBER, "12ab"},
        {REG_MEM, "r1, 4(r2)"}, {REG_MEM, "r1, (r2)"}, {REG_MEM, "r1, 4"},
        {REG_MEM, "r1, 4 ( r15 ) ;"}, {REG_MEM, "r1, sym(r2)"}, {REG_MEM, "r1, sym"},
        {REG_MEM, "r1, -4(r2)"}, {REG_MEM, "r1, 4+2(r2)"}, {REG_MEM, "r1, 4(r16)"},
        {REG_MEM, "r1, 4(sp)"}, {REG_MEM, "r1, 4(r2)x"}, {REG_MEM, "r1, ()"},
        {REG_MEM, "r1, 0x10(r2)"}, {REG_MEM, "r1, 2147483648(r2)"}, {REG_MEM, "r1, 4(r2"},
        {REG_MEM, "r1, (r2)+4"}, {REG_MEM, "r1, 4 name"}, {REG_MEM, "r1 4(r2)"},
    };
    struct Result {
        bool ok;
        int32_t a, b, c, d;
        std::string symbol, rest;
        std::vector<std::string> messages;
        int32_t symbols;
        bool operator==(const Result&) const = default;
    };
    // The list read by its reader (fast) or by the general readers alone.
    auto read = [](const Row& row, bool fast) {
        reset_assembler();
        char buffer[TEXT_BUF];
        std::snprintf(buffer, sizeof buffer, "%s", row.text);
        char* cursor = buffer;
        Result r{};
        SymbolHandle symbol = 0;
        Token first{}, second{};
        auto number_eol = [&](int32_t& n) {
            if (!parse_number(cursor, n)) {
                report_error("syntax error");
                return false;
            }
            return expect_tokens(cursor, {{TOKEN_EOL}});
        };
        switch (row.list) {
        case EOL:
            r.ok = fast ? read_eol(cursor) : expect_tokens(cursor, {{TOKEN_EOL}});
            break;
        case REG:
            r.ok = fast ? read_reg_eol(cursor, r.a)
                        : expect_tokens(cursor, {{TOKEN_REGISTER, &first}, {TOKEN_EOL}});
            break;
        case TWO_REGS:
            r.ok = fast ? read_two_regs(cursor, r.a, r.b)
                        : expect_tokens(cursor, {{TOKEN_REGISTER, &first}, {','},
                                                 {TOKEN_REGISTER, &second}, {TOKEN_EOL}});
            break;
        case REG_NUMBER:
            r.ok = fast ? read_reg_number(cursor, r.a, r.c)
                        : expect_tokens(cursor, {{TOKEN_REGISTER, &first}, {','}}) &&
                              number_eol(r.c);
            break;
        case TWO_REGS_NUMBER:
            r.ok = fast ? read_two_regs_number(cursor, r.a, r.b, r.c)
                        : expect_tokens(cursor, {{TOKEN_REGISTER, &first}, {','},
                                                 {TOKEN_REGISTER, &second}, {','}}) &&
                              number_eol(r.c);
            break;
        case NUMBER:
            r.ok = fast ? read_number_eol(cursor, r.c) : number_eol(r.c);
            break;
        case REG_MEM:
            if (fast) {
                r.ok = read_reg_mem(cursor, r.a, symbol, r.c, r.d);
            } else if (expect_tokens(cursor, {{TOKEN_REGISTER, &first}, {','}})) {
                r.ok = parse_mem_operand(cursor, symbol, r.c, r.d);
                if (!r.ok) {
                    report_error("syntax error");
                }
            }
            break;
        }
        if (!fast) {
            r.a = first.value;
            r.b = second.value;
        }
        if (!r.ok) {
            r.a = r.b = r.c = r.d = 0;      // unspecified after a failure
            symbol = 0;
        }
        r.symbol = name_of(symbol);
        r.rest = cursor;
        r.messages = error_messages();
        r.symbols = symbol_count;
        return r;
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        Result fast = read(row, true);
        Result general = read(row, false);
        EXPECT_EQ(fast.ok, general.ok);
        EXPECT_EQ(fast.a, general.a);
        EXPECT_EQ(fast.b, general.b);
        EXPECT_EQ(fast.c, general.c);
        EXPECT_EQ(fast.d, general.d);
        EXPECT_EQ(fast.symbol, general.symbol);
        EXPECT_EQ(fast.rest, general.rest) << "both stop at the same place";
        EXPECT_EQ(fast.messages, general.messages);
        EXPECT_EQ(fast.symbols, general.symbols);
    }
}
