// Whole-file reads and atomic replacement (temporary file, fsync, rename); used by the settings,
// best-floor, profile and run files.
#include "saves/file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "saves/save_path.h"

namespace {

constexpr int FILE_PATH_CAP = 700;
constexpr int LINK_HOPS_MAX = 8;  // a longer chain of links is treated as a loop
constexpr int SET_ASIDE_NAMES_MAX = 9999;  // "<stem>_9999<ext>" is the last name tried

// A failed save is reported on standard error once a session, so a read-only folder does not
// flood the log with a line at every autosave.
bool save_failure_reported = false;

void report_failure(const char* path, int err) {
    if (save_failure_reported) return;
    save_failure_reported = true;
    std::fprintf(stderr, "Could not save %s: %s\n", path, std::strerror(err));
}

// The folder part of `path` (up to and with its last '/'), or "./" when it has none.
void folder_of(const char* path, char* out, size_t cap) {
    const char* slash = std::strrchr(path, '/');
    if (!slash) {
        std::snprintf(out, cap, "./");
        return;
    }
    std::snprintf(out, cap, "%.*s", (int)(slash - path + 1), path);
}

// Follows `path` through symbolic links to the file that really gets written, so a linked save
// keeps its link and the new bytes land beside the target. False when the chain is too long.
bool resolve_links(const char* path, char* out, size_t cap) {
    if (std::snprintf(out, cap, "%s", path) >= (int)cap) return false;
    for (int hop = 0; hop < LINK_HOPS_MAX; hop++) {
        struct stat st;
        if (lstat(out, &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        char target[FILE_PATH_CAP];
        const ssize_t n = readlink(out, target, sizeof target - 1);
        if (n <= 0) return false;
        target[n] = 0;
        char next[FILE_PATH_CAP];
        if (target[0] == '/') {
            std::snprintf(next, sizeof next, "%s", target);
        } else {
            char dir[FILE_PATH_CAP];
            folder_of(out, dir, sizeof dir);
            if (std::snprintf(next, sizeof next, "%s%s", dir, target) >= (int)sizeof next) return false;
        }
        std::snprintf(out, cap, "%s", next);
    }
    errno = ELOOP;
    return false;
}

}  // namespace

FILE* file_open_regular(const char* path, const char* mode) {
    int flags = O_RDONLY;
    if (mode[0] == 'w') flags = O_WRONLY | O_CREAT;
    if (mode[0] == 'a') flags = O_WRONLY | O_CREAT | O_APPEND;
    const int fd = open(path, flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = EINVAL;
        return nullptr;
    }
    // Truncate only once the file is known to be a regular one.
    if (mode[0] == 'w' && ftruncate(fd, 0) != 0) {
        const int err = errno;
        close(fd);
        errno = err;
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    FILE* f = fdopen(fd, mode);
    if (!f) close(fd);
    return f;
}

bool file_write_atomic(const char* path, const uint8_t* data, size_t len) {
    char real[FILE_PATH_CAP];
    char tmp[FILE_PATH_CAP + 8];
    if (!resolve_links(path, real, sizeof real) ||
        std::snprintf(tmp, sizeof tmp, "%s.tmp", real) >= (int)sizeof tmp) {
        report_failure(path, errno ? errno : ENAMETOOLONG);
        return false;
    }
    FILE* f = file_open_regular(tmp, "wb");
    if (!f) {
        report_failure(path, errno);
        return false;
    }
    bool ok = std::fwrite(data, 1, len, f) == len;
    ok = std::fflush(f) == 0 && ok;
    ok = fsync(fileno(f)) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || std::rename(tmp, real) != 0) {
        const int err = errno;
        unlink(tmp);
        report_failure(path, err);
        return false;
    }
    // Make the rename itself durable: sync the folder that holds the file.
    char dir[FILE_PATH_CAP];
    folder_of(real, dir, sizeof dir);
    int fd = open(dir, O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
    return true;
}

void file_write_failure_reset() { save_failure_reported = false; }

long file_read_some(const char* path, uint8_t* out, size_t cap) {
    FILE* f = file_open_regular(path, "rb");
    if (!f) return -1;
    size_t n = std::fread(out, 1, cap, f);
    std::fclose(f);
    return (long)n;
}

bool file_set_aside(const char* path, const char* stem, const char* ext) {
    struct stat st;
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    for (int n = 1; n <= SET_ASIDE_NAMES_MAX; n++) {
        char name[96];
        if (n == 1)
            std::snprintf(name, sizeof name, "%s%s", stem, ext);
        else
            std::snprintf(name, sizeof name, "%s_%d%s", stem, n, ext);
        char to[SAVE_PATH_CAP];
        save_path_into(to, sizeof to, name);
        // A hard link is made only where the name is free, so nothing set aside before is lost.
        if (link(path, to) == 0) return unlink(path) == 0;
        if (errno == EEXIST) continue;
        // A file system without hard links: move it when the name is free.
        if (lstat(to, &st) == 0) continue;
        return errno == ENOENT && std::rename(path, to) == 0;
    }
    return false;
}
