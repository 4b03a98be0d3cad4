// The real-time fight view: arena floor, the monster with its wind-up, telegraph, guard and hit
// reactions, the timing bar, the player's hands, the HUD rows, prompts and popups. Called by the
// fight screen every drawn frame of a duel; it only reads the duel and puts the draw state back.
#include "screens/fight_reflex_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "combat/combat.h"
#include "combat/fx.h"
#include "combat/meters.h"
#include "combat/duel.h"
#include "combat/fight_tuning.h"
#include "combat/reflex.h"
#include "combat/training.h"
#include "dungeon/monsters.h"
#include "items/item.h"
#include "profile/profile.h"
#include "render/blit.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/fxfield.h"
#include "render/particles.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "services/services.h"
#include "world/player.h"

FightAnchor fight_anchor = {0, 0};

namespace {

// Fixed looks of the view (durations in duel ms, sizes in pixels).
constexpr int32_t DODGE_SLIDE_MS = FT_DODGE_MS;
constexpr int32_t HIT_GROW_MS = 160;
constexpr int32_t HURT_JITTER_MS = 120;
constexpr int32_t GUARD_PUSH_MS = 200;
constexpr int32_t GUARD_RAISE_MS = FT_GUARD_SETTLE;
constexpr int32_t STAR_PULSE_MS = 140;
constexpr int32_t HIT_BURST_MS = 420;
constexpr int32_t BURST_RING_MS = 90;
constexpr int32_t STAGGER_BLINK_MS = 450;
constexpr int32_t BAR_EXTEND_MS = FT_PARRY_LATE;
constexpr int32_t BAR_EXTEND_SIDE_MS = 60;
constexpr int32_t PERFECT_LEAD_MS = FT_PERFECT;
constexpr int32_t EARLY_GUARD_MS = FT_PARRY_EARLY;
constexpr int32_t JAB_FLASH_MS = 220, HEAVY_FLASH_MS = 350, BLOCK_FLASH_MS = 260, PARRY_FLASH_MS = 300;
constexpr int32_t HEAVY_SWING_MS = 320, PARRY_KICK_MS = 250, BLOCK_PUSH_MS = 200;
constexpr int32_t CHARGE_GAUGE_AFTER_MS = 170;
constexpr int32_t JAB_BLINK_MS = 500;
constexpr int32_t POPUP_RISE_TICKS = POPUP_LONG_TICKS;
constexpr int COMBO_TIER_SHINE = 125;
constexpr int GEM_COUNT = 5;
constexpr int GEM_LIT_ABOVE[GEM_COUNT] = {99, 299, 499, 699, 899};
constexpr int THREAT_MARKS = 4;
constexpr int THREAT_MARKS_SPAN = 18 * (THREAT_MARKS - 1) + 14;  // the marks' dark backing, left to right
constexpr int THREAT_ROW_DY = 40;
constexpr int SOULS_ROW_DY = 37;
constexpr int FX_SLOT_COMBO = 5;
constexpr float PI = 3.14159265f;

struct View {
    int L, T, R, B, W, c;
};

View view_now() {
    const ScreenRect& v = screen_layout.view;
    return {v.x0, v.y0, v.x1, v.y1, v.x1 - v.x0 + 1, v.x0 + (v.x1 - v.x0 + 1) / 2};
}

bool inside(const View& v, int x, int y) { return x >= v.L && x <= v.R && y >= v.T && y <= v.B; }

// Every loose pixel of the view goes through here so nothing lands outside it.
void vp(const View& v, int x, int y, int colour) {
    if (inside(v, x, y)) screen_pixel(x, y, colour);
}

void vhline(const View& v, int x, int y, int n, int colour) {
    for (int i = 0; i < n; i++) vp(v, x + i, y, colour);
}

void vfill(const View& v, int x, int y, int w, int h, int colour) {
    for (int j = 0; j < h; j++) vhline(v, x, y + j, w, colour);
}

void vrect(const View& v, int x, int y, int w, int h, int colour) {
    if (w <= 0 || h <= 0) return;
    vhline(v, x, y, w, colour);
    vhline(v, x, y + h - 1, w, colour);
    for (int j = 1; j < h - 1; j++) {
        vp(v, x, y + j, colour);
        vp(v, x + w - 1, y + j, colour);
    }
}

// A line plotted every `stride` steps (1 solid).
void vline(const View& v, int x0, int y0, int x1, int y1, int colour) {
    const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= n; i++) {
        const int x = n ? x0 + (x1 - x0) * i / n : x0, y = n ? y0 + (y1 - y0) * i / n : y0;
        vp(v, x, y, colour);
    }
}

// A ring of thickness t just inside radius r. half: 0 whole, +1 right half, -1 left half, 2 top.
void vring(const View& v, int cx, int cy, int r, int t, int colour, int half) {
    if (r <= 0) return;
    const int outer = (2 * r + 1) * (2 * r + 1), inner = std::max(0, 2 * (r - t) + 1);
    for (int dy = -r; dy <= r; dy++)
        for (int dx = -r; dx <= r; dx++) {
            const int d = (2 * dx) * (2 * dx) + (2 * dy) * (2 * dy);
            if (d > outer || d <= inner * inner) continue;
            if ((half == 1 && dx < 0) || (half == -1 && dx > 0) || (half == 2 && dy > 0)) continue;
            vp(v, cx + dx, cy + dy, colour);
        }
}

void vdisc(const View& v, int cx, int cy, int r, int colour) {
    for (int dy = -r; dy <= r; dy++)
        for (int dx = -r; dx <= r; dx++)
            if (dx * dx + dy * dy <= r * r) vp(v, cx + dx, cy + dy, colour);
}

// An ellipse outline; dotted plots every other point.
void vellipse(const View& v, int cx, int cy, float rx, float ry, int colour, bool dotted) {
    const int n = std::max(16, (int)(2.0f * PI * std::max(rx, ry)));
    int last_x = 1 << 20, last_y = 0, k = 0;
    for (int i = 0; i < n; i++) {
        const float a = 2.0f * PI * (float)i / (float)n;
        const int x = cx + (int)std::lround(rx * std::cos(a)), y = cy + (int)std::lround(ry * std::sin(a));
        if (x == last_x && y == last_y) continue;
        last_x = x;
        last_y = y;
        if (!dotted || (k++ & 1) == 0) vp(v, x, y, colour);
    }
}

void text_outlined(int x, int y, const char* text, int colour) {
    text_draw_under(x - 1, y, text, 0);
    text_draw_under(x + 1, y, text, 0);
    text_draw_under(x, y - 1, text, 0);
    text_draw_under(x, y + 1, text, 0);
    text_draw(x, y, text, colour);
}

// Left edge of a text centred on x, kept inside L+2 .. R-1.
int text_left_inside(const View& v, int x, const char* text) {
    const int w = std::max(text_width(text), 0);
    return std::clamp(x - w / 2, v.L + 2, std::max(v.L + 2, v.R - 1 - w + 1));
}

bool within(int32_t dt, int32_t ms) { return dt >= 0 && dt < ms; }

bool attack_in_flight() { return reflex.monster_state == MS_ATTACK; }

// Wind-up progress 0..1 of the attack in flight.
float windup_progress() {
    const int32_t lead = std::max(reflex.state_length - reflex.current.parry_window, 1);
    return std::min((float)(reflex.clock - reflex.state_start) / (float)lead, 1.0f);
}

bool window_open() {
    return attack_in_flight() && reflex.clock - reflex.state_start >= reflex.state_length - reflex.current.parry_window;
}

// The monster as placed this frame.
struct Figure {
    const Image* img;
    float scale;       // draw scale handed to the blit (density included)
    int x, base;       // centre of the bottom edge of the frame
    int feet;          // the figure's lowest row
    int fw, fh;        // figure width and height on screen
    int top;
};

int fade_level_of_monster() {
    if (combat.victory_delay > 0)
        return ((VICTORY_DELAY_TICKS - combat.victory_delay) * 17 + 17) / VICTORY_DELAY_TICKS;
    if (reflex.monster_state == MS_RECOVER && reflex.state_length > 0) {
        const int32_t e = std::clamp(reflex.clock - reflex.state_start, 0, reflex.state_length);
        return DITHER_MAX - DITHER_MAX * e / reflex.state_length;
    }
    return 0;
}

void draw_figure_pass(const Figure& f, int dx, int dy, int colour) {
    screen_set_offset(dx, dy, colour);
    if (f.img)
        sprite_draw_scaled(f.img, f.x, f.base, f.scale);
    else
        draw_monster_primitive((int32_t)reflex.type, f.x - f.fw / 2, f.feet - f.fh);
    screen_set_offset(0, 0, -1);
}

void draw_figure(const Figure& f) {
    static const int PLAIN[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    static const int BRIGHT[8][2] = {{-2, 0}, {2, 0}, {0, -2}, {0, 2}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    if (window_open()) {
        for (int i = 0; i < 8; i++) {
            draw_figure_pass(f, BRIGHT[i][0], BRIGHT[i][1], 3);
            sprite_scaled_reuse = 1;
        }
        if (reflex.current.kind == ATK_SIDE) {
            draw_figure_pass(f, 0, 0, 1);
        } else {
            draw_figure_pass(f, 0, 0, -1);
            const int32_t saved = draw_dither_level;
            screen_set_dither(std::max(saved, DITHER_MAX / 2));
            draw_figure_pass(f, 0, 0, 3);
            screen_set_dither(saved);
        }
    } else {
        for (int i = 0; i < 4; i++) {
            draw_figure_pass(f, PLAIN[i][0], PLAIN[i][1], 0);
            sprite_scaled_reuse = 1;
        }
        draw_figure_pass(f, 0, 0, -1);
    }
    sprite_scaled_reuse = 0;
}

struct Shift {
    int floor_s;   // the dodge slide of the floor
    int monster;   // horizontal shift of the monster
    int cprime;    // view centre plus the shake
};

Shift scene_shift(const View& v) {
    Shift s = {0, 0, v.c};
    const int sh = combat.shake_timer;
    if (sh > 0) s.cprime += (sh > 6 ? 2 : 1) * ((sh & 1) ? 1 : -1);
    const int32_t dt = reflex.clock - reflex.dodge_at;
    if (within(dt, DODGE_SLIDE_MS)) {
        const float k = std::sin(PI * std::sqrt((float)(dt + 16) / 396.0f));
        s.floor_s = (int)((float)v.W * k * 0.22f) * (reflex.dodge_side < 0 ? -1 : 1);
    }
    s.monster = s.cprime - v.c - (int)(0.6f * (float)s.floor_s);
    return s;
}

int horizon_y(const View& v) { return v.T + 24 + (28 * (v.B - v.T) - 644) / 100; }

void draw_floor(const View& v, const Shift& sh) {
    const int y0 = horizon_y(v), c = sh.cprime, s = sh.floor_s;
    for (int k = -7; k <= 7; k++) {
        const int x0 = c + 3 * k - s / 3, x1 = c + k * v.W / 4 - s;
        const int n = std::max(std::abs(x1 - x0), std::abs(v.B - y0));
        for (int i = 0; i <= n; i++) {
            const int stride = 3 * i < n ? 4 : (3 * i < 2 * n ? 2 : 1);
            if (i % stride) continue;
            vp(v, n ? x0 + (x1 - x0) * i / n : x0, n ? y0 + (v.B - y0) * i / n : y0, 1);
        }
    }
    for (int j = 1; j <= 9; j++) {
        const float t = (float)j / 9.0f;
        const int y = y0 + (int)(t * t * (float)(v.B - y0));
        const float mid = (float)c - t * (float)s, half = (0.85f * t + 0.15f) * (float)v.W;
        const int stride = j < 3 ? 4 : (j < 6 ? 2 : 1);
        for (int x = (int)(mid - half); x <= (int)(mid + half); x++)
            if ((x - (int)(mid - half)) % stride == 0) vp(v, x, y, 1);
    }
    for (int x = v.L; x <= v.R; x += 3) vp(v, x, y0, 1);
}

Figure place_monster(const View& v, const Shift& sh) {
    Figure f = {};
    const int y0 = horizon_y(v);
    int base = y0 + 55 * (v.B - y0) / 100;
    const int32_t clock = reflex.clock;
    float grow = 1.0f, lift = 0.0f;
    int dx = sh.monster;
    if (attack_in_flight()) {
        const float p = windup_progress();
        const bool side = reflex.current.kind == ATK_SIDE;
        grow *= 1.0f - (side ? 0.10f : 0.06f) * p;
        lift += (side ? 10.0f : 6.0f) * p;
        if (side) dx += (int)((float)reflex.current.side * (float)v.W * 0.1f * p);
    }
    const int32_t hit_dt = clock - reflex.last_hit_at;
    if (within(hit_dt, HIT_GROW_MS)) {
        const float k = 1.0f - (float)hit_dt / (float)HIT_GROW_MS;
        grow *= 1.0f + 0.15f * k;
        lift -= 8.0f * k;
    }
    if (reflex.monster_state == MS_STAGGER) dx += ((frame_counter / 4) & 1) ? 2 : -2;
    if (reflex.monster_state == MS_RECOIL && within(clock - reflex.state_start, HURT_JITTER_MS))
        dx += (frame_counter & 1) ? 2 : -2;
    if (reflex.monster_state == MS_GUARD && within(clock - reflex.star_at, GUARD_PUSH_MS)) {
        const float k = 1.0f - (float)(clock - reflex.star_at) / (float)GUARD_PUSH_MS;
        grow *= 1.0f - 0.10f * k;
        lift += 7.0f * k;
    }
    if (reflex.monster_state == MS_RECOVER || reflex.monster_state == MS_READY) lift += (float)((frame_counter / 16) & 1);

    f.img = monster_sprite((int32_t)reflex.type);
    if (f.img) {
        int32_t bottom = 0, top = 0;
        monster_sprite_extents((int32_t)reflex.type, &bottom, &top);
        const float d = (float)std::max(f.img->density, 1);
        const float fig_h = std::max((float)(f.img->h - bottom - top) / d, 1.0f);
        const float frame_w = std::max((float)f.img->w / d, 1.0f);
        float s = std::min((float)(base - v.T - 30) / fig_h, 0.85f * (float)v.W / frame_w);
        if (reflex.type != M_DRAGON) s *= 0.82f;
        s = std::max(s, 0.05f) * grow;
        f.feet = base - (int)lift;
        f.base = f.feet + (int)((float)bottom / d * s);
        f.scale = s / d;
        f.fw = (int)(frame_w * s);
        f.fh = (int)(fig_h * s);
    } else {
        f.feet = base - (int)lift;
        f.base = f.feet;
        f.fw = f.fh = 34;
    }
    f.x = v.c + dx;
    if (reflex.type == M_ORC) f.x += f.fw * 18 / 100;
    f.top = f.feet - f.fh;
    return f;
}

void draw_shadow(const View& v, const Figure& f) {
    const int half = f.fw / 3;
    static const int INSET[5] = {6, 3, 0, 3, 6};
    for (int r = 0; r < 5; r++) {
        const int y = f.feet - 2 + r;
        for (int x = f.x - half + INSET[r]; x <= f.x + half - INSET[r]; x++)
            if (((x + y) & 1) == 0) vp(v, x, y, 1);
    }
}

// A chevron 5 pixels across pointing left (dir -1) or right (+1), two pixels thick.
void draw_chevron(const View& v, int x, int y, int dir, int colour) {
    for (int k = 0; k < 5; k++) {
        const int off = (k < 3 ? k : 4 - k) * dir;
        vp(v, x + off, y - 2 + k, colour);
        vp(v, x + off - dir, y - 2 + k, colour);
    }
}

int telegraph_radius(const View& v, const Figure& f, int* base_r) {
    const bool side = reflex.current.kind == ATK_SIDE;
    const float p = windup_progress();
    const int br = side ? std::min(f.fw / 2 + 2, 3 * v.W / 10) : std::max(8, v.W / 14);
    const float left = (reflex.current.variant & 1) ? 1.0f - p * p : 1.0f - p;
    *base_r = br;
    return br + (int)((float)(side ? v.W / 4 : v.W / 3) * left);
}

int chevron_x(const View& v, int ring_r) {
    const int dir = reflex.current.side > 0 ? -1 : 1;  // away from the blow
    return std::clamp(fight_anchor.x + dir * (ring_r + 12), v.L + 10, v.R - 9);
}

void draw_telegraph(const View& v, const Figure& f) {
    if (!attack_in_flight()) return;
    const bool side = reflex.current.kind == ATK_SIDE;
    const float p = windup_progress();
    const int32_t tti = std::max(reflex_time_to_impact(), 0);
    int base_r = 0;
    const int r = telegraph_radius(v, f, &base_r);
    const bool near = side ? tti <= reflex.dodge_ms : tti <= EARLY_GUARD_MS;
    const int colour = near ? 3 : (p < 0.3f ? 1 : 2);
    const bool open = window_open();
    const int ax = fight_anchor.x, ay = fight_anchor.y;
    if (side) {
        vring(v, ax, ay, r, open ? 3 : 2, colour, reflex.current.side < 0 ? -1 : (reflex.current.side > 0 ? 1 : 2));
        draw_chevron(v, chevron_x(v, r), ay, reflex.current.side > 0 ? -1 : 1, colour);
        return;
    }
    vring(v, ax, ay, r, open ? 2 : 1, colour, 0);
    const bool last = tti <= PERFECT_LEAD_MS;
    const int inner = last ? 3 : 2;
    vring(v, ax, ay, base_r, last ? 2 : 1, inner, 0);
    vdisc(v, ax, ay, base_r - 2, 0);
    if (inside(v, ax - 2, ay - 3) && inside(v, ax + 3, ay + 4)) text_draw(ax - 2, ay - 3, drill_is_stop() ? "A" : "B", inner);
}

void draw_timing_bar(const View& v, const Figure& f) {
    if (!timing_bar_on || !attack_in_flight()) return;
    const bool side = reflex.current.kind == ATK_SIDE;
    const int bw = v.W * 70 / 100, bx = v.c - bw / 2;
    int by = f.feet + 6;
    if (by + 11 > v.B - 8) by = v.B - v.W / 4 - 14;
    by = std::clamp(by, v.T + 5, v.B - 11);
    vfill(v, bx - 3, by - 5, bw + 6, 16, 0);
    vrect(v, bx, by, bw, 6, 2);
    const int32_t t0 = reflex.state_start, impact = t0 + reflex.state_length;
    const int32_t t1 = impact + (side ? BAR_EXTEND_SIDE_MS : BAR_EXTEND_MS);
    auto X = [&](int32_t t) {
        const int32_t span = std::max(t1 - t0, 1);
        return bx + (int)((int64_t)(std::clamp(t, t0, t1) - t0) * (bw - 1) / span);
    };
    const int pw0 = X(impact - reflex.current.parry_window), pw1 = X(impact);
    vhline(v, pw0, by - 3, pw1 - pw0 + 1, 2);
    vp(v, pw0, by - 2, 2);
    vp(v, pw1, by - 2, 2);
    const bool feint = reflex.current.kind == ATK_FEINT && !reflex.current.rewound;
    if (side) {
        for (int x = X(impact - reflex.dodge_ms); x <= pw1; x += 2) vp(v, x, by + 2, 3);
    } else if (!feint) {
        for (int x = X(impact - EARLY_GUARD_MS); x <= X(impact + BAR_EXTEND_MS); x++)
            for (int y = by + 1; y <= by + 4; y++)
                if (((x + y) & 1) == 0) vp(v, x, y, 1);
        for (int x = X(impact - PERFECT_LEAD_MS); x <= pw1; x++) {
            vp(v, x, by + 2, 3);
            vp(v, x, by + 3, 3);
        }
    }
    for (int y = by - 2; y < by + 8; y++)
        if (!feint || (y & 1) == 0) vp(v, pw1, y, 3);
    if (reflex.last_guard_press_at >= t0 && reflex.last_guard_press_at <= t1)
        for (int y = by - 3; y < by + 9; y++) vp(v, X(reflex.last_guard_press_at), y, 2);
    vfill(v, X(reflex.clock), by - 2, 2, 10, 3);
}

void draw_guard(const View& v, const Figure& f) {
    if (reflex.monster_state != MS_GUARD) return;
    const float prog = std::min((float)(reflex.clock - reflex.state_start) / (float)GUARD_RAISE_MS, 1.0f);
    const float k = 0.4f + 0.6f * std::max(prog, 0.0f);
    const float rx = ((float)f.fw / 2.0f + 6.0f) * k, ry = ((float)f.fh / 2.0f + 5.0f) * k;
    const int ax = fight_anchor.x, ay = fight_anchor.y;
    const bool pulse = within(reflex.clock - reflex.star_at, STAR_PULSE_MS);
    vellipse(v, ax, ay, rx, ry, pulse ? 3 : 2, false);
    if (pulse) vellipse(v, ax, ay, rx + 1.0f, ry + 1.0f, 3, false);
    if (prog >= 1.0f) vellipse(v, ax, ay, rx + 3.0f, ry + 3.0f, 1, true);
    // Each star a crack of three zig-zag strokes from the rim inward.
    const int cracks = std::clamp(reflex.stars, 0, 7);
    for (int i = 0; i < cracks; i++) {
        const float a = -PI / 2.0f + 0.45f + (float)i * 2.0f * PI / 7.0f;
        const float ex = std::cos(a), ey = std::sin(a);
        int px = ax + (int)(rx * ex), py = ay + (int)(ry * ey);
        for (int s = 1; s <= 3; s++) {
            const float depth = 1.0f - 0.2f * (float)s;
            const float wob = (s & 1) ? 3.0f : -3.0f;
            const int nx = ax + (int)(rx * ex * depth - ey * wob), ny = ay + (int)(ry * ey * depth + ex * wob);
            vline(v, px, py, nx, ny, 3);
            px = nx;
            py = ny;
        }
    }
}

void draw_hit_burst(const View& v, const Figure& f) {
    const int32_t dt = reflex.clock - reflex.last_hit_at;
    if (!within(dt, HIT_BURST_MS)) return;
    const int colour = dt < 140 ? 3 : (dt < 280 ? 2 : 1);
    const float t = (float)dt / 1000.0f;
    const int ax = fight_anchor.x, ay = fight_anchor.y;
    for (int k = 0; k < 12; k++) {
        const float a = (float)k * PI / 6.0f + 0.26f;
        const float ca = std::cos(a), sa = std::sin(a);
        const float d = (float)f.fw * 0.3f + 110.0f * t;
        const int x = ax + (int)(ca * d), y = ay + (int)(sa * d + 160.0f * t * t);
        const int x2 = x - (int)(ca * 3.0f), y2 = y - (int)(sa * 3.0f);
        vline(v, x, y, x2, y2, colour);
        vline(v, x + (sa > 0.5f || sa < -0.5f ? 1 : 0), y + (sa > 0.5f || sa < -0.5f ? 0 : 1),
              x2 + (sa > 0.5f || sa < -0.5f ? 1 : 0), y2 + (sa > 0.5f || sa < -0.5f ? 0 : 1), colour);
    }
    if (dt < BURST_RING_MS) vring(v, ax, ay, f.fw / 2 + 2 + dt / 6, 1, 3, 0);
}

void draw_star(const View& v, int x, int y, int colour) {
    static const int PIX[11][2] = {{0, 0}, {-1, 0}, {1, 0}, {-2, 0}, {2, 0}, {0, -1}, {0, 1},
                                   {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (int i = 0; i < 11; i++) vp(v, x + PIX[i][0], y + PIX[i][1], i < 7 ? colour : 1);
}

void draw_stagger(const View& v, const Figure& f) {
    if (reflex.monster_state != MS_STAGGER) return;
    const float hw = (float)f.fw / 2.0f + 6.0f;
    for (int i = 0; i < 4; i++) {
        const float a = (float)frame_counter * 0.09f + (float)i * PI / 2.0f;
        const int colour = (((frame_counter / 6) + i) & 1) ? 3 : 2;
        draw_star(v, f.x + (int)(hw * std::cos(a)), f.top + 2 + (int)(5.0f * std::sin(a)), colour);
    }
    const int ax = fight_anchor.x, ay = fight_anchor.y;
    vring(v, ax, ay, 6, 1, 3, 0);
    for (int d = 8; d <= 12; d++) {
        vp(v, ax + d, ay, 3);
        vp(v, ax - d, ay, 3);
        vp(v, ax, ay + d, 3);
        vp(v, ax, ay - d, 3);
    }
}

// The souls line's text; false while the line is not shown.
bool souls_line_text(char* text, int size) {
    if (flow_level() <= 0 && threat_total <= 0) return false;
    fight_souls_text(fight_souls_tenths(souls_preview(0), threat_total), text, size);
    return true;
}

void draw_threat_gauge(const View& v, const Figure& f) {
    const int st = reflex.monster_state;
    if (!drill_allows_action(0) || st == MS_DEAD || st == MS_RECOVER || combat.victory_delay > 0) return;
    int y = std::max(v.T + THREAT_ROW_DY, f.top - 20);
    int x0 = fight_anchor.x - 28;
    // A tall monster brings the marks up to the souls line's rows: they then start right of its
    // text, or, where the view is too narrow for that, below it.
    char souls[24];
    if (y - 1 <= v.T + SOULS_ROW_DY + 7 && souls_line_text(souls, sizeof souls)) {
        const int clear = v.L + 3 + text_width(souls) + 3;  // the first column the backing may take
        if (x0 - 1 < clear) {
            if (clear + THREAT_MARKS_SPAN <= v.R) x0 = clear + 1;
            else y = v.T + SOULS_ROW_DY + 10;
        }
    }
    const int tenths = std::max(1, souls_multiplier_tenths());
    const int marks = reflex.stagger_meter * THREAT_MARKS;
    const int whole = marks / tenths, part = (marks % tenths) * 10 / tenths;
    const int32_t sdt = reflex.clock - reflex.staggered_at;
    const bool blinking = st == MS_STAGGER && within(sdt, STAGGER_BLINK_MS);
    for (int i = 0; i < THREAT_MARKS; i++) {
        const int x = x0 + 18 * i;
        vfill(v, x - 1, y - 1, 14, 6, 0);
        vrect(v, x, y, 12, 4, 1);
        if (blinking) {
            if (((sdt / 120) & 1) == 0) vfill(v, x, y, 12, 4, 3);
        } else if (i < whole) {
            vfill(v, x, y, 12, 4, 3);
        } else if (i == whole && part > 0) {
            vfill(v, x + 1, y + 1, part, 2, 2);
        }
    }
}

// ---- The player's hands ----

struct Pose {
    float x, y, angle;
};

Pose blend(Pose a, Pose b, float g) {
    return {a.x + (b.x - a.x) * g, a.y + (b.y - a.y) * g, a.angle + (b.angle - a.angle) * g};
}

float pivot_v_of(uint32_t id) {
    if (id == ITEM_SHORT_SWORD) return 0.8f;
    if (id == ITEM_SPEAR) return 0.72f;
    if (id == ITEM_DAGGER || id == ITEM_VENOM_DAGGER) return 0.74f;
    return 0.86f;
}

float weapon_scale(const View& v, uint32_t id) {
    const float s = 0.021f * (float)v.W;
    return (id == ITEM_DAGGER || id == ITEM_VENOM_DAGGER) ? 2.0f * s : s;
}

bool item_shown(const Item& it) { return it.id != ITEM_NONE && !item_is_broken(it) && item_sprite((int32_t)it.id); }

// The point of the picture's top centre, where a blow or a block meets.
void tip_of(const Image* img, Pose p, float s, float pv, int* x, int* y) {
    const float len = img ? (float)img->h / (float)std::max(img->density, 1) * s * pv : 10.0f;
    const float a = p.angle * PI / 180.0f;
    *x = (int)(p.x + len * std::sin(a));
    *y = (int)(p.y - len * std::cos(a));
}

float item_draw_scale(const View& v, const Item& it) {
    return item_id_is_shield(it.id) ? 0.021f * (float)v.W : weapon_scale(v, it.id);
}

void draw_item_in_hand(const View& v, const Item& it, Pose p, float pv, bool bright) {
    const Image* img = item_sprite((int32_t)it.id);
    const float s = item_draw_scale(v, it);
    const float pu = 0.5f;
    sprite_set_break_bands(item_wear_level(it));
    if (bright) {
        static const int OFF[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
        // The clip applies before the shift: pull it in so the outline stays inside the view.
        const SpriteClip full = sprite_clip;
        sprite_set_clip(v.L + 1, v.T + 1, v.R - 1, v.B - 1);
        for (int i = 0; i < 4; i++) {
            screen_set_offset(OFF[i][0], OFF[i][1], 3);
            sprite_draw_rotated(img, (int)p.x, (int)p.y, s, p.angle, pu, pv);
        }
        screen_set_offset(0, 0, -1);
        sprite_clip = full;
    }
    sprite_draw_rotated(img, (int)p.x, (int)p.y, s, p.angle, pu, pv);
    sprite_set_break_bands(0);
}

// An empty hand: a plain block, kept inside the view.
void draw_bare_hand(const View& v, Pose p, int h) {
    const int w = std::max(8, h / 2);
    const int x = std::clamp((int)p.x, v.L + w / 2 + 2, v.R - w / 2 - 2);
    const int y = std::clamp((int)p.y, v.T + w, v.B - w / 2 - 2);
    draw_chest_icon(x, y, w, false, 0);
}

void flash_circle(const View& v, int x, int y, int32_t dt, int32_t life) {
    if (!within(dt, life)) return;
    vring(v, x, y, 3 + (int)(10 * dt / life), 1, 3, 0);
}

// The two hands' poses, at rest (g = 0) or guarding (g = 1), and what each holds.
struct Hands {
    Pose m, o;  // the main hand and the off hand
    int h;      // the hand size
    bool main_shown, two, shield, off_weapon;
};

Hands hand_poses(const View& v, float g) {
    Hands hs{};
    const int h = hs.h = std::max(18, 17 * v.W / 100);
    const float W = (float)v.W, c = (float)v.c, B = (float)v.B, hf = (float)h;
    const float yh = B - 4.0f * hf / 10.0f;
    const Item& main = player.main_hand;
    const Item& off = player.off_hand;
    const bool main_shown = hs.main_shown = item_shown(main);
    const bool two = hs.two = main_shown && item_def(main.id).two_handed;
    const bool shield = hs.shield = !two && item_shown(off) && item_id_is_shield(off.id);
    hs.off_weapon = !two && item_shown(off) && item_id_is_weapon(off.id);
    const bool off_weapon = hs.off_weapon;
    Pose& m = hs.m;
    if (!main_shown)
        m = blend({c + 0.28f * W, yh, 0.0f}, {c + 0.6f * hf, yh - hf, 0.0f}, g);
    else if (two)
        m = blend({c + 0.02f * W, B - 0.2f * hf, 45.0f}, {c + 0.24f * W, yh - hf, -88.0f}, g);
    else if (shield)
        m = blend({c + 0.2f * W, B - 0.3f * hf, 45.0f}, {c + 0.13f * W, yh - 1.1f * hf, -20.0f}, g);
    else
        m = blend({c + 0.2f * W, B - 0.3f * hf, 45.0f}, {c + 0.15f * W, yh - 1.1f * hf, -72.0f}, g);
    Pose& o = hs.o;
    if (shield)
        o = blend({c - 0.28f * W, B - 0.147f * W, -45.0f}, {c - 0.12f * W, yh - hf, 72.0f}, g);
    else if (off_weapon)
        o = blend({c - 0.2f * W, B - 0.3f * hf, -45.0f}, {c - 0.15f * W, yh - 1.1f * hf, 72.0f}, g);
    else
        o = blend({c - 0.28f * W, yh, 0.0f}, {c - 0.6f * hf, yh - hf, 0.0f}, g);
    return hs;
}

// A row more between the attack hint's outline and the hands, for the rounding of a turned picture.
constexpr int HINT_HANDS_GAP = 1;

// The highest row the hands take at rest: a prompt standing above it crosses neither.
int hands_rest_top(const View& v) {
    const Hands hs = hand_poses(v, 0.0f);
    int top = v.B;
    const Item& main = player.main_hand;
    const Item& off = player.off_hand;
    const int bare = std::max(8, hs.h / 2);  // an empty hand's block
    if (hs.main_shown)
        top = std::min(top, sprite_rotated_top(item_sprite((int32_t)main.id), (int)hs.m.y,
                                               item_draw_scale(v, main), hs.m.angle, 0.5f, pivot_v_of(main.id)));
    else
        top = std::min(top, (int)hs.m.y - bare);
    if (hs.shield || hs.off_weapon)
        top = std::min(top, sprite_rotated_top(item_sprite((int32_t)off.id), (int)hs.o.y,
                                               item_draw_scale(v, off), hs.o.angle, 0.5f,
                                               hs.shield ? 0.5f : pivot_v_of(off.id)));
    else if (!hs.two)
        top = std::min(top, (int)hs.o.y - bare);
    return top;
}

void draw_hands(const View& v, const Shift& sh) {
    const Reflex& r = reflex;
    const float W = (float)v.W, c = (float)v.c;
    Hands hs = hand_poses(v, r.guard_up ? 1.0f : 0.0f);
    const int h = hs.h;
    const float hf = (float)h;
    const Item& main = player.main_hand;
    const Item& off = player.off_hand;
    const bool main_shown = hs.main_shown, two = hs.two, shield = hs.shield, off_weapon = hs.off_weapon;
    Pose& m = hs.m;
    Pose& o = hs.o;

    // The moves on top of the poses.
    const int32_t jab_dt = r.clock - r.jab_started_at, jab_len = std::max(r.jab_ms, 120);
    if (within(jab_dt, jab_len)) {
        const float k = std::sin(PI * (float)jab_dt / (float)jab_len);
        m.x += (c - m.x) * 0.35f * k;
        m.y -= 0.45f * hf * k;
        m.angle += (-10.0f - m.angle) * k;
    }
    float charge = 0.0f;
    if (r.charging) {
        charge = std::min((float)(r.clock - r.charge_start) / (float)std::max(r.heavy_ms, 1), 1.0f);
        const float e = 1.0f - (1.0f - charge) * (1.0f - charge);
        m.x += 0.06f * W * e;
        m.y += 0.2f * hf * e;
        m.angle += 25.0f * e;
    }
    const int32_t swing_dt = r.clock - r.heavy_started_at;
    if (!r.charging && within(swing_dt, HEAVY_SWING_MS)) {
        const float u = (float)swing_dt / (float)HEAVY_SWING_MS, e = u * u * (3.0f - 2.0f * u);
        m.angle = 70.0f - 170.0f * e;
        m.x = c + 0.18f * W - 0.4f * W * e;
        m.y -= 0.9f * hf * std::sin(PI * u);
    }
    const int32_t parry_dt = r.clock - r.parry_at;
    Pose& parrier = shield || off_weapon ? o : m;
    if (within(parry_dt, PARRY_KICK_MS)) {
        const float k = std::sin(PI * (float)parry_dt / (float)PARRY_KICK_MS);
        parrier.x += (parrier.x < c ? -1.0f : 1.0f) * 0.06f * W * k;
        parrier.angle += (parrier.x < c ? -30.0f : 30.0f) * k;
    }
    const int32_t block_dt = r.clock - r.last_impact_at;
    const bool blocked = r.guard_up && within(block_dt, BLOCK_PUSH_MS) && !within(parry_dt, PARRY_FLASH_MS);
    if (blocked) {
        const float k = 1.0f - (float)block_dt / (float)BLOCK_PUSH_MS;
        parrier.y += 4.0f * k;
    }
    // A dodge carries the hands with the body, a little behind the slide.
    m.x += 0.15f * (float)sh.floor_s;
    o.x += 0.15f * (float)sh.floor_s;
    if (sh.floor_s) {
        m.y += 3.0f;
        o.y += 3.0f;
    }

    sprite_set_clip(v.L, v.T, v.R, v.B);
    sprite_set_checker_dim(1);
    if (shield || off_weapon)
        draw_item_in_hand(v, off, o, shield ? 0.5f : pivot_v_of(off.id), false);
    else if (!two)
        draw_bare_hand(v, o, h);
    const bool bright = r.full_heavy && r.charging && ((frame_counter / 4) & 1);
    if (main_shown)
        draw_item_in_hand(v, main, m, pivot_v_of(main.id), bright);
    else
        draw_bare_hand(v, m, h);
    sprite_set_checker_dim(0);
    sprite_set_clip(0, 0, -1, -1);

    int tx = 0, ty = 0;
    const Image* mimg = main_shown ? item_sprite((int32_t)main.id) : nullptr;
    tip_of(mimg, m, main_shown ? weapon_scale(v, main.id) : 1.0f, pivot_v_of(main.id), &tx, &ty);
    tx = std::clamp(tx, v.L + 14, v.R - 14);
    ty = std::clamp(ty, v.T + 28, v.B - 8);
    flash_circle(v, tx, ty, r.clock - r.jab_impact_at, JAB_FLASH_MS);
    flash_circle(v, tx, ty, r.clock - r.heavy_impact_at, HEAVY_FLASH_MS);
    const int px = std::clamp((int)parrier.x, v.L + 14, v.R - 14), py = std::clamp((int)parrier.y - h / 2, v.T + 28, v.B - 8);
    if (blocked) flash_circle(v, px, py, block_dt, BLOCK_FLASH_MS);
    flash_circle(v, px, py, parry_dt, PARRY_FLASH_MS);

    // Trails across the monster for a heavy blow and a parry.
    const int ax = fight_anchor.x, ay = fight_anchor.y;
    auto trail = [&](int x0, int y0, int x1, int y1, int32_t dt, int life_ticks, int thick) {
        if (dt < 0) return;
        draw_attack_trail(std::clamp(x0, v.L + 2, v.R - 2), std::clamp(y0, v.T + 2, v.B - 2),
                          std::clamp(x1, v.L + 2, v.R - 2), std::clamp(y1, v.T + 2, v.B - 2), dt / 16, life_ticks,
                          thick);
    };
    trail(ax + v.W * 3 / 10, ay - 14, ax - v.W * 3 / 10, ay + 12, r.clock - r.heavy_impact_at, 18, 3);
    trail(ax - v.W / 4, ay + 10, ax + v.W / 4, ay - 12, r.clock - r.parry_at, 14, 2);

    if (r.charging && r.clock - r.charge_start > CHARGE_GAUGE_AFTER_MS) {
        const int gw = 26, gx = std::clamp(tx - gw / 2, v.L + 2, v.R - gw - 1), gy = std::clamp(ty - 12, v.T + 26, v.B - 8);
        vfill(v, gx - 1, gy - 1, gw + 2, 8, 0);
        vrect(v, gx, gy, gw, 6, r.full_heavy ? 3 : 2);
        vfill(v, gx + 1, gy + 1, (int)((float)(gw - 2) * charge), 4, r.full_heavy ? 3 : 2);
    }
    if (drill_allows_action(2)) fxfield_draw(FX_SLOT_COMBO, v.L, v.T + 19);
}

// ---- HUD rows ----

void draw_top_bar(const View& v) {
    screen_fill_rect(v.L, v.T, v.W, 22, 0);
    screen_rect(v.L, v.T, v.W, 22, 2);
    const int type = (reflex.type >= 0 && reflex.type < M_COUNT) ? reflex.type : 0;
    const char* name = MONSTER_TYPES[type].name ? MONSTER_TYPES[type].name : "";
    text_draw(v.L + 2, v.T + 3, name, combat.elite ? 3 : 2);
    if (combat.elite) draw_crown_mark(v.L + 2 + text_width(name) + 5, v.T + 3);
    screen_rect(v.L + 2, v.T + 12, v.W - 4, 7, 2);
    const bool guard_shown = reflex.monster_state == MS_GUARD && reflex.clock - reflex.state_start >= GUARD_RAISE_MS;
    if (!guard_shown) {
        const int fill = fight_bar_fill(reflex.hp, combat.max_hp, v.W - 6);
        if (fill > 0) screen_fill_rect(v.L + 3, v.T + 13, fill, 5, combat.elite ? 3 : 2);
    } else {
        const int n = std::max(1, reflex.stars_needed);
        const int sw = (v.W - 5 - n) / n;
        const int strong = n - std::clamp(reflex.stars, 0, n);
        const bool changed = within(reflex.clock - reflex.star_at, STAR_PULSE_MS);
        for (int i = 0; i < n; i++) {
            const int x = v.L + 3 + i * (sw + 1);
            if (i < strong)
                screen_fill_rect(x, v.T + 13, sw, 5, 3);
            else if (i == strong && changed)
                screen_fill_rect(x, v.T + 13, sw, 5, 2);
            else
                screen_rect(x, v.T + 13, sw, 5, 1);
        }
    }
    sharp_rect_add(v.L, v.T, v.W, 25);
}

void draw_gem(int x, int y, int colour) {
    screen_fill_rect(x - 2, y, 5, 4, colour);
    screen_fill_rect(x - 3, y + 1, 7, 3, colour);
    screen_fill_rect(x - 2, y + 4, 5, 2, colour);
    screen_pixel(x - 1, y + 1, 0);
    screen_pixel(x + 1, y + 2, 0);
    screen_pixel(x, y + 4, 0);
}

void draw_flow_gems(const View& v) {
    if (!drill_allows_action(3)) return;
    for (int i = 0; i < GEM_COUNT; i++) draw_gem(v.R - 46 + 9 * i, v.T + 3, flow > GEM_LIT_ABOVE[i] ? 3 : 1);
}

void draw_souls_line(const View& v) {
    char text[24];
    if (!souls_line_text(text, sizeof text)) return;
    const int y = v.T + SOULS_ROW_DY;
    text_outlined(v.L + 3, y, text, flow_level() > 0 ? 3 : 1);
    sharp_rect_add(v.L, y - 1, v.W, 9);
}

void draw_combo_line(const View& v) {
    const int y = v.T + 26;
    if (!drill_allows_action(2)) {
        const char* t = drill_counter_text();
        if (t && *t) {
            const int w = text_width(t);
            const int bx = v.c - (w + 8) / 2;
            screen_fill_rect(bx, v.T + 24, w + 8, 13, 0);
            screen_rect(bx, v.T + 24, w + 8, 13, 2);
            text_draw(bx + 4, v.T + 27, t, 3);
        }
    } else {
        const int pct = combo_tier_percent();
        char flow[24];
        if (pct <= 100)
            std::snprintf(flow, sizeof flow, "FLOW");
        else
            fight_flow_text(pct, flow, sizeof flow);
        const int fw = text_width(flow);
        screen_fill_rect(v.L + 2, y - 2, fw + 3, 11, 0);
        text_draw(v.L + 4, y, flow, pct <= 100 ? 1 : 2);
        char count[16];
        std::snprintf(count, sizeof count, "%d", (int)combo);
        const int cw = text_width(count), cx = v.R - 3 - cw + 1;
        screen_fill_rect(cx - 2, y - 2, cw + 3, 11, 0);
        text_draw(cx, y, count, pct >= COMBO_TIER_SHINE ? 3 : (combo >= 1 ? 2 : 1));
    }
    sharp_rect_add(v.L, y - 3, v.W, 13);
    sharp_rect_add(v.L, v.B - 7, v.W, 8);
}

// A chevron 4 wide and 7 high pointing right.
void draw_pip(const View& v, int x, int y, int colour) {
    for (int k = 0; k < 4; k++) {
        vp(v, x + k, y + k, colour);
        vp(v, x + k, y + 6 - k, colour);
    }
}

void draw_jab_pips(const View& v, const Figure& f) {
    if (!drill_allows_action(1)) return;
    const int32_t dt = reflex.clock - reflex.last_jab_at;
    const bool open = dt >= 0 && dt <= FT_CHAIN_MS + 1200;
    const int lit = open ? std::min(reflex.jab_chain, 2) : 0;
    for (int i = 0; i < 3; i++) {
        int colour = i < lit ? 3 : 1;
        if (within(dt, JAB_BLINK_MS)) colour = ((dt / 70) & 1) ? 1 : 3;
        draw_pip(v, fight_anchor.x - 9 + 9 * i, f.feet + 13, colour);
    }
}

void draw_prompt(const View& v, const Figure& f) {
    if (!(settings.prompts || training_active())) return;
    if (reflex.monster_state == MS_DEAD || reflex.hp <= 0) return;
    const char* word = nullptr;
    int counter = 0, x = fight_anchor.x, y = 0;
    const bool attacking = attack_in_flight();
    if (attacking && reflex.current.kind == ATK_SIDE) {
        word = "DODGE";
        counter = duel_counters[DC_DODGES];
        int base_r = 0;
        x = chevron_x(v, telegraph_radius(v, f, &base_r));
        y = fight_anchor.y + 10;
    } else if (attacking) {
        word = "PARRY";
        counter = duel_counters[DC_PARRIES];
        y = fight_anchor.y + 14;
    } else if (reflex.monster_state == MS_GUARD) {
        word = "HOLD A";
        counter = duel_counters[DC_GUARD_BREAKS];
        y = f.feet + 4;
    } else if (reflex.monster_state == MS_STAGGER) {
        word = "HIT!";
        counter = duel_counters[DC_STAGGER_HITS];
        y = fight_anchor.y + 14;
    }
    const char* cue = drill_cue_text();
    char expanded[128];
    if (cue && *cue) {
        text_expand_glyphs(cue, expanded, sizeof expanded);
        word = expanded;
        if (!y) y = fight_anchor.y + 14;
    }
    if (!word) return;
    if (!training_active() && counter >= assist_level()) return;
    if (attacking && windup_progress() < 0.5f) return;
    y = std::clamp(y, v.T + 26, v.B - 18);
    const int left = text_left_inside(v, x, word);
    if (drill_pause_for_cue()) {
        const int w = text_width(word);
        vfill(v, left - 4, y - 4, w + 8, 15, 0);
        vrect(v, left - 4, y - 4, w + 8, 15, 3);
        vrect(v, left - 2, y - 2, w + 4, 11, 3);
        text_draw(left, y, word, 3);
        return;
    }
    text_outlined(left, y, word, (!attacking || window_open()) ? 3 : 2);
}

void draw_attack_hint(const View& v, const Figure& f) {
    if (!flow_hint_due()) return;
    // A hit's number or a banner rises through the rows above the hands: the hint waits for it.
    if (fx_state.popup_timer > 0) return;
    char text[128];
    text_expand_glyphs("{A}: ATTACK", text, sizeof text);
    // Above the player's sword and shield (its dark outline a row clear of them), over the monster
    // if need be, as the other prompts stand.
    const int y = std::min({f.feet + 14, v.B - 20, hands_rest_top(v) - FONT_CELL_H - HINT_HANDS_GAP});
    text_outlined(text_left_inside(v, v.c, text), y, text, ((frame_counter / 20) & 1) ? 3 : 2);
}

int popup_text_width(int kind, int value) {
    char text[24];
    if (kind == 4)
        std::snprintf(text, sizeof text, "BLOCKED");
    else
        std::snprintf(text, sizeof text, "-%d", value);
    return text_width(text);
}

void draw_popups(const View& v) {
    if (combat.hit_popup_timer > 0) {
        const int t = combat.hit_popup_timer;
        const int y = std::max(fight_anchor.y - (POPUP_RISE_TICKS - t) / 5, v.T + 26);
        draw_damage_popup(v.L + 6, y, combat.hit_popup_heavy ? 1 : 0, combat.hit_popup_value, t, v.W / 2, false);
    }
    if (combat.hurt_popup_timer > 0) {
        const int t = combat.hurt_popup_timer;
        const int kind = combat.hurt_popup_kind == HURT_KIND_BLOCK ? 4 : 0;
        const int w = popup_text_width(kind, combat.hurt_popup_value);
        const int y = v.T + 40 + (POPUP_RISE_TICKS - t) / 5;
        draw_damage_popup(v.R - 5 - w, std::min(y, v.B - 20), kind, combat.hurt_popup_value, t, v.W / 2, true);
    }
}

// Everything a layer may change, put back before the view returns.
struct DrawState {
    int32_t ox, oy, colour, dither;
    const uint8_t* mask;
    const int16_t* clip;
    SpriteClip sprite;
    uint8_t reuse;
};

DrawState draw_state_save() {
    return {draw_origin_x, draw_origin_y, draw_color_override, draw_dither_level, draw_column_mask,
            draw_column_clip, sprite_clip, sprite_scaled_reuse};
}

void draw_state_restore(const DrawState& s) {
    screen_set_offset(s.ox, s.oy, s.colour);
    screen_set_dither(s.dither);
    screen_set_column_mask(s.mask);
    screen_set_column_clip(s.clip);
    sprite_clip = s.sprite;
    sprite_scaled_reuse = s.reuse;
}

}  // namespace

void fight_flow_text(int percent, char* out, int size) {
    if (!out || size <= 0) return;
    const int p = std::max(percent, 0);
    char frac[8];
    std::snprintf(frac, sizeof frac, "%02d", p % 100);
    if (frac[1] == '0') frac[1] = 0;
    if (frac[0] == '0' && frac[1] == 0) frac[0] = 0;
    if (frac[0])
        std::snprintf(out, (size_t)size, "FLOW x%d.%s", p / 100, frac);
    else
        std::snprintf(out, (size_t)size, "FLOW x%d", p / 100);
}

void fight_souls_text(int tenths, char* out, int size) {
    if (!out || size <= 0) return;
    const int m = std::max(tenths, 0);
    std::snprintf(out, (size_t)size, "SOULS x%d.%d", m / 10, m % 10);
}

int fight_souls_tenths(int32_t souls, int32_t threat_total) {
    const int64_t s = souls, rest = s - threat_total / 10;
    if (rest < 1) return 10;
    return (int)((10 * s * 2 + rest) / (2 * rest));
}

int fight_bar_fill(int32_t hp, int32_t max_hp, int width) {
    const int64_t m = std::max(max_hp, 1), h = std::clamp<int64_t>(hp, 0, std::max(max_hp, 0));
    return (int)((int64_t)std::max(width, 0) * h / m);
}

int fight_popup_lines(const char* text, char line1[32], char line2[32]) {
    line1[0] = line2[0] = 0;
    if (!text) return 1;
    const char* nl = std::strchr(text, '\n');
    const size_t n1 = std::min<size_t>(nl ? (size_t)(nl - text) : std::strlen(text), 31);
    std::memcpy(line1, text, n1);
    line1[n1] = 0;
    if (!nl) return 1;
    const char* rest = nl + 1;
    const char* nl2 = std::strchr(rest, '\n');
    const size_t n2 = std::min<size_t>(nl2 ? (size_t)(nl2 - rest) : std::strlen(rest), 31);
    std::memcpy(line2, rest, n2);
    line2[n2] = 0;
    return 2;
}

void draw_fight_reflex() {
    const DrawState saved = draw_state_save();
    const View v = view_now();
    const Shift sh = scene_shift(v);
    draw_floor(v, sh);
    Figure f = place_monster(v, sh);
    fight_anchor = {f.x, f.feet - f.fh / 2};

    screen_set_dither(fade_level_of_monster());
    draw_shadow(v, f);
    if (screen_view_width() > 0) draw_figure(f);
    screen_set_dither(saved.dither);
    particles_draw_sparks(fight_anchor.x, fight_anchor.y);

    draw_telegraph(v, f);
    draw_timing_bar(v, f);
    draw_guard(v, f);
    draw_hit_burst(v, f);
    draw_stagger(v, f);
    draw_threat_gauge(v, f);
    draw_hands(v, sh);
    draw_top_bar(v);
    draw_flow_gems(v);
    draw_souls_line(v);
    draw_combo_line(v);
    draw_jab_pips(v, f);
    draw_low_hp_strip();
    draw_prompt(v, f);
    draw_attack_hint(v, f);
    draw_popups(v);
    draw_state_restore(saved);
}

void draw_low_hp_strip() {
    const View v = view_now();
    screen_fill_rect(v.L + 1, v.B - 6, v.W - 2, 7, 0);
    const bool low = 3 * (int64_t)player.hp < (int64_t)player.max_hp;
    screen_rect(v.L + 2, v.B - 5, v.W - 4, 5, low && ((frame_counter / 10) & 1) ? 3 : 2);
    const int fill = fight_bar_fill(player.hp, player.max_hp, v.W - 6);
    if (fill > 0) screen_fill_rect(v.L + 3, v.B - 4, fill, 3, 3);
}
