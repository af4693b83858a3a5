// The image writers: hexadecimal dump, 64 KiB binary, the (empty) RAM file, the program list
// and the VHDL ROM entity, and the word lines that every ROM and memory file is made of.
#include "asm.h"

#include <cstring>
#include <string_view>

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

void write_word_lines(const char* form, uint8_t parts, int32_t first, int32_t end)
{
    // The form's text is copied whole, a fixed 64 bytes (the room asked for covers the bytes
    // past it), and the numbers and the field go into and after it.
    char line[64] = {};
    std::string_view text = std::string_view(form).substr(0, sizeof line - 1);
    text.copy(line, text.size());
    size_t number_at = text.find("nnnn"), address_at = text.find("aaaa");
    size_t word_at = text.find("wwww");
    DecimalCounter index = {};
    index.length = static_cast<size_t>(std::snprintf(index.digits, sizeof index.digits, "%d",
                                                     first));
    // Lines of at most 128 bytes, OUTPUT_ROOM / 128 of them to each reservation.
    for (int32_t n = first; n < end;) {
        char* out = output_reserve(OUTPUT_ROOM);
        constexpr int32_t BATCH = OUTPUT_ROOM / 128;
        int32_t stop = end - n < BATCH ? end : n + BATCH;
        for (; n < stop; n++) {
            if (parts & LINE_DECIMAL) {
                std::memcpy(out, index.digits, 8);   // at most five digits
                out += index.length;
                *out++ = '\t';
                count_up(index);
            }
            std::memcpy(out, line, sizeof line);
            uint32_t word = image_word(2 * n);
            if (number_at != text.npos) {
                put_hex4(out + number_at, static_cast<uint32_t>(n));
            }
            if (address_at != text.npos) {
                put_hex4(out + address_at, static_cast<uint32_t>(2 * n));
            }
            put_hex4(out + word_at, word);
            out += text.size();
            if (parts & (LINE_FIELD | LINE_TRIMMED)) {
                const char* field = word_field(2 * n, word);
                std::memcpy(out, field, DISASM_FIELD);
                size_t length = DISASM_FIELD;
                while ((parts & LINE_TRIMMED) && field[length - 1] == ' ') {
                    length--;            // no text starts with a blank
                }
                out += length;
            }
            *out++ = '\n';
        }
        output_commit(out);
    }
}

static void hex_text(const char*)
{
    // "- nn aaaa" and then every byte of the row, at most 16 to a row: 58 characters.
    int32_t end = location_counter;
    for (int32_t row = 0; row < end;) {
        char* out = output_reserve(OUTPUT_ROOM);
        constexpr int32_t BATCH = OUTPUT_ROOM / 64 * 16;   // bytes shown per reservation
        int32_t stop = end - row < BATCH ? end : row + BATCH;
        for (; row < stop; row += 16) {
            int32_t count = end - row < 16 ? end - row : 16;
            *out++ = '-';
            *out++ = ' ';
            out = put_hex2(out, static_cast<uint32_t>(count));
            *out++ = ' ';
            out = put_hex4(out, static_cast<uint32_t>(row));
            for (int32_t i = 0; i < count; i++) {
                *out++ = ' ';
                out = put_hex2(out, CodeImage[row + i]);
            }
            *out++ = '\n';
        }
        output_commit(out);
    }
}

bool write_hex(const char* path)
{
    return write_output(path, "w", hex_text);
}

static void bin_image(const char*)
{
    // Little-endian words for the hardware flow: low byte first.
    constexpr int32_t STRIP = 4096;
    for (int32_t strip = 0; strip < IMAGE_SIZE; strip += STRIP) {
        char* out = output_reserve(STRIP);
        for (int32_t a = strip; a < strip + STRIP; a += 2) {
            uint32_t word = image_word(a);
            *out++ = static_cast<char>(word & 0xFF);
            *out++ = static_cast<char>(word >> 8);
        }
        output_commit(out);
    }
}

bool write_bin(const char* path)
{
    return write_output(path, "wb", bin_image);
}

static void no_text(const char*)
{
}

bool write_ram(const char* path)
{
    return write_output(path, "wb", no_text);
}

static void prg_text(const char*)
{
    // Word number in decimal, the word, and its disassembly in an 18-column field.
    write_word_lines("wwww\t", LINE_DECIMAL | LINE_FIELD, 0, (location_counter + 1) / 2);
}

bool write_prg(const char* path)
{
    return write_output(path, "w", prg_text);
}

// The text before the word lines, in three pieces around the entity's name, which stands
// twice: in the entity's heading and in the architecture's.
static const char* const VhdlOpening =
    "library IEEE;\n"
    "use IEEE.STD_LOGIC_1164.all;\n"
    "use IEEE.STD_LOGIC_unsigned.all;\n"
    "\n"
    "entity ";
static const char* const VhdlPorts =
    " is\n"
    "\tport(\n"
    "\t\tclk : in STD_LOGIC;\n"
    "\t\tena : in STD_LOGIC;\n"
    "\t\taddri : in std_logic_vector(15 downto 0);\n"
    "\t\tinstr : out std_logic_vector(15 downto 0)\n"
    "\t);\n"
    "end;\n"
    "\n"
    "architecture prom_beh of ";
static const char* const VhdlProcesses =
    " is\n"
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

static void vhdl_text(const char*)
{
    const char* entity = module_name != nullptr ? module_name : "prom";
    output_text(VhdlOpening);
    output_text(entity);
    output_text(VhdlPorts);
    output_text(entity);
    output_text(VhdlProcesses);
    write_word_lines("\t\twhen x\"aaaa\"=> instr <= x\"wwww\" after 1 ns;\t---", LINE_FIELD, 0,
                     (location_counter + 1) / 2);
    output_text(VhdlClosing);
}

bool write_vhdl(const char* path)
{
    return write_output(path, "w", vhdl_text);
}
