// Whole-file reads and crash-safe replacement of the game's small files.
#pragma once
#include <cstddef>
#include <cstdint>

// Writes `len` bytes to "<path>.tmp", flushes and syncs it, then renames it over `path`,
// so a crash leaves either the old file or the new one, never a torn one. A path that is a symbolic
// link is written through to its target. On failure the temporary file is removed, the old file is
// untouched and the first failure of the session prints one line on standard error.
bool file_write_atomic(const char* path, const uint8_t* data, size_t len);
// Lets the next failed write report itself again (tests).
void file_write_failure_reset();
// Reads at most `cap` bytes of `path`; returns the count read, or -1 when it cannot be opened.
long file_read_some(const char* path, uint8_t* out, size_t cap);
