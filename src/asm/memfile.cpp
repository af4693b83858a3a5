// Memory files for the tools of other hardware flows: the $readmemh memory file, Intel HEX,
// the Quartus Memory Initialization File and the Vivado coefficient file. Each shows the same
// image as the other outputs: word n at byte address 2n, high byte first.
#include "asm.h"

#include <cstring>

constexpr int32_t MEMORY_WORDS = IMAGE_SIZE / 2;
int32_t memory_depth = MEMORY_WORDS;

// Words the program occupies: an odd location counter ends in a word whose low byte is the
// zero at the location counter.
static int32_t program_words()
{
    return (location_counter + 1) / 2;
}

void check_memory_depth()
{
    if (program_words() > memory_depth) {
        report_error("program of %d words does not fit a depth of %d", program_words(),
                     memory_depth);
    }
}

static void mem_text(const char*)
{
    // Four digits a line, every word of the memory, so that $readmemh leaves none undefined.
    write_word_lines("wwww", 0, 0, memory_depth);
}

bool write_mem(const char* path)
{
    return write_output(path, "w", mem_text);
}

// One Intel HEX record at `out`: ":", byte count, address, type, the data, and the checksum
// that makes the sum of all the record's bytes zero modulo 256. Returns the end of the line,
// at most 44 characters.
static char* ihx_record(char* out, uint32_t address, uint32_t type, const uint8_t* data,
                        int32_t count)
{
    *out++ = ':';
    out = put_hex2(out, static_cast<uint32_t>(count));
    out = put_hex4(out, address);
    out = put_hex2(out, type);
    uint32_t sum = static_cast<uint32_t>(count) + (address >> 8) + (address & 0xFF) + type;
    for (int32_t i = 0; i < count; i++) {
        out = put_hex2(out, data[i]);
        sum += data[i];
    }
    out = put_hex2(out, (0x100 - (sum & 0xFF)) & 0xFF);
    *out++ = '\n';
    return out;
}

static void ihx_text(const char*)
{
    // Data records of 16 bytes up to the location counter, with 16-bit byte addresses: the
    // 64 KiB memory needs no extended address record.
    int32_t end = location_counter;
    for (int32_t row = 0; row < end; row += 16) {
        char* out = output_reserve(64);
        int32_t count = end - row < 16 ? end - row : 16;
        output_commit(ihx_record(out, static_cast<uint32_t>(row), 0, CodeImage + row, count));
    }
    output_commit(ihx_record(output_reserve(64), 0, 1, nullptr, 0));
}

bool write_ihx(const char* path)
{
    return write_output(path, "w", ihx_text);
}

static void mif_text(const char*)
{
    char* out = put_text(output_reserve(128), "WIDTH=16;\nDEPTH=");
    out += std::snprintf(out, 16, "%d", memory_depth);
    output_commit(put_text(out, ";\n\nADDRESS_RADIX=HEX;\nDATA_RADIX=HEX;\n\nCONTENT BEGIN\n"));
    int32_t words = program_words();
    write_word_lines("\tnnnn  :   wwww;", 0, 0, words);
    // The rest of the memory in one range, so that every word is given exactly once.
    if (words < memory_depth) {
        out = put_hex4(put_text(output_reserve(32), "\t["), static_cast<uint32_t>(words));
        out = put_hex4(put_text(out, ".."), static_cast<uint32_t>(memory_depth - 1));
        output_commit(put_text(out, "]  :   0000;\n"));
    }
    output_text("END;\n");
}

bool write_mif(const char* path)
{
    return write_output(path, "w", mif_text);
}

static void coe_text(const char*)
{
    output_text("memory_initialization_radix=16;\nmemory_initialization_vector=\n");
    // The vector needs at least one value: an empty program gives a single zero word.
    int32_t words = program_words() > 0 ? program_words() : 1;
    // A comma after every word but the last, which ends the vector.
    write_word_lines("wwww,", 0, 0, words - 1);
    write_word_lines("wwww;", 0, words - 1, words);
}

bool write_coe(const char* path)
{
    return write_output(path, "w", coe_text);
}
