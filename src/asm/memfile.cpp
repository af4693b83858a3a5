// Memory files for the tools of other hardware flows: the $readmemh memory file, Intel HEX,
// the Quartus Memory Initialization File and the Vivado coefficient file. Each shows the same
// image as the other outputs: word n at byte address 2n, high byte first.
#include "asm.h"

#include <cstring>

constexpr int32_t MEMORY_WORDS = IMAGE_SIZE / 2;

// Words the program occupies: an odd location counter ends in a word whose low byte is the
// zero at the location counter.
static int32_t program_words()
{
    return (location_counter + 1) / 2;
}

static uint32_t program_word(int32_t n)
{
    return 2 * n < location_counter ? image_word(2 * n) : 0;
}

static void mem_text(std::FILE* stream, const char*)
{
    // Every word of the memory, so that $readmemh leaves none undefined.
    for (int32_t n = 0; n < MEMORY_WORDS; n++) {
        char line[5];
        put_hex4(line, program_word(n));
        line[4] = '\n';
        output_bytes(stream, line, sizeof line);
    }
}

bool write_mem(const char* path)
{
    return write_output(path, "w", mem_text);
}

// One Intel HEX record: ":", byte count, address, type, the data, and the checksum that makes
// the sum of all the record's bytes zero modulo 256.
static void ihx_record(std::FILE* stream, uint32_t address, uint32_t type, const uint8_t* data,
                       int32_t count)
{
    char line[64];
    char* out = line;
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
    output_bytes(stream, line, static_cast<size_t>(out - line));
}

static void ihx_text(std::FILE* stream, const char*)
{
    // Data records of 16 bytes up to the location counter, with 16-bit byte addresses: the
    // 64 KiB memory needs no extended address record.
    for (int32_t row = 0; row < location_counter; row += 16) {
        int32_t count = location_counter - row < 16 ? location_counter - row : 16;
        ihx_record(stream, static_cast<uint32_t>(row), 0, CodeImage + row, count);
    }
    ihx_record(stream, 0, 1, nullptr, 0);
}

bool write_ihx(const char* path)
{
    return write_output(path, "w", ihx_text);
}

static void mif_text(std::FILE* stream, const char*)
{
    output_text(stream, "WIDTH=16;\nDEPTH=32768;\n\nADDRESS_RADIX=HEX;\nDATA_RADIX=HEX;\n\n"
                       "CONTENT BEGIN\n");
    // \tAAAA  :   WWWW;
    int32_t words = program_words();
    for (int32_t n = 0; n < words; n++) {
        char line[24];
        char* out = line;
        *out++ = '\t';
        out = put_hex4(out, static_cast<uint32_t>(n));
        out = put_text(out, "  :   ");
        out = put_hex4(out, program_word(n));
        *out++ = ';';
        *out++ = '\n';
        output_bytes(stream, line, static_cast<size_t>(out - line));
    }
    // The rest of the memory in one range, so that every word is given exactly once.
    if (words < MEMORY_WORDS) {
        char line[32];
        char* out = put_text(line, "\t[");
        out = put_hex4(out, static_cast<uint32_t>(words));
        out = put_text(out, "..7FFF]  :   0000;\n");
        output_bytes(stream, line, static_cast<size_t>(out - line));
    }
    output_text(stream, "END;\n");
}

bool write_mif(const char* path)
{
    return write_output(path, "w", mif_text);
}

static void coe_text(std::FILE* stream, const char*)
{
    output_text(stream, "memory_initialization_radix=16;\nmemory_initialization_vector=\n");
    // The vector needs at least one value: an empty program gives a single zero word.
    int32_t words = program_words() > 0 ? program_words() : 1;
    for (int32_t n = 0; n < words; n++) {
        char line[6];
        put_hex4(line, program_word(n));
        line[4] = n + 1 < words ? ',' : ';';
        line[5] = '\n';
        output_bytes(stream, line, sizeof line);
    }
}

bool write_coe(const char* path)
{
    return write_output(path, "w", coe_text);
}
