/*
 * The least any program must do to copy a database file: read the file into
 * one buffer, find where each text ends (split at the zero bytes, noting
 * each piece's start without allocating per piece), and write the bytes to
 * a fresh file flushed to disk, as a save flushes it. quillgrid-cli copy
 * is measured against this program, both run as processes side by side
 * (bench/cli/side-by-side.sh).
 *
 * usage: qg_copy_floor IN OUT; prints the number of pieces.
 */

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int fail(const char *what, const char *path)
{
    perror(path);
    fprintf(stderr, "qg_copy_floor: %s failed\n", what);
    return 1;
}

int main(int argc, char **argv)
{
    if (argc != 3) {
        fputs("usage: qg_copy_floor IN OUT\n", stderr);
        return 2;
    }
    const int in = open(argv[1], O_RDONLY);
    struct stat st;
    if (in < 0 || fstat(in, &st) != 0)
        return fail("open", argv[1]);
    const size_t size = (size_t)st.st_size;
    char *data = malloc(size ? size : 1);
    if (!data)
        return fail("malloc", argv[1]);
    size_t got = 0;
    while (got < size) {
        const ssize_t n = read(in, data + got, size - got);
        if (n <= 0)
            return fail("read", argv[1]);
        got += (size_t)n;
    }
    close(in);

    size_t capacity = 1 << 16;
    size_t count = 0;
    const char **pieces = malloc(capacity * sizeof *pieces);
    if (!pieces)
        return fail("malloc", argv[1]);
    for (const char *p = data, *end = data + size; p < end;) {
        const char *zero = memchr(p, 0, (size_t)(end - p));
        if (!zero)
            zero = end;
        if (count == capacity) {
            capacity *= 2;
            pieces = realloc(pieces, capacity * sizeof *pieces);
            if (!pieces)
                return fail("realloc", argv[1]);
        }
        pieces[count++] = p;
        p = zero + 1;
    }

    const int out = open(argv[2], O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (out < 0)
        return fail("open", argv[2]);
    for (size_t put = 0; put < size;) {
        const ssize_t n = write(out, data + put, size - put);
        if (n <= 0)
            return fail("write", argv[2]);
        put += (size_t)n;
    }
    if (fsync(out) != 0 || close(out) != 0)
        return fail("fsync", argv[2]);
    printf("%zu\n", count);
    return 0;
}
