// The source reader: each open file is read in 64 KiB blocks into its reader's own buffer and
// cut into lines in place. A file can be suspended while another is read, up to 17 at once,
// as an included file is; the reader also remembers which files were sources, so that no
// output overwrites one, and lists the paths it read.
#include "asm.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

constexpr int32_t MAX_INCLUDED = 4096;              // different included paths in one run
constexpr int32_t MAX_READ_FILES = MAX_SOURCES + MAX_INCLUDED;

// Which files were read as sources, by device and inode: one entry for each path read.
struct SourceId { dev_t device; ino_t inode; };
static SourceId source_ids[MAX_READ_FILES];
static int32_t source_id_count;

static SourceId source_id(std::FILE* stream)
{
    struct stat info;
    return fstat(fileno(stream), &info) == 0 ? SourceId{info.st_dev, info.st_ino} : SourceId{0, 0};
}

// The paths of the files read, each once, in reading order: the sources as given, and the
// included files as built from their includer's folder, kept in a pool of their own. An
// open-addressed index by a hash of the text finds a path already listed.
constexpr uint32_t PATH_SLOTS = 1u << 16;           // more than MAX_READ_FILES, a power of 2
constexpr size_t PATH_POOL = size_t{1} << 20;
static const char* read_paths[MAX_READ_FILES];
static int32_t read_count;
static int32_t path_slots[PATH_SLOTS];              // index into read_paths + 1; 0 is free
static char path_pool[PATH_POOL];
static size_t path_pool_used;
static bool paths_full_reported;

// The slot that holds `path`, or the free slot where it would go.
static int32_t& path_slot(const char* path)
{
    uint32_t hash = 2166136261u;
    for (const char* p = path; *p != '\0'; p++) {
        hash = (hash ^ static_cast<unsigned char>(*p)) * 16777619u;
    }
    for (uint32_t slot = hash;; slot++) {
        int32_t& entry = path_slots[slot & (PATH_SLOTS - 1)];
        if (entry == 0 || std::strcmp(read_paths[entry - 1], path) == 0) {
            return entry;
        }
    }
}

// Lists a path read for the first time, and remembers its file among the sources.
static void list_read_file(const char* path, SourceId id)
{
    int32_t& entry = path_slot(path);
    if (entry != 0) {
        return;
    }
    if (read_count == MAX_READ_FILES) {
        report_once(paths_full_reported, "too many included files");
        return;
    }
    read_paths[read_count++] = path;
    entry = read_count;
    source_ids[source_id_count++] = id;
}

uint16_t file_place;

uint32_t line_place()
{
    return current_line < int64_t{UINT32_MAX} ? static_cast<uint32_t>(current_line) : UINT32_MAX;
}

const char* place_path(uint16_t file)
{
    return file != 0 ? read_paths[file - 1] : nullptr;
}

int32_t read_file_count()
{
    return read_count;
}

const char* read_file_path(int32_t k)
{
    return read_paths[k];
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
    read_count = 0;
    std::memset(path_slots, 0, sizeof path_slots);
    path_pool_used = 0;
    paths_full_reported = false;
    file_place = 0;
}

// A line is at most 511 characters and ends after its newline, exactly as a bounded line read
// cuts it, so a longer line becomes several. The unread text is buffer[pos..end); once less
// than a line is left, it moves to the front and the next block is read behind it. Scans
// may look up to READ_SLACK bytes past the end of the text.
constexpr size_t READ_BLOCK = 1 << 16;
constexpr size_t READ_SLACK = 64;
constexpr int32_t MAX_OPEN_SOURCES = 17;   // the file being read and those it suspended
struct SourceReader {
    std::FILE* stream;
    const char* path;
    SourceId id;           // so that a file cannot include itself
    int64_t line;          // the number of its last line while another file is read
    uint16_t place;        // its file_place
    size_t pos, end;
    bool at_eof;           // the last block has been read
    bool has_nul;          // the text holds a NUL byte, which almost no source does
    char* ended;           // where a NUL ends the line handed out last, or null
    char kept;             // the byte under that NUL
    char buffer[READ_BLOCK + TEXT_BUF + READ_SLACK];
};
static SourceReader readers[MAX_OPEN_SOURCES];
static int32_t open_count;

// Reads the next block once no more than a line is left: the byte after a line at the limit
// is then at hand, to tell whether the line is cut there.
static void refill(SourceReader& r)
{
    size_t kept = r.end - r.pos;
    if (kept > static_cast<size_t>(TEXT_MAX) || r.at_eof) {
        return;
    }
    std::memmove(r.buffer, r.buffer + r.pos, kept);
    size_t got = std::fread(r.buffer + kept, 1, READ_BLOCK, r.stream);
    r.pos = 0;
    r.end = kept + got;
    r.at_eof = got < READ_BLOCK;
    r.has_nul = std::memchr(r.buffer, '\0', r.end) != nullptr;
    r.buffer[r.end] = '\0';   // stops every scan over white space at the end of the text
}

bool open_source(const char* path)
{
    if (open_count == MAX_OPEN_SOURCES) {
        errno = EMFILE;
        return false;
    }
    std::FILE* stream = std::fopen(path, "rb");
    if (stream == nullptr) {
        return false;
    }
    std::setvbuf(stream, nullptr, _IONBF, 0);   // blocks go straight into the reader's buffer
    if (open_count > 0) {
        readers[open_count - 1].line = current_line;
    }
    SourceReader& r = readers[open_count++];
    r.stream = stream;
    r.path = path;
    r.id = source_id(stream);
    list_read_file(path, r.id);
    static_assert(MAX_READ_FILES < 65536);
    uint16_t place = static_cast<uint16_t>(path_slot(path));
    r.pos = r.end = 0;
    r.at_eof = false;
    r.ended = nullptr;
    r.place = place;
    current_file = path;
    current_line = 0;
    file_place = place;
    return true;
}

// An included file's path is its includer's up to the last '/', then the name; an absolute
// name stands alone. The path is kept in the pool once the file is open, since diagnostics
// and the list of files read go on using it.
bool open_include(const char* name)
{
    if (open_count == MAX_OPEN_SOURCES) {
        report_error("includes nested more than %d deep", MAX_OPEN_SOURCES - 1);
        return false;
    }
    const char* slash = std::strrchr(current_file, '/');
    int folder = slash == nullptr || name[0] == '/' ? 0 : static_cast<int>(slash + 1 - current_file);
    char path[PATH_MAX + TEXT_BUF];
    std::snprintf(path, sizeof path, "%.*s%s", folder, current_file, name);
    struct stat info;
    bool exists = stat(path, &info) == 0;
    for (int32_t i = 0; exists && i < open_count; i++) {
        if (readers[i].id.device == info.st_dev && readers[i].id.inode == info.st_ino) {
            char shown[TEXT_BUF];
            report_error("'%s' includes itself", shown_path(path, shown, sizeof shown));
            return false;
        }
    }
    // A path read before is kept already; a new one is copied to the pool's end, which it
    // takes for good once the file is open.
    int32_t listed = path_slot(path);
    size_t length = std::strlen(path) + 1;
    char* kept = path_pool + path_pool_used;
    if (listed != 0) {
        kept = const_cast<char*>(read_paths[listed - 1]);
    } else if (path_pool_used + length <= PATH_POOL && read_count < MAX_READ_FILES) {
        std::memcpy(kept, path, length);
    } else {
        report_once(paths_full_reported, "too many included files");
        return false;
    }
    if (!open_source(kept)) {
        report_file_error("cannot open '%s' (%s)", path, errno);
        return false;
    }
    if (listed == 0) {
        path_pool_used += length;
    }
    return true;
}

// The first newline among the `rest` bytes at `text`, or null. Lines are short, so 16 bytes
// are compared at a time, which may read up to 15 bytes past them into the buffer's slack.
static char* find_newline(char* text, size_t rest)
{
#if defined(__SSE2__)
    for (size_t at = 0; at < rest; at += 16) {
        __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        auto hits = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n'))));
        if (hits != 0) {
            size_t found = at + static_cast<size_t>(__builtin_ctz(hits));
            return found < rest ? text + found : nullptr;
        }
    }
    return nullptr;
#else
    return static_cast<char*>(std::memchr(text, '\n', rest));
#endif
}

// The first byte at `text` that is no white space other than a newline; the NUL after the
// buffer's text stops it. Indentation is mostly blanks, which are passed eight at a time.
static char* skip_blanks(char* text)
{
    while (std::memcmp(text, "        ", 8) == 0) {
        text += 8;
    }
    while (class_of(text) == CLASS_SPACE && *text != '\n') {
        text++;
    }
    return text;
}

#if defined(__SSE2__)
// Bit i of each mask stands for byte i of the 64 at `text`: the newlines, the semicolons, and
// the bytes that are neither white space nor a semicolon.
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
        // White space is a blank or a control character 9..13.
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

// The number of bits set, inline: without a popcount instruction in the target,
// std::popcount is a library call.
static int32_t count_bits(uint64_t bits)
{
    bits -= (bits >> 1) & 0x5555555555555555u;
    bits = (bits & 0x3333333333333333u) + ((bits >> 2) & 0x3333333333333333u);
    bits = (bits + (bits >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<int32_t>((bits * 0x0101010101010101u) >> 56);
}

// Passes over the blank and comment lines among the `avail` bytes at `text`, each ending in its
// newline within the line limit, up to the first line that may hold a statement (a NUL byte
// counts as one), is longer, or does not end among those bytes. Adds the lines passed to
// current_line and returns their bytes. It looks at 64 bytes at a time, without a branch per
// line, and may read 64 bytes past the text. Out of line: it runs once a run of such lines,
// and inlined it slows the loop that hands out statements.
[[gnu::noinline]] static size_t pass_quiet_lines(const char* text, size_t avail)
{
    size_t start = 0;       // the first byte of the line being looked at
    uint64_t seen = 0;      // 1 when that line has shown a semicolon
    for (size_t window = 0; window < avail && window < start + TEXT_MAX; window += 64) {
        uint64_t valid = avail - window < 64 ? (uint64_t{1} << (avail - window)) - 1 : ~uint64_t{0};
        LineMasks masks = line_masks(text + window);
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
            current_line += count_bits(newlines);
            start = window + 64 - static_cast<size_t>(__builtin_clzll(newlines));
        }
        if (statement != 0) {
            return start;
        }
        seen = carry_out;
    }
    return start;
}
#else
static size_t pass_quiet_lines(const char*, size_t)
{
    return 0;
}
#endif

bool next_line(SourceLine& line, bool statements_only)
{
    SourceReader& r = readers[open_count - 1];
    if (r.ended != nullptr) {
        *r.ended = r.kept;
        r.ended = nullptr;
    }
    for (;;) {
        refill(r);
        char* text = r.buffer + r.pos;
        char* stop = r.buffer + r.end;
        if (text == stop) {
            return false;
        }
        char* limit = stop - text > TEXT_MAX ? text + TEXT_MAX : stop;
        char* first = skip_blanks(text);
        first = first < limit ? first : limit;
        size_t rest = static_cast<size_t>(limit - first);
        char* newline = find_newline(first, rest);
        char* end = newline != nullptr ? newline + 1 : limit;
        // Cut at the limit: more than its newline is left, and read as the next line.
        bool cut = newline == nullptr && limit < stop && *limit != '\n';
        current_line++;
        r.pos = static_cast<size_t>(end - r.buffer);
        if (statements_only && !cut && (*first == ';' || *first == '\n')) {
            // A blank or comment line: such lines come in runs, passed over at once.
            r.pos += pass_quiet_lines(end, static_cast<size_t>(stop - end));
            continue;
        }
        // The text ends at the newline or a NUL byte, without the white space before it.
        char* last = newline != nullptr ? newline : limit;
        if (r.has_nul) {
            if (void* nul = std::memchr(text, '\0', static_cast<size_t>(last - text))) {
                last = static_cast<char*>(nul);
            }
        }
        while (last > text && is_space(static_cast<unsigned char>(last[-1]))) {
            last--;
        }
        r.ended = last;
        r.kept = *last;
        *last = '\0';
        line = {text, static_cast<size_t>(last - text), first < last ? first : last, cut};
        return true;
    }
}

void close_source()
{
    SourceReader& r = readers[open_count - 1];
    if (std::ferror(r.stream)) {
        report_file_error("error reading '%s' (%s)", r.path, errno);
        std::fclose(r.stream);
    } else if (std::fclose(r.stream) != 0) {
        report_file_error("error reading '%s' (%s)", r.path, errno);
    }
    open_count--;
    current_file = open_count > 0 ? readers[open_count - 1].path : nullptr;
    current_line = open_count > 0 ? readers[open_count - 1].line : 0;
    file_place = open_count > 0 ? readers[open_count - 1].place : 0;
}
