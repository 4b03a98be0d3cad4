// Temporary save-path helper until the save folder code lands: same naming, one shared buffer.
#include "saves/save_path.h"

#include <cstdio>
#include <cstring>

namespace {
char dir_prefix[512];
char path_buf[640];
}  // namespace

void save_dir_set(const char* dir) {
    if (!dir || !dir[0]) {
        dir_prefix[0] = 0;
        return;
    }
    std::snprintf(dir_prefix, sizeof dir_prefix, "%s", dir);
}

const char* save_path(const char* name) {
    if (dir_prefix[0])
        std::snprintf(path_buf, sizeof path_buf, "%s%s", dir_prefix, name);
    else
        std::snprintf(path_buf, sizeof path_buf, "quillmarch_%s", name);
    return path_buf;
}
