// Instruction formats: the OpcodeTable of base words by mnemonic number, and the small
// functions that place fields, build imm prefixes and pack lw/sw word offsets.
#include "asm.h"

// Indexed by mnemonic number 0..62; entry 63 (mov, a pseudo-instruction) is never read.
constexpr uint16_t OpcodeTable[] = {
    // nop, wait, break: M = 0, function in L
    0x0000, 0x0001, 0x000F,                                                  // 0
    // srli, srai, slli, subi, addi: M = 1, 2, 3, 5, 6
    0x1000, 0x2000, 0x3000, 0x5000, 0x6000,                                  // 3
    // and .. rcl: M = 7, function 0..13 in L
    0x7000, 0x7001, 0x7002, 0x7003, 0x7004, 0x7005, 0x7006, 0x7007,          // 8
    0x7008, 0x7009, 0x700A, 0x700B, 0x700C, 0x700D,                          // 16
    // call, ret, reti: M = 8, condition "always"
    0x8F01, 0x8F02, 0x8F04,                                                  // 22
    // long jumps ljltu .. lja: M = 8, L = 8, condition in A
    0x8008, 0x8108, 0x8208, 0x8308, 0x8408, 0x8508, 0x8608, 0x8708,          // 25
    0x8808, 0x8908, 0x8A08, 0x8B08, 0x8C08, 0x8D08, 0x8E08, 0x8F08,          // 33
    // short branches bltu .. ba: M = 9, condition in A, displacement 0
    0x9000, 0x9100, 0x9200, 0x9300, 0x9400, 0x9500, 0x9600, 0x9700,          // 41
    0x9800, 0x9900, 0x9A00, 0x9B00, 0x9C00, 0x9D00, 0x9E00, 0x9F00,          // 49
    // lw, sw, lb, sb, lu, imm: M = 10..15
    0xA000, 0xB000, 0xC000, 0xD000, 0xE000, 0xF000,                          // 57
    0x0000,                                                                  // 63
};
static_assert(sizeof OpcodeTable / sizeof OpcodeTable[0] == 64);
static_assert(OpcodeTable[MN_RCL] == 0x700D && OpcodeTable[MN_LJA] == 0x8F08);
static_assert(OpcodeTable[MN_BA] == 0x9F00 && OpcodeTable[MN_IMM] == IMM_BASE);

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
