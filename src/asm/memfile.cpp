// Memory files for the tools of other hardware flows: the $readmemh memory file, Intel HEX,
// the Quartus Memory Initialization File and the Vivado coefficient file. Each shows the same
// image as the other outputs: word n at byte address 2n, high byte first.
#include "asm.h"

#include <cstring>
#include <string_view>

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

static uint32_t program_word(int32_t n)
{
    return 2 * n < location_counter ? image_word(2 * n) : 0;
}

static void mem_text(std::FILE* stream, const char*)
{
    // Every word of the memory, so that $readmemh leaves none undefined.
    char* stop;
    char* out = output_chunk(stream, nullptr, stop);
    for (int32_t n = 0; n < memory_depth; n++) {
        out = line_room(stream, out, stop);
        put_hex4(out, program_word(n));
        out[4] = '\n';
        out += 5;
    }
    output_end(out);
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

static void ihx_text(std::FILE* stream, const char*)
{
    // Data records of 16 bytes up to the location counter, with 16-bit byte addresses: the
    // 64 KiB memory needs no extended address record.
    int32_t end = location_counter;
    char* stop;
    char* out = output_chunk(stream, nullptr, stop);
    for (int32_t row = 0; row < end; row += 16) {
        out = line_room(stream, out, stop);
        int32_t count = end - row < 16 ? end - row : 16;
        out = ihx_record(out, static_cast<uint32_t>(row), 0, CodeImage + row, count);
    }
    out = line_room(stream, out, stop);
    out = ihx_record(out, 0, 1, nullptr, 0);
    output_end(out);
}

bool write_ihx(const char* path)
{
    return write_output(path, "w", ihx_text);
}

static void mif_text(std::FILE* stream, const char*)
{
    char depth[16];
    std::snprintf(depth, sizeof depth, "%d", memory_depth);
    output_text(stream, "WIDTH=16;\nDEPTH=");
    output_text(stream, depth);
    output_text(stream, ";\n\nADDRESS_RADIX=HEX;\nDATA_RADIX=HEX;\n\nCONTENT BEGIN\n");
    // \tAAAA  :   WWWW; with the constant text copied whole and the numbers put into it
    constexpr char WordLine[] = "\taaaa  :   wwww;\n";
    constexpr size_t ADDRESS_AT = 1, WORD_AT = 11, LINE_LENGTH = sizeof WordLine - 1;
    static_assert(std::string_view(WordLine).find("aaaa") == ADDRESS_AT);
    static_assert(std::string_view(WordLine).find("wwww") == WORD_AT);
    int32_t words = program_words();
    char* stop;
    char* out = output_chunk(stream, nullptr, stop);
    for (int32_t n = 0; n < words; n++) {
        out = line_room(stream, out, stop);
        std::memcpy(out, WordLine, LINE_LENGTH);
        put_hex4(out + ADDRESS_AT, static_cast<uint32_t>(n));
        put_hex4(out + WORD_AT, program_word(n));
        out += LINE_LENGTH;
    }
    output_end(out);
    // The rest of the memory in one range, so that every word is given exactly once.
    if (words < memory_depth) {
        char line[32];
        char* end = put_text(line, "\t[");
        end = put_hex4(end, static_cast<uint32_t>(words));
        end = put_text(end, "..");
        end = put_hex4(end, static_cast<uint32_t>(memory_depth - 1));
        end = put_text(end, "]  :   0000;\n");
        output_bytes(stream, line, static_cast<size_t>(end - line));
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
    char* stop;
    char* out = output_chunk(stream, nullptr, stop);
    for (int32_t n = 0; n < words; n++) {
        out = line_room(stream, out, stop);
        put_hex4(out, program_word(n));
        out[4] = n + 1 < words ? ',' : ';';
        out[5] = '\n';
        out += 6;
    }
    output_end(out);
}

bool write_coe(const char* path)
{
    return write_output(path, "w", coe_text);
}
