// The instruction set: InstructionTable, one row per mnemonic, and the small functions that
// place fields, build imm prefixes and pack lw/sw word offsets.
#include "asm.h"

#include <string_view>

// A vexa instruction word, stored high byte first at an even address:
//
//   15    12 11     8 7      4 3      0
//  +--------+--------+--------+--------+
//  |   M    |   A    |   B    |   L    |   M major opcode, A rd or condition, B rs or base,
//  +--------+--------+--------+--------+   L 4-bit immediate, offset or function
//  | 1001   |  cond  |  8-bit displacement (words)  |   short branch, M = 9
//  | 1111   |       12-bit payload = bits 15..4      |   imm prefix, M = 15

// Mnemonic numbers below the directives, in InstructionTable's order.
enum : int32_t {
    MN_NOP, MN_WAIT, MN_BREAK, MN_SRLI, MN_SRAI, MN_SLLI, MN_SUBI, MN_ADDI,
    MN_AND, MN_XOR, MN_ROR, MN_RCR, MN_OR, MN_ANDN, MN_SUBR, MN_CMP, MN_ADD, MN_SUB,
    MN_ADDC, MN_SUBC, MN_ROL, MN_RCL, MN_CALL, MN_RET, MN_RETI,
    MN_LJLTU, MN_LJGEU, MN_LJEQ, MN_LJNE, MN_LJLT, MN_LJGE, MN_LJVS, MN_LJVC, MN_LJLE,
    MN_LJGT, MN_LJGTU, MN_LJLEU, MN_LJNEG, MN_LJPOS, MN_LJN, MN_LJA,
    MN_BLTU, MN_BGEU, MN_BEQ, MN_BNE, MN_BLT, MN_BGE, MN_BVS, MN_BVC, MN_BLE,
    MN_BGT, MN_BGTU, MN_BLEU, MN_BNEG, MN_BPOS, MN_BN, MN_BA,
    MN_LW, MN_SW, MN_LB, MN_SB, MN_LU, MN_IMM,
    MN_MOV, MN_CMPI, MN_LEA, MN_SEXT, MN_ZEXT, MN_ADDL, MN_SUBL, MN_ANDL, MN_ORL, MN_XORL,
    MN_ANDNL, MN_MOVL, MN_CMPL, MN_LL, MN_SL,
};
static_assert(MN_SL + 1 == MN_GLOBAL);

// Indexed by mnemonic number (the order of the MN_ numbers): the keyword, the handler that
// reads the operands and lays down the words, and the base word into which the operand
// fields go. A pseudo-instruction's words are those of the steps it expands to, the second
// written out only where there is one; HANDLER_NONE marks a reserved word that is no
// statement, and it and the directives have no word.
constexpr InstructionRow InstructionTable[] = {
    // no operands, M = 0, function in L
    {"nop",    HANDLER_PLAIN,       0x0000},          // 0
    {"wait",   HANDLER_PLAIN,       0x0001},
    {"break",  HANDLER_PLAIN,       0x000F},
    // shifts and immediate arithmetic, M = 1, 2, 3, 5, 6
    {"srli",   HANDLER_REG_REG_IMM, 0x1000},          // 3
    {"srai",   HANDLER_REG_REG_IMM, 0x2000},
    {"slli",   HANDLER_REG_REG_IMM, 0x3000},
    {"subi",   HANDLER_REG_REG_IMM, 0x5000},
    {"addi",   HANDLER_REG_REG_IMM, 0x6000},
    // two-register operations, M = 7, function in L
    {"and",    HANDLER_TWO_REG,     0x7000},          // 8
    {"xor",    HANDLER_TWO_REG,     0x7001},
    {"ror",    HANDLER_TWO_REG,     0x7002},
    {"rcr",    HANDLER_TWO_REG,     0x7003},
    {"or",     HANDLER_TWO_REG,     0x7004},
    {"andn",   HANDLER_TWO_REG,     0x7005},
    {"subr",   HANDLER_TWO_REG,     0x7006},
    {"cmp",    HANDLER_TWO_REG,     0x7007},
    {"add",    HANDLER_TWO_REG,     0x7008},
    {"sub",    HANDLER_TWO_REG,     0x7009},
    {"addc",   HANDLER_TWO_REG,     0x700A},
    {"subc",   HANDLER_TWO_REG,     0x700B},
    {"rol",    HANDLER_TWO_REG,     0x700C},
    {"rcl",    HANDLER_TWO_REG,     0x700D},
    // call, return, and the long jumps: M = 8, condition in A
    {"call",   HANDLER_REG_JUMP,    0x8F01},          // 22
    {"ret",    HANDLER_PLAIN,       0x8F02},
    {"reti",   HANDLER_PLAIN,       0x8F04},
    {"ljltu",  HANDLER_REG_JUMP,    0x8008},
    {"ljgeu",  HANDLER_REG_JUMP,    0x8108},
    {"ljeq",   HANDLER_REG_JUMP,    0x8208},
    {"ljne",   HANDLER_REG_JUMP,    0x8308},
    {"ljlt",   HANDLER_REG_JUMP,    0x8408},
    {"ljge",   HANDLER_REG_JUMP,    0x8508},
    {"ljvs",   HANDLER_REG_JUMP,    0x8608},
    {"ljvc",   HANDLER_REG_JUMP,    0x8708},
    {"ljle",   HANDLER_REG_JUMP,    0x8808},
    {"ljgt",   HANDLER_REG_JUMP,    0x8908},
    {"ljgtu",  HANDLER_REG_JUMP,    0x8A08},
    {"ljleu",  HANDLER_REG_JUMP,    0x8B08},
    {"ljneg",  HANDLER_NONE},
    {"ljpos",  HANDLER_NONE},
    {"ljn",    HANDLER_REG_JUMP,    0x8E08},
    {"lja",    HANDLER_REG_JUMP,    0x8F08},
    // short branches: M = 9, condition in A, displacement filled by a fixup
    {"bltu",   HANDLER_BRANCH,      0x9000},          // 41
    {"bgeu",   HANDLER_BRANCH,      0x9100},
    {"beq",    HANDLER_BRANCH,      0x9200},
    {"bne",    HANDLER_BRANCH,      0x9300},
    {"blt",    HANDLER_BRANCH,      0x9400},
    {"bge",    HANDLER_BRANCH,      0x9500},
    {"bvs",    HANDLER_BRANCH,      0x9600},
    {"bvc",    HANDLER_BRANCH,      0x9700},
    {"ble",    HANDLER_BRANCH,      0x9800},
    {"bgt",    HANDLER_BRANCH,      0x9900},
    {"bgtu",   HANDLER_BRANCH,      0x9A00},
    {"bleu",   HANDLER_BRANCH,      0x9B00},
    {"bneg",   HANDLER_NONE},
    {"bpos",   HANDLER_NONE},
    {"bn",     HANDLER_BRANCH,      0x9E00},
    {"ba",     HANDLER_BRANCH,      0x9F00},
    // loads, stores and the imm prefix, M = 10..15
    {"lw",     HANDLER_LOAD_STORE,  0xA000},          // 57
    {"sw",     HANDLER_LOAD_STORE,  0xB000},
    {"lb",     HANDLER_LOAD_STORE,  0xC000},
    {"sb",     HANDLER_LOAD_STORE,  0xD000},
    {"lu",     HANDLER_LOAD_STORE,  0xE000},
    {"imm",    HANDLER_IMM,         0xF000},
    // pseudo-instructions: the words of their steps
    {"mov",    HANDLER_TWO_REG,     0x6000},          // 63: addi rd, rs, 0
    {"cmpi",   HANDLER_CMPI,        0x5000},          // subi r0, rs, n
    {"lea",    HANDLER_LEA,         0x6000},          // addi rd, base, offset
    {"sext",   HANDLER_EXTEND,      0x3008, 0x2008},  // slli 8, then srai 8
    {"zext",   HANDLER_EXTEND,      0x3008, 0x1008},  // slli 8, then srli 8
    {"addl",   HANDLER_LONG_ALU,    0x7008, 0x700A},  // add, then addc
    {"subl",   HANDLER_LONG_ALU,    0x7009, 0x700B},  // sub, then subc
    {"andl",   HANDLER_LONG_ALU,    0x7000, 0x7000},
    {"orl",    HANDLER_LONG_ALU,    0x7004, 0x7004},
    {"xorl",   HANDLER_LONG_ALU,    0x7001, 0x7001},
    {"andnl",  HANDLER_LONG_ALU,    0x7005, 0x7005},
    {"movl",   HANDLER_LONG_ALU,    0x6000, 0x6000},  // two movs
    {"cmpl",   HANDLER_NONE},
    {"ll",     HANDLER_LONG_MEM,    0xA000},          // two lw
    {"sl",     HANDLER_LONG_MEM,    0xB000},          // two sw
    // directives, read where the statement is
    {"global", HANDLER_DIRECTIVE},                    // 78
    {"align",  HANDLER_DIRECTIVE},
    {"byte",   HANDLER_DIRECTIVE},
    {"word",   HANDLER_DIRECTIVE},
    {"bss",    HANDLER_DIRECTIVE},
};
static_assert(sizeof InstructionTable / sizeof InstructionTable[0] == MN_COUNT);
static_assert(std::string_view(InstructionTable[MN_SRLI].name) == "srli");
static_assert(std::string_view(InstructionTable[MN_AND].name) == "and");
static_assert(std::string_view(InstructionTable[MN_CALL].name) == "call");
static_assert(std::string_view(InstructionTable[MN_BLTU].name) == "bltu");
static_assert(std::string_view(InstructionTable[MN_LW].name) == "lw");
static_assert(std::string_view(InstructionTable[MN_MOV].name) == "mov");
static_assert(std::string_view(InstructionTable[MN_GLOBAL].name) == "global");
static_assert(std::string_view(InstructionTable[MN_BSS].name) == "bss");
static_assert(InstructionTable[MN_IMM].word == IMM_BASE);

uint32_t compose_word(uint32_t base, int32_t a, int32_t b, int32_t l)
{
    return (base | (static_cast<uint32_t>(a) & 15) << 8 | (static_cast<uint32_t>(b) & 15) << 4 |
            (static_cast<uint32_t>(l) & 15)) & 0xFFFF;
}

uint32_t imm_prefix(int32_t value)
{
    return IMM_BASE | ((static_cast<uint32_t>(value >> 4)) & 0xFFF);
}

bool fits_field(int32_t value)
{
    return value >= 0 && value <= 15;
}

bool fits_word_offset(int32_t offset)
{
    return offset >= 0 && offset <= 30 && (offset & 1) == 0;
}

// lw and sw reach the even offsets 0..30 in four bits: L bits 3..1 are offset bits 3..1 and
// L bit 0 is offset bit 4.
uint32_t pack_word_offset(int32_t offset)
{
    return static_cast<uint32_t>((offset & 0xE) | ((offset >> 4) & 1));
}

uint32_t unpack_word_offset(uint32_t l)
{
    return (l & 0xE) | ((l & 1) << 4);
}

int32_t high_register(int32_t reg)
{
    return reg == 0 ? 0 : reg + 1;
}
