// The symbol map: every defined symbol with its value and scope, ordered by value, for
// simulators, debuggers and anyone who wants to know where a label landed.
#include "asm.h"

#include <algorithm>
#include <climits>
#include <cstring>

// Value, then name in byte order, then globals (scope 0) before the symbols of a file, those
// in the order of their files on the command line.
static bool symbol_before(int32_t left, int32_t right)
{
    const SymbolRecord& a = SymbolTable[left];
    const SymbolRecord& b = SymbolTable[right];
    if (a.value != b.value) {
        return a.value < b.value;
    }
    int order = std::strcmp(a.name, b.name);
    if (order != 0) {
        return order < 0;
    }
    return static_cast<uint16_t>(a.scope) < static_cast<uint16_t>(b.scope);
}

static void symbol_text(const char*)
{
    static int32_t order[MAX_SYMBOLS];
    int32_t count = 0;
    for (int32_t i = 0; i < symbol_count; i++) {
        if (SymbolTable[i].defined == SYMBOL_LABEL) {   // constants are no addresses
            order[count++] = i;
        }
    }
    std::sort(order, order + count, symbol_before);

    // VVVV\tg\tname, or VVVV\tl\tname\tpath for a symbol of one file
    for (int32_t k = 0; k < count; k++) {
        const SymbolRecord& record = SymbolTable[order[k]];
        char* out = put_hex(output_reserve(64), static_cast<uint32_t>(record.value), 4);
        *out++ = '\t';
        *out++ = record.scope == 0 ? 'g' : 'l';
        *out++ = '\t';
        out = put_text(out, record.name);
        if (record.scope != 0) {
            int32_t number = static_cast<uint16_t>(record.scope);
            const char* source = number <= MAX_SOURCES ? FilePaths[number] : nullptr;
            *out++ = '\t';
            if (source != nullptr) {
                // A source that was read has a path of fewer than PATH_MAX bytes.
                static char shown[4 * PATH_MAX];
                output_commit(out);
                output_text(shown_path(source, shown, sizeof shown));
                out = output_reserve(1);
            }
        }
        *out++ = '\n';
        output_commit(out);
    }
}

bool write_symbols(const char* path)
{
    return write_output(path, "w", symbol_text);
}
