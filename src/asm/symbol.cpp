// The SymbolTable: one record per identifier that is no keyword, created on first sight in
// the scope of the file being read, or found among the global records.
#include "asm.h"

#include <cstring>

SymbolRecord SymbolTable[MAX_SYMBOLS];
int32_t symbol_count;
int32_t file_number;
const char* FilePaths[MAX_SOURCES + 1];
static bool symbols_full_reported;
int32_t symbol_misses;

// An index over the records by scope and the first 31 characters of the name, chained
// through symbol_next. At most one record of scope 0 or of the current file's scope can match
// a name, so probing those two scopes finds exactly the record a scan in creation order would.
// Each record's name hash is kept beside it: a lookup hashes the name once for both scopes,
// and compares names only where the hashes agree. 4096 buckets (16 KiB) keep the chains of
// a full table short, and touch few pages of memory when a program has many labels.
constexpr int SYMBOL_BUCKET_BITS = 12;
constexpr uint32_t SYMBOL_BUCKETS = 1u << SYMBOL_BUCKET_BITS;
static int32_t symbol_buckets[SYMBOL_BUCKETS];    // record index + 1, 0 ends a chain
static int32_t symbol_next[MAX_SYMBOLS];
static uint32_t symbol_hashes[MAX_SYMBOLS];

static uint64_t mix_group(uint64_t hash, uint64_t group)
{
    return (hash ^ group) * 0x9E3779B97F4A7C15u;
}

// A hash of the `length` characters of a name, at most the 31 that count, taken eight at a
// time: each group of eight, read as one integer, is mixed in by a multiply. The last group
// of a longer name ends at its last character and may overlap the one before; a name shorter
// than eight is packed byte by byte. No read goes past the name.
static uint32_t name_hash(const char* name, size_t length)
{
    uint64_t hash = length;
    uint64_t group = 0;
    if (length >= 8) {
        for (size_t i = 0; i + 8 < length; i += 8) {
            std::memcpy(&group, name + i, 8);
            hash = mix_group(hash, group);
        }
        std::memcpy(&group, name + length - 8, 8);
    } else {
        for (size_t i = 0; i < length; i++) {
            group = group << 8 | static_cast<unsigned char>(name[i]);
        }
    }
    // A product's high bits depend on all of its factor's bits, its low bits on few.
    return static_cast<uint32_t>(mix_group(hash, group) >> 32);
}

static uint32_t bucket_of(uint32_t hash, int32_t scope)
{
    uint32_t key = hash ^ static_cast<uint32_t>(static_cast<uint16_t>(scope));
    return (key * 0x9E3779B1u) >> (32 - SYMBOL_BUCKET_BITS);
}

static void link_record(int32_t index)
{
    uint32_t bucket = bucket_of(symbol_hashes[index], SymbolTable[index].scope);
    symbol_next[index] = symbol_buckets[bucket];
    symbol_buckets[bucket] = index + 1;
}

static void unlink_record(int32_t index)
{
    int32_t* link = &symbol_buckets[bucket_of(symbol_hashes[index], SymbolTable[index].scope)];
    while (*link != 0 && *link != index + 1) {
        link = &symbol_next[*link - 1];
    }
    if (*link != 0) {
        *link = symbol_next[index];
    }
}

// `length` is at most 31, so the record's name holds a NUL at that place or before.
static SymbolHandle lookup(int32_t scope, uint32_t hash, const char* name, size_t length)
{
    for (int32_t entry = symbol_buckets[bucket_of(hash, scope)]; entry != 0;
         entry = symbol_next[entry - 1]) {
        const SymbolRecord& record = SymbolTable[entry - 1];
        if (symbol_hashes[entry - 1] == hash && record.scope == scope &&
            std::memcmp(record.name, name, length) == 0 && record.name[length] == '\0') {
            return entry;
        }
    }
    return 0;
}

SymbolHandle find_symbol_text(const char* text, size_t length)
{
    if (length > static_cast<size_t>(NAME_MAX_CHARS)) {
        length = NAME_MAX_CHARS;
    }
    uint32_t hash = name_hash(text, length);
    SymbolHandle found = lookup(0, hash, text, length);
    // A record is a candidate of this file when its 16-bit scope equals the file number.
    if (found == 0 && file_number != 0 && file_number == static_cast<int16_t>(file_number)) {
        found = lookup(file_number, hash, text, length);
    }
    if (found != 0) {
        return found;
    }
    if (symbol_count >= MAX_SYMBOLS) {
        symbol_misses++;
        return 0;
    }
    int32_t index = symbol_count++;
    SymbolRecord& record = SymbolTable[index];
    std::memset(&record, 0, sizeof record);
    std::memcpy(record.name, text, length);
    record.scope = static_cast<int16_t>(file_number);
    symbol_hashes[index] = hash;
    link_record(index);
    return index + 1;
}

SymbolRecord& symbol_record(SymbolHandle handle)
{
    return SymbolTable[handle - 1];
}

void make_global(SymbolHandle handle)
{
    int32_t index = handle - 1;
    if (SymbolTable[index].scope == 0) {
        return;
    }
    unlink_record(index);
    SymbolTable[index].scope = 0;
    link_record(index);
}

void define_symbol(SymbolRecord& record, int32_t value, int32_t how)
{
    record.value = value;
    record.defined = static_cast<uint8_t>(how);
    record.file = file_place;
    record.line = line_place();
}

// The odd address at which a label was last defined, or -1. The location counter only grows,
// and every byte laid down moves it on, so while it still stands at this address the labels
// whose value it is were all defined since the last byte: they name whatever comes next.
static int32_t odd_label_address = -1;

bool define_label(SymbolHandle handle)
{
    SymbolRecord& record = SymbolTable[handle - 1];
    // Fixups are resolved after the last file, so even earlier references get the new value.
    if (record.defined != 0) {
        if (record.defined == SYMBOL_CONSTANT) {
            report_error("'%s' is already a constant", record.name);
            return false;
        }
        report_warning("label '%s' redefined: every reference uses the last definition",
                       record.name);
    }
    define_symbol(record, location_counter, SYMBOL_LABEL);
    if ((location_counter & 1) != 0) {
        odd_label_address = location_counter;
    }
    return true;
}

void warn_padded_labels()
{
    if (odd_label_address != location_counter) {
        return;
    }
    odd_label_address = -1;
    // Rare enough to afford a scan: only reached when such a label exists.
    for (int32_t i = 0; i < symbol_count; i++) {
        const SymbolRecord& record = SymbolTable[i];
        if (record.defined == SYMBOL_LABEL && record.value == location_counter) {
            report_warning("label '%s' at odd address %04X names a padding byte", record.name,
                           static_cast<unsigned>(record.value));
        }
    }
}

bool symbol_usable(SymbolHandle handle)
{
    if (handle != 0) {
        return true;
    }
    report_once(symbols_full_reported, "symbol table is full");
    return false;
}

bool operand_symbols_usable(int32_t misses_before)
{
    return symbol_misses == misses_before || symbol_usable(0);
}

void reset_symbols()
{
    std::memset(symbol_buckets, 0, sizeof symbol_buckets);
    std::memset(SymbolTable, 0, sizeof SymbolTable);
    symbol_count = 0;
    file_number = 0;
    std::memset(FilePaths, 0, sizeof FilePaths);
    symbols_full_reported = false;
    symbol_misses = 0;
    odd_label_address = -1;
}
