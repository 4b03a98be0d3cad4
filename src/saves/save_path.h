// The save folder and the paths of every file the game keeps.
#pragma once
#include <cstddef>

constexpr int SAVE_DIR_CAP = 512;
constexpr int SAVE_PATH_CAP = 640;

extern char save_dir[SAVE_DIR_CAP];

// A non-empty folder (ending in the platform's separator) becomes the prefix of every file;
// null or empty means the working folder with the "quillmarch_" prefix.
void save_dir_set(const char* text);
// Builds the path of `name` into one shared buffer; valid until the next call.
const char* save_path(const char* name);
const char* save_path2(const char* name);
// Builds the path of `name` into the caller's buffer (cut, never overrun).
void save_path_into(char* out, size_t cap, const char* name);
