// The image writers: hexadecimal dump, 64 KiB binary, the (empty) RAM file, the program list
// and the VHDL ROM entity, all sharing one frame for opening, error testing and closing.
#include "asm.h"

#include <cerrno>
#include <cstring>
#include <string_view>

// One output is open at a time; its text collects here and goes out in writes of exactly
// OUTPUT_BLOCK bytes, the last write of a file aside. A file is written from its start, so
// every write begins and ends on a boundary of the file's pages: a write that ends inside a
// page leaves the kernel that page to take up again with the next write, which costs it
// more than the copy of the page itself. A line is built whole past the block's end, in the
// OUTPUT_ROOM bytes behind it, and what lies past the block moves to the front once the
// block has gone out.
constexpr size_t OUTPUT_BLOCK = 1 << 16;
static char pending[OUTPUT_BLOCK + OUTPUT_ROOM];
static size_t pending_used;   // below OUTPUT_BLOCK whenever output_room returns

char* output_room(std::FILE* stream, size_t length)
{
    (void)length;   // at most OUTPUT_ROOM, which always fits behind fewer than OUTPUT_BLOCK
    if (pending_used >= OUTPUT_BLOCK) {
        std::fwrite(pending, 1, OUTPUT_BLOCK, stream);
        pending_used -= OUTPUT_BLOCK;
        std::memcpy(pending, pending + OUTPUT_BLOCK, pending_used);
    }
    return pending + pending_used;
}

void output_bytes(std::FILE* stream, const char* data, size_t length)
{
    while (length > 0) {
        size_t piece = length < OUTPUT_ROOM ? length : OUTPUT_ROOM;
        char* out = output_room(stream, piece);
        std::memcpy(out, data, piece);
        pending_used += piece;
        data += piece;
        length -= piece;
    }
}

void output_text(std::FILE* stream, const char* text)
{
    output_bytes(stream, text, std::strlen(text));
}

void output_end(const char* end)
{
    pending_used = static_cast<size_t>(end - pending);
}

char* output_chunk(std::FILE* stream, char* end, char*& stop)
{
    if (end != nullptr) {
        output_end(end);
    }
    char* out = output_room(stream, OUTPUT_ROOM);
    // A line may start anywhere before the block's end: the room behind the block holds it.
    stop = pending + OUTPUT_BLOCK - 1;
    return out;
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

std::FILE* open_output(const char* path, const char* mode, bool* created)
{
    *created = false;
    if (is_source_file(path) || named_like_source(path)) {
        char shown[TEXT_BUF];
        report_error("output '%s' would overwrite a source file",
                     shown_path(path, shown, sizeof shown));
        return nullptr;
    }
    std::FILE* stream = open_destination(path, mode, created);
    if (stream == nullptr) {
        return nullptr;
    }
    // The pending buffer already collects whole 64 KiB blocks; a stdio buffer behind it
    // would only split each block into two writes.
    std::setvbuf(stream, nullptr, _IONBF, 0);
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
    bool failed = std::ferror(stream);
    int error = errno;
    if (std::fclose(stream) != 0 && !failed) {
        failed = true;
        error = errno;
    }
    if (failed) {
        report_file_error("error writing '%s' (%s)", path, error);
    }
    output_closed(path);
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
    int32_t end = location_counter;
    char* stop;
    char* out = output_chunk(stream, nullptr, stop);
    for (int32_t row = 0; row < end; row += 16) {
        out = line_room(stream, out, stop);
        int32_t count = end - row < 16 ? end - row : 16;
        *out++ = '-';
        *out++ = ' ';
        out = put_hex2(out, static_cast<uint32_t>(count));
        *out++ = ' ';
        out = put_hex4(out, static_cast<uint32_t>(row));
        const uint8_t* bytes = CodeImage + row;
        if (count == 16) {
            // A full row, as all but the last are: its 48 columns of blanks at once, then
            // the digit pairs into their gaps, four bytes to a step.
            std::memset(out, ' ', 48);
            for (int32_t i = 0; i < 16; i += 4) {
                put_hex2(out + 3 * i + 1, bytes[i]);
                put_hex2(out + 3 * i + 4, bytes[i + 1]);
                put_hex2(out + 3 * i + 7, bytes[i + 2]);
                put_hex2(out + 3 * i + 10, bytes[i + 3]);
            }
            out += 48;
        } else {
            for (int32_t i = 0; i < count; i++) {
                *out++ = ' ';
                out = put_hex2(out, bytes[i]);
            }
        }
        *out++ = '\n';
    }
    output_end(out);
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
    // word index in decimal, the word, and its disassembly in an 18-column field: at most
    // 31 characters
    int32_t end = location_counter;
    DecimalCounter index = {{'0'}, 1};
    char* stop;
    char* out = output_chunk(stream, nullptr, stop);
    for (int32_t a = 0; a < end;) {
        // The lines up to the next index that ends in 9 differ in the last digit alone: the
        // index and its tab go out as one copy of the 8 bytes of `lead` (the index has at
        // most five digits), whose last digit counts up in place.
        char lead[8];
        std::memcpy(lead, index.digits, 8);
        lead[index.length] = '\t';
        size_t lead_length = index.length + 1;
        char& last = lead[index.length - 1];
        int32_t run_end = a + 2 * ('9' + 1 - last);
        run_end = run_end < end ? run_end : end;
        for (; a < run_end; a += 2, last++) {
            out = line_room(stream, out, stop);
            std::memcpy(out, lead, 8);
            out += lead_length;
            uint32_t word;
            out = put_image_word(out, a, word);
            *out++ = '\t';
            std::memcpy(out, word_field(a, word), DISASM_FIELD);
            out += DISASM_FIELD;
            *out++ = '\n';
        }
        index.digits[index.length - 1] = '9';
        count_up(index);
    }
    output_end(out);
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

// The line of a word up to its field, the address and the word still to be filled in.
constexpr char VhdlWordLine[] = "\t\twhen x\"aaaa\"=> instr <= x\"wwww\" after 1 ns;\t---";
constexpr size_t VHDL_ADDRESS_AT = 9, VHDL_WORD_AT = 28, VHDL_FIELD_AT = sizeof VhdlWordLine - 1;
static_assert(std::string_view(VhdlWordLine).find("aaaa") == VHDL_ADDRESS_AT);
static_assert(std::string_view(VhdlWordLine).find("wwww") == VHDL_WORD_AT);

static void vhdl_text(std::FILE* stream, const char*)
{
    const char* entity = module_name != nullptr ? module_name : "prom";
    output_text(stream, VhdlOpening);
    output_text(stream, entity);
    output_text(stream, VhdlPorts);
    output_text(stream, entity);
    output_text(stream, VhdlProcesses);
    // \t\twhen x"aaaa"=> instr <= x"wwww" after 1 ns;\t---text: 68 characters, every line
    // the same but for the address, the word and the field: the constant text is copied
    // whole, a fixed 49 bytes, and the rest goes into its gaps.
    int32_t end = location_counter;
    char* stop;
    char* out = output_chunk(stream, nullptr, stop);
    for (int32_t a = 0; a < end; a += 2) {
        out = line_room(stream, out, stop);
        std::memcpy(out, VhdlWordLine, VHDL_FIELD_AT);
        put_hex4(out + VHDL_ADDRESS_AT, static_cast<uint32_t>(a));
        uint32_t word;
        put_image_word(out + VHDL_WORD_AT, a, word);
        std::memcpy(out + VHDL_FIELD_AT, word_field(a, word), DISASM_FIELD);
        out[VHDL_FIELD_AT + DISASM_FIELD] = '\n';
        out += VHDL_FIELD_AT + DISASM_FIELD + 1;
    }
    output_end(out);
    output_text(stream, VhdlClosing);
}

bool write_vhdl(const char* path)
{
    return write_output(path, "w", vhdl_text);
}
