// Fight feedback: shakes, hit stops, popup words, flashes and the hurt vignette that fights write and
// the screens read.
// Fights, level-ups and status ticks call the fx_* family; the tick runs fx_update every step
// (fx_update, fx_levelup and fx_reset are declared with the fight in combat/combat.h).
#pragma once
#include <cstdint>

constexpr int FX_POPUP_BYTES = 32;  // 31 characters and the terminator
constexpr int32_t FX_POPUP_TICKS = 36;
constexpr int32_t FX_BANNER_TICKS = 60;
constexpr int32_t FX_FLASH_SMALL = 3, FX_FLASH_MEDIUM = 18, FX_FLASH_LEVELUP = 22, FX_FLASH_LONG = 96;
constexpr int32_t FX_STATUS_FLASH = 18;
constexpr int32_t FX_BURN_LINGER = 40;
// The hurt vignette thins by a pixel every this many steps: the heaviest hit's 8 pixels last 24
// steps (0.4 s), a graze's 2 pixels still show for 6.
constexpr int32_t FX_HURT_FADE_STEPS = 3;

struct FxState {
    int32_t shake;
    int32_t status_flash, status_id;
    char popup[FX_POPUP_BYTES];
    int32_t popup_timer, popup_timer_max;
    uint8_t banner;
    int32_t popup_size;  // 1..5
    int32_t hit_stop;    // steps during which the duel and the fight timers wait
    int32_t frame;
    int32_t burn_linger;
    int32_t long_flash;
    int32_t flash_small, flash_medium, flash_levelup;
    int32_t hurt_width;  // thickness of the hurt vignette in pixels; 0 draws none
    int32_t hurt_fade;   // steps until it thins by one
};
extern FxState fx_state;

void shake_from_damage(int d);
// A hit of d on the player thickens the hurt vignette by the same bands as the shake; d <= 0 leaves it.
void fx_hurt_from_damage(int d);
// Thickness in pixels of the hurt vignette; 0 draws none. The status border draws it.
int32_t fx_hurt_width();
void status_flash(int i);
void popup_text(const char* text, int size);
void popup_banner(const char* text);
void fx_hit_small();
void fx_hit_medium(bool flash);
void fx_hit_big();
void fx_long_flash();
// Raises the hit stop to at least n steps.
void fx_hit_stop(int n);
// A heal the player is shown: hp + n capped at the maximum, and "+n" in the fight's heal popup for
// 48 ticks (nothing for n <= 0). Returns the hp gained.
int player_heal(int n);
