// The disassembler: DisasmTable of format strings in seven groups of 16, and
// disassemble_word, which turns one word into at most 18 characters of assembly text.
#include "asm.h"

#include <string_view>

// Groups of 16 entries, each picked by one 4-bit field; nullptr leaves "<reserved>".
// Mnemonic and blanks fill five columns before the operands (six for the long jumps).
constexpr const char* DisasmTable[] = {
    // 0: register names, by register number; register 1 is shown as sp
    "r0", "sp", "r2", "r3", "r4", "r5", "r6", "r7",
    "r8", "r9", "r10", "r11", "r12", "r13", "r14", "r15",
    // 16: major formats, by M (only M = 1, 2, 3, 5, 6, 10..15 are consulted)
    nullptr, "srli %s,%s,0x%X", "srai %s,%s,0x%X", "slli %s,%s,0x%X",
    nullptr, "subi %s,%s,0x%X", "addi %s,%s,0x%X", nullptr,
    nullptr, nullptr, "lw   %s,0x%X(%s)", "sw   %s,0x%X(%s)",
    "lb   %s,0x%X(%s)", "sb   %s,0x%X(%s)", "lu   %s,0x%X(%s)", "imm  0x%04X",
    // 32: two-register operations, M = 7, by L
    "and  %s,%s", "xor  %s,%s", "ror  %s,%s", "rcr  %s,%s",
    "or   %s,%s", "andn %s,%s", "subr %s,%s", "cmp  %s,%s",
    "add  %s,%s", "sub  %s,%s", "addc %s,%s", "subc %s,%s",
    "rol  %s,%s", "rcl  %s,%s", nullptr, nullptr,
    // 48: M = 0, by L
    "nop", "wait", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, "break",
    // 64: M = 8 with L other than 8, by L
    nullptr, "call %s", "ret", nullptr, "reti", nullptr, nullptr, nullptr,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    // 80: long jumps, M = 8 and L = 8, by condition
    "ljltu %s", "ljgeu %s", "ljeq  %s", "ljne  %s", "ljlt  %s", "ljge  %s", "ljvs  %s",
    "ljvc  %s", "ljle  %s", "ljgt  %s", "ljgtu %s", "ljleu %s", "ljneg %s", "ljpos %s",
    "ljn   %s", "lja   %s",
    // 96: short branches, M = 9, by condition
    "bltu 0x%04X", "bgeu 0x%04X", "beq  0x%04X", "bne  0x%04X", "blt  0x%04X",
    "bge  0x%04X", "bvs  0x%04X", "bvc  0x%04X", "ble  0x%04X", "bgt  0x%04X",
    "bgtu 0x%04X", "bleu 0x%04X", "bneg 0x%04X", "bpos 0x%04X", "bn   0x%04X",
    "ba   0x%04X",
};
static_assert(sizeof DisasmTable / sizeof DisasmTable[0] == DISASM_ROWS);
static_assert(std::string_view(DisasmTable[31]) == "imm  0x%04X");
static_assert(std::string_view(DisasmTable[63]) == "break");
static_assert(std::string_view(DisasmTable[111]) == "ba   0x%04X");

constexpr int GROUP_REGISTER = 0, GROUP_MAJOR = 16, GROUP_ALU = 32, GROUP_MAJOR0 = 48;
constexpr int GROUP_MAJOR8 = 64, GROUP_LONG_JUMP = 80, GROUP_BRANCH = 96;

char* disassemble_word(uint32_t word, char* buffer, int32_t address)
{
    std::snprintf(buffer, DISASM_BUF, "<reserved>");
    buffer[DISASM_BUF - 1] = '\0';
    uint32_t m = field_m(word), a = field_a(word), b = field_b(word), l = field_l(word);
    const char* ra = DisasmTable[GROUP_REGISTER + a];
    const char* rb = DisasmTable[GROUP_REGISTER + b];
    const char* format = nullptr;
    constexpr int TEXT_LIMIT = DISASM_BUF;   // writes at most 19 characters and the NUL

    switch (m) {
    case 0:
        if ((format = DisasmTable[GROUP_MAJOR0 + l]) != nullptr) {
            std::snprintf(buffer, TEXT_LIMIT, "%s", format);
        }
        break;
    case 1: case 2: case 3: case 5: case 6:
        std::snprintf(buffer, TEXT_LIMIT, DisasmTable[GROUP_MAJOR + m], ra, rb, l);
        break;
    case 7:
        if ((format = DisasmTable[GROUP_ALU + l]) != nullptr) {
            std::snprintf(buffer, TEXT_LIMIT, format, ra, rb);
        }
        break;
    case 8:
        format = l == 8 ? DisasmTable[GROUP_LONG_JUMP + a] : DisasmTable[GROUP_MAJOR8 + l];
        if (format != nullptr) {
            std::snprintf(buffer, TEXT_LIMIT, format, rb);
        }
        break;
    case 9: {
        // The target is relative to the branch's own address; the address bus has 16 bits.
        int32_t displacement = static_cast<int8_t>(word & 0xFF);
        uint32_t target = static_cast<uint32_t>(address + 2 + 2 * displacement) & 0xFFFF;
        std::snprintf(buffer, TEXT_LIMIT, DisasmTable[GROUP_BRANCH + a], target);
        break;
    }
    case 10: case 11:
        std::snprintf(buffer, TEXT_LIMIT, DisasmTable[GROUP_MAJOR + m], ra,
                      unpack_word_offset(l), rb);
        break;
    case 12: case 13: case 14:
        std::snprintf(buffer, TEXT_LIMIT, DisasmTable[GROUP_MAJOR + m], ra, l, rb);
        break;
    case 15:
        std::snprintf(buffer, TEXT_LIMIT, DisasmTable[GROUP_MAJOR + 15], (word & 0xFFF) << 4);
        break;
    default:   // M = 4 encodes nothing
        break;
    }
    buffer[DISASM_BUF - 1] = '\0';
    return buffer;
}
