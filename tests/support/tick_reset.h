// Puts the tick's globals (state words, input words, guards, the hidden sequence, menus, dialogs,
// the transition, toasts, settings, the session clock and the fight and loot streams) back to a fresh start in `state`, so a
// test drives game_tick from a known place whatever ran before it. The settings are zeroed but keep
// the default key and pad bindings, so the screens name real buttons ("ENTER: ATTACK", not "-: ATTACK").
#pragma once
#include <cstdint>

#include "combat/loot.h"
#include "combat/reflex.h"
#include "dungeon/map.h"
#include "game/menus.h"
#include "game/state.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "services/services.h"
#include "services/confirm.h"
#include "services/toast.h"
#include "telemetry/session.h"
#include "world/game_state.h"

inline void tick_globals_reset(int32_t state) {
    game_state = state;
    prev_state = state;
    state_under_pause = STATE_TITLE;
    input_prev = input_held = input_raw = 0;
    repeat_state = repeat_ticks = 0;
    repeat_dirs = 0;
    guard_kind = 0;
    input_guard_ticks = 40;
    input_lock_timer = 0;
    input_lock_held = 0;
    secret_progress = 0;
    quit_requested = quit_after_box = 0;
    demo_end_to_unlocks = 0;
    demo_end_store_opened = 0;
    run_active = 0;
    splash_timer = SPLASH_TICKS;
    title_cursor = 1;
    pause_cursor = 0;
    power_on_counter = 0;
    options_from = STATE_TITLE;
    transition = Transition{};
    confirm_open = 0;
    confirm_action = 0;
    consent_open = message_box_open = way_out_open = 0;
    caption_timer = 0;
    toast_timer = 0;
    toast_line1[0] = 0;
    settings = Settings{};
    bindings_default();
    settings.stats_asked = 1;
    session_open = 0;
    session_ticks = 0;
    current_floor = 0;
    for (uint8_t& f : cheat_flags) f = 0;
    fight_rng_state = FIGHT_RNG_START;
    loot_rng_state = LOOT_RNG_START;
}
