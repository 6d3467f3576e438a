/* The floor for naming font files: the same reads as the analysis of the
 * font file reader (collection header, offset table, name table, two
 * strings per face; for a file without a face, the MacBinary header and
 * forks into a temporary file), with the least work around them. Prints the
 * elapsed milliseconds and the number of faces found. */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static uint32_t be32(const unsigned char* p) { return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3]; }
static unsigned be16(const unsigned char* p) { return (unsigned)p[0] << 8 | p[1]; }

static int open_regular(const char* path, int flags)
{
    struct stat st;
    int fd = open(path, flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    return fd;
}

/* UTF-16BE to UTF-8 up to the first zero unit (no surrogate pairs: the floor). */
static void utf16_to_utf8(const unsigned char* in, size_t units, char* out)
{
    for (size_t i = 0; i < units; ++i) {
        unsigned c = be16(in + 2 * i);
        if (c == 0)
            break;
        if (c < 0x80) {
            *out++ = (char)c;
        } else if (c < 0x800) {
            *out++ = (char)(0xC0 | c >> 6);
            *out++ = (char)(0x80 | (c & 0x3F));
        } else {
            *out++ = (char)(0xE0 | c >> 12);
            *out++ = (char)(0x80 | (c >> 6 & 0x3F));
            *out++ = (char)(0x80 | (c & 0x3F));
        }
    }
    *out = 0;
}

static void read_name(int fd, off_t at, unsigned platform, unsigned length)
{
    unsigned char* raw = calloc(length + 2, 1);
    char* text = malloc(3 * (size_t)length + 4);
    if (pread(fd, raw, length, at) < 0)
        raw[0] = 0;
    if (platform == 3)
        utf16_to_utf8(raw, length / 2, text);
    else
        strcpy(text, (const char*)raw);
    free(text);
    free(raw);
}

static int read_faces(const char* path)
{
    int fd = open_regular(path, O_RDONLY);
    if (fd < 0)
        return 0;
    unsigned char head[16] = { 0 };
    uint64_t count = 0, position = 0;
    if (pread(fd, head, 16, 0) > 0 && memcmp(head, "ttcf", 4) == 0) {
        count = be32(head + 8);
        position = be32(head + 12);
    }
    int faces = 0;
    for (uint64_t k = 0; k < (count ? count : 1); ++k) {
        unsigned char table[524] = { 0 };
        if (pread(fd, table, sizeof table, (off_t)position) <= 0)
            break;
        unsigned tables = 0;
        uint32_t name = 0;
        if (be32(table) == 0x00010000) {
            tables = be16(table + 4) > 32 ? 32 : be16(table + 4);
            for (unsigned i = 0; i < tables && !name; ++i)
                if (memcmp(table + 12 + 16 * i, "name", 4) == 0)
                    name = be32(table + 12 + 16 * i + 8);
        }
        if (name) {
            unsigned char names[774] = { 0 };
            if (pread(fd, names, sizeof names, name) > 0) {
                unsigned n = be16(names + 2) > 64 ? 64 : be16(names + 2);
                unsigned storage = be16(names + 4);
                unsigned fp = 0, fo = 0, fl = 32, ap = 0, ao = 0, al = 32;
                for (unsigned i = 0; i < n; ++i) {
                    const unsigned char* r = names + 6 + 12 * i;
                    unsigned lang = be16(r + 4), id = be16(r + 6);
                    if (lang != 0 && lang != 0x409 && lang != 0x411)
                        continue;
                    if (id == 1) {
                        fp = be16(r); fl = be16(r + 8); fo = be16(r + 10);
                    } else if (id == 4) {
                        ap = be16(r); al = be16(r + 8); ao = be16(r + 10);
                    }
                }
                if (fo || ao) {
                    read_name(fd, (off_t)name + storage + fo, fp, fl);
                    read_name(fd, (off_t)name + storage + ao, ap, al);
                    ++faces;
                }
            }
        }
        position += 12 + 16 * (uint64_t)tables;
    }
    close(fd);
    return faces;
}

static int extract_mac(const char* source, const char* target)
{
    int in = open_regular(source, O_RDONLY);
    if (in < 0)
        return 0;
    int out = open_regular(target, O_WRONLY | O_CREAT | O_TRUNC);
    int ok = 0;
    unsigned char h[128], fork[16], len[4], block[4096];
    if (out >= 0 && pread(in, h, 128, 0) == 128 && h[0] == 0
        && (memcmp(h + 65, "tfil", 4) == 0 || memcmp(h + 65, "FFIL", 4) == 0) && be32(h + 87) != 0) {
        off_t rf = 128 + (off_t)be32(h + 83);
        if (pread(in, fork, 16, rf) == 16 && pread(in, len, 4, rf + be32(fork)) == 4) {
            uint32_t length = be32(len), copied = 0;
            off_t at = rf + be32(fork) + 4;
            while (copied < length) {
                size_t want = length - copied > 4096 ? 4096 : length - copied;
                if (pread(in, block, want, at + copied) != (ssize_t)want || write(out, block, want) != (ssize_t)want)
                    break;
                copied += (uint32_t)want;
            }
            ok = copied == length;
        }
    }
    if (out >= 0)
        close(out);
    close(in);
    return ok;
}

static long long size_of(const char* path)
{
    struct stat st;
    return stat(path, &st) == 0 && S_ISREG(st.st_mode) ? (long long)st.st_size : 0;
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: names_floor LIST WORKFOLDER\n");
        return 2;
    }
    FILE* list = fopen(argv[1], "r");
    if (!list)
        return 1;
    size_t count = 0, capacity = 1024;
    char** paths = malloc(capacity * sizeof *paths);
    char line[4096];
    while (fgets(line, sizeof line, list)) {
        line[strcspn(line, "\n")] = 0;
        if (count == capacity)
            paths = realloc(paths, (capacity *= 2) * sizeof *paths);
        paths[count++] = strdup(line);
    }
    fclose(list);
    char target[4096];
    snprintf(target, sizeof target, "%s/typozind.mac.ttx", argv[2]);

    struct timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    long long faces = 0, sizes = 0;
    for (size_t i = 0; i < count; ++i) {
        int found = read_faces(paths[i]);
        if (found) {
            sizes += size_of(paths[i]);
        } else if (extract_mac(paths[i], target)) {
            found = read_faces(target);
            sizes += size_of(target);
            unlink(target);
        }
        faces += found;
    }
    clock_gettime(CLOCK_MONOTONIC, &end);
    printf("%.1f %lld\n", (end.tv_sec - start.tv_sec) * 1e3 + (end.tv_nsec - start.tv_nsec) / 1e6, faces);
    return sizes < 0;
}
