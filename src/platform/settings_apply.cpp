// Settings application: each setting is clamped to its range and handed to the case, palette,
// screen effect, ghosting and sound. Also the case-shape query, the case and palette names and
// the look preview for the screens, and the empty platform hooks.
#include "services/services.h"

#include "platform/case_art.h"
#include "platform/compose.h"
#include "platform/palette.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "saves/settings.h"
#include "sound/audio.h"

uint8_t case_shine_on = 0;
uint8_t timing_bar_on = 0;

void settings_clamp() {
    settings_clamp_ranges(settings);
    // A colour, palette or look the profile has not unlocked counts as out of range.
    if (case_color_locked(settings.case_color)) settings.case_color = settings_fallback(&Settings::case_color);
    if (palette_locked(settings.palette)) settings.palette = settings_fallback(&Settings::palette);
    if (monster_art_locked(settings.monster_art)) settings.monster_art = settings_fallback(&Settings::monster_art);

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

const char* platform_case_color_name(int c) {
    return c >= 0 && c < CASE_COLOR_COUNT ? CASE_COLOR_NAMES[c] : "";
}

const char* platform_palette_name(int p) { return p >= 0 && p < PALETTE_COUNT ? PALETTE_NAMES[p] : ""; }

void platform_preview_look(int case_color, int palette) {
    case_set_color(case_color);
    screen_palette = palette >= 0 && palette < PALETTE_COUNT ? palette : 0;
}

bool platform_case_is_phone() { return case_model == CASE_PHONE; }

void platform_init() {}
void platform_step() {}
void platform_shutdown() {}
void platform_tick() {}
void platform_profile_loaded() {}
void platform_milestone(int) {}
void platform_counter_bump(int) {}
void platform_unlocks_changed() {}
