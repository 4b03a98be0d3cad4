// The status border (poison hatching, burn flames, regeneration corners) and, in fights, the
// feedback overlays: long flash, ring, negative flash, popup words and the hurt vignette.
// Drawn by the draw pass after the dungeon view and the fight screen; it only reads state.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "combat/combat.h"
#include "combat/fx.h"
#include "combat/status.h"
#include "render/big_text.h"
#include "render/draw.h"
#include "render/fxfield.h"
#include "render/screen.h"
#include "render/text_runs.h"
#include "saves/settings.h"
#include "screens/fight_reflex_view.h"
#include "screens/screens.h"
#include "world/dither.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

constexpr int FX_SLOT_LONG_FLASH = 3;
constexpr int32_t RING_TICKS = FX_FLASH_MEDIUM;
constexpr int32_t POPUP_FADE_TICKS = 12;
constexpr int POPUP_BIG_TICKS = 4;
constexpr int REGEN_ARM = 8;
constexpr int LANDSCAPE_MENU_INSET = 74;  // the turn-menu fight's side column in landscape
constexpr int LANDSCAPE_MENU_CENTRE = 68;

int mod3(int v) { return ((v % 3) + 3) % 3; }

bool flash_runs_for(int i) { return fx_state.status_flash > 0 && fx_state.status_id == i; }

void draw_poison(const ScreenRect& r, int f) {
    const int t = 3 + f;
    const int k = fx_state.frame / 8;
    for (int d = 0; d < t; d++) {
        const int colour = f ? 3 : (d < 2 ? 2 : 1);
        const int a = k + d, b = 300 - k + d;
        for (int x = r.x0; x <= r.x1; x++) {
            if (mod3(a + x) == 0) screen_pixel(x, r.y0 + d, colour);
            if (mod3(b + x) == 0) screen_pixel(x, r.y1 - d, colour);
        }
        for (int y = r.y0; y <= r.y1; y++) {
            if (mod3(b + y) == 0) screen_pixel(r.x0 + d, y, colour);
            if (mod3(a + y) == 0) screen_pixel(r.x1 - d, y, colour);
        }
    }
}

void draw_regen(const ScreenRect& r, int f) {
    const int n = REGEN_ARM + 4 * f, colour = 2 + f;
    // The corners' arms are the border's, put back off the texts it keeps: no rule lines.
    const uint8_t recording = text_runs.on;
    text_runs.on = 0;
    screen_hline(r.x0, r.y0, n, colour);
    screen_vline(r.x0, r.y0, n, colour);
    screen_hline(r.x1 - n + 1, r.y0, n, colour);
    screen_vline(r.x1, r.y0, n, colour);
    screen_hline(r.x0, r.y1, n, colour);
    screen_vline(r.x0, r.y1 - n + 1, n, colour);
    screen_hline(r.x1 - n + 1, r.y1, n, colour);
    screen_vline(r.x1, r.y1 - n + 1, n, colour);
    text_runs.on = recording;
}

void draw_ring(const ScreenRect& r) {
    const int v = fx_state.flash_medium;
    if (v <= 0 || v > RING_TICKS) return;
    const int rad = (RING_TICKS - v) * 4 + 4;
    const int threshold = (14 * v - 252) / 18 + 16;
    const int colour = v < 10 ? 1 : 2;
    const int cx = fight_anchor.x, cy = fight_anchor.y;
    for (int y = std::max(cy - rad - 2, r.y0); y <= std::min(cy + rad + 2, r.y1); y++)
        for (int x = std::max(cx - rad - 2, r.x0); x <= std::min(cx + rad + 2, r.x1); x++) {
            const float d = std::sqrt((float)((x - cx) * (x - cx) + (y - cy) * (y - cy)));
            if (std::fabs(d - (float)rad) > 1.2f) continue;
            if (BAYER4[y & 3][x & 3] < threshold) screen_pixel(x, y, colour);
        }
}

void draw_negative(const ScreenRect& r) {
    for (int y = r.y0; y <= r.y1; y++)
        for (int x = r.x0; x <= r.x1; x++) {
            const int p = screen_get(x, y);
            if (p <= 3) screen_pixel(x, y, 3 - p);
        }
}

constexpr int CLASSIC_TAGS_END = 33;  // the classic view's status tags end a row above this

void draw_popup_words(const ScreenRect& r) {
    const FxState& fx = fx_state;
    const int p = fx.popup_timer;
    char lines[2][32];
    const int count = fight_popup_lines(fx.popup, lines[0], lines[1]);
    int D = 0;
    for (int i = 0; i < count; i++) D = std::max(D, 6 * (int)std::strlen(lines[i]) - 1);
    if (D <= 0) return;
    const bool big = fx.banner != 0;
    const int age = fx.popup_timer_max - p;
    const int pop = big && age < POPUP_BIG_TICKS ? 1 : 0;
    const bool real_time = combat_is_reflex();
    const int narrow = screen_layout.landscape && !real_time ? 1 : 0;
    const int w = r.x1 - r.x0;
    const int S = w - LANDSCAPE_MENU_INSET * narrow - 1;
    int s = 1;
    if (D * (2 + pop) <= S)
        s = 2 + pop;
    else if (D * (1 + pop) <= S)
        s = 1 + pop;
    const int c = r.x0 + (w - LANDSCAPE_MENU_CENTRE * narrow + 1) / 2;
    const int J = (9 * count - 2) * s;
    int K = real_time ? r.y0 + ((r.y1 - r.y0) * 64 + 64) / 100 - J / 2 - age / 8
                      : r.y0 + 40 - age / 12 - (screen_layout.landscape ? 6 : 0) - J / 2;
    K = std::max(K, r.y0 + 29);
    const int m = std::max(1, std::min((w - D * s + 1) / 2, big ? 5 : 3));
    // The classic view's box starts below the status tags under its header, so it never cuts them.
    if (!real_time) K = std::max(K, r.y0 + CLASSIC_TAGS_END + m);
    const int left = std::max(r.x0, c - D * s / 2 - m);
    const int right = std::min(c - D * s / 2 + D * s + m, r.x1 + 1) - 1;
    const bool fading = p <= POPUP_FADE_TICKS;
    if (real_time) {
        static const int OFF[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
        for (int i = 0; i < count; i++) {
            const int n = (int)std::strlen(lines[i]);
            const int x = c - s * (6 * n - 1) / 2, y = K + 9 * s * i;
            for (int o = 0; o < 8; o++) draw_big_text_under(x + OFF[o][0] * s, y + OFF[o][1] * s, lines[i], s, 0);
            draw_big_text(x, y, lines[i], s, fading ? 1 : (big ? 3 : 2));
        }
        if (big && !fading && right >= left) {
            screen_hline(left, K - 4, right - left + 1, 3);
            screen_hline(left, K + J + 3, right - left + 1, 3);
        }
        // Drawn over the hatching and flames; the hurt flash after it leaves the words alone.
        status_border_keep(left, K - 4, right - left + 1, J + 8);
        return;
    }
    screen_fill_rect(left, K - m, right - left + 1, 2 * m + J, 0);
    status_border_keep(left, K - m, right - left + 1, 2 * m + J);
    if (m != 1) screen_rect(left, K - m, right - left + 1, 2 * m + J, fading ? 1 : 2);
    if (big && m > 4) screen_rect(left + 2, K - m + 2, right - left - 3, 2 * m + J - 4, fading ? 1 : 3);
    for (int i = 0; i < count; i++) {
        const int n = (int)std::strlen(lines[i]);
        draw_big_text(c - s * (6 * n - 1) / 2, K + 9 * s * i, lines[i], s, fading ? 1 : 3);
    }
}

constexpr int KEEP_MAX = 8;
struct KeepRects {
    int32_t rects[KEEP_MAX][4];  // x0, y0, x1, y1, inclusive
    int32_t count;
};
KeepRects keep_rects;
uint8_t before_edges[FB_BYTES];

bool keep_test(int x, int y) {
    for (int i = 0; i < keep_rects.count; i++) {
        const int32_t* k = keep_rects.rects[i];
        if (x >= k[0] && x <= k[2] && y >= k[1] && y <= k[3]) return true;
    }
    return false;
}

// One pixel of the vignette; the real-time fight's HUD rows (its sharp rectangles) and the classic
// view's edge texts stay clear, so the flash never hides the name, the flow, the souls, the combo
// count or the log.
void vignette_pixel(int x, int y, int level) {
    if (BAYER4[y & 3][x & 3] >= level && !sharp_rect_test(x, y) && !keep_test(x, y)) screen_pixel(x, y, 3);
}

void draw_hurt_vignette(const ScreenRect& r, int n) {
    for (int d = 0; d <= n; d++) {
        const int e = d == 0 ? 0 : d * 12 / (n + 1) + 2;
        for (int x = r.x0; x <= r.x1; x++) {
            vignette_pixel(x, r.y0 + d, e);
            vignette_pixel(x, r.y1 - d, e);
        }
        for (int y = r.y0 + n + 1; y <= r.y1 - n - 1; y++) {
            vignette_pixel(r.x0 + d, y, e);
            vignette_pixel(r.x1 - d, y, e);
        }
    }
}

void restore_rect(int x0, int y0, int x1, int y1) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, screen_layout.width - 1);
    y1 = std::min(y1, screen_layout.height - 1);
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++) {
            const int i = y * screen_layout.width + x;
            framebuffer[i] = before_edges[i];
        }
}

}  // namespace

void status_border_keep(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0 || keep_rects.count >= KEEP_MAX) return;
    int32_t* k = keep_rects.rects[keep_rects.count++];
    k[0] = x;
    k[1] = y;
    k[2] = x + w - 1;
    k[3] = y + h - 1;
    if (text_runs.on) text_runs_note_spared(k[0], k[1], k[2], k[3]);
}

void status_border_keep_clear() { keep_rects.count = 0; }

void draw_status_border() {
    const ScreenRect r = screen_layout.view;
    const bool flashes = settings.flashes != 0;
    // The fight's texts at the edges are put back over the edges once they are drawn, so the
    // hatching and the flames never hide a name's first letters, the flow, the souls or the log.
    bool shown[ST_COUNT], any = false;
    for (int i = 0; i < ST_COUNT; i++) {
        shown[i] = status_has(player.status, i) || flash_runs_for(i) || (i == ST_BURN && fx_state.burn_linger > 0);
        any = any || shown[i];
    }
    const bool keep = any && (keep_rects.count > 0 || sharp_rects.count > 0);
    if (keep) std::memcpy(before_edges, framebuffer, sizeof before_edges);
    for (int i = 0; i < ST_COUNT; i++) {
        if (!shown[i]) continue;
        const int f = flashes && flash_runs_for(i) && ((fx_state.status_flash / 3) & 1) ? 1 : 0;
        if (i == ST_POISON) {
            if (text_runs.on) text_runs_note_band({r.x0, r.y0, r.x1, r.y1, 3 + f, 3 + f, 3 + f, 3 + f, 1, 0});
            draw_poison(r, f);
        }
        if (i == ST_BURN) {
            const int depth = fxfield_draw_rect(r.x0, r.y0, r.x1 - r.x0 + 1, r.y1 - r.y0 + 1);
            if (text_runs.on) text_runs_note_band({r.x0, r.y0, r.x1, r.y1, depth, 0, depth, depth, 1, 0});
        }
        if (i == ST_REGEN) draw_regen(r, f);
    }
    if (keep) {
        for (int i = 0; i < keep_rects.count; i++) {
            const int32_t* k = keep_rects.rects[i];
            restore_rect(k[0], k[1], k[2], k[3]);
        }
        for (int i = 0; i < sharp_rects.count; i++) {
            const int32_t* k = sharp_rects.rects[i];
            restore_rect(k[0], k[1], k[2], k[3]);
        }
    }
    if (game_state != STATE_COMBAT) {
        keep_rects.count = 0;
        return;
    }
    if (fx_state.long_flash > 0) fxfield_draw(FX_SLOT_LONG_FLASH, r.x0, r.y0);
    draw_ring(r);
    if (flashes && fx_state.flash_small > 0) draw_negative(r);
    if (fx_state.popup_timer > 0) draw_popup_words(r);
    const int n = fx_hurt_width();
    if (n > 0 && flashes) {
        if (text_runs.on) text_runs_note_band({r.x0, r.y0, r.x1, r.y1, n + 1, n + 1, n + 1, n + 1, 1, 0});
        draw_hurt_vignette(r, n);
    }
    keep_rects.count = 0;  // each fight frame keeps its own rows
}
