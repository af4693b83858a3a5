// Fixups: every use of a symbol leaves a placeholder and a FixupRecord; resolve_fixups
// patches them all, in the order made, once the last source file has been read.
#include "asm.h"

#include <cstdarg>

constexpr int MAX_FIXUPS = 10000;
struct FixupRecord {
    uint8_t kind;
    uint16_t file;                       // the statement that made it: its file_place
    SymbolHandle symbol;
    int32_t address;                     // first byte to patch, even
    int32_t addend;
};
static FixupRecord FixupTable[MAX_FIXUPS];
static uint32_t FixupLines[MAX_FIXUPS];  // and its line, apart: only the notes read it
static int32_t fixup_count;
static bool fixups_full_reported;

void reset_fixups()
{
    std::memset(FixupTable, 0, sizeof FixupTable);
    std::memset(FixupLines, 0, sizeof FixupLines);
    fixup_count = 0;
    fixups_full_reported = false;
}

void add_fixup(int32_t kind, SymbolHandle symbol, int32_t addend)
{
    if (fixup_count >= MAX_FIXUPS) {
        // The placeholder would stay in the image: that program must not pass as good.
        report_once(fixups_full_reported, "fixup table is full");
        return;
    }
    FixupLines[fixup_count] = line_place();
    FixupTable[fixup_count++] = {static_cast<uint8_t>(kind), file_place, symbol, location_counter,
                                 addend};
}

// A note at the statement that made `fixup`.
[[gnu::format(printf, 2, 3)]] static void note_at(const FixupRecord& fixup, const char* format,
                                                  ...)
{
    char message[TEXT_BUF];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    report_note(place_path(fixup.file), FixupLines[&fixup - FixupTable], "%s", message);
}

static void put_word(int32_t address, uint32_t word)
{
    CodeImage[address] = static_cast<uint8_t>(word >> 8);
    CodeImage[address + 1] = static_cast<uint8_t>(word);
}

// An imm prefix and the load, store or addi after it share one 16-bit value: bits 15..4 in
// the prefix, bits 3..0 plainly in L (no lw/sw packing once prefixed).
static void patch_imm(const FixupRecord& fixup, const SymbolRecord& symbol)
{
    if (fixup.address > IMAGE_SIZE - 4) {
        return;   // the instruction word was lost at the end of a full image
    }
    uint32_t prefix = image_word(fixup.address);
    uint32_t instr = image_word(fixup.address + 2);
    int32_t target = static_cast<int32_t>(static_cast<uint32_t>(symbol.value) +
                                          static_cast<uint32_t>(fixup.addend));
    uint32_t m = field_m(instr);
    bool word_form = m == 0xA || m == 0xB;
    bool byte_form = m == 0x6 || m == 0xC || m == 0xD || m == 0xE;
    if (field_m(prefix) != 0xF || !(word_form || byte_form)) {
        report_error("ldst fixup error");
        return;
    }
    if (word_form && (target & 1) != 0) {
        report_error("ldst word fixup error target '%s' odd address %04X + %d", symbol.name,
                     symbol.value, fixup.addend);
        note_at(fixup, "lw, sw, ll and sl need an even address");
        return;
    }
    put_word(fixup.address, imm_prefix(target));
    put_word(fixup.address + 2, (instr & 0xFFF0) | (static_cast<uint32_t>(target) & 15));
}

static void patch_branch(const FixupRecord& fixup, const SymbolRecord& symbol)
{
    if (fixup.address > IMAGE_SIZE - 2) {
        return;
    }
    // The branch goes to its own address + 2 + 2 * d; an odd distance truncates toward zero.
    int32_t distance = symbol.value - fixup.address;
    int32_t displacement = distance / 2 - 1;
    if (displacement < -128 || displacement > 127) {
        report_error("branch displacement overflow at %04X target '%s'", fixup.address,
                     symbol.name);
        note_at(fixup, "the branch is here; its target is %d bytes away, beyond -256..+254",
                symbol.value - (fixup.address + 2));
        return;
    }
    CodeImage[fixup.address + 1] = static_cast<uint8_t>(displacement);
}

// The notes of the undefined symbol of fixup `first`, its first use: the first use in each
// file that uses it, and each definition of its name in another scope, which the uses could
// not see. Past MAX_NOTED files the further uses go without a note.
static void note_undefined(int32_t first)
{
    constexpr int32_t MAX_NOTED = 4096;
    static uint16_t noted[MAX_NOTED];
    int32_t noted_count = 0;
    SymbolHandle handle = FixupTable[first].symbol;
    const SymbolRecord& symbol = symbol_record(handle);
    for (int32_t i = first; i < fixup_count && noted_count < MAX_NOTED; i++) {
        const FixupRecord& use = FixupTable[i];
        if (use.symbol != handle) {
            continue;
        }
        int32_t k = 0;
        while (k < noted_count && noted[k] != use.file) {
            k++;
        }
        if (k == noted_count) {
            noted[noted_count++] = use.file;
            note_at(use, "'%s' is used here", symbol.name);
        }
    }
    for (int32_t k = 0; k < symbol_count; k++) {
        const SymbolRecord& other = SymbolTable[k];
        if (k + 1 == handle || other.defined == 0 || std::strcmp(other.name, symbol.name) != 0) {
            continue;
        }
        report_note(place_path(other.file), other.line,
                    other.scope == 0 ? "'%s' is defined here, as a global: a file that uses it "
                                       "names it global too"
                                     : "'%s' is defined here, local to its file",
                    symbol.name);
    }
}

void resolve_fixups()
{
    for (int32_t i = 0; i < fixup_count; i++) {
        const FixupRecord& fixup = FixupTable[i];
        SymbolRecord& symbol = symbol_record(fixup.symbol);
        if (symbol.defined == 0) {
            if (symbol.reported == 0) {
                report_error("undefined symbol '%s'", symbol.name);
                note_undefined(i);
                symbol.reported = 1;
            }
            continue;
        }
        switch (fixup.kind) {
        case FIXUP_WORD:
            if (fixup.address <= IMAGE_SIZE - 2) {
                put_word(fixup.address, static_cast<uint32_t>(symbol.value) +
                                            static_cast<uint32_t>(fixup.addend));
            }
            break;
        case FIXUP_IMM:
            patch_imm(fixup, symbol);
            break;
        case FIXUP_BRANCH:
            // A constant named by a branch before its .equ: reported once, as undefined is.
            if (symbol.defined != SYMBOL_CONSTANT) {
                patch_branch(fixup, symbol);
            } else if (symbol.reported == 0) {
                report_error("'%s' is a constant, not a label", symbol.name);
                note_at(fixup, "the branch is here");
                symbol.reported = 1;
            }
            break;
        case FIXUP_NONE:
            break;
        default:
            report_error("unexpected fixup type");
            break;
        }
    }
}
