// The settings record and settings.dat: read every version from 1 to 17, write version 17.
#include "saves/settings.h"

#include <cstring>

#include "world/buttons.h"
#include "saves/bytes.h"
#include "saves/file_io.h"
#include "saves/save_path.h"

static Settings settings_start_values() {
    Settings s = {};
    s.screen = 0;
    s.volume = 6;
    s.rumble = 1;
    s.rumble_level = 2;
    s.music = 5;
    s.ghosting = 1;
    s.case_color = 9;
    s.palette = 0;
    s.flashes = 1;
    s.effects = 1;
    s.vignette = 1;
    s.fullscreen = 0;
    s.shine = 1;
    s.timing_bar = 0;
    s.prompts = 1;
    s.monster_art = 0;
    s.share_stats = 0;
    s.stats_asked = 0;
    std::memcpy(s.key_binds, DEFAULT_KEY_BINDS, sizeof s.key_binds);
    std::memcpy(s.pad_binds, DEFAULT_PAD_BINDS, sizeof s.pad_binds);
    s.swap_ab = 0;
    return s;
}

Settings settings = settings_start_values();

static const char SETTINGS_MAGIC[4] = {'Q', 'M', 'S', 'T'};

// Highest scancode and controller button a binding may hold; anything above marks a damaged file.
static constexpr int SCANCODE_LIMIT = 512;
static constexpr int PAD_BUTTON_LIMIT = 21;

// File size that holds every field of a version (version 14 added none).
static int settings_bytes_for_version(int version) {
    static const int BYTES[18] = {0, 20, 24, 28, 36, 40, 44, 48, 52, 56, 60, 64, 68, 72, 72, 76, 80, 152};
    // 1: screen, volume, rumble; 2: music; 3: ghosting; 4: case colour, palette; 5: flashes;
    // 6: effects; 7: fullscreen; 8: shine; 9: timing bar; 10: monster art; 11: prompts;
    // 12: share stats; 13: stats asked; 15: rumble level; 16: vignette; 17: bindings.
    return BYTES[version];
}

void settings_encode(const Settings& s, uint8_t out[SETTINGS_FILE_BYTES]) {
    bytes_put_magic(out, 0, SETTINGS_MAGIC);
    bytes_put_i32(out, 4, SETTINGS_VERSION);
    bytes_put_i32(out, 8, s.screen);
    bytes_put_i32(out, 12, s.volume);
    bytes_put_i32(out, 16, s.rumble ? 1 : 0);
    bytes_put_i32(out, 20, s.music);
    bytes_put_i32(out, 24, s.ghosting);
    bytes_put_i32(out, 28, s.case_color);
    bytes_put_i32(out, 32, s.palette);
    bytes_put_i32(out, 36, s.flashes ? 1 : 0);
    bytes_put_i32(out, 40, s.effects ? 1 : 0);
    bytes_put_i32(out, 44, s.fullscreen ? 1 : 0);
    bytes_put_i32(out, 48, s.shine ? 1 : 0);
    bytes_put_i32(out, 52, s.timing_bar ? 1 : 0);
    bytes_put_i32(out, 56, s.monster_art);
    bytes_put_i32(out, 60, s.prompts ? 1 : 0);
    bytes_put_i32(out, 64, s.share_stats ? 1 : 0);
    bytes_put_i32(out, 68, s.stats_asked ? 1 : 0);
    bytes_put_i32(out, 72, s.rumble_level);
    bytes_put_i32(out, 76, s.vignette ? 1 : 0);
    for (int a = 0; a < ACTION_COUNT; a++)
        for (int k = 0; k < KEYS_PER_ACTION; k++)
            bytes_put_i16(out, 80 + (a * KEYS_PER_ACTION + k) * 2, s.key_binds[a][k]);
    for (int n = 0; n < PAD_BIND_COUNT; n++) out[144 + n] = s.pad_binds[n];
    bytes_put_i32(out, 148, s.swap_ab ? 1 : 0);
}

bool settings_decode(const uint8_t* d, int len, Settings& s) {
    if (len < 8 || !bytes_is_magic(d, 0, SETTINGS_MAGIC)) return false;
    int version = bytes_get_i32(d, 4);
    if (version < 1 || version > SETTINGS_VERSION) return false;
    if (len < settings_bytes_for_version(version)) return false;

    Settings n = s;  // bindings and the play-stats choice keep their values in older files
    n.screen = bytes_get_i32(d, 8);
    n.volume = bytes_get_i32(d, 12);
    n.rumble = bytes_get_i32(d, 16) != 0;
    n.music = version >= 2 ? bytes_get_i32(d, 20) : 10;
    n.ghosting = version >= 3 ? bytes_get_i32(d, 24) : 1;
    n.case_color = version >= 4 ? bytes_get_i32(d, 28) : 9;
    n.palette = version >= 4 ? bytes_get_i32(d, 32) : 0;
    n.flashes = version >= 5 ? bytes_get_i32(d, 36) != 0 : 1;
    n.effects = version >= 6 ? bytes_get_i32(d, 40) != 0 : 1;
    n.fullscreen = version >= 7 ? bytes_get_i32(d, 44) != 0 : 0;
    n.shine = version >= 8 ? bytes_get_i32(d, 48) != 0 : 1;
    n.timing_bar = version >= 9 ? bytes_get_i32(d, 52) != 0 : 1;
    n.monster_art = version >= 10 ? bytes_get_i32(d, 56) : 0;
    n.prompts = version >= 11 ? bytes_get_i32(d, 60) != 0 : 1;
    if (version >= 12) n.share_stats = bytes_get_i32(d, 64) != 0;
    n.stats_asked = version >= 13 ? bytes_get_i32(d, 68) != 0 : 0;
    n.rumble_level = version >= 15 ? bytes_get_i32(d, 72) : 2;
    n.vignette = version >= 16 ? bytes_get_i32(d, 76) != 0 : 1;
    if (version >= 17) {
        for (int a = 0; a < ACTION_COUNT; a++)
            for (int k = 0; k < KEYS_PER_ACTION; k++) {
                int16_t code = bytes_get_i16(d, 80 + (a * KEYS_PER_ACTION + k) * 2);
                if (code >= SCANCODE_LIMIT) return false;
                n.key_binds[a][k] = code;
            }
        for (int b = 0; b < PAD_BIND_COUNT; b++) {
            if (d[144 + b] >= PAD_BUTTON_LIMIT) return false;
            n.pad_binds[b] = d[144 + b];
        }
        n.swap_ab = bytes_get_i32(d, 148) != 0;
    }
    // Older files: the timing bar became opt-in and the case colour default changed.
    if (version <= 10) n.timing_bar = 0;
    if (version <= 13) n.case_color = 9;
    s = n;
    return true;
}

bool settings_load() {
    char path[SAVE_PATH_CAP];
    save_path_into(path, sizeof path, "settings.dat");
    uint8_t buf[SETTINGS_FILE_BYTES];
    long n = file_read_some(path, buf, sizeof buf);
    if (n < 0) return false;
    return settings_decode(buf, (int)n, settings);
}

bool settings_save() {
    char path[SAVE_PATH_CAP];
    save_path_into(path, sizeof path, "settings.dat");
    uint8_t buf[SETTINGS_FILE_BYTES];
    settings_encode(settings, buf);
    return file_write_atomic(path, buf, sizeof buf);
}
