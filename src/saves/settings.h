// The player's settings record and the settings.dat / best.dat files.
// The options screens edit the record; settings_clamp brings it into range after loading.
#pragma once
#include <cstdint>

constexpr int SETTINGS_VERSION = 17;
constexpr int SETTINGS_FILE_BYTES = 152;
constexpr int BEST_FILE_BYTES = 12;
constexpr int ACTION_COUNT = 8;
constexpr int KEYS_PER_ACTION = 4;
constexpr int PAD_BIND_COUNT = 4;

struct Settings {
    int32_t screen;        // 0 LCD, 1 CRT, 2 FLAT
    int32_t volume;        // 0..10
    uint8_t rumble;
    int32_t rumble_level;  // 1..3
    int32_t music;         // 0..10
    int32_t ghosting;      // 0..3
    int32_t case_color;    // 0..17
    int32_t palette;
    uint8_t flashes;
    uint8_t effects;
    uint8_t vignette;
    uint8_t fullscreen;
    uint8_t shine;
    uint8_t timing_bar;
    uint8_t prompts;
    int32_t monster_art;   // 1 CODE, 0 HAND-DRAWN
    uint8_t share_stats;
    uint8_t stats_asked;
    int16_t key_binds[ACTION_COUNT][KEYS_PER_ACTION];  // scancodes, packed to the front, < 1 = empty
    uint8_t pad_binds[PAD_BIND_COUNT];                  // controller buttons for A, B, START, SELECT
    uint8_t swap_ab;
};

extern Settings settings;

// Reads settings.dat into `settings`; false (and nothing changed) for a missing, short or foreign file.
bool settings_load();
// Writes settings.dat (version 17) through a temporary file; false when it could not be written,
// which is noted for the game to tell (write_notice.h).
bool settings_save();
// Writes settings.dat only when the record differs from what the file held when last read or
// written (the program's way out); true when nothing needed writing.
bool settings_save_changed();
// Puts every setting back to its new-install value and saves.
bool settings_reset();
// The same in memory only, with nothing written.
void settings_defaults();
// The stored best floor; 0 when absent, bad or not positive.
int best_floor_load();
bool best_floor_save(int value);

// Brings every value into its range: most take a fixed default, the volumes stop at their ends.
void settings_clamp_ranges(Settings& s);
// The value an out-of-range setting falls back to (for the rules that also refuse locked values).
int32_t settings_fallback(const int32_t Settings::*member);

// Byte-level forms of the two files, for the loaders above and for tests.
void settings_encode(const Settings& s, uint8_t out[SETTINGS_FILE_BYTES]);
// Decodes `len` bytes of a settings file over `s`; false (s untouched) when the file is rejected.
bool settings_decode(const uint8_t* data, int len, Settings& s);
