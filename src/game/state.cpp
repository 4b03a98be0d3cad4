// The state word and the tick's input records, with the queries screens ask about them.
#include "game/state.h"

#include "game/menus.h"
#include "world/buttons.h"

const int32_t STATE_MUSIC[STATE_COUNT] = {0, 1, 1, 2, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 1};

const uint8_t SECRET_SEQUENCE[SECRET_LENGTH] = {BTN_UP,    BTN_UP,   BTN_DOWN,  BTN_DOWN, BTN_LEFT,
                                                BTN_RIGHT, BTN_LEFT, BTN_RIGHT, BTN_B,    BTN_A};

int32_t game_state = STATE_POWER_ON;
int32_t state_under_pause = STATE_TITLE;
int32_t prev_state = STATE_POWER_ON;
int32_t frame_counter = 0;
uint8_t cheats_used = 0;
uint8_t cheat_flags[CHEAT_FLAG_COUNT] = {0, 0, 0, 0};

uint8_t input_held = 0;
uint8_t input_raw = 0;
uint8_t input_prev = 0;

int32_t repeat_state = 0;
int32_t repeat_ticks = 0;
uint8_t repeat_dirs = 0;

int32_t guard_kind = 0;
int32_t input_guard_ticks = 40;
int32_t input_lock_timer = 0;
uint8_t input_lock_held = 0;

int64_t secret_progress = 0;
uint8_t quit_requested = 0;
uint8_t quit_after_box = 0;
uint8_t demo_end_to_unlocks = 0;
uint8_t demo_end_store_opened = 0;
uint8_t run_active = 0;
int32_t splash_timer = SPLASH_TICKS;
int32_t title_cursor = 1;
int32_t title_slide_from = 1;
int32_t title_slide_tick = 0;
int32_t pause_cursor = 0;
int32_t title_fx_level = -1;
uint8_t title_notices = 0;

int32_t menu_cursor_step(int32_t cursor, int32_t rows, uint8_t presses) {
    int32_t c = ((cursor % rows) + rows) % rows;
    if (presses & BTN_UP) c = (c + rows - 1) % rows;
    if (presses & BTN_DOWN) c = (c + 1) % rows;
    return c;
}

bool input_locked() { return input_lock_timer > 0 || input_lock_held; }

bool game_is_paused() {
    if (game_state == STATE_PAUSE) return true;
    bool panel = game_state == STATE_OPTIONS || game_state == STATE_CREDITS || game_state == STATE_CONTROLS;
    return panel && options_from == STATE_PAUSE;
}

uint8_t input_edges(uint8_t now, uint8_t before) { return (uint8_t)(now & ~before); }
