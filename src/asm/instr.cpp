// Instruction statements: the handlers named in InstructionTable, which read the operands
// and lay down the words of every real and pseudo-instruction.
#include "asm.h"

constexpr uint32_t NOP_WORD = 0x0000;

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

// lw and sw (M = 10, 11) move words and reach even offsets only; lb, sb and lu move bytes.
static bool moves_word(uint32_t word)
{
    return field_m(word) == 10 || field_m(word) == 11;
}

// The prefix word that a load or store needs when its offset does not fit its L field, or
// that a symbol needs: then it is a placeholder, and a fixup fills both words. Returns the
// L field, the offset's low four bits. Kept out of line, as the rarer case.
[[gnu::noinline]] static uint32_t emit_load_store_prefix(uint32_t word, int32_t offset,
                                                         SymbolHandle symbol)
{
    if (symbol != 0) {
        emit_even();
        add_fixup(FIXUP_IMM, symbol, offset);
        emit_word(static_cast<int32_t>(IMM_BASE));
    } else if (moves_word(word) && (offset & 1) != 0) {
        report_error("odd offset");    // the word is still emitted, unprefixed
    } else {
        emit_word(static_cast<int32_t>(imm_prefix(offset)));
    }
    return static_cast<uint32_t>(offset) & 15;
}

// One load or store `word` with whatever prefix its offset or symbol needs. Stores (sw and
// sb, M = 11 and 13) check the register stored after the prefix, where a prefix already
// separates them from any load.
static void emit_load_store(uint32_t word, int32_t rd, int32_t base, int32_t offset,
                            SymbolHandle symbol)
{
    bool word_access = moves_word(word);
    uint32_t l = 0;
    if (symbol == 0 && word_access && fits_word_offset(offset)) {
        l = pack_word_offset(offset);
    } else if (symbol == 0 && !word_access && fits_field(offset)) {
        l = static_cast<uint32_t>(offset);
    } else {
        l = emit_load_store_prefix(word, offset, symbol);
    }
    if (field_m(word) == 11 || field_m(word) == 13) {
        check_interlock(rd);
    }
    emit_word(static_cast<int32_t>(compose_word(word, rd, base, static_cast<int32_t>(l))));
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
static void check_offset(uint32_t word, int32_t offset, SymbolHandle symbol, int32_t span)
{
    if (symbol == 0 && !(moves_word(word) && (offset & 1) != 0)) {
        warn_unless_16_bits(offset, span);
    }
}

void assemble_statement(int32_t mn, char*& cursor)
{
    const InstructionRow& row = InstructionTable[mn];
    // The operands, set by the readers before any use: a reader that fails has reported.
    int32_t rd, rs, n, offset, reg;
    SymbolHandle symbol;

    switch (row.handler) {
    case HANDLER_PLAIN:
        if (read_eol(cursor)) {
            emit_word(row.word);
        }
        break;
    case HANDLER_REG_REG_IMM:
        if (read_two_regs_number(cursor, rd, rs, n)) {
            warn_unless_16_bits(n);
            check_interlock(rs);
            emit_reg_imm(row.word, rd, rs, n);
        }
        break;
    case HANDLER_TWO_REG:
        if (read_two_regs(cursor, rd, rs)) {
            check_interlock(rs);
            emit_word(static_cast<int32_t>(compose_word(row.word, rd, rs, 0)));
        }
        break;
    case HANDLER_REG_JUMP:
        if (read_reg_eol(cursor, rs)) {
            check_interlock(rs);
            emit_word(static_cast<int32_t>(compose_word(row.word, 0, rs, 0)));
        }
        break;
    case HANDLER_BRANCH:
        if (!read_symbol_eol(cursor, symbol)) {
            break;
        }
        if (is_constant(symbol)) {
            report_error("'%s' is a constant, not a label", symbol_record(symbol).name);
        } else {
            emit_even();
            add_fixup(FIXUP_BRANCH, symbol, 0);
            emit_word(row.word);
        }
        break;
    case HANDLER_LOAD_STORE:
        if (read_reg_mem(cursor, rd, symbol, offset, reg)) {
            check_offset(row.word, offset, symbol, 0);
            emit_load_store(row.word, rd, reg, offset, symbol);
        }
        break;
    case HANDLER_IMM:
        if (read_number_eol(cursor, n)) {
            warn_unless_16_bits(n);
            emit_word(static_cast<int32_t>(imm_prefix(n)));
        }
        break;
    case HANDLER_CMPI:
        if (read_reg_number(cursor, rs, n)) {
            warn_unless_16_bits(n);
            check_interlock(rs);
            emit_reg_imm(row.word, 0, rs, n);
        }
        break;
    case HANDLER_LEA:
        if (read_reg_mem(cursor, rd, symbol, offset, reg)) {
            check_offset(row.word, offset, symbol, 0);
            emit_lea(row.word, rd, reg, offset, symbol);
        }
        break;
    case HANDLER_EXTEND:
        // The first word shifts rs into rd, the second shifts rd in place.
        if (read_two_regs(cursor, rd, rs)) {
            check_interlock(rs);
            emit_word(static_cast<int32_t>(compose_word(row.word, rd, rs, 0)));
            emit_word(static_cast<int32_t>(compose_word(row.second, rd, rd, 0)));
        }
        break;
    case HANDLER_LONG_ALU:
        // A long register is a pair: the first word acts on the low halves, the second on
        // the high halves.
        if (read_two_regs(cursor, rd, rs, true) && check_long_reg(rd) && check_long_reg(rs)) {
            emit_word(static_cast<int32_t>(compose_word(row.word, rd, rs, 0)));
            emit_word(static_cast<int32_t>(
                compose_word(row.second, high_register(rd), high_register(rs), 0)));
        }
        break;
    case HANDLER_LONG_MEM:
        // The high half lives at the lower address; the low half two bytes above it.
        if (read_reg_mem(cursor, rd, symbol, offset, reg, true)) {
            check_offset(row.word, offset, symbol, 2);
            int32_t low_offset = static_cast<int32_t>(static_cast<uint32_t>(offset) + 2);
            emit_load_store(row.word, rd, reg, low_offset, symbol);
            emit_load_store(row.word, high_register(rd) & 15, reg, offset, symbol);
        }
        break;
    case HANDLER_NONE:
    case HANDLER_DIRECTIVE:      // never here: the statement pass reads directives
        report_error("unexpected token");
        report_note(current_file, current_line, "'%s' is reserved but is not an instruction",
                    row.name);
        break;
    }
}
