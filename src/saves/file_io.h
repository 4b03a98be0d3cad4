// Whole-file reads and crash-safe replacement of the game's small files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

// Writes `len` bytes to "<path>.tmp", flushes and syncs it, then renames it over `path`,
// so a crash leaves either the old file or the new one, never a torn one. A path that is a symbolic
// link is written through to its target. On failure the temporary file is removed, the old file is
// untouched and the first failure of the session prints one line on standard error.
bool file_write_atomic(const char* path, const uint8_t* data, size_t len);
// Lets the next failed write report itself again (tests).
void file_write_failure_reset();
// fopen for the game's own files that never blocks and never reads a device: the path is opened
// without blocking and refused (nullptr, errno EINVAL) unless it is a regular file, so a FIFO or a
// device left in the data folder cannot hang the game. A link to a regular file is followed.
// `mode` is an fopen mode: "rb", "wb", "ab", "w".
FILE* file_open_regular(const char* path, const char* mode);
// Reads at most `cap` bytes of `path`; returns the count read, or -1 when it cannot be opened.
long file_read_some(const char* path, uint8_t* out, size_t cap);
// Keeps a refused file out of the way of the next save: the regular file `path` is moved into the
// save folder under the first free name of "<stem><ext>", "<stem>_2<ext>", "<stem>_3<ext>" ...,
// never over a file already there. False when it is not a regular file or could not be moved.
bool file_set_aside(const char* path, const char* stem, const char* ext);
