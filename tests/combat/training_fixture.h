// A training run set up in place for tests: a fresh knight on a chosen training floor, the tick's
// globals reset, and helpers that step the running game and read what the drills show.
#pragma once
#include <cstdio>
#include <cstring>

#include "combat/combat.h"
#include "combat/reflex.h"
#include "combat/training.h"
#include "dungeon/floor.h"
#include "game/game.h"
#include "game/run_start.h"
#include "items/bag.h"
#include "items/item.h"
#include "levelup/levelup.h"
#include "services/services.h"
#include "services/toast.h"
#include "support/fresh_game.h"
#include "support/tick_reset.h"
#include "world/buttons.h"
#include "world/player.h"

constexpr uint32_t ALL_TIPS = (1u << TIP_COUNT) - 1u;

// A new knight's training on `floor`; `tips_seen` marks every tip shown so no box stops the play.
inline void training_world(int floor, bool tips_seen = true) {
    tick_globals_reset(STATE_DUNGEON);
    knight_run_start(0x5EED1234u);
    training_start();
    if (floor > 0) {
        floor_begin(floor);
        load_training_map(floor);
        floor_monsters_from_letters(floor);
    }
    if (tips_seen) tips.shown = ALL_TIPS;
    input_guard_ticks = 0;
    toast_timer = 0;
    toast_line1[0] = toast_line2[0] = '\0';
}

// Steps the running game with the buttons held this tick.
inline void tick_held(uint8_t held, int n = 1) {
    for (int i = 0; i < n; i++) game_tick(held);
}

// Steps until pred() holds or `limit` ticks pass, holding `held`; true when it held.
template <class Pred>
inline bool tick_until(Pred pred, uint8_t held = 0, int limit = 3000) {
    for (int i = 0; i < limit; i++) {
        if (pred()) return true;
        game_tick(held);
    }
    return pred();
}

inline bool toast_says(const char* text) {
    char expanded[256];
    text_expand_glyphs(text, expanded, sizeof expanded);  // "{B}" reads as the player's own button
    return toast_timer > 0 && (std::strcmp(toast_line1, expanded) == 0);
}

// A long word toast: its two lines joined again give the (expanded) text, each line fitting.
inline bool toast_split_says(const char* text) {
    char expanded[256];
    text_expand_glyphs(text, expanded, sizeof expanded);
    char joined[2 * TOAST_LINE_BYTES + 2];
    std::snprintf(joined, sizeof joined, "%s %s", toast_line1, toast_line2);
    return toast_timer > 0 && toast_line2[0] && std::strcmp(joined, expanded) == 0;
}
