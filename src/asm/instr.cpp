// Instruction statements: every real and pseudo-instruction, driven by StatementTable, which
// gives each mnemonic its operand group and the words its expansion is built from.
#include "asm.h"

enum StatementGroup : uint8_t {
    GROUP_PLAIN,        // no operands: the base word
    GROUP_REG_REG_IMM,  // rd, rs, n: optional prefix, then the word
    GROUP_TWO_REG,      // rd, rs
    GROUP_REG_JUMP,     // rs
    GROUP_BRANCH,       // a label, resolved by a branch fixup
    GROUP_LOAD,         // rd, memory operand
    GROUP_STORE,        // rd, memory operand; the stored register is checked
    GROUP_IMM,          // n: a bare prefix
    GROUP_MOV,          // rd, rs as addi rd, rs, 0
    GROUP_CMPI,         // rs, n as subi r0, rs, n
    GROUP_LEA,          // rd, memory operand as addi rd, base, offset
    GROUP_EXTEND,       // rd, rs: a left shift by 8, then a right shift by 8
    GROUP_LONG_ALU,     // long rd, long rs: low halves, then high halves
    GROUP_LONG_MOVE,    // long rd, long rs: two moves
    GROUP_LONG_MEM,     // rd, memory operand: two lw or sw, low half at the higher address
    GROUP_NONE,         // no statement (rejected keywords and directives)
};

// first and second are the words of a pseudo-instruction's two steps (shift words carry
// their shift count of 8); for ll and sl, first is the mnemonic of the word access.
struct StatementRow { StatementGroup group; uint16_t first; uint16_t second; };

constexpr StatementRow StatementTable[] = {
    {GROUP_PLAIN, 0, 0},       {GROUP_PLAIN, 0, 0},       {GROUP_PLAIN, 0, 0},       // 0
    {GROUP_REG_REG_IMM, 0, 0}, {GROUP_REG_REG_IMM, 0, 0}, {GROUP_REG_REG_IMM, 0, 0}, // 3
    {GROUP_REG_REG_IMM, 0, 0}, {GROUP_REG_REG_IMM, 0, 0},                            // 6
    {GROUP_TWO_REG, 0, 0},     {GROUP_TWO_REG, 0, 0},     {GROUP_TWO_REG, 0, 0},     // 8
    {GROUP_TWO_REG, 0, 0},     {GROUP_TWO_REG, 0, 0},     {GROUP_TWO_REG, 0, 0},     // 11
    {GROUP_TWO_REG, 0, 0},     {GROUP_TWO_REG, 0, 0},     {GROUP_TWO_REG, 0, 0},     // 14
    {GROUP_TWO_REG, 0, 0},     {GROUP_TWO_REG, 0, 0},     {GROUP_TWO_REG, 0, 0},     // 17
    {GROUP_TWO_REG, 0, 0},     {GROUP_TWO_REG, 0, 0},                                // 20
    {GROUP_REG_JUMP, 0, 0},    {GROUP_PLAIN, 0, 0},       {GROUP_PLAIN, 0, 0},       // 22
    {GROUP_REG_JUMP, 0, 0},    {GROUP_REG_JUMP, 0, 0},    {GROUP_REG_JUMP, 0, 0},    // 25
    {GROUP_REG_JUMP, 0, 0},    {GROUP_REG_JUMP, 0, 0},    {GROUP_REG_JUMP, 0, 0},    // 28
    {GROUP_REG_JUMP, 0, 0},    {GROUP_REG_JUMP, 0, 0},    {GROUP_REG_JUMP, 0, 0},    // 31
    {GROUP_REG_JUMP, 0, 0},    {GROUP_REG_JUMP, 0, 0},    {GROUP_REG_JUMP, 0, 0},    // 34
    {GROUP_NONE, 0, 0},        {GROUP_NONE, 0, 0},                                   // 37 ljneg ljpos
    {GROUP_REG_JUMP, 0, 0},    {GROUP_REG_JUMP, 0, 0},                               // 39
    {GROUP_BRANCH, 0, 0},      {GROUP_BRANCH, 0, 0},      {GROUP_BRANCH, 0, 0},      // 41
    {GROUP_BRANCH, 0, 0},      {GROUP_BRANCH, 0, 0},      {GROUP_BRANCH, 0, 0},      // 44
    {GROUP_BRANCH, 0, 0},      {GROUP_BRANCH, 0, 0},      {GROUP_BRANCH, 0, 0},      // 47
    {GROUP_BRANCH, 0, 0},      {GROUP_BRANCH, 0, 0},      {GROUP_BRANCH, 0, 0},      // 50
    {GROUP_NONE, 0, 0},        {GROUP_NONE, 0, 0},                                   // 53 bneg bpos
    {GROUP_BRANCH, 0, 0},      {GROUP_BRANCH, 0, 0},                                 // 55
    {GROUP_LOAD, 0, 0},        {GROUP_STORE, 0, 0},       {GROUP_LOAD, 0, 0},        // 57 lw sw lb
    {GROUP_STORE, 0, 0},       {GROUP_LOAD, 0, 0},        {GROUP_IMM, 0, 0},         // 60 sb lu imm
    {GROUP_MOV, 0, 0},                                                               // 63 mov
    {GROUP_CMPI, 0x5000, 0},                                                         // 64 cmpi
    {GROUP_LEA, 0x6000, 0},                                                          // 65 lea
    {GROUP_EXTEND, 0x3008, 0x2008},                                                  // 66 sext
    {GROUP_EXTEND, 0x3008, 0x1008},                                                  // 67 zext
    {GROUP_LONG_ALU, 0x7008, 0x700A},                                                // 68 addl
    {GROUP_LONG_ALU, 0x7009, 0x700B},                                                // 69 subl
    {GROUP_LONG_ALU, 0x7000, 0x7000},                                                // 70 andl
    {GROUP_LONG_ALU, 0x7004, 0x7004},                                                // 71 orl
    {GROUP_LONG_ALU, 0x7001, 0x7001},                                                // 72 xorl
    {GROUP_LONG_ALU, 0x7005, 0x7005},                                                // 73 andnl
    {GROUP_LONG_MOVE, 0, 0},                                                         // 74 movl
    {GROUP_NONE, 0, 0},                                                              // 75 cmpl
    {GROUP_LONG_MEM, MN_LW, 0},                                                      // 76 ll
    {GROUP_LONG_MEM, MN_SW, 0},                                                      // 77 sl
};
static_assert(sizeof StatementTable / sizeof StatementTable[0] == MN_GLOBAL);
static_assert(StatementTable[MN_RETI].group == GROUP_PLAIN);
static_assert(StatementTable[MN_LJA].group == GROUP_REG_JUMP);
static_assert(StatementTable[MN_BA].group == GROUP_BRANCH);
static_assert(StatementTable[MN_SB].group == GROUP_STORE);

// The load-use interlock: a nop keeps `reg` from being read right after a load writes it.
static void check_interlock(int32_t reg)
{
    if (reg != 0 && load_hazard_reg() == reg) {
        emit_word(NOP_WORD);
    }
}

static void emit_reg_imm(uint32_t base, int32_t rd, int32_t rs, int32_t n)
{
    if (!fits_field(n)) {
        emit_word(static_cast<int32_t>(imm_prefix(n)));
    }
    emit_word(static_cast<int32_t>(compose_word(base, rd, rs, n)));
}

static void emit_mov(int32_t rd, int32_t rs)
{
    emit_word(static_cast<int32_t>(compose_word(OpcodeTable[MN_ADDI], rd, rs, 0)));
}

// The prefix word that a load or store needs when its offset does not fit its L field, or
// that a symbol needs: then it is a placeholder, and a fixup fills both words. Returns the
// L field, the offset's low four bits. Kept out of line, as the rarer case.
[[gnu::noinline]] static uint32_t emit_load_store_prefix(int32_t mn, int32_t offset,
                                                         SymbolHandle symbol)
{
    if (symbol != 0) {
        emit_even();
        add_fixup(FIXUP_IMM, symbol, offset);
        emit_word(static_cast<int32_t>(IMM_BASE));
    } else if ((mn == MN_LW || mn == MN_SW) && (offset & 1) != 0) {
        report_error("odd offset");    // the word is still emitted, unprefixed
    } else {
        emit_word(static_cast<int32_t>(imm_prefix(offset)));
    }
    return static_cast<uint32_t>(offset) & 15;
}

// One load or store word with whatever prefix its offset or symbol needs. Stores check the
// register stored after the prefix, where a prefix already separates them from any load.
static void emit_load_store(int32_t mn, int32_t rd, int32_t base, int32_t offset,
                            SymbolHandle symbol)
{
    bool word_access = mn == MN_LW || mn == MN_SW;
    uint32_t l = 0;
    if (symbol == 0 && word_access && fits_word_offset(offset)) {
        l = pack_word_offset(offset);
    } else if (symbol == 0 && !word_access && fits_field(offset)) {
        l = static_cast<uint32_t>(offset);
    } else {
        l = emit_load_store_prefix(mn, offset, symbol);
    }
    if (mn == MN_SW || mn == MN_SB) {
        check_interlock(rd);
    }
    emit_word(static_cast<int32_t>(compose_word(OpcodeTable[mn], rd, base, static_cast<int32_t>(l))));
}

static void emit_lea(uint32_t base_word, int32_t rd, int32_t base, int32_t offset,
                     SymbolHandle symbol)
{
    if (symbol != 0) {
        emit_even();
        add_fixup(FIXUP_IMM, symbol, offset);
        emit_word(static_cast<int32_t>(imm_prefix(offset)));
    } else if (!fits_field(offset)) {
        emit_word(static_cast<int32_t>(imm_prefix(offset)));
    }
    emit_word(static_cast<int32_t>(compose_word(base_word, rd, base, offset)));
}

// Warns of a memory offset without a symbol that loses bits; `span` is 2 for a pair of words.
// An odd lw or sw offset is reported as an error when its word is laid down, and not here.
static void check_offset(int32_t mn, int32_t offset, SymbolHandle symbol, int32_t span)
{
    bool word_access = mn == MN_LW || mn == MN_SW;
    if (symbol == 0 && !(word_access && (offset & 1) != 0)) {
        warn_unless_16_bits(offset, span);
    }
}

void assemble_statement(int32_t mn, char*& cursor)
{
    const StatementRow& row = StatementTable[mn];
    // The operands, set by the readers before any use: a reader that fails has reported.
    int32_t rd, rs, n, offset, reg;
    SymbolHandle symbol;

    switch (row.group) {
    case GROUP_PLAIN:
        if (read_eol(cursor)) {
            emit_word(OpcodeTable[mn]);
        }
        break;
    case GROUP_REG_REG_IMM:
        if (read_two_regs_number(cursor, rd, rs, n)) {
            warn_unless_16_bits(n);
            check_interlock(rs);
            emit_reg_imm(OpcodeTable[mn], rd, rs, n);
        }
        break;
    case GROUP_TWO_REG:
        if (read_two_regs(cursor, rd, rs)) {
            check_interlock(rs);
            emit_word(static_cast<int32_t>(compose_word(OpcodeTable[mn], rd, rs, 0)));
        }
        break;
    case GROUP_REG_JUMP:
        if (read_reg_eol(cursor, rs)) {
            check_interlock(rs);
            emit_word(static_cast<int32_t>(compose_word(OpcodeTable[mn], 0, rs, 0)));
        }
        break;
    case GROUP_BRANCH:
        if (read_symbol_eol(cursor, symbol)) {
            emit_even();
            add_fixup(FIXUP_BRANCH, symbol, 0);
            emit_word(OpcodeTable[mn]);
        }
        break;
    case GROUP_LOAD:
    case GROUP_STORE:
        if (read_reg_mem(cursor, rd, symbol, offset, reg)) {
            check_offset(mn, offset, symbol, 0);
            emit_load_store(mn, rd, reg, offset, symbol);
        }
        break;
    case GROUP_IMM:
        if (read_number_eol(cursor, n)) {
            warn_unless_16_bits(n);
            emit_word(static_cast<int32_t>(imm_prefix(n)));
        }
        break;
    case GROUP_MOV:
        if (read_two_regs(cursor, rd, rs)) {
            check_interlock(rs);
            emit_mov(rd, rs);
        }
        break;
    case GROUP_CMPI:
        if (read_reg_number(cursor, rs, n)) {
            warn_unless_16_bits(n);
            check_interlock(rs);
            emit_reg_imm(row.first, 0, rs, n);
        }
        break;
    case GROUP_LEA:
        if (read_reg_mem(cursor, rd, symbol, offset, reg)) {
            check_offset(mn, offset, symbol, 0);
            emit_lea(row.first, rd, reg, offset, symbol);
        }
        break;
    case GROUP_EXTEND:
        if (read_two_regs(cursor, rd, rs)) {
            check_interlock(rs);
            emit_word(static_cast<int32_t>(compose_word(row.first, rd, rs, 0)));
            emit_word(static_cast<int32_t>(compose_word(row.second, rd, rd, 0)));
        }
        break;
    case GROUP_LONG_ALU:
    case GROUP_LONG_MOVE:
        if (read_two_regs(cursor, rd, rs) && check_long_reg(rd) &&
            check_long_reg(rs)) {
            int32_t high_rd = high_register(rd);
            int32_t high_rs = high_register(rs);
            if (row.group == GROUP_LONG_MOVE) {
                emit_mov(rd, rs);
                emit_mov(high_rd, high_rs);
            } else {
                emit_word(static_cast<int32_t>(compose_word(row.first, rd, rs, 0)));
                emit_word(static_cast<int32_t>(compose_word(row.second, high_rd, high_rs, 0)));
            }
        }
        break;
    case GROUP_LONG_MEM:
        // The high half lives at the lower address; the low half two bytes above it.
        if (read_reg_mem(cursor, rd, symbol, offset, reg)) {
            check_offset(row.first, offset, symbol, 2);
            int32_t low_offset = static_cast<int32_t>(static_cast<uint32_t>(offset) + 2);
            emit_load_store(row.first, rd, reg, low_offset, symbol);
            emit_load_store(row.first, high_register(rd) & 15, reg, offset, symbol);
        }
        break;
    case GROUP_NONE:
        report_error("unexpected token");
        break;
    }
}
