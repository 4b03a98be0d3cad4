// Whole-file reads and atomic replacement (temporary file, fsync, rename); used by the settings,
// best-floor, profile and run files.
#include "saves/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "saves/save_path.h"

namespace {

constexpr int FILE_PATH_CAP = 700;
constexpr int LINK_HOPS_MAX = 8;  // a longer chain of links is treated as a loop
constexpr int SET_ASIDE_NAMES_MAX = 9999;  // "<stem>_9999<ext>" is the last name tried
const char TEMP_SUFFIX[] = ".tmp";

// Each write of this process gets a temporary name of its own: the exit save can run on another
// thread than an autosave.
std::atomic<uint32_t> temp_counter{0};

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

// Digits from `from` up to (not with) `to`; at least one.
bool all_digits(const char* from, const char* to) {
    if (from >= to) return false;
    for (const char* c = from; c < to; c++)
        if (*c < '0' || *c > '9') return false;
    return true;
}

thread_local uint32_t files_written = 0;  // by this thread, through file_write_atomic
thread_local uint32_t files_synced = 0;

}  // namespace

FileId file_id_of(const char* path) {
    struct stat st;
    if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return FileId{0, 0, 0};
    return FileId{(uint64_t)st.st_dev, (uint64_t)st.st_ino, 1};
}

bool file_id_same(const FileId& a, const FileId& b) { return a.known && b.known && a.dev == b.dev && a.ino == b.ino; }

bool file_is_temp_name(const char* name) {
    // "<file>.<pid>-<n>.tmp"
    const size_t len = std::strlen(name), suffix = sizeof TEMP_SUFFIX - 1;
    if (len <= suffix || std::strcmp(name + len - suffix, TEMP_SUFFIX) != 0) return false;
    const char* end = name + len - suffix;
    const char* dash = end;
    while (dash > name && dash[-1] != '-') dash--;
    if (dash == name || !all_digits(dash, end)) return false;
    const char* dot = dash - 1;
    while (dot > name && dot[-1] != '.') dot--;
    return dot - 1 > name && all_digits(dot, dash - 1);
}

int file_temps_clean(const char* dir, const char* prefix) {
    DIR* d = opendir(dir);
    if (!d) return 0;
    int removed = 0;
    const size_t prefix_len = std::strlen(prefix);
    while (const dirent* e = readdir(d)) {
        if (std::strncmp(e->d_name, prefix, prefix_len) != 0 || !file_is_temp_name(e->d_name)) continue;
        char path[FILE_PATH_CAP];
        if (std::snprintf(path, sizeof path, "%s%s", dir, e->d_name) >= (int)sizeof path) continue;
        struct stat st;
        if (lstat(path, &st) == 0 && S_ISREG(st.st_mode) && unlink(path) == 0) removed++;
    }
    closedir(d);
    return removed;
}

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

bool file_write_atomic(const char* path, const uint8_t* data, size_t len, bool durable) {
    char real[FILE_PATH_CAP];
    char tmp[FILE_PATH_CAP + 32];
    if (!resolve_links(path, real, sizeof real) ||
        std::snprintf(tmp, sizeof tmp, "%s.%ld-%u%s", real, (long)getpid(), (unsigned)temp_counter++, TEMP_SUFFIX) >=
            (int)sizeof tmp) {
        report_failure(path, errno ? errno : ENAMETOOLONG);
        return false;
    }
    // The rename would put a regular file where a FIFO, a device or a folder was: refused, as the
    // readers refuse them.
    struct stat st;
    if (lstat(real, &st) == 0 && !S_ISREG(st.st_mode)) {
        report_failure(path, EINVAL);
        return false;
    }
    FILE* f = file_open_regular(tmp, "wb");
    if (!f) {
        report_failure(path, errno);
        return false;
    }
    bool ok = std::fwrite(data, 1, len, f) == len;
    ok = std::fflush(f) == 0 && ok;
    if (durable) {
        ok = fsync(fileno(f)) == 0 && ok;
        files_synced++;
    }
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
    int fd = durable ? open(dir, O_RDONLY | O_DIRECTORY) : -1;
    if (fd >= 0) {
        fsync(fd);
        files_synced++;
        close(fd);
    }
    files_written++;
    return true;
}

uint32_t file_writes_done() { return files_written; }
uint32_t file_syncs_done() { return files_synced; }

void file_write_failure_reset() { save_failure_reported = false; }

long file_read_some(const char* path, uint8_t* out, size_t cap, FileId* judged) {
    if (judged) *judged = FileId{0, 0, 0};
    FILE* f = file_open_regular(path, "rb");
    if (!f) {
        // Refused unread (no permission): what is judged is the file at the name now.
        const int err = errno;
        if (judged && err != ENOENT) *judged = file_id_of(path);
        errno = err;
        return -1;
    }
    struct stat st;
    if (judged && fstat(fileno(f), &st) == 0) *judged = FileId{(uint64_t)st.st_dev, (uint64_t)st.st_ino, 1};
    size_t n = std::fread(out, 1, cap, f);
    std::fclose(f);
    return (long)n;
}

bool file_set_aside(const char* path, const FileId& judged, const char* stem, const char* ext) {
    if (!file_id_same(file_id_of(path), judged)) return false;
    for (int n = 1; n <= SET_ASIDE_NAMES_MAX; n++) {
        char name[96];
        if (n == 1)
            std::snprintf(name, sizeof name, "%s%s", stem, ext);
        else
            std::snprintf(name, sizeof name, "%s_%d%s", stem, n, ext);
        char to[SAVE_PATH_CAP];
        save_path_into(to, sizeof to, name);
        if (renameat2(AT_FDCWD, path, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
            if (file_id_same(file_id_of(to), judged)) return true;
            // Another file took the name between the look and the move: it goes back, or stays
            // kept under the new name when its own is taken again; it is never deleted.
            renameat2(AT_FDCWD, to, AT_FDCWD, path, RENAME_NOREPLACE);
            return false;
        }
        if (errno == EEXIST) {
            if (file_id_same(file_id_of(to), judged)) return true;  // kept under this name already
            continue;
        }
        if (errno != EINVAL && errno != ENOSYS) return false;
        // The folder cannot move without replacing: a hard link, which replaces nothing, keeps
        // the file, and the refused name is left for the next save to replace.
        if (link(path, to) == 0) {
            if (file_id_same(file_id_of(to), judged)) return true;
            // Our second name of a file we did not judge goes; the file keeps its own name.
            struct stat st;
            if (lstat(to, &st) == 0 && st.st_nlink > 1) unlink(to);
            return false;
        }
        if (errno != EEXIST) return false;
        if (file_id_same(file_id_of(to), judged)) return true;
    }
    return false;
}
