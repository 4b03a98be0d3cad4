// Fight feedback: popup words and banners, hit stops, shakes, flashes and the hurt vignette, the
// burn glow and long flash effect fields, and the heals shown in the heal popup (player_heal).
// Written by fights, level-ups and the camp's rest; fx_update runs every unpaused tick.
#include "combat/fx.h"

#include <algorithm>
#include <cstdio>

#include "combat/combat.h"
#include "dungeon/fxfield.h"
#include "render/screen.h"
#include "saves/settings.h"
#include "services/rumble.h"
#include "sound/audio.h"
#include "world/game_state.h"
#include "world/player.h"

FxState fx_state;

namespace {
constexpr int FX_FIELD_BURN = 1;
constexpr int FX_FIELD_LONG_FLASH = 3;
constexpr int32_t LONG_FLASH_BRIGHT = 71;  // the long flash is lit while more steps than this remain
constexpr int32_t BURN_RATE_FLASH = 220, BURN_RATE = 280, LONG_FLASH_RATE = 22;

bool flashes_on() { return settings.flashes != 0; }

void burn_glow() {
    FxState& f = fx_state;
    bool in_view = game_state == STATE_DUNGEON || game_state == STATE_COMBAT;
    int burn = player.status[ST_BURN];
    if (!in_view) return;
    if (burn > 0) f.burn_linger = FX_BURN_LINGER;
    else if (f.burn_linger > 0) f.burn_linger--;
    if (f.burn_linger <= 0) {
        if (fxfield_active(FX_FIELD_BURN)) fxfield_clear(FX_FIELD_BURN);
        return;
    }
    if (f.frame % 2 != 0) return;
    bool flashing = flashes_on() && f.status_flash > 0 && f.status_id == ST_BURN;
    float level = flashing ? 1.0f : (burn > 0 ? 0.35f + 0.12f * (float)burn : 0.0f);
    fxfield_set_level(FX_FIELD_BURN, level);
    fxfield_set_rate(FX_FIELD_BURN, flashing ? BURN_RATE_FLASH : BURN_RATE);
    // The flames run round three sides of the view (a U), so the field is as long as those sides.
    const int w = screen_view_width(), h = screen_view_height();
    fxfield_update(FX_FIELD_BURN, w + 2 * h, h);
}

void long_flash_field() {
    FxState& f = fx_state;
    if (f.long_flash <= 0) return;
    if (game_state != STATE_COMBAT) {
        f.long_flash = 0;
        fxfield_clear(FX_FIELD_LONG_FLASH);
        return;
    }
    fxfield_set_level(FX_FIELD_LONG_FLASH, f.long_flash > LONG_FLASH_BRIGHT ? 1.0f : 0.0f);
    fxfield_set_rate(FX_FIELD_LONG_FLASH, LONG_FLASH_RATE);
    fxfield_update(FX_FIELD_LONG_FLASH, screen_view_width(), screen_view_height());
}

void count_down(int32_t& t) {
    if (t > 0) t--;
}

// The feedback level of a hit of d on the player: 2, 4, 6 or 8 as it takes more of the health.
int damage_band(int d) {
    int p = d * 100 / std::max(player.max_hp, 1);
    return p >= 30 ? 8 : (p >= 15 ? 6 : (p > 5 ? 4 : 2));
}

void hurt_fade() {
    FxState& f = fx_state;
    if (f.hurt_width <= 0) return;
    if (--f.hurt_fade > 0) return;
    f.hurt_width--;
    f.hurt_fade = FX_HURT_FADE_STEPS;
}
}  // namespace

void fx_hit_stop(int n) { fx_state.hit_stop = std::max(fx_state.hit_stop, n); }

void shake_from_damage(int d) { fx_state.shake = std::max(fx_state.shake, damage_band(d)); }

void fx_hurt_from_damage(int d) {
    FxState& f = fx_state;
    if (d <= 0) return;
    const int level = damage_band(d);
    if (level <= f.hurt_width) return;
    f.hurt_width = level;
    f.hurt_fade = FX_HURT_FADE_STEPS;
}

int32_t fx_hurt_width() { return fx_state.hurt_width; }

void status_flash(int i) {
    fx_state.status_id = i;
    fx_state.status_flash = FX_STATUS_FLASH;
}

void popup_text(const char* text, int size) {
    FxState& f = fx_state;
    int n = std::clamp(size, 1, 5);
    std::snprintf(f.popup, sizeof f.popup, "%s", text ? text : "");
    f.popup_timer = f.popup_timer_max = FX_POPUP_TICKS;
    f.banner = 0;
    f.popup_size = n;
    fx_hit_stop(n / 2 + 1);
    combat.shake_timer = std::max(combat.shake_timer, 2 * n + 2);
    play_sfx(size > 3 ? SFX_BANNER : SFX_POPUP);
    rumble_add(0.12f * (float)n + 0.2f, 0.1f * (float)n + 0.3f, 30 * n + 80);
}

void popup_banner(const char* text) {
    FxState& f = fx_state;
    std::snprintf(f.popup, sizeof f.popup, "%s", text ? text : "");
    f.popup_timer = f.popup_timer_max = FX_BANNER_TICKS;
    f.banner = 1;
    f.popup_size = 5;
    fx_hit_stop(3);
    combat.shake_timer = std::max(combat.shake_timer, 12);
    play_sfx(SFX_BANNER);
    rumble_add(0.8f, 0.8f, 230);
    rumble_add(0.9f, 0.9f, 300);
}

void fx_hit_small() {
    fx_hit_stop(3);
    if (flashes_on()) fx_state.flash_small = FX_FLASH_SMALL;
}

void fx_hit_medium(bool flash) {
    fx_hit_stop(5);
    if (flash) fx_state.flash_medium = FX_FLASH_MEDIUM;
}

void fx_hit_big() { fx_hit_stop(6); }

void fx_levelup() {
    if (flashes_on()) fx_state.flash_levelup = FX_FLASH_LEVELUP;
}

void fx_long_flash() {
    fx_state.long_flash = FX_FLASH_LONG;
    fxfield_clear(FX_FIELD_LONG_FLASH);
}

void fx_update() {
    FxState& f = fx_state;
    f.frame++;
    count_down(f.shake);
    count_down(f.flash_small);
    count_down(f.flash_medium);
    count_down(f.flash_levelup);
    count_down(f.status_flash);
    count_down(f.popup_timer);
    hurt_fade();
    burn_glow();
    long_flash_field();
    count_down(f.long_flash);
}

void fx_reset() { fx_state = FxState{}; }

int player_heal(int n) {
    if (n <= 0) return 0;
    combat.heal_shown = n;
    combat.heal_timer = POPUP_LONG_TICKS;
    return player_gain_hp(n);
}
