// Whole-file reads and atomic replacement (temporary file, fsync, rename); every file of the game
// is opened through here.
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

constexpr int LINK_HOPS_MAX = 8;  // a longer chain of links is treated as a loop
constexpr int SET_ASIDE_NAMES_MAX = 9999;  // "<stem>_9999<ext>" is the last name tried
constexpr int TEMP_NAME_TRIES = 16;        // temporary names found taken in a row before a write gives up
const char TEMP_SUFFIX[] = ".tmp";

// Each write of this process gets a temporary name of its own: the exit save can run on another
// thread than an autosave.
std::atomic<uint32_t> temp_counter{0};

int system_rename_noreplace(const char* from, const char* to) {
    return renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}
int system_link(const char* from, const char* to) { return link(from, to); }

FileMoveCall rename_noreplace_call = system_rename_noreplace;
FileMoveCall link_call = system_link;

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

// True when `tail` is exactly ".<digits>-<digits>.tmp", what follows a file's name in its
// temporary ones.
bool is_temp_tail(const char* tail) {
    if (tail[0] != '.') return false;
    const char* dash = std::strchr(tail, '-');
    if (!dash || !all_digits(tail + 1, dash)) return false;
    const char* dot = std::strchr(dash, '.');
    return dot && all_digits(dash + 1, dot) && std::strcmp(dot, TEMP_SUFFIX) == 0;
}

// Creates the temporary file for `real` under the next number of this process whose name is free,
// into `tmp`. Only a new file is opened, never one already there and never through a link, so a
// link planted at the predictable name cannot lead the bytes out of the folder.
FILE* temp_create(const char* real, char* tmp, size_t cap) {
    for (int tries = 0; tries < TEMP_NAME_TRIES; tries++) {
        if (std::snprintf(tmp, cap, "%s.%ld-%u%s", real, (long)getpid(), (unsigned)temp_counter++, TEMP_SUFFIX) >=
            (int)cap) {
            errno = ENAMETOOLONG;
            return nullptr;
        }
        const int fd = open(tmp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        struct stat st;
        const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        FILE* f = regular ? fdopen(fd, "wb") : nullptr;
        if (!f) {
            const int err = regular ? errno : EINVAL;
            close(fd);
            unlink(tmp);
            errno = err;
        }
        return f;
    }
    return nullptr;  // errno EEXIST
}

// True when the file at `to` is the judged one: set aside there already.
bool kept_at(const char* to, const FileId& judged) { return file_id_same(file_id_of(to), judged); }

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
    for (const char* dot = std::strchr(name, '.'); dot; dot = std::strchr(dot + 1, '.'))
        if (dot > name && is_temp_tail(dot)) return true;
    return false;
}

int file_temps_clean(const char* dir, const char* prefix, const char* const* names, int count) {
    DIR* d = opendir(dir);
    if (!d) return 0;
    int removed = 0;
    const size_t prefix_len = std::strlen(prefix);
    while (const dirent* e = readdir(d)) {
        if (std::strncmp(e->d_name, prefix, prefix_len) != 0) continue;
        const char* own = e->d_name + prefix_len;
        bool ours = false;
        for (int i = 0; i < count && !ours; i++) {
            const size_t len = std::strlen(names[i]);
            ours = std::strncmp(own, names[i], len) == 0 && is_temp_tail(own + len);
        }
        if (!ours) continue;
        char path[FILE_PATH_CAP];
        if (std::snprintf(path, sizeof path, "%s%s", dir, e->d_name) >= (int)sizeof path) continue;
        struct stat st;
        if (lstat(path, &st) == 0 && S_ISREG(st.st_mode) && unlink(path) == 0) removed++;
    }
    closedir(d);
    return removed;
}

namespace {
// The open behind file_open_regular and file_open_regular_fd: non-blocking, so a FIFO cannot hang
// it; refused unless it is a regular file; truncated ("w") only once it is known to be one.
int open_regular(const char* path, const char* mode, FileLinks links) {
    int flags = O_RDONLY;
    if (mode[0] == 'w') flags = O_WRONLY | O_CREAT;
    if (mode[0] == 'a') flags = O_WRONLY | O_CREAT | O_APPEND;
    if (links == LINKS_REFUSED) flags |= O_NOFOLLOW;
    const int fd = open(path, flags | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        errno = EINVAL;
        return -1;
    }
    if (mode[0] == 'w' && ftruncate(fd, 0) != 0) {
        const int err = errno;
        close(fd);
        errno = err;
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// The regular file at `path` itself, or (followed) at the end of its links.
FileId id_at(const char* path, FileLinks links) {
    if (links == LINKS_FOLLOWED) return file_id_of(path);
    struct stat st;
    if (lstat(path, &st) != 0 || !S_ISREG(st.st_mode)) return FileId{0, 0, 0};
    return FileId{(uint64_t)st.st_dev, (uint64_t)st.st_ino, 1};
}
}  // namespace

FILE* file_open_regular(const char* path, const char* mode, FileLinks links) {
    const int fd = open_regular(path, mode, links);
    if (fd < 0) return nullptr;
    FILE* f = fdopen(fd, mode);
    if (!f) close(fd);
    return f;
}

int file_open_regular_fd(const char* path, const char* mode) { return open_regular(path, mode, LINKS_REFUSED); }

bool file_temp_open(FileTemp* t, const char* path, FileLinks links) {
    t->f = nullptr;
    t->tmp[0] = 0;
    if (links == LINKS_REFUSED) {
        if (std::snprintf(t->real, sizeof t->real, "%s", path) >= (int)sizeof t->real) {
            report_failure(path, ENAMETOOLONG);
            return false;
        }
    } else if (!resolve_links(path, t->real, sizeof t->real)) {
        report_failure(path, errno ? errno : ENAMETOOLONG);
        return false;
    }
    // The rename would put a regular file where a FIFO, a device, a folder (or, not followed, a
    // link) was: refused, as the readers refuse them.
    struct stat st;
    if (lstat(t->real, &st) == 0 && !S_ISREG(st.st_mode)) {
        report_failure(path, S_ISLNK(st.st_mode) ? ELOOP : EINVAL);
        return false;
    }
    t->f = temp_create(t->real, t->tmp, sizeof t->tmp);
    if (!t->f) {
        report_failure(path, errno);
        return false;
    }
    return true;
}

bool file_temp_commit(FileTemp* t) {
    const bool closed = std::fclose(t->f) == 0;
    t->f = nullptr;
    if (!closed || std::rename(t->tmp, t->real) != 0) {
        const int err = errno;
        unlink(t->tmp);
        report_failure(t->real, err);
        return false;
    }
    return true;
}

void file_temp_drop(FileTemp* t) {
    if (t->f) std::fclose(t->f);
    t->f = nullptr;
    unlink(t->tmp);
}

bool file_write_atomic(const char* path, const uint8_t* data, size_t len, FileLinks links, bool durable) {
    FileTemp t;
    if (!file_temp_open(&t, path, links)) return false;
    bool ok = std::fwrite(data, 1, len, t.f) == len;
    ok = std::fflush(t.f) == 0 && ok;
    if (durable) {
        ok = fsync(fileno(t.f)) == 0 && ok;
        files_synced++;
    }
    if (!ok) {
        report_failure(path, errno);
        file_temp_drop(&t);
        return false;
    }
    if (!file_temp_commit(&t)) return false;
    // Make the rename itself durable: sync the folder that holds the file.
    char dir[FILE_PATH_CAP];
    folder_of(t.real, dir, sizeof dir);
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

uint32_t file_temp_number_next() { return temp_counter.load(); }

void file_move_calls_set(FileMoveCall rename_noreplace, FileMoveCall hard_link) {
    rename_noreplace_call = rename_noreplace ? rename_noreplace : system_rename_noreplace;
    link_call = hard_link ? hard_link : system_link;
}

long file_read_some(const char* path, uint8_t* out, size_t cap, FileLinks links, FileId* judged) {
    if (judged) *judged = FileId{0, 0, 0};
    FILE* f = file_open_regular(path, "rb", links);
    if (!f) {
        // Refused unread (no permission): what is judged is the file at the name now.
        const int err = errno;
        if (judged && err != ENOENT) *judged = id_at(path, links);
        errno = err;
        return -1;
    }
    struct stat st;
    if (judged && fstat(fileno(f), &st) == 0) *judged = FileId{(uint64_t)st.st_dev, (uint64_t)st.st_ino, 1};
    size_t n = std::fread(out, 1, cap, f);
    std::fclose(f);
    return (long)n;
}

bool file_set_aside(const char* path, const FileId& judged, const char* stem, const char* ext, bool* kept_before) {
    if (kept_before) *kept_before = false;
    if (!file_id_same(file_id_of(path), judged)) return false;
    // The judged file found already at a kept name: an earlier start made that second name.
    auto found_kept = [kept_before] {
        if (kept_before) *kept_before = true;
        return true;
    };
    for (int n = 1; n <= SET_ASIDE_NAMES_MAX; n++) {
        char name[96];
        if (n == 1)
            std::snprintf(name, sizeof name, "%s%s", stem, ext);
        else
            std::snprintf(name, sizeof name, "%s_%d%s", stem, n, ext);
        char to[SAVE_PATH_CAP];
        save_path_into(to, sizeof to, name);
        if (rename_noreplace_call(path, to) == 0) {
            if (kept_at(to, judged)) return true;
            // Another file took the name between the look and the move: it goes back, or stays
            // kept under the new name when its own is taken again; it is never deleted.
            rename_noreplace_call(to, path);
            return false;
        }
        if (errno == EEXIST) {
            if (kept_at(to, judged)) return found_kept();
            continue;
        }
        if (errno != EINVAL && errno != ENOSYS) return false;
        // The folder cannot move without replacing: a hard link, which replaces nothing, keeps
        // the file, and the refused name is left for the next save to replace.
        if (link_call(path, to) == 0) {
            if (kept_at(to, judged)) return true;
            // Our second name of a file we did not judge goes; the file keeps its own name.
            struct stat st;
            if (lstat(to, &st) == 0 && st.st_nlink > 1) unlink(to);
            return false;
        }
        if (errno == EEXIST) {
            if (kept_at(to, judged)) return found_kept();
            continue;
        }
        // No hard links either (some FUSE and network mounts): a plain move to a name that is free
        // just before it. What landed there is checked after; a file that took the refused name
        // in between goes back where nothing is now, or stays kept under the new name.
        struct stat st;
        if (lstat(to, &st) == 0) {
            if (kept_at(to, judged)) return found_kept();
            continue;
        }
        if (errno != ENOENT || std::rename(path, to) != 0) return false;
        if (kept_at(to, judged)) return true;
        if (lstat(path, &st) != 0 && errno == ENOENT) std::rename(to, path);
        return false;
    }
    return false;
}
