// Helpers for the screens' review pictures: a seeded run standing on its first floor, and a
// picture of the whole draw pass in both layouts side by side.
#pragma once
#include <cstdint>

#include "game/game.h"
#include "game/run_start.h"
#include "game/state.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "support/png_out.h"

// A fresh run from a fixed seed, in the dungeon; undone by screens_run_end.
inline void screens_run_begin() {
    fixed_seed = 0x5EED1234u;
    fixed_seed_runs = 0;
    new_run();
    game_state = STATE_DUNGEON;
    frame_counter = 100;
}

inline void screens_run_end() {
    fixed_seed = 0;
    game_state = STATE_SPLASH;
    layout_set_landscape();
}

// The draw pass in landscape (left) and portrait (right), twice enlarged, into QM_PNG_DIR.
inline void screens_shot(const char* name) {
    PngSheet sheet(2 * (FB_LONG + FB_SHORT + 2) + 4, 2 * FB_LONG);
    layout_set_landscape();
    draw_frame();
    sheet.paste(0, 0, FB_LONG, FB_SHORT, 0, 0, 2);
    layout_set_portrait();
    draw_frame();
    sheet.paste(0, 0, FB_SHORT, FB_LONG, 2 * FB_LONG + 4, 0, 2);
    layout_set_landscape();
    sheet.write(name);
}
