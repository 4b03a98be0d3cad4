// The data folder's lock ("instance.lock", held with flock) and the removal, under it, of the
// temporary files a killed copy left behind.
#include "saves/save_lock.h"

#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "saves/file_io.h"
#include "saves/save_path.h"

namespace {
int save_lock_fd = -1;

// Every file the game replaces through file_write_atomic: only their temporary files are cleared,
// so a file of the player's named the same way stays.
const char* const REPLACED_FILES[] = {"settings.dat",       "profile.dat",         "best.dat",
                                      "run.sav",            "session.txt",         "install_id.txt",
                                      "runs.jsonl",         "runs_outbox.jsonl",   "events_outbox.jsonl",
                                      "runs_sending.jsonl", "events_sending.jsonl"};
constexpr int REPLACED_FILE_COUNT = (int)(sizeof REPLACED_FILES / sizeof REPLACED_FILES[0]);
}  // namespace

SaveLockResult save_lock_take() {
    if (save_lock_fd >= 0) return SAVE_LOCK_TAKEN;
    char path[SAVE_PATH_CAP];
    save_path_into(path, sizeof path, "instance.lock");
    // Not inherited by a program the game starts (the store page's browser), which would keep
    // the folder locked after the game ends. Never a FIFO's blocking open, and never through a
    // link, which would make its target outside the folder.
    const int fd = file_open_regular_fd(path, "ab");
    if (fd < 0) return SAVE_LOCK_UNAVAILABLE;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        close(fd);
        return held ? SAVE_LOCK_HELD : SAVE_LOCK_UNAVAILABLE;
    }
    save_lock_fd = fd;
    // No other copy can be writing here now: every temporary file of ours is a leftover.
    if (save_dir[0])
        file_temps_clean(save_dir, "", REPLACED_FILES, REPLACED_FILE_COUNT);
    else
        file_temps_clean("./", "quillmarch_", REPLACED_FILES, REPLACED_FILE_COUNT);
    return SAVE_LOCK_TAKEN;
}

void save_lock_release() {
    if (save_lock_fd < 0) return;
    close(save_lock_fd);
    save_lock_fd = -1;
}
