// The instruction set: InstructionTable, one row per mnemonic, and the small functions that
// place fields, build imm prefixes and pack lw/sw word offsets.
#include "asm.h"

#include <string_view>

// Indexed by mnemonic number (the order of the Mnemonic enum): the keyword, the handler that
// reads the operands and lays down the words, and the base word into which the operand
// fields go. A pseudo-instruction's words are those of the steps it expands to; HANDLER_NONE
// marks a reserved word that is no statement.
constexpr InstructionRow InstructionTable[] = {
    // no operands, M = 0, function in L
    {"nop",    HANDLER_PLAIN,       0x0000, 0},       // 0
    {"wait",   HANDLER_PLAIN,       0x0001, 0},
    {"break",  HANDLER_PLAIN,       0x000F, 0},
    // shifts and immediate arithmetic, M = 1, 2, 3, 5, 6
    {"srli",   HANDLER_REG_REG_IMM, 0x1000, 0},       // 3
    {"srai",   HANDLER_REG_REG_IMM, 0x2000, 0},
    {"slli",   HANDLER_REG_REG_IMM, 0x3000, 0},
    {"subi",   HANDLER_REG_REG_IMM, 0x5000, 0},
    {"addi",   HANDLER_REG_REG_IMM, 0x6000, 0},
    // two-register operations, M = 7, function in L
    {"and",    HANDLER_TWO_REG,     0x7000, 0},       // 8
    {"xor",    HANDLER_TWO_REG,     0x7001, 0},
    {"ror",    HANDLER_TWO_REG,     0x7002, 0},
    {"rcr",    HANDLER_TWO_REG,     0x7003, 0},
    {"or",     HANDLER_TWO_REG,     0x7004, 0},
    {"andn",   HANDLER_TWO_REG,     0x7005, 0},
    {"subr",   HANDLER_TWO_REG,     0x7006, 0},
    {"cmp",    HANDLER_TWO_REG,     0x7007, 0},
    {"add",    HANDLER_TWO_REG,     0x7008, 0},
    {"sub",    HANDLER_TWO_REG,     0x7009, 0},
    {"addc",   HANDLER_TWO_REG,     0x700A, 0},
    {"subc",   HANDLER_TWO_REG,     0x700B, 0},
    {"rol",    HANDLER_TWO_REG,     0x700C, 0},
    {"rcl",    HANDLER_TWO_REG,     0x700D, 0},
    // call, return, and the long jumps: M = 8, condition in A
    {"call",   HANDLER_REG_JUMP,    0x8F01, 0},       // 22
    {"ret",    HANDLER_PLAIN,       0x8F02, 0},
    {"reti",   HANDLER_PLAIN,       0x8F04, 0},
    {"ljltu",  HANDLER_REG_JUMP,    0x8008, 0},
    {"ljgeu",  HANDLER_REG_JUMP,    0x8108, 0},
    {"ljeq",   HANDLER_REG_JUMP,    0x8208, 0},
    {"ljne",   HANDLER_REG_JUMP,    0x8308, 0},
    {"ljlt",   HANDLER_REG_JUMP,    0x8408, 0},
    {"ljge",   HANDLER_REG_JUMP,    0x8508, 0},
    {"ljvs",   HANDLER_REG_JUMP,    0x8608, 0},
    {"ljvc",   HANDLER_REG_JUMP,    0x8708, 0},
    {"ljle",   HANDLER_REG_JUMP,    0x8808, 0},
    {"ljgt",   HANDLER_REG_JUMP,    0x8908, 0},
    {"ljgtu",  HANDLER_REG_JUMP,    0x8A08, 0},
    {"ljleu",  HANDLER_REG_JUMP,    0x8B08, 0},
    {"ljneg",  HANDLER_NONE,        0x8C08, 0},
    {"ljpos",  HANDLER_NONE,        0x8D08, 0},
    {"ljn",    HANDLER_REG_JUMP,    0x8E08, 0},
    {"lja",    HANDLER_REG_JUMP,    0x8F08, 0},
    // short branches: M = 9, condition in A, displacement filled by a fixup
    {"bltu",   HANDLER_BRANCH,      0x9000, 0},       // 41
    {"bgeu",   HANDLER_BRANCH,      0x9100, 0},
    {"beq",    HANDLER_BRANCH,      0x9200, 0},
    {"bne",    HANDLER_BRANCH,      0x9300, 0},
    {"blt",    HANDLER_BRANCH,      0x9400, 0},
    {"bge",    HANDLER_BRANCH,      0x9500, 0},
    {"bvs",    HANDLER_BRANCH,      0x9600, 0},
    {"bvc",    HANDLER_BRANCH,      0x9700, 0},
    {"ble",    HANDLER_BRANCH,      0x9800, 0},
    {"bgt",    HANDLER_BRANCH,      0x9900, 0},
    {"bgtu",   HANDLER_BRANCH,      0x9A00, 0},
    {"bleu",   HANDLER_BRANCH,      0x9B00, 0},
    {"bneg",   HANDLER_NONE,        0x9C00, 0},
    {"bpos",   HANDLER_NONE,        0x9D00, 0},
    {"bn",     HANDLER_BRANCH,      0x9E00, 0},
    {"ba",     HANDLER_BRANCH,      0x9F00, 0},
    // loads, stores and the imm prefix, M = 10..15
    {"lw",     HANDLER_LOAD_STORE,  0xA000, 0},       // 57
    {"sw",     HANDLER_LOAD_STORE,  0xB000, 0},
    {"lb",     HANDLER_LOAD_STORE,  0xC000, 0},
    {"sb",     HANDLER_LOAD_STORE,  0xD000, 0},
    {"lu",     HANDLER_LOAD_STORE,  0xE000, 0},
    {"imm",    HANDLER_IMM,         0xF000, 0},
    // pseudo-instructions: the words of their steps
    {"mov",    HANDLER_TWO_REG,     0x6000, 0},       // 63: addi rd, rs, 0
    {"cmpi",   HANDLER_CMPI,        0x5000, 0},       // subi r0, rs, n
    {"lea",    HANDLER_LEA,         0x6000, 0},       // addi rd, base, offset
    {"sext",   HANDLER_EXTEND,      0x3008, 0x2008},  // slli 8, then srai 8
    {"zext",   HANDLER_EXTEND,      0x3008, 0x1008},  // slli 8, then srli 8
    {"addl",   HANDLER_LONG_ALU,    0x7008, 0x700A},  // add, then addc
    {"subl",   HANDLER_LONG_ALU,    0x7009, 0x700B},  // sub, then subc
    {"andl",   HANDLER_LONG_ALU,    0x7000, 0x7000},
    {"orl",    HANDLER_LONG_ALU,    0x7004, 0x7004},
    {"xorl",   HANDLER_LONG_ALU,    0x7001, 0x7001},
    {"andnl",  HANDLER_LONG_ALU,    0x7005, 0x7005},
    {"movl",   HANDLER_LONG_ALU,    0x6000, 0x6000},  // two movs
    {"cmpl",   HANDLER_NONE,        0x0000, 0},
    {"ll",     HANDLER_LONG_MEM,    0xA000, 0},       // two lw
    {"sl",     HANDLER_LONG_MEM,    0xB000, 0},       // two sw
    // directives, read where the statement is
    {"global", HANDLER_DIRECTIVE,   0x0000, 0},       // 78
    {"align",  HANDLER_DIRECTIVE,   0x0000, 0},
    {"byte",   HANDLER_DIRECTIVE,   0x0000, 0},
    {"word",   HANDLER_DIRECTIVE,   0x0000, 0},
    {"bss",    HANDLER_DIRECTIVE,   0x0000, 0},
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
