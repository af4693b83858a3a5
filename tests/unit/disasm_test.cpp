// The disassembler: the exact text of each format and of the reserved words, and every one of
// the 65536 words assembled back from its own text.
#include "unit_util.h"

#include <cstring>

static std::string disasm(uint32_t word, int32_t address)
{
    char buffer[32];
    std::memset(buffer, 'X', sizeof buffer);
    return disassemble_word(word, buffer, address);
}

// Words that encode no instruction, worked out from the formats rather than from the table.
static bool is_reserved(uint32_t word)
{
    uint32_t m = word >> 12, l = word & 15;
    return (m == 0 && l != 0 && l != 1 && l != 15) || m == 4 || (m == 7 && l >= 14) ||
           (m == 8 && l != 1 && l != 2 && l != 4 && l != 8);
}

TEST(Disassembler, Texts)
{
    struct Row { uint32_t word; int32_t address; const char* text; };
    const Row rows[] = {
        {0x0FF0, 0, "nop"},              // nop, wait and break ignore A and B
        {0x0A51, 0, "wait"},
        {0x000F, 0, "break"},
        {0x1FFF, 0, "srli r15,r15,0xF"},
        {0x3123, 0, "slli sp,r2,0x3"},   // r1 shows as sp
        {0x5034, 0, "subi r0,r3,0x4"},
        {0x7128, 0, "add  sp,r2"},       // short mnemonics pad to the operand column
        {0x7D2D, 0, "rcl  r13,r2"},
        {0x8258, 0, "ljeq  r5"},
        {0x8C58, 0, "ljneg r5"},         // a condition that has no statement
        {0x8031, 0, "call r3"},
        {0x8002, 0, "ret"},
        {0x8F04, 0, "reti"},
        {0x93FE, 0x0010, "bne  0x000E"}, // the target, address + 2 + 2 * displacement
        {0x9A05, 0x0100, "bgtu 0x010C"},
        {0x9D00, 0x0000, "bpos 0x0002"},
        {0x9F80, 0x0000, "ba   0xFF02"},   // below 0: the low 16 bits of the target
        {0x9F7F, 0xFFFE, "ba   0x00FE"},   // past 0xFFFF likewise
        {0xA215, 0, "lw   r2,0x14(sp)"},   // word offsets unpacked: bit 0 of L is bit 4
        {0xBFFF, 0, "sw   r15,0x1E(r15)"},
        {0xC215, 0, "lb   r2,0x5(sp)"},
        {0xE000, 0, "lu   r0,0x0(r0)"},
        {0xFFFF, 0, "imm  0xFFF0"},
        {0x0002, 0, "<reserved>"},
        {0x4123, 0, "<reserved>"},
        {0x712E, 0, "<reserved>"},
        {0x8F03, 0, "<reserved>"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(disasm(row.word, row.address), row.text) << std::hex << row.word;
}

// Words the assembler cannot give back from their own text, each with the reason. A word
// matches a row when (word & mask) == match; the assembler then gives (word & keep) | set,
// or rejects the text.
struct Exception { uint32_t mask, match, keep, set; bool rejected; };
static const Exception exceptions[] = {
    {0xF000, 0x0000, 0xF00F, 0x0000, false},   // nop, wait and break show neither A nor B
    {0xF00F, 0x8001, 0xF0FF, 0x0F00, false},   // call shows only B; its A is always 15
    {0xF00F, 0x8002, 0xF00F, 0x0F00, false},   // ret shows no operand; A is 15, B 0
    {0xF00F, 0x8004, 0xF00F, 0x0F00, false},   // reti likewise
    {0xFF0F, 0x8C08, 0, 0, true},              // ljneg and ljpos are reserved words
    {0xFF0F, 0x8D08, 0, 0, true},              // without a statement
};

TEST(Disassembler, EveryWordAssemblesBack)
{
    int failed = 0;
    // The rejected texts are meant to fail; keep their diagnostics off the terminal.
    std::fflush(stderr);
    int saved_stderr = dup(2), null_fd = open("/dev/null", O_WRONLY);
    dup2(null_fd, 2);
    for (uint32_t word = 0; word < 0x10000; word++) {
        std::string text = disasm(word, 0);
        uint32_t want = word;
        bool rejected = false, ok = text.size() >= 3 && text.size() <= 18;
        for (const Exception& e : exceptions)
            if ((word & e.mask) == e.match) {
                want = (word & e.keep) | e.set;
                rejected = e.rejected;
            }
        // A short branch shows an absolute target, but its operand must be a label.
        if (is_reserved(word) || text == "<reserved>") {
            ok = ok && is_reserved(word) && text == "<reserved>";
        } else if (word >> 12 != 9) {
            assemble_text(text + "\n");
            ok = ok && (rejected ? location_counter == 0 && error_count == 1
                                 : location_counter == 2 && image_word(0) == want &&
                                       error_count == 0);
        }
        if (!ok && ++failed <= 20)
            ADD_FAILURE() << std::hex << word << " \"" << text << "\" gave " << image_word(0);
    }
    std::fflush(stderr);
    dup2(saved_stderr, 2);
    close(saved_stderr);
    close(null_fd);
}
