/* The I/O floor of an assembly run: reads the source files whole and creates the output
 * files with the given byte counts, in 64 KiB writes, and does nothing else. Its time is
 * what any program doing the same job must spend on the kernel and the disk.
 *
 *   iofloor OUT=BYTES... SOURCE...
 *
 * Sources are read in 64 KiB blocks, as vexa-as reads them. Exits 1 on any failure. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static char block[1 << 16];
static char page[1 << 16];

static int read_source(const char *path)
{
    int fd = open(path, O_RDONLY);
    if (fd < 0) {
        perror(path);
        return 0;
    }
    ssize_t got;
    while ((got = read(fd, block, sizeof block)) > 0) {
    }
    close(fd);
    return got == 0;
}

static int write_output(const char *path, long long bytes)
{
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) {
        perror(path);
        return 0;
    }
    while (bytes > 0) {
        size_t piece = bytes < (long long)sizeof page ? (size_t)bytes : sizeof page;
        if (write(fd, page, piece) != (ssize_t)piece) {
            perror(path);
            close(fd);
            return 0;
        }
        bytes -= (long long)piece;
    }
    return close(fd) == 0;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: %s OUT=BYTES... SOURCE...\n", argv[0]);
        return 1;
    }
    memset(page, 'x', sizeof page);
    /* Sources first, then the outputs, as an assembler reads everything before it writes. */
    for (int i = 1; i < argc; i++) {
        if (strchr(argv[i], '=') == NULL && !read_source(argv[i])) {
            return 1;
        }
    }
    for (int i = 1; i < argc; i++) {
        char *sep = strrchr(argv[i], '=');
        if (sep != NULL) {
            *sep = '\0';
            if (!write_output(argv[i], atoll(sep + 1))) {
                return 1;
            }
        }
    }
    return 0;
}
