// Whole-file reads and crash-safe replacement of the game's small files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

// The longest path the file code works with.
constexpr int FILE_PATH_CAP = 700;

// Whether a call goes through a symbolic link at its path to the link's target. Only the player's
// four saves (run.sav, settings.dat, profile.dat, best.dat) follow one, so a save the player linked
// elsewhere is written there; every other file of the game refuses a link (taken as a file that
// cannot be opened), so one planted in the data folder never leads a read, a write or a cut outside it.
enum FileLinks : uint8_t { LINKS_REFUSED = 0, LINKS_FOLLOWED = 1 };

// Writes `len` bytes to a temporary file of this process beside `path` ("<path>.<pid>-<n>.tmp"),
// flushes and syncs it, then renames it over `path`, so a crash leaves either the old file or the
// new one, never a torn one. The temporary file is always created new, never through a link: a
// name found taken gives way to the next number. A path that is a symbolic link refuses the write,
// unless `links` follows it: then it is written through to its target. Only a regular file or
// nothing is replaced: a FIFO, a device or a folder at `path` (or at the link's target) refuses it.
// On failure the temporary file is removed, the old file is untouched and the first failure of the
// session prints one line on standard error. With `durable` false nothing is synced: a crash of the program still leaves the old file
// or the new one, but a power cut may lose the write; for a record rewritten often whose every copy
// need not reach the disk. A file newly written this way joins the list in save_lock.cpp, so that
// a start clears what a killed write of it left.
bool file_write_atomic(const char* path, const uint8_t* data, size_t len, FileLinks links = LINKS_REFUSED,
                       bool durable = true);
// The same writer in steps, for one that writes and syncs outside a lock of its own and renames
// under it: file_temp_open creates the temporary file for `path` as file_write_atomic does (new,
// never through a link; a FIFO, a device or a folder at `path` refuses it); the caller writes it
// through `f` and syncs it; file_temp_commit closes it and renames it over `path`, and on any
// failure removes it and leaves `path` as it was; file_temp_drop removes it unrenamed. A link at
// `path` refuses it, unless `links` follows it.
struct FileTemp {
    FILE* f;
    char real[FILE_PATH_CAP];
    char tmp[FILE_PATH_CAP + 32];
};
bool file_temp_open(FileTemp* t, const char* path, FileLinks links = LINKS_REFUSED);
bool file_temp_commit(FileTemp* t);
void file_temp_drop(FileTemp* t);
// How many files this thread has replaced through file_write_atomic (the perf test names the frames
// that held a write), and how many syncs of files and folders those writes made.
uint32_t file_writes_done();
uint32_t file_syncs_done();
// True for a name shaped like file_write_atomic's temporary files ("<file>.<pid>-<n>.tmp").
bool file_is_temp_name(const char* name);
// Removes from the folder `dir` (ending in '/') the temporary files of file_write_atomic for the
// files "<prefix><name>" of `names`, and no other file; only while no other copy of the game can be
// writing there. Returns the count removed.
int file_temps_clean(const char* dir, const char* prefix, const char* const* names, int count);
// Lets the next failed write report itself again (tests).
void file_write_failure_reset();
// The number the next temporary file of this process is first tried under (tests).
uint32_t file_temp_number_next();
// fopen for the game's own files that never blocks and never reads a device: the path is opened
// without blocking and refused (nullptr, errno EINVAL) unless it is a regular file, so a FIFO or a
// device left in the data folder cannot hang the game. A link is refused (errno ELOOP), unless
// `links` follows it to a regular file. `mode` is an fopen mode: "rb", "wb", "ab", "w".
FILE* file_open_regular(const char* path, const char* mode, FileLinks links = LINKS_REFUSED);
// The same open as a file descriptor (close-on-exec), for a file held open or written from a signal
// handler: never through a link.
int file_open_regular_fd(const char* path, const char* mode);
// The file a reader judged, by device and inode, so that what is later set aside is that file and
// not one put at its name since.
struct FileId {
    uint64_t dev, ino;
    uint8_t known;  // 0: no regular file was there to judge
};
// The regular file at `path` now (links followed); `known` 0 when there is none.
FileId file_id_of(const char* path);
bool file_id_same(const FileId& a, const FileId& b);
// Reads at most `cap` bytes of `path` (a link refused unless `links` follows it); returns the count
// read, or -1 when it cannot be opened. `judged` (may be null) receives the regular file read, or
// the one at the path when it could not be opened.
long file_read_some(const char* path, uint8_t* out, size_t cap, FileLinks links = LINKS_REFUSED,
                    FileId* judged = nullptr);
// Keeps a refused file out of the way of the next save: the judged regular file at `path` is moved
// into the save folder under the first free name of "<stem><ext>", "<stem>_2<ext>", "<stem>_3<ext>"
// ..., in one step that never replaces a file already there. Nothing moves when another file has
// taken `path` since it was judged. Where the folder cannot move without replacing, a hard link
// keeps the file under that name instead and `path` is left for the next save to replace. Where it
// has no hard links either, the file is moved by a plain rename to a name found free just before,
// and checked to be the judged one at that name after; a file that took `path` in between is put
// back, never deleted. False when nothing was kept aside. `kept_before` (may be null) tells that the
// file was found already kept under one of the names, as a hard link an earlier start made leaves
// it, so that the one start that kept it tells of it.
bool file_set_aside(const char* path, const FileId& judged, const char* stem, const char* ext,
                    bool* kept_before = nullptr);
// The two calls file_set_aside moves and links with ("from", "to"; 0 or -1 with errno, as the
// system's). Tests put in ones that fail as a folder without RENAME_NOREPLACE or hard links does;
// a null puts the system's own back.
using FileMoveCall = int (*)(const char* from, const char* to);
void file_move_calls_set(FileMoveCall rename_noreplace, FileMoveCall hard_link);
