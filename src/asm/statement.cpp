// The pass over one source file: lines and their notes, labels, dispatch by mnemonic number,
// and the directives global, align, byte, word and bss.
#include "asm.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__SSE2__) && defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

// Which files were read as sources, by device and inode, so that no output overwrites one.
struct SourceId { dev_t device; ino_t inode; };
static SourceId source_ids[MAX_SOURCES];
static int32_t source_id_count;

static void remember_source(std::FILE* stream)
{
    struct stat info;
    if (source_id_count < MAX_SOURCES && fstat(fileno(stream), &info) == 0) {
        source_ids[source_id_count++] = {info.st_dev, info.st_ino};
    }
}

bool is_source_file(const char* path)
{
    struct stat info;
    if (stat(path, &info) != 0) {
        return false;
    }
    for (int32_t i = 0; i < source_id_count; i++) {
        if (source_ids[i].device == info.st_dev && source_ids[i].inode == info.st_ino) {
            return true;
        }
    }
    return false;
}

void reset_sources()
{
    source_id_count = 0;
}

static void directive_global(char*& cursor)
{
    SymbolHandle symbol;
    if (read_symbol_eol(cursor, symbol)) {
        make_global(symbol);
    }
}

static void directive_align(char*& cursor)
{
    int32_t n;
    if (!read_number_eol(cursor, n)) {
        return;
    }
    // 0 and the negative numbers are no powers of two, though n & (n - 1) lets some through.
    if (n <= 0 || (n & (n - 1)) != 0) {
        report_error("alignment %d is not a power of 2", n);
        return;
    }
    align_to(static_cast<uint32_t>(n));
}

static void directive_byte(char*& cursor)
{
    int32_t n;
    if (!read_number(cursor, n)) {
        return;
    }
    if (n < -128 || n > 255) {
        report_warning("value %d does not fit in 8 bits", n);
    }
    // One value per line: the rest is looked at but not read as tokens, so that a name
    // there does not become a symbol.
    while (is_space(static_cast<unsigned char>(*cursor))) {
        cursor++;
    }
    if (*cursor != '\0' && *cursor != ';') {
        report_warning("text after the byte value is ignored");
    }
    emit_byte(n);
}

static void directive_word(char*& cursor)
{
    SymbolHandle symbol;
    int32_t n;
    if (!read_word_expr(cursor, symbol, n)) {
        return;
    }
    if (symbol == 0) {
        warn_unless_16_bits(n);
    } else {
        emit_even();
        add_fixup(FIXUP_WORD, symbol, n);
    }
    emit_word(n);
}

static void directive_bss(char*& cursor)
{
    int32_t n;
    if (!read_number_eol(cursor, n)) {
        return;
    }
    if (n <= 0) {
        report_error("bss %d is not positive", n);
        return;
    }
    if ((n & 1) == 0) {
        align_to(2);
    }
    // A block that ends exactly at the end of the image fits; one that runs past it does not.
    uint32_t room = static_cast<uint32_t>(IMAGE_SIZE - location_counter);
    uint32_t count = static_cast<uint32_t>(n) < room ? static_cast<uint32_t>(n) : room;
    std::memset(CodeImage + location_counter, 0, count);
    location_counter += static_cast<int32_t>(count);
    if (count < static_cast<uint32_t>(n)) {
        emit_byte(0);
    }
}

// One line: an optional label, then a statement. `line` is the stripped source text and
// `cursor` its first character that is no white space.
static void assemble_line(char* line, char* cursor)
{
    Token token = next_token(cursor);
    if (token.kind == TOKEN_SYMBOL) {
        SymbolHandle label = token.value;
        if (next_token(cursor).kind != ':') {
            report_error("syntax error: %s", line);
            return;
        }
        if (!symbol_usable(label)) {
            return;
        }
        define_label(label);
        token = next_token(cursor);
    }
    if (token.kind == TOKEN_EOL) {
        return;
    }
    if (token.kind != TOKEN_MNEMONIC) {
        report_error("syntax error; expecting opcode");
        return;
    }
    // Instructions come first in mnemonic order; the directives follow them.
    if (token.value < MN_GLOBAL) {
        assemble_statement(token.value, cursor);
        return;
    }
    switch (token.value) {
    case MN_GLOBAL:
        directive_global(cursor);
        break;
    case MN_ALIGN:
        directive_align(cursor);
        break;
    case MN_BYTE:
        directive_byte(cursor);
        break;
    case MN_WORD:
        directive_word(cursor);
        break;
    case MN_BSS:
        directive_bss(cursor);
        break;
    }
}

// Source text is read in large blocks and cut into lines in place: a line is at most 511
// characters and ends after its newline, exactly as a bounded line read would cut it, so a
// longer line becomes several. A NUL byte ends a line's text for every later step.
// The buffer is memory that the writers' field cache uses once assembly is over: a run
// touches the pages of the larger of the two only. Blocks of 64 KiB touch few pages and
// cost few reads.
constexpr size_t READ_BLOCK = 1 << 16;
constexpr size_t SCAN_SLACK = 64;   // scans and note copies may look up to 64 bytes past the text
static_assert(READ_BLOCK + TEXT_BUF + SCAN_SLACK <= FIELD_CACHE_BYTES);
static char* read_buffer;

// Source lines are short, so the two scans of every line (its end, its first character that
// is no white space) look at whole 16-byte groups inline rather than calling the library
// once per line; both may read up to 64 bytes past the text.
#if defined(__SSE2__)
static uint32_t newline_mask(const char* text)
{
    __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n'))));
}

// Bit i set when text[i] is white space: a blank, or a control character 9..13.
static uint32_t space_mask(const char* text)
{
    __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
    __m128i control = _mm_sub_epi8(chunk, _mm_set1_epi8(9));
    __m128i in_range = _mm_cmpeq_epi8(_mm_min_epu8(control, _mm_set1_epi8(4)), control);
    __m128i blank = _mm_cmpeq_epi8(chunk, _mm_set1_epi8(' '));
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(in_range, blank)));
}
#endif

// The offset of the first newline among the `limit` bytes at `text`, or `limit` if none.
static size_t find_newline(const char* text, size_t limit)
{
#if defined(__SSE2__)
    // The first 64 bytes hold almost every line; test them without a loop.
    uint64_t mask = newline_mask(text) | static_cast<uint64_t>(newline_mask(text + 16)) << 16 |
                    static_cast<uint64_t>(newline_mask(text + 32)) << 32 |
                    static_cast<uint64_t>(newline_mask(text + 48)) << 48;
    if (mask != 0) {
        size_t found = static_cast<size_t>(__builtin_ctzll(mask));
        return found < limit ? found : limit;
    }
    for (size_t offset = 64; offset < limit; offset += 16) {
        if (uint32_t group = newline_mask(text + offset)) {
            size_t found = offset + static_cast<size_t>(__builtin_ctz(group));
            return found < limit ? found : limit;
        }
    }
    return limit;
#else
    const void* found = std::memchr(text, '\n', limit);
    return found != nullptr ? static_cast<size_t>(static_cast<const char*>(found) - text) : limit;
#endif
}

// The offset of the first byte among `length` at `text` that is no white space, or `length`.
static size_t skip_space(const char* text, size_t length)
{
    size_t first = 0;
#if defined(__SSE2__)
    uint32_t spaces = 0xFFFF;
    while (first < length && (spaces = space_mask(text + first)) == 0xFFFF) {
        first += 16;
    }
    if (first < length) {
        first += static_cast<size_t>(__builtin_ctz(~spaces));
    }
    return first < length ? first : length;
#else
    while (first < length && is_space(static_cast<unsigned char>(text[first]))) {
        first++;
    }
    return first;
#endif
}

#if defined(__SSE2__)
// Three masks of the 64 bytes at `text`, bit i for text[i]: the newlines, the semicolons,
// and the other bytes that are no white space.
struct LineMasks { uint64_t newlines, semicolons, others; };

static uint64_t group_bits(__m128i bytes, int group)
{
    return static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(bytes))) << (16 * group);
}

static LineMasks line_masks(const char* text)
{
    LineMasks masks{0, 0, 0};
    for (int group = 0; group < 4; group++) {
        __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * group));
        __m128i control = _mm_sub_epi8(chunk, _mm_set1_epi8(9));
        __m128i control_space = _mm_cmpeq_epi8(_mm_min_epu8(control, _mm_set1_epi8(4)), control);
        __m128i space = _mm_or_si128(control_space, _mm_cmpeq_epi8(chunk, _mm_set1_epi8(' ')));
        __m128i semicolon = _mm_cmpeq_epi8(chunk, _mm_set1_epi8(';'));
        masks.newlines |= group_bits(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n')), group);
        masks.semicolons |= group_bits(semicolon, group);
        masks.others |= group_bits(_mm_or_si128(space, semicolon), group);
    }
    masks.others = ~masks.others;
    return masks;
}

// The number of bits set. Inline, since without a popcount instruction in the target
// std::popcount becomes a library call in the loop below.
static int32_t count_bits(uint64_t bits)
{
    bits -= (bits >> 1) & 0x5555555555555555u;
    bits = (bits & 0x3333333333333333u) + ((bits >> 2) & 0x3333333333333333u);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<int32_t>((bits * 0x0101010101010101u) >> 56);
}

// Passes over the lines at `text` that hold no statement (blank, or a comment after any
// white space), each ending in its newline within the line limit, and stops at the first
// line that holds a statement, is longer, or does not end among the `avail` bytes. Counts the
// lines passed in current_line and returns their bytes. The text must hold no NUL byte.
// Looks at 64 bytes at a time, whose masks `masks_of` makes, and may read up to 64 bytes
// past the text. Always inlined, so that each caller gets it built for its own instructions.
template <LineMasks (*masks_of)(const char*), int32_t (*count)(uint64_t)>
[[gnu::always_inline]] inline size_t skip_quiet_with(const char* text, size_t avail)
{
    size_t start = 0;       // the first byte of the line being looked at
    uint64_t seen = 0;      // 1 when that line has shown a semicolon
    for (size_t window = 0; window < avail && window < start + TEXT_MAX; window += 64) {
        uint64_t valid = ~uint64_t{0};
        if (avail - window < 64) {
            valid = (uint64_t{1} << (avail - window)) - 1;
        }
        LineMasks masks = masks_of(text + window);
        uint64_t newlines = masks.newlines & valid;
        // A carry that starts at each semicolon runs through the following bytes of its line
        // and dies at the newline: the carry into a byte says that its line had a semicolon
        // before it. A byte that is no white space and has none before it opens a statement.
        uint64_t open = ~newlines;
        uint64_t sum = open + masks.semicolons;
        uint64_t carry_out = sum < open;
        sum += seen;
        carry_out |= sum < seen;
        uint64_t carries = sum ^ open ^ masks.semicolons;
        uint64_t statement = masks.others & ~carries & valid;
        if (statement != 0) {
            newlines &= (statement & (0 - statement)) - 1;   // the lines that end before it
        }
        if (newlines != 0) {
            size_t first = window + static_cast<size_t>(__builtin_ctzll(newlines));
            if (first - start >= static_cast<size_t>(TEXT_MAX)) {
                return start;
            }
            current_line += count(newlines);
            start = window + 64 - static_cast<size_t>(__builtin_clzll(newlines));
        }
        if (statement != 0) {
            return start;
        }
        seen = carry_out;
    }
    return start;
}

static size_t skip_quiet_narrow(const char* text, size_t avail)
{
    return skip_quiet_with<line_masks, count_bits>(text, avail);
}
#endif

#if defined(__SSE2__) && defined(__x86_64__) && defined(__GNUC__)
#define VEXA_WIDE_SCAN 1
// The same masks from two 32-byte groups, for processors with AVX2: half the instructions
// of the 16-byte groups, on the pass that long comment-heavy sources spend their time in.
[[gnu::target("avx2")]] static uint64_t wide_group_bits(__m256i bytes, int group)
{
    uint32_t bits = static_cast<uint32_t>(_mm256_movemask_epi8(bytes));
    return static_cast<uint64_t>(bits) << (32 * group);
}

[[gnu::target("avx2")]] static LineMasks wide_line_masks(const char* text)
{
    LineMasks masks{0, 0, 0};
    for (int group = 0; group < 2; group++) {
        __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + 32 * group));
        __m256i control = _mm256_sub_epi8(chunk, _mm256_set1_epi8(9));
        __m256i control_space =
            _mm256_cmpeq_epi8(_mm256_min_epu8(control, _mm256_set1_epi8(4)), control);
        __m256i space =
            _mm256_or_si256(control_space, _mm256_cmpeq_epi8(chunk, _mm256_set1_epi8(' ')));
        __m256i semicolon = _mm256_cmpeq_epi8(chunk, _mm256_set1_epi8(';'));
        masks.newlines |= wide_group_bits(_mm256_cmpeq_epi8(chunk, _mm256_set1_epi8('\n')), group);
        masks.semicolons |= wide_group_bits(semicolon, group);
        masks.others |= wide_group_bits(_mm256_or_si256(space, semicolon), group);
    }
    masks.others = ~masks.others;
    return masks;
}

[[gnu::target("popcnt")]] static int32_t wide_count_bits(uint64_t bits)
{
    return __builtin_popcountll(bits);
}

[[gnu::target("avx2,popcnt")]] static size_t skip_quiet_wide(const char* text, size_t avail)
{
    return skip_quiet_with<wide_line_masks, wide_count_bits>(text, avail);
}
#endif

int32_t line_scan_width;

static size_t skip_quiet_lines(const char* text, size_t avail)
{
#if defined(VEXA_WIDE_SCAN)
    if (line_scan_width == 0) {
        line_scan_width =
            __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt") ? 32 : 16;
    }
    if (line_scan_width == 32) {
        return skip_quiet_wide(text, avail);
    }
#endif
#if defined(__SSE2__)
    return skip_quiet_narrow(text, avail);
#else
    (void)text;
    (void)avail;
    return 0;
#endif
}

// Whether the text in read_buffer holds a NUL byte anywhere; almost no source does, and
// then no line needs a search for one.
static bool buffer_has_nul;

// Fills read_buffer behind the `kept` bytes already at its start; returns the byte count.
static size_t refill(std::FILE* stream, size_t kept)
{
    size_t end = kept + std::fread(read_buffer + kept, 1, READ_BLOCK, stream);
    borrow_field_cache(end);   // the bytes written so far
    buffer_has_nul = std::memchr(read_buffer, '\0', end) != nullptr;
    return end;
}

static void assemble_lines(std::FILE* stream)
{
    read_buffer = borrow_field_cache(0);
    size_t end = refill(stream, 0);
    size_t pos = 0;
    bool at_eof = end < READ_BLOCK;
    for (;;) {
        size_t avail = end - pos;
        if (avail < static_cast<size_t>(TEXT_MAX) && !at_eof) {
            // Move the unread tail to the front so the next line lies whole in the buffer.
            std::memmove(read_buffer, read_buffer + pos, avail);
            pos = 0;
            end = refill(stream, avail);
            at_eof = end - avail < READ_BLOCK;
            continue;
        }
        if (avail == 0) {
            return;
        }
        char* line = read_buffer + pos;
        size_t limit = avail < static_cast<size_t>(TEXT_MAX) ? avail : TEXT_MAX;
        size_t newline = find_newline(line, limit);
        size_t piece = newline < limit ? newline + 1 : limit;
        size_t length = piece;
        if (buffer_has_nul) {
            if (const void* nul = std::memchr(line, '\0', length)) {
                length = static_cast<size_t>(static_cast<const char*>(nul) - line);
            }
        }
        size_t first = skip_space(line, length);
        current_line++;
        // Blank and comment lines hold no statement; when no note is kept for them (no
        // listing, or a full note table) they need nothing more than their count.
        bool statement = first < length && line[first] != ';';
        if (!statement && (!notes_wanted || note_count >= MAX_NOTES)) {
            pos += piece;
            // Such lines come in runs: pass over the rest of this run in bulk.
            if (!buffer_has_nul) {
                pos += skip_quiet_lines(read_buffer + pos, end - pos);
            }
            continue;
        }
        if (first == length) {
            length = 0;
        }
        while (length > 0 && is_space(static_cast<unsigned char>(line[length - 1]))) {
            length--;
        }
        // The terminator may fall on the first byte of the next piece: keep it aside.
        char kept = line[length];
        line[length] = '\0';
        add_line_note(line, length);
        if (statement) {
            assemble_line(line, line + first);
        }
        line[length] = kept;
        pos += piece;
    }
}

void assemble_file(const char* path)
{
    file_number++;
    if (file_number <= MAX_SOURCES) {
        FilePaths[file_number] = path;
    }
    current_file = path;
    current_line = 0;

    std::FILE* stream = std::fopen(path, "rb");
    if (stream == nullptr) {
        report_error("cannot open '%s' (%s)", path, std::strerror(errno));
        current_file = nullptr;
        return;
    }
    std::setvbuf(stream, nullptr, _IONBF, 0);   // blocks go straight into read_buffer
    remember_source(stream);

    char note[TEXT_BUF];
    std::snprintf(note, sizeof note, "# file %s", path);
    add_note(note);

    assemble_lines(stream);

    if (std::ferror(stream)) {
        report_error("error reading '%s' (%s)", path, std::strerror(errno));
        std::fclose(stream);
    } else if (std::fclose(stream) != 0) {
        report_error("error reading '%s' (%s)", path, std::strerror(errno));
    }
    current_file = nullptr;
    current_line = 0;
}
