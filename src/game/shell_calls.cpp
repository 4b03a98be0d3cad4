// What the shell asks of the game: saving when the program ends, pausing when the window goes to
// the background, which options rows show, and a few read-only questions about the run.
#include "game/shell_calls.h"

#include <cstdio>

#include "combat/combat.h"
#include "combat/training.h"
#include "game/menus.h"
#include "game/run_start.h"
#include "game/state.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "runfile/run_file.h"
#include "saves/settings.h"
#include "saves/write_notice.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "services/confirm.h"
#include "services/services.h"

int32_t power_on_delay = 0;
uint8_t pad_blink_lit = 0;

PadHitContext pad_hit_context() {
    if (game_state == STATE_POWER_ON && power_on_counter < 0) return PAD_HIT_POWER_ON;
    if (game_state == STATE_COMBAT && combat_is_reflex()) return PAD_HIT_REAL_TIME_FIGHT;
    return PAD_HIT_ELSEWHERE;
}

bool save_on_exit() {
    const bool run_saved = !run_active || run_save_now();
    const bool profile_saved = profile_save_on_exit();
    const bool settings_saved = settings_save_changed();  // an option changed on a page not yet left
    return run_saved && profile_saved && settings_saved;
}

bool save_on_close() {
    if (save_on_exit() || quit_after_box) return true;
    write_failure_take();  // the box below tells it; the tick need not tell it again
    auto_pause();
    // The fight shows a failed save as a toast only, and a toast is gone before it is read.
    std::snprintf(message_box_text, sizeof message_box_text, "%s", "SAVE FAILED!");
    message_box_open = 1;
    quit_after_box = 1;
    return false;
}

void auto_pause() {
    if (transition_active() || confirm_open) return;
    bool pausable = game_state == STATE_DUNGEON ||
                    (game_state == STATE_COMBAT && combat_is_reflex() && combat_victory_delay() <= 0);
    if (!pausable) return;
    state_under_pause = game_state;
    pause_cursor = 0;
    game_state = STATE_PAUSE;
}

bool option_row_visible(int row) {
    switch (row) {
    case OPT_TRAINING:
        return !training_active();
    case OPT_MONSTERS:
        return !monster_art_locked(1);
    case OPT_FULL_SCREEN:
        return !layout_is_square() && !platform_case_is_phone();
    case OPT_CASE:
        return !layout_is_square();
    case OPT_SHINE:
        return !layout_is_square() && (settings.case_color == 6 || settings.case_color == 7);
    default:
        return true;
    }
}

bool cheats_active() {
    if (cheats_used) return true;
    for (uint8_t f : cheat_flags)
        if (f) return true;
    return false;
}

bool run_is_active() { return run_active != 0; }

void power_on_delay_set(int32_t ticks) { power_on_delay = ticks; }

