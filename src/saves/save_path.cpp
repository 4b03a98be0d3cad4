// Save-folder prefix and path building; used by every module that keeps a file.
#include "saves/save_path.h"

#include <cstdio>
#include <cstring>

char save_dir[SAVE_DIR_CAP];
static char save_path_buf[SAVE_PATH_CAP];
static char save_path_buf2[SAVE_PATH_CAP];

void save_dir_set(const char* text) {
    if (!text || !text[0]) {
        save_dir[0] = 0;
        return;
    }
    size_t n = std::strlen(text);
    if (n >= sizeof save_dir) {
        // A cut folder name would point somewhere else entirely: better the working folder.
        std::fprintf(stderr, "Save directory path too long, using the working folder\n");
        save_dir[0] = 0;
        return;
    }
    std::memcpy(save_dir, text, n + 1);
}

void save_path_into(char* out, size_t cap, const char* name) {
    if (save_dir[0])
        std::snprintf(out, cap, "%s%s", save_dir, name);
    else
        std::snprintf(out, cap, "quillmarch_%s", name);
}

const char* save_path(const char* name) {
    save_path_into(save_path_buf, sizeof save_path_buf, name);
    return save_path_buf;
}

const char* save_path2(const char* name) {
    save_path_into(save_path_buf2, sizeof save_path_buf2, name);
    return save_path_buf2;
}
