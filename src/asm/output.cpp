// Where each output goes: the file its path leads to, a temporary file beside that file which
// is renamed over it once the output is whole, and the removal after a failed run, which
// touches nothing but the file this run noted or wrote.
#include "asm.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

constexpr size_t PATH_BUF = PATH_MAX;
constexpr int MAX_LINK_HOPS = 40;        // as many links as the kernel follows in one path

enum : int32_t {
    OUTPUT_NOTED,        // not opened: nothing of it to remove
    OUTPUT_TEMPORARY,    // written into `temp`, which waits to be renamed over `target`
    OUTPUT_PLACED,       // renamed into place, or written directly under its name
    OUTPUT_LOST,         // opened, but its rename failed: nothing of this run remains
    OUTPUT_DONE,         // kept for good, removed after a failed run, or never opened
};

// One output of the run. The noted file is what the path led to before anything was written;
// after a failed run it is removed only while it is still that regular file, or the one this
// run put there.
struct OutputFile {
    const char* path;            // as given; null for a free slot
    char target[PATH_BUF];       // the file the path leads to through links
    char temp[PATH_BUF];         // the temporary file, while state is OUTPUT_TEMPORARY
    bool resolved;               // target is absolute, with no link left on the way
    bool through_fd;             // reached through /proc/self/fd/N or /dev/fd/N: never removed
    bool held;                   // an image output: renamed only after a successful run
    bool existed;                // the noted file existed, with this device and inode
    dev_t device;
    ino_t inode;
    bool wrote_file;             // this run wrote a regular file, with this device and inode
    dev_t written_device;
    ino_t written_inode;
    int32_t state;
};
// The run's outputs in the order noted; the last slot serves a writer called on a path that
// was never noted (the tests call writers alone), and is reused by the next such call.
static OutputFile OutputFiles[MAX_OUTPUTS + 1];
static int32_t output_count;

void reset_outputs()
{
    output_count = 0;
    OutputFiles[MAX_OUTPUTS].path = nullptr;
}

// Directories whose entries are the run's own open files: writing "/dev/stdout" reaches
// standard output, which may be a log the user appends to, so such a path is written in
// place and never removed. Links there lead to whatever the descriptor holds, so they are
// not followed.
static bool descriptor_directory(const char* dir)
{
    size_t length = std::strlen(dir);
    return std::strcmp(dir, "/dev/fd") == 0 ||
           (std::strncmp(dir, "/proc/", 6) == 0 && length > 9 &&
            std::strcmp(dir + length - 3, "/fd") == 0);
}

// Follows `file.path` through symbolic links to the file it leads to, and writes that as an
// absolute path without `.`, `..` or links into file.target; the file itself need not exist.
// Where a directory on the way is missing or the links go round, the target stays the path.
static void resolve_target(OutputFile& file)
{
    char current[PATH_BUF];
    std::snprintf(file.target, PATH_BUF, "%s", file.path);
    if (std::snprintf(current, PATH_BUF, "%s", file.path) >= static_cast<int>(PATH_BUF)) {
        return;
    }
    for (int hop = 0; hop < MAX_LINK_HOPS; hop++) {
        char* slash = std::strrchr(current, '/');
        const char* base = slash != nullptr ? slash + 1 : current;
        char dir[PATH_BUF];
        if (slash == current) {
            std::snprintf(dir, PATH_BUF, "/");
        } else if (slash != nullptr) {
            std::snprintf(dir, PATH_BUF, "%.*s", static_cast<int>(slash - current), current);
        } else {
            std::snprintf(dir, PATH_BUF, ".");
        }
        char real[PATH_BUF];
        if (realpath(dir, real) == nullptr) {
            return;   // a missing directory: the open says so
        }
        char next[PATH_BUF];
        const char* joint = std::strcmp(real, "/") == 0 ? "" : "/";
        int size = std::snprintf(next, PATH_BUF, "%s%s%s", real, joint, base);
        if (size >= static_cast<int>(PATH_BUF)) {
            return;
        }
        std::memcpy(file.target, next, PATH_BUF);
        if (descriptor_directory(real)) {
            file.through_fd = true;
            return;
        }
        char link[PATH_BUF];
        ssize_t length = readlink(next, link, PATH_BUF - 1);
        if (length < 0) {
            file.resolved = true;   // no link: this is the file, or where it will be made
            return;
        }
        link[length] = '\0';
        int written = link[0] == '/'
                          ? std::snprintf(current, PATH_BUF, "%s", link)
                          : std::snprintf(current, PATH_BUF, "%s%s%s", real, joint, link);
        if (written >= static_cast<int>(PATH_BUF)) {
            return;
        }
    }
}

static void note_into(OutputFile& file, const char* path, bool held)
{
    std::memset(&file, 0, sizeof file);
    file.path = path;
    file.held = held;
    resolve_target(file);
    struct stat info;
    if (!file.through_fd && lstat(file.target, &info) == 0) {
        file.existed = true;
        file.device = info.st_dev;
        file.inode = info.st_ino;
    }
}

int32_t note_output(const char* path, bool held)
{
    note_into(OutputFiles[output_count], path, held);
    return output_count++;
}

// A device, FIFO or socket takes any number of outputs (several of them to /dev/null).
static bool takes_many(const struct stat& info)
{
    return !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

bool same_output_file(int32_t a, int32_t b)
{
    struct stat one, other;
    bool found = stat(OutputFiles[a].path, &one) == 0;
    bool found_other = stat(OutputFiles[b].path, &other) == 0;
    if ((found && takes_many(one)) || (found_other && takes_many(other))) {
        return false;
    }
    return std::strcmp(OutputFiles[a].target, OutputFiles[b].target) == 0 ||
           (found && found_other && one.st_dev == other.st_dev && one.st_ino == other.st_ino);
}

static OutputFile& output_file(const char* path)
{
    for (int32_t k = 0; k < output_count; k++) {
        if (OutputFiles[k].path == path) {
            return OutputFiles[k];
        }
    }
    OutputFile& loose = OutputFiles[MAX_OUTPUTS];
    if (loose.path != path || loose.state == OUTPUT_DONE) {
        note_into(loose, path, false);
    }
    return loose;
}

// The suffixes of assembly sources: `.s` and the preprocessed `.S` exactly, `.asm` and `.inc`
// in any letter case. An output so named is refused even when no such source was read.
static bool ends_like_source(const char* path)
{
    static const char* const SourceSuffixes[] = {".s", ".S", ".asm", ".inc"};
    size_t length = std::strlen(path);
    for (const char* suffix : SourceSuffixes) {
        size_t n = std::strlen(suffix);
        if (length >= n && (n == 2 ? std::strcmp(path + length - n, suffix) == 0
                                   : strcasecmp(path + length - n, suffix) == 0)) {
            return true;
        }
    }
    return false;
}

bool named_like_source(const char* path)
{
    return ends_like_source(path) || ends_like_source(output_file(path).target);
}

// The permission bits of a new file, 0666 less the umask, as an open would give them.
static mode_t new_file_mode()
{
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Opens a new temporary file beside the target and gives it the target's permission bits,
// or those of a new file. Returns null when the directory admits none.
static std::FILE* open_temporary(OutputFile& file, const char* mode, const struct stat* old)
{
    char* slash = std::strrchr(file.target, '/');
    int written = std::snprintf(file.temp, PATH_BUF, "%.*s/.vexa-as.XXXXXX",
                                static_cast<int>(slash - file.target), file.target);
    if (written >= static_cast<int>(PATH_BUF)) {
        return nullptr;
    }
    int fd = mkstemp(file.temp);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* stream = nullptr;
    if (fchmod(fd, old != nullptr ? old->st_mode & 07777 : new_file_mode()) == 0) {
        stream = fdopen(fd, mode);
    }
    if (stream == nullptr) {
        close(fd);
        unlink(file.temp);
    }
    return stream;
}

std::FILE* open_destination(const char* path, const char* mode, bool* created)
{
    OutputFile& file = output_file(path);
    // A regular file of this user's alone, or none yet, is replaced whole; anything else
    // (standard output, a device, a file with other names or another owner) is written in
    // place, as is a file whose directory takes no temporary file.
    struct stat old;
    bool exists = stat(path, &old) == 0;
    bool replace = file.resolved && !file.through_fd &&
                   (!exists || (S_ISREG(old.st_mode) && old.st_nlink == 1 &&
                                old.st_uid == geteuid()));
    std::FILE* stream = nullptr;
    if (replace && exists) {
        // The file must admit writing, as it would for an open in place.
        int probe = open(path, O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (probe < 0) {
            report_file_error("cannot open '%s' (%s)", path, errno);
            return nullptr;
        }
        close(probe);
    }
    if (replace) {
        stream = open_temporary(file, mode, exists ? &old : nullptr);
    }
    file.state = stream != nullptr ? OUTPUT_TEMPORARY : OUTPUT_PLACED;
    if (stream == nullptr) {
        stream = std::fopen(path, mode);
    }
    if (stream == nullptr) {
        report_file_error("cannot open '%s' (%s)", path, errno);
        file.state = OUTPUT_DONE;
        return nullptr;
    }
    struct stat info{};
    file.wrote_file = fstat(fileno(stream), &info) == 0 && S_ISREG(info.st_mode);
    file.written_device = info.st_dev;
    file.written_inode = info.st_ino;
    *created = file.wrote_file;
    return stream;
}

// Renames the output's temporary file over its target.
static void place(OutputFile& file)
{
    if (file.state != OUTPUT_TEMPORARY) {
        return;
    }
    if (rename(file.temp, file.target) == 0) {
        file.state = OUTPUT_PLACED;
        return;
    }
    report_file_error("error writing '%s' (%s)", file.path, errno);
    unlink(file.temp);
    file.state = OUTPUT_LOST;
}

void output_closed(const char* path)
{
    OutputFile& file = output_file(path);
    if (!file.held) {
        place(file);
        file.state = OUTPUT_DONE;
    }
}

void place_outputs()
{
    for (int32_t k = 0; k < output_count; k++) {
        if (OutputFiles[k].held) {
            place(OutputFiles[k]);
        }
    }
}

void discard_outputs()
{
    for (int32_t k = 0; k < output_count; k++) {
        OutputFile& file = OutputFiles[k];
        if (!file.held || file.state == OUTPUT_NOTED || file.state == OUTPUT_DONE) {
            continue;
        }
        if (file.state == OUTPUT_TEMPORARY) {
            unlink(file.temp);
        }
        bool ours = file.state == OUTPUT_PLACED && file.wrote_file;
        // The name goes too, so that no stale image stays under it: but only while it is
        // the regular file noted before the run or the one this run wrote, never a link, a
        // device or a file that another run has put there since.
        struct stat info;
        if (!file.through_fd && lstat(file.target, &info) == 0 && S_ISREG(info.st_mode) &&
            ((file.existed && info.st_dev == file.device && info.st_ino == file.inode) ||
             (ours && info.st_dev == file.written_device &&
              info.st_ino == file.written_inode))) {
            unlink(file.target);
        }
        file.state = OUTPUT_DONE;
    }
}
