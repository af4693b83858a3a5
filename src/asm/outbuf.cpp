// The frame of every writer: the output is opened, its text is built in one buffer that goes
// out in whole blocks, and the stream is flushed, tested for errors and closed. A writer asks
// the buffer for room, writes into it and hands back the end of what it wrote; nothing else.
#include "asm.h"

#include <cerrno>
#include <cstring>

// One output is open at a time. Its text goes out in writes of exactly OUTPUT_BLOCK bytes,
// the last write of a file aside: a file is written from its start, so every write begins
// and ends on a boundary of the file's pages (a write that ends inside a page leaves the
// kernel that page to take up again with the next write, which costs it more than the copy
// of the page itself). A writer's piece is built whole past the block's end, in the
// OUTPUT_ROOM bytes behind it, and what lies past the block moves to the front once the
// block has gone out.
constexpr size_t OUTPUT_BLOCK = 1 << 16;
static char pending[OUTPUT_BLOCK + OUTPUT_ROOM];
static size_t pending_used;   // below OUTPUT_BLOCK whenever output_reserve returns
static std::FILE* pending_stream;

char* output_reserve(size_t length)
{
    (void)length;   // at most OUTPUT_ROOM, which always fits behind fewer than OUTPUT_BLOCK
    if (pending_used >= OUTPUT_BLOCK) {
        std::fwrite(pending, 1, OUTPUT_BLOCK, pending_stream);
        pending_used -= OUTPUT_BLOCK;
        std::memcpy(pending, pending + OUTPUT_BLOCK, pending_used);
    }
    return pending + pending_used;
}

void output_commit(const char* end)
{
    pending_used = static_cast<size_t>(end - pending);
}

void output_text(const char* text)
{
    for (size_t length = std::strlen(text); length > 0;) {
        size_t piece = length < OUTPUT_ROOM ? length : OUTPUT_ROOM;
        char* out = output_reserve(piece);
        std::memcpy(out, text, piece);
        output_commit(out + piece);
        text += piece;
        length -= piece;
    }
}

static std::FILE* open_output(const char* path, const char* mode, bool* created)
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
    // The buffer already collects whole blocks; a stdio buffer behind it would only split
    // each block into two writes.
    std::setvbuf(stream, nullptr, _IONBF, 0);
    pending_stream = stream;
    pending_used = 0;
    return stream;
}

static void finish_output(std::FILE* stream, const char* path)
{
    // Write out what is pending and flush, so that a full disk shows in the error indicator
    // here and not only at close.
    std::fwrite(pending, 1, pending_used, stream);
    pending_used = 0;
    pending_stream = nullptr;
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

bool write_output(const char* path, const char* mode, void (*text)(const char*))
{
    bool created;
    std::FILE* stream = open_output(path, mode, &created);
    if (stream != nullptr) {
        text(path);
        finish_output(stream, path);
    }
    return created;
}
