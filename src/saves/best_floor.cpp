// best.dat: the deepest floor reached, kept across runs.
#include "saves/bytes.h"
#include "saves/file_io.h"
#include "saves/save_path.h"
#include "saves/settings.h"

static const char BEST_MAGIC[4] = {'Q', 'M', 'B', 'F'};

int best_floor_load() {
    char path[SAVE_PATH_CAP];
    save_path_into(path, sizeof path, "best.dat");
    uint8_t buf[BEST_FILE_BYTES];
    if (file_read_some(path, buf, sizeof buf, LINKS_FOLLOWED) != BEST_FILE_BYTES) return 0;
    if (!bytes_is_magic(buf, 0, BEST_MAGIC) || bytes_get_i32(buf, 4) != 1) return 0;
    int value = bytes_get_i32(buf, 8);
    return value > 0 ? value : 0;
}

bool best_floor_save(int value) {
    char path[SAVE_PATH_CAP];
    save_path_into(path, sizeof path, "best.dat");
    uint8_t buf[BEST_FILE_BYTES];
    bytes_put_magic(buf, 0, BEST_MAGIC);
    bytes_put_i32(buf, 4, 1);
    bytes_put_i32(buf, 8, value);
    return file_write_atomic(path, buf, sizeof buf, LINKS_FOLLOWED);
}
