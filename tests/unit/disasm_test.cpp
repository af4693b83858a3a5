// Every one of the 65536 words disassembled, and its text assembled back to the word; a short
// branch is placed at 0x100 with a label at its target.
#include "unit_util.h"

// Words the assembler gives back otherwise: where (word & mask) == match it gives
// (word & keep) | set, or, with keep 0, refuses the text.
struct Exception { uint32_t mask, match, keep, set; };
static const Exception exceptions[] = {
    {0xF000, 0x0000, 0xF00F, 0x0000},   // nop, wait and break show neither A nor B
    {0xF00F, 0x8001, 0xF0FF, 0x0F00},   // call shows only B; its A is always 15
    {0xF00F, 0x8002, 0xF00F, 0x0F00},   // ret shows no operand: A is 15, B 0
    {0xF00F, 0x8004, 0xF00F, 0x0F00},   // reti likewise
    {0xFE0F, 0x8C08, 0, 0},             // ljneg, ljpos, bneg and bpos are reserved words
    {0xFE00, 0x9C00, 0, 0},             // without a statement
};

TEST(Disassembler, EveryWordAssemblesBack)
{
    int failed = 0;
    std::fflush(stderr);   // the refused texts are meant to fail: their messages go nowhere
    int saved = dup(2);
    ASSERT_TRUE(std::freopen("/dev/null", "w", stderr));
    for (uint32_t word = 0; word < 0x10000; word++) {
        uint32_t m = word >> 12, l = word & 15, want = word, keep = 1;
        for (const Exception& e : exceptions)
            if ((word & e.mask) == e.match) want = (word & (keep = e.keep)) | e.set;
        char buffer[32];
        std::string text = disassemble_word(word, buffer, m == 9 ? 0x100 : 0), source = text;
        bool reserved = (m == 0 && l != 0 && l != 1 && l != 15) || m == 4 || (m == 7 && l >= 14) ||
                        (m == 8 && l != 1 && l != 2 && l != 4 && l != 8);
        int32_t target = 0x102 + 2 * static_cast<int8_t>(word & 0xFF);
        std::string branch = text.substr(0, text.find(' ')) + " t\n";
        if (m == 9 && target <= 0x100)
            source = "bss " + std::to_string(target) + "\nt: " +
                     (target < 0x100 ? "bss " + std::to_string(0x100 - target) + "\n" : "") +
                     branch;
        else if (m == 9)
            source = "bss 256\n" + branch +
                     (target > 0x102 ? "bss " + std::to_string(target - 0x102) + "\n" : "") + "t:";
        uint32_t at = m == 9 ? 0x100 : 0;
        bool ok = text.size() >= 3 && text.size() <= 18;
        if (reserved || text == "<reserved>") {
            ok = ok && reserved && text == "<reserved>";
        } else {
            assemble_text(source + "\n");
            ok = ok && (keep == 0 ? error_count == 1 && image_word(at) == 0
                                  : error_count == 0 && image_word(at) == want);
        }
        if (!ok && ++failed <= 20)
            ADD_FAILURE() << std::hex << word << " \"" << text << "\" gave " << image_word(at);
    }
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
}
