// The image writers: hexadecimal dump, 64 KiB binary, the (empty) RAM file, the program list
// and the VHDL ROM entity, all sharing one frame for opening, error testing and closing.
#include "asm.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

// One output is open at a time; its text collects here and goes out in large writes.
static char pending[1 << 16];
static size_t pending_used;

char* output_room(std::FILE* stream, size_t length)
{
    if (pending_used + length > sizeof pending) {
        std::fwrite(pending, 1, pending_used, stream);
        pending_used = 0;
    }
    return pending + pending_used;
}

void output_bytes(std::FILE* stream, const char* data, size_t length)
{
    char* out = output_room(stream, length);
    if (length > sizeof pending) {
        std::fwrite(data, 1, length, stream);
        return;
    }
    std::memcpy(out, data, length);
    pending_used += length;
}

void output_text(std::FILE* stream, const char* text)
{
    output_bytes(stream, text, std::strlen(text));
}

void output_end(const char* end)
{
    pending_used = static_cast<size_t>(end - pending);
}

// Copies a string literal without its NUL; its length is known when compiling.
template <size_t N> static char* put_literal(char* out, const char (&text)[N])
{
    std::memcpy(out, text, N - 1);
    return out + N - 1;
}

// A line number kept as its decimal text, counted up in place: most steps touch one digit.
struct DecimalCounter { char digits[16]; size_t length; };

static void count_up(DecimalCounter& counter)
{
    size_t i = counter.length;
    while (i > 0 && counter.digits[i - 1] == '9') {
        counter.digits[--i] = '0';
    }
    if (i > 0) {
        counter.digits[i - 1]++;
    } else {
        std::memmove(counter.digits + 1, counter.digits, counter.length++);
        counter.digits[0] = '1';
    }
}

bool same_file(const char* a, const char* b)
{
    struct stat first, second;
    return stat(a, &first) == 0 && stat(b, &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

std::FILE* open_output(const char* path, const char* mode, bool* created)
{
    *created = false;
    if (is_source_file(path)) {
        report_error("output '%s' would overwrite a source file", path);
        return nullptr;
    }
    std::FILE* stream = std::fopen(path, mode);
    if (stream == nullptr) {
        report_error("cannot open '%s' (%s)", path, std::strerror(errno));
        return nullptr;
    }
    // The pending buffer already collects whole 64 KiB blocks; a stdio buffer behind it
    // would only split each block into two writes.
    std::setvbuf(stream, nullptr, _IONBF, 0);
    struct stat info;
    *created = fstat(fileno(stream), &info) == 0 && S_ISREG(info.st_mode);
    pending_used = 0;
    return stream;
}

void finish_output(std::FILE* stream, const char* path)
{
    // Write out what is pending and flush, so that a full disk shows in the error indicator
    // here and not only at close.
    std::fwrite(pending, 1, pending_used, stream);
    pending_used = 0;
    std::fflush(stream);
    if (std::ferror(stream)) {
        int error = errno;
        std::fclose(stream);
        report_error("error writing '%s' (%s)", path, std::strerror(error));
    } else if (std::fclose(stream) != 0) {
        report_error("error writing '%s' (%s)", path, std::strerror(errno));
    }
}

bool write_output(const char* path, const char* mode, void (*text)(std::FILE*, const char*))
{
    bool created;
    std::FILE* stream = open_output(path, mode, &created);
    if (stream != nullptr) {
        text(stream, path);
        finish_output(stream, path);
    }
    return created;
}

static void hex_text(std::FILE* stream, const char*)
{
    // "- nn aaaa" and then every byte of the row, at most 16 to a row: 58 characters.
    for (int32_t row = 0; row < location_counter; row += 16) {
        int32_t count = location_counter - row < 16 ? location_counter - row : 16;
        char* out = output_room(stream, 64);
        *out++ = '-';
        *out++ = ' ';
        out = put_hex2(out, static_cast<uint32_t>(count));
        *out++ = ' ';
        out = put_hex4(out, static_cast<uint32_t>(row));
        for (int32_t i = row; i < row + count; i++) {
            *out++ = ' ';
            out = put_hex2(out, CodeImage[i]);
        }
        *out++ = '\n';
        output_end(out);
    }
}

bool write_hex(const char* path)
{
    return write_output(path, "w", hex_text);
}

static void bin_image(std::FILE* stream, const char*)
{
    // Little-endian words for the hardware flow: low byte first.
    constexpr int32_t STRIP = 4096;
    for (int32_t strip = 0; strip < IMAGE_SIZE; strip += STRIP) {
        char* out = output_room(stream, STRIP);
        for (int32_t a = strip; a < strip + STRIP; a += 2) {
            *out++ = static_cast<char>(CodeImage[a + 1]);
            *out++ = static_cast<char>(CodeImage[a]);
        }
        output_end(out);
    }
}

bool write_bin(const char* path)
{
    return write_output(path, "wb", bin_image);
}

static void no_text(std::FILE*, const char*)
{
}

bool write_ram(const char* path)
{
    return write_output(path, "wb", no_text);
}

static void prg_text(std::FILE* stream, const char*)
{
    // word index in decimal, the word, and its disassembly in an 18-column field
    DecimalCounter index = {{'0'}, 1};
    for (int32_t a = 0; a < location_counter; a += 2, count_up(index)) {
        char* out = output_room(stream, 64);
        std::memcpy(out, index.digits, 8);   // the index has at most five digits
        out += index.length;
        *out++ = '\t';
        out = put_hex4(out, image_word(a));
        *out++ = '\t';
        std::memcpy(out, disassembly_field(a), DISASM_FIELD);
        out += DISASM_FIELD;
        *out++ = '\n';
        output_end(out);
    }
}

bool write_prg(const char* path)
{
    return write_output(path, "w", prg_text);
}

static const char* const VhdlOpening =
    "library IEEE;\n"
    "use IEEE.STD_LOGIC_1164.all;\n"
    "use IEEE.STD_LOGIC_unsigned.all;\n"
    "\n"
    "entity prom is\n"
    "\tport(\n"
    "\t\tclk : in STD_LOGIC;\n"
    "\t\tena : in STD_LOGIC;\n"
    "\t\taddri : in std_logic_vector(15 downto 0);\n"
    "\t\tinstr : out std_logic_vector(15 downto 0)\n"
    "\t);\n"
    "end;\n"
    "\n"
    "architecture prom_beh of prom is\n"
    "signal address: std_logic_vector(15 downto 0);\n"
    "begin\n"
    "\n"
    "process (clk, addri)\n"
    "begin\n"
    "\tif clk = '1' and clk'event then\n"
    "\t\tif ena = '1' then\n"
    "\t\t\taddress <= (addri(14 downto 0) & '0') after 1 ns;\n"
    "\t\tend if;\n"
    "\tend if;\n"
    "end process;\n"
    "\n"
    "process (address)\n"
    "begin\n"
    "\tcase address is\n";

static const char* const VhdlClosing =
    "\t\twhen others=> instr <= x\"0000\" after 1 ns;\n"
    "\tend case;\n"
    "end process;\n"
    "\n"
    "end;\n";

static void vhdl_text(std::FILE* stream, const char*)
{
    output_text(stream, VhdlOpening);
    // \t\twhen x"aaaa"=> instr <= x"wwww" after 1 ns;\t---text: 68 characters
    for (int32_t a = 0; a < location_counter; a += 2) {
        char* out = output_room(stream, 96);
        out = put_literal(out, "\t\twhen x\"");
        out = put_hex4(out, static_cast<uint32_t>(a));
        out = put_literal(out, "\"=> instr <= x\"");
        out = put_hex4(out, image_word(a));
        out = put_literal(out, "\" after 1 ns;\t---");
        std::memcpy(out, disassembly_field(a), DISASM_FIELD);
        out += DISASM_FIELD;
        *out++ = '\n';
        output_end(out);
    }
    output_text(stream, VhdlClosing);
}

bool write_vhdl(const char* path)
{
    return write_output(path, "w", vhdl_text);
}
