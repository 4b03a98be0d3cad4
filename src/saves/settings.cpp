// The settings record and settings.dat: read every version from 1 to 17, write version 17.
#include "saves/settings.h"

#include <cstring>

#include "world/buttons.h"
#include "saves/bytes.h"
#include "saves/file_io.h"
#include "saves/save_path.h"
#include "saves/write_notice.h"

namespace {

// Marks a field whose out-of-range value is pulled to the nearest end instead of a fixed value.
constexpr int32_t SATURATE = INT32_MIN;
// Marks a field that keeps the value it had when an older file lacks it.
constexpr int32_t KEEP = INT32_MIN;

// One value of settings.dat: where it lives in the record and in the file, the file version that
// added it, its value on a new install and in files older than that version, and its range.
// Encoding, decoding, migration and the range clamp all read this one list.
struct SettingField {
    int32_t Settings::*number;  // an int32 value, or
    uint8_t Settings::*flag;    // a 0/1 switch stored as int32
    int offset;
    int version;
    int32_t start;
    int32_t older;       // value for files before `version`, or KEEP
    int32_t lo, hi;      // the range (flags are always 0..1)
    int32_t fallback;    // what an out-of-range value becomes, or SATURATE
};

// clang-format off
constexpr SettingField FIELDS[] = {
    {.number = &Settings::screen,       .flag = nullptr, .offset = 8,  .version = 1,  .start = 0, .older = 0, .lo = 0, .hi = 2,  .fallback = 0},
    {.number = &Settings::volume,       .flag = nullptr, .offset = 12, .version = 1,  .start = 6, .older = 6, .lo = 0, .hi = 10, .fallback = SATURATE},
    {.number = nullptr, .flag = &Settings::rumble,       .offset = 16, .version = 1,  .start = 1, .older = 1, .lo = 0, .hi = 1,  .fallback = 0},
    {.number = &Settings::music,        .flag = nullptr, .offset = 20, .version = 2,  .start = 5, .older = 10, .lo = 0, .hi = 10, .fallback = SATURATE},
    {.number = &Settings::ghosting,     .flag = nullptr, .offset = 24, .version = 3,  .start = 1, .older = 1, .lo = 0, .hi = 3,  .fallback = 1},
    {.number = &Settings::case_color,   .flag = nullptr, .offset = 28, .version = 4,  .start = 9, .older = 9, .lo = 0, .hi = 17, .fallback = 9},
    {.number = &Settings::palette,      .flag = nullptr, .offset = 32, .version = 4,  .start = 0, .older = 0, .lo = 0, .hi = 7,  .fallback = 0},
    {.number = nullptr, .flag = &Settings::flashes,      .offset = 36, .version = 5,  .start = 1, .older = 1, .lo = 0, .hi = 1,  .fallback = 0},
    {.number = nullptr, .flag = &Settings::effects,      .offset = 40, .version = 6,  .start = 1, .older = 1, .lo = 0, .hi = 1,  .fallback = 0},
    {.number = nullptr, .flag = &Settings::fullscreen,   .offset = 44, .version = 7,  .start = 0, .older = 0, .lo = 0, .hi = 1,  .fallback = 0},
    {.number = nullptr, .flag = &Settings::shine,        .offset = 48, .version = 8,  .start = 1, .older = 1, .lo = 0, .hi = 1,  .fallback = 0},
    {.number = nullptr, .flag = &Settings::timing_bar,   .offset = 52, .version = 9,  .start = 0, .older = 1, .lo = 0, .hi = 1,  .fallback = 0},
    {.number = &Settings::monster_art,  .flag = nullptr, .offset = 56, .version = 10, .start = 0, .older = 0, .lo = 0, .hi = 1,  .fallback = 0},
    {.number = nullptr, .flag = &Settings::prompts,      .offset = 60, .version = 11, .start = 1, .older = 1, .lo = 0, .hi = 1,  .fallback = 0},
    {.number = nullptr, .flag = &Settings::share_stats,  .offset = 64, .version = 12, .start = 0, .older = KEEP, .lo = 0, .hi = 1, .fallback = 0},
    {.number = nullptr, .flag = &Settings::stats_asked,  .offset = 68, .version = 13, .start = 0, .older = 0, .lo = 0, .hi = 1,  .fallback = 0},
    {.number = &Settings::rumble_level, .flag = nullptr, .offset = 72, .version = 15, .start = 2, .older = 2, .lo = 1, .hi = 3,  .fallback = 2},
    {.number = nullptr, .flag = &Settings::vignette,     .offset = 76, .version = 16, .start = 1, .older = 1, .lo = 0, .hi = 1,  .fallback = 0},
    {.number = nullptr, .flag = &Settings::swap_ab,      .offset = 148, .version = 17, .start = 0, .older = KEEP, .lo = 0, .hi = 1, .fallback = 0},
};
// clang-format on

// Where the bindings sit in a version-17 file.
constexpr int KEY_BINDS_OFFSET = 80;
constexpr int PAD_BINDS_OFFSET = 144;
constexpr int BINDINGS_VERSION = 17;

int32_t field_get(const Settings& s, const SettingField& f) { return f.number ? s.*f.number : (s.*f.flag ? 1 : 0); }

void field_set(Settings& s, const SettingField& f, int32_t v) {
    if (f.number)
        s.*f.number = v;
    else
        s.*f.flag = v != 0 ? 1 : 0;
}

Settings settings_start_values() {
    Settings s = {};
    for (const SettingField& f : FIELDS) field_set(s, f, f.start);
    std::memcpy(s.key_binds, DEFAULT_KEY_BINDS, sizeof s.key_binds);
    std::memcpy(s.pad_binds, DEFAULT_PAD_BINDS, sizeof s.pad_binds);
    return s;
}

}  // namespace

Settings settings = settings_start_values();

static const char SETTINGS_MAGIC[4] = {'Q', 'M', 'S', 'T'};

// settings.dat as last read whole or written, so that leaving the program writes it only when the
// record has changed since.
static uint8_t settings_stored[SETTINGS_FILE_BYTES];
static bool settings_stored_known = false;

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
    for (const SettingField& f : FIELDS) bytes_put_i32(out, f.offset, field_get(s, f));
    for (int a = 0; a < ACTION_COUNT; a++)
        for (int k = 0; k < KEYS_PER_ACTION; k++)
            bytes_put_i16(out, KEY_BINDS_OFFSET + (a * KEYS_PER_ACTION + k) * 2, s.key_binds[a][k]);
    for (int n = 0; n < PAD_BIND_COUNT; n++) out[PAD_BINDS_OFFSET + n] = s.pad_binds[n];
}

bool settings_decode(const uint8_t* d, int len, Settings& s) {
    if (len < 8 || !bytes_is_magic(d, 0, SETTINGS_MAGIC)) return false;
    int version = bytes_get_i32(d, 4);
    if (version < 1 || version > SETTINGS_VERSION) return false;
    if (len < settings_bytes_for_version(version)) return false;

    Settings n = s;  // bindings and the play-stats choice keep their values in older files
    for (const SettingField& f : FIELDS) {
        if (version >= f.version)
            field_set(n, f, bytes_get_i32(d, f.offset));
        else if (f.older != KEEP)
            field_set(n, f, f.older);
    }
    if (version >= BINDINGS_VERSION) {
        for (int a = 0; a < ACTION_COUNT; a++)
            for (int k = 0; k < KEYS_PER_ACTION; k++) {
                int16_t code = bytes_get_i16(d, KEY_BINDS_OFFSET + (a * KEYS_PER_ACTION + k) * 2);
                if (code >= SCANCODE_LIMIT) return false;
                n.key_binds[a][k] = code;
            }
        for (int b = 0; b < PAD_BIND_COUNT; b++) {
            if (d[PAD_BINDS_OFFSET + b] >= PAD_BUTTON_LIMIT) return false;
            n.pad_binds[b] = d[PAD_BINDS_OFFSET + b];
        }
    }
    // Older files: the timing bar became opt-in and the case colour default changed.
    if (version <= 10) n.timing_bar = 0;
    if (version <= 13) n.case_color = 9;
    s = n;
    return true;
}

void settings_clamp_ranges(Settings& s) {
    for (const SettingField& f : FIELDS) {
        const int32_t v = field_get(s, f);
        if (v >= f.lo && v <= f.hi) continue;
        if (f.fallback == SATURATE)
            field_set(s, f, v < f.lo ? f.lo : f.hi);
        else
            field_set(s, f, f.fallback);
    }
}

int32_t settings_fallback(const int32_t Settings::*member) {
    for (const SettingField& f : FIELDS)
        if (f.number == member) return f.fallback;
    return 0;
}

bool settings_load() {
    char path[SAVE_PATH_CAP];
    save_path_into(path, sizeof path, "settings.dat");
    uint8_t buf[SETTINGS_FILE_BYTES];
    long n = file_read_some(path, buf, sizeof buf, LINKS_FOLLOWED);
    settings_stored_known = false;
    if (n < 0 || !settings_decode(buf, (int)n, settings)) return false;
    if (n == SETTINGS_FILE_BYTES) {
        std::memcpy(settings_stored, buf, sizeof buf);
        settings_stored_known = true;
    }
    return true;
}

static bool settings_write(const uint8_t buf[SETTINGS_FILE_BYTES]) {
    char path[SAVE_PATH_CAP];
    save_path_into(path, sizeof path, "settings.dat");
    settings_stored_known = file_write_atomic(path, buf, SETTINGS_FILE_BYTES, LINKS_FOLLOWED);
    if (settings_stored_known)
        std::memcpy(settings_stored, buf, SETTINGS_FILE_BYTES);
    else
        write_failure_note();  // every settings write is the player's own change: each failure is told
    return settings_stored_known;
}

bool settings_save() {
    uint8_t buf[SETTINGS_FILE_BYTES];
    settings_encode(settings, buf);
    return settings_write(buf);
}

bool settings_save_changed() {
    uint8_t buf[SETTINGS_FILE_BYTES];
    settings_encode(settings, buf);
    if (settings_stored_known && std::memcmp(buf, settings_stored, sizeof buf) == 0) return true;
    return settings_write(buf);
}

void settings_defaults() { settings = settings_start_values(); }

bool settings_reset() {
    settings_defaults();
    return settings_save();
}
