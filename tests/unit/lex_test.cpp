// The lexer on whole lines: the token stream, the end of the line that never moves, and the
// line buffer left as it was after every call.
#include "unit_util.h"

#include <cstring>

using LexTest = FreshTables;

// Lexes a copy of `line` to its end and renders the tokens: "i:0" mnemonic, "r:1" register,
// "1:12" number, "s:name" symbol, a printable character as itself, any other byte as "#-23".
static std::string lex_line(const char* line)
{
    char buffer[TEXT_BUF];
    std::snprintf(buffer, sizeof buffer, "%s", line);
    char* cursor = buffer;
    std::string out;
    for (int guard = 0; guard < 64; guard++) {
        char* before = cursor;
        Token token = next_token(cursor);
        EXPECT_STREQ(buffer, line) << "buffer changed by the call at offset " << before - buffer;
        if (token.kind == TOKEN_EOL) {
            EXPECT_EQ(token.value, 0);
            // Further calls keep answering the end of the line, from the same place.
            char* end = cursor;
            EXPECT_EQ(next_token(cursor).kind, TOKEN_EOL);
            EXPECT_EQ(cursor, end) << "the end of the line moved the cursor";
            return out;
        }
        EXPECT_GT(cursor, before) << "a token other than the end of the line must advance";
        char text[TEXT_BUF];
        switch (token.kind) {
        case TOKEN_MNEMONIC: case TOKEN_REGISTER: case TOKEN_NUMBER:
            std::snprintf(text, sizeof text, "%c:%d", token.kind, token.value);
            break;
        case TOKEN_SYMBOL:
            EXPECT_NE(token.value, 0);
            std::snprintf(text, sizeof text, "s:%s",
                          token.value != 0 ? symbol_record(token.value).name : "?");
            break;
        default:
            EXPECT_EQ(token.value, 0) << "single-character token " << token.kind;
            if (token.kind > 32 && token.kind < 127) {
                std::snprintf(text, sizeof text, "%c", token.kind);
            } else {
                std::snprintf(text, sizeof text, "#%d", token.kind);
            }
        }
        out += out.empty() ? "" : " ";
        out += text;
    }
    ADD_FAILURE() << "no end of line";
    return out;
}

TEST_F(LexTest, TokenStreams)
{
    struct Row { const char* line; const char* tokens; int symbols; };
    const Row rows[] = {
        {"", "", 0},
        {" \t\v\f\r\n ", "", 0},
        {"; nop r1", "", 0},
        {"nop;x", "i:0", 0},
        {"\t\v\f\r nop", "i:0", 0},
        {"bss global lw imm mov ljneg cmpl", "i:82 i:78 i:57 i:62 i:63 i:37 i:75", 0},
        {"12ab", "1:12 s:ab", 1},
        {"0x1g", "1:1 s:g", 1},
        {"0x ", "1:0", 0},
        {"0x", "1:0", 0},
        {"0xg", "1:0 s:g", 1},
        {"0X1f 0x1F 007", "1:31 1:31 1:7", 0},
        {"2147483647 2147483648 4294967296", "1:2147483647 1:2147483647 1:2147483647", 0},
        {"0x100000001 0xFFFFFFFF 0x80000000", "1:1 1:-1 1:-2147483648", 0},
        {"-5", "- 1:5", 0},
        {"sp r1 r0 r15", "r:1 r:1 r:0 r:15", 0},
        {"r16 R1 Nop Sp sp1 nopx", "s:r16 s:R1 s:Nop s:Sp s:sp1 s:nopx", 6},
        {"_tmp9 a.b", "s:_tmp9 s:a . s:b", 3},
        {"(r2) , :", "( r:2 ) , :", 0},
        {"lw r2,table+4(r3)", "i:57 r:2 , s:table + 1:4 ( r:3 )", 1},
        {"\xE9", "#-23", 0},
        {"a\xE9z", "s:a #-23 s:z", 2},
        {"\x7f", "#127", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "line \"" << row.line << "\"");
        reset_assembler();
        EXPECT_EQ(lex_line(row.line), row.tokens);
        EXPECT_EQ(symbol_count, row.symbols) << "keywords must not create symbols";
    }
}

// One name lexed twice in a file is one record; a different name is another.
TEST_F(LexTest, SameNameSameHandle)
{
    struct Row { const char* line; int first; int second; bool same; };
    const Row rows[] = {
        {"loop x loop", 0, 2, true},
        {"loop x loop", 0, 1, false},
        {"ab: beq ab", 0, 3, true},
        {"Loop loop", 0, 1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        reset_assembler();
        file_number = 1;
        char buffer[TEXT_BUF];
        std::snprintf(buffer, sizeof buffer, "%s", row.line);
        char* cursor = buffer;
        std::vector<Token> tokens;
        for (Token t = next_token(cursor); t.kind != TOKEN_EOL; t = next_token(cursor)) {
            tokens.push_back(t);
        }
        ASSERT_GT(tokens.size(), static_cast<size_t>(row.second));
        EXPECT_EQ(tokens[row.first].kind, TOKEN_SYMBOL);
        EXPECT_EQ(tokens[row.second].kind, TOKEN_SYMBOL);
        EXPECT_EQ(tokens[row.first].value == tokens[row.second].value, row.same);
    }
}

// Keywords are found by a hash of their packed names: every row's name must come back as its
// own token, and names one character off (longer, shorter, another case) as symbols.
TEST_F(LexTest, EveryKeywordAndItsNearMisses)
{
    struct Keyword { const char* name; char kind; int32_t value; };
    std::vector<Keyword> keywords;
    for (int32_t mn = 0; mn < MN_COUNT; mn++) {
        keywords.push_back({InstructionTable[mn].name, 'i', mn});
    }
    const char* registers[] = {"r0", "r1", "r2",  "r3",  "r4",  "r5",  "r6",  "r7", "r8",
                               "r9", "r10", "r11", "r12", "r13", "r14", "r15", "sp"};
    for (int32_t reg = 0; reg < 17; reg++) {
        keywords.push_back({registers[reg], 'r', reg == 16 ? 1 : reg});   // sp is r1
    }
    auto is_keyword = [&](const char* name) {
        for (const Keyword& keyword : keywords) {
            if (std::strcmp(name, keyword.name) == 0) {
                return true;
            }
        }
        return false;
    };
    for (const Keyword& keyword : keywords) {
        SCOPED_TRACE(keyword.name);
        reset_assembler();
        char want[32];
        std::snprintf(want, sizeof want, "%c:%d", keyword.kind, keyword.value);
        EXPECT_EQ(lex_line(keyword.name), want);

        size_t length = std::strlen(keyword.name);
        char misses[4][16];
        std::snprintf(misses[0], sizeof misses[0], "%sx", keyword.name);
        std::snprintf(misses[1], sizeof misses[1], "x%s", keyword.name);
        std::snprintf(misses[2], sizeof misses[2], "%c%s", keyword.name[0] - 'a' + 'A',
                      keyword.name + 1);
        std::snprintf(misses[3], sizeof misses[3], "%.*sq", static_cast<int>(length - 1),
                      keyword.name);
        for (const char* miss : misses) {
            if (!is_keyword(miss)) {
                EXPECT_EQ(lex_line(miss), std::string("s:") + miss);
            }
        }
    }
}
