// Whole-file reads and atomic replacement (temporary file, fsync, rename); used by the settings,
// best-floor and run files.
#include "saves/file_io.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

bool file_write_atomic(const char* path, const uint8_t* data, size_t len) {
    char tmp[700];
    if (std::snprintf(tmp, sizeof tmp, "%s.tmp", path) >= (int)sizeof tmp) return false;
    FILE* f = std::fopen(tmp, "wb");
    if (!f) return false;
    bool ok = std::fwrite(data, 1, len, f) == len;
    ok = std::fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(tmp, path) != 0) {
        std::remove(tmp);
        return false;
    }
    // Make the rename itself durable: sync the folder that holds the file.
    char dir[700];
    std::snprintf(dir, sizeof dir, "%s", path);
    char* slash = nullptr;
    for (char* c = dir; *c; c++)
        if (*c == '/') slash = c;
    if (slash) {
        slash[1] = 0;
    } else {
        dir[0] = '.';
        dir[1] = 0;
    }
    int fd = open(dir, O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
    return true;
}

long file_read_some(const char* path, uint8_t* out, size_t cap) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return -1;
    size_t n = std::fread(out, 1, cap, f);
    std::fclose(f);
    return (long)n;
}
