// Settings application, saving on exit, pausing in the background, the options rows' visibility,
// a few read-only accessors and the empty platform hooks.
#include "platform/services.h"

#include "combat/combat.h"
#include "game/state.h"
#include "platform/case_art.h"
#include "platform/compose.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "saves/run_file.h"
#include "saves/settings.h"
#include "screens/transition.h"
#include "sound/audio.h"

uint8_t cheats_used = 0;
uint8_t cheat_flags[4] = {0, 0, 0, 0};
uint8_t case_shine_on = 0;
uint8_t timing_bar_on = 0;
int32_t power_on_delay = 0;

void settings_clamp() {
    // A value outside its range on either side takes the same default as one above it.
    if (settings.screen < 0 || settings.screen > 2) settings.screen = 0;
    if (settings.volume < 0) settings.volume = 0;
    if (settings.volume > 10) settings.volume = 10;
    if (settings.music < 0) settings.music = 0;
    if (settings.music > 10) settings.music = 10;
    if (settings.ghosting < 0 || settings.ghosting > 3) settings.ghosting = 1;
    if (settings.rumble_level < 1 || settings.rumble_level > 3) settings.rumble_level = 2;
    if (settings.case_color < 0 || settings.case_color > 17 || case_color_locked(settings.case_color))
        settings.case_color = 9;
    if (settings.palette < 0 || settings.palette > 7 || palette_locked(settings.palette)) settings.palette = 0;
    if (settings.monster_art < 0 || settings.monster_art > 1 || monster_art_locked(settings.monster_art))
        settings.monster_art = 0;

    case_set_color(settings.case_color);
    case_set_swap_ab(settings.swap_ab);
    case_shine_on = settings.shine;
    timing_bar_on = settings.timing_bar;
    screen_palette = settings.palette;
    screen_effect = settings.screen;
    ghosting_applied = settings.ghosting;
    audio_set_master_volume(settings.volume);
    audio_set_music_volume(settings.music);
}

void save_on_exit() {
    if (run_active && !save_run()) toast_show("SAVE FAILED!");
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
    case 16:
        return !training_active();
    case 11:
        return !monster_art_locked(1);
    case 1:
        return !layout_is_square() && case_model != CASE_PHONE;
    case 3:
        return !layout_is_square();
    case 4:
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

void platform_init() {}
void platform_step() {}
void platform_shutdown() {}
void platform_tick() {}
void platform_profile_loaded() {}
void platform_milestone(int) {}
void platform_counter_bump(int) {}
void platform_unlocks_changed() {}
