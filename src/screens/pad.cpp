// The plain on-screen console pad: its trim, D-pad, A and B, SELECT and START drawn in the panels
// beside or below the view, and the pointer hit test over the same geometry.
#include "screens/pad.h"

#include "render/draw.h"
#include "render/font.h"
#include "render/screen.h"
#include "world/buttons.h"

namespace {

constexpr int PAD_BODY = 1, PAD_LINE = 2, PAD_LIT = 3;
constexpr int KEY_MARGIN = 4;          // SELECT and START answer this far outside their keys
constexpr int DPAD_MARGIN = 8;         // the D-pad answers this far past its arms
constexpr int FIGHT_DPAD_MARGIN_X = 12;
constexpr int FIGHT_FACE_MARGIN = 12;  // A and B answer this far past their radius in a fight
constexpr int FACE_REACH_SQ = 401;     // within 20 pixels of A's or B's centre elsewhere

bool in_key(int x, int y, int key_x, const ScreenLayout& l) {
    return x >= key_x - KEY_MARGIN && x < key_x + l.pill_w + KEY_MARGIN && y >= l.pill_y - KEY_MARGIN &&
           y < l.pill_y + l.pill_h + KEY_MARGIN;
}

// The nearer of A and B; A on a tie.
uint8_t nearer_face(int da, int db) { return da > db ? BTN_B : BTN_A; }

void speaker(int x, int y, int dots_top, int dots_bottom, int dot_x) {
    screen_fill_rect(x, y, 14, 6, PAD_BODY);
    screen_pixel(x + 1, y + 2, 0);
    for (int i = 0; i < 5; i++) {
        screen_pixel(dot_x + 3 * i, dots_top, PAD_BODY);
        screen_pixel(dot_x + 3 * i, dots_bottom, PAD_BODY);
    }
}

void trim_landscape(const ScreenLayout& l) {
    for (int p = 0; p < l.panel_count && p < 2; p++) {
        const ScreenRect& r = l.panels[p];
        screen_rect(r.x0 + 4, r.y0 + 5, r.x1 - r.x0 - 7, r.y1 - r.y0 - 9, PAD_BODY);
        screen_rect(r.x0 + 5, r.y0 + 6, r.x1 - r.x0 - 9, r.y1 - r.y0 - 11, PAD_BODY);
        screen_fill_circle(r.x0 + 8, r.y0 + 9, 1, PAD_BODY);
        screen_fill_circle(r.x1 - 8, r.y0 + 9, 1, PAD_BODY);
        screen_fill_circle(r.x0 + 8, r.y1 - 9, 1, PAD_BODY);
        screen_fill_circle(r.x1 - 8, r.y1 - 9, 1, PAD_BODY);
        const int h = (r.x0 + r.x1) / 2;
        speaker(h - 7, r.y0 + 11, r.y0 + 10, r.y0 + 17, h - 6);
        screen_vline(h, r.y0 + 21, 12, PAD_BODY);
        screen_hline(r.x0 + 10, r.y1 - 17, r.x1 - r.x0 - 20, PAD_BODY);
    }
    screen_vline(l.view.x0 - 1, 0, l.height, PAD_LINE);
    screen_vline(l.view.x1 + 1, 0, l.height, PAD_LINE);
}

void trim_portrait(const ScreenLayout& l) {
    const int b = l.panels[0].y0, c = l.panels[0].y1, w = l.width, m = w / 2;
    screen_rect(4, b + 5, w - 8, c - b - 8, PAD_BODY);
    screen_rect(5, b + 6, w - 10, c - b - 10, PAD_BODY);
    speaker(12, b + 9, b + 8, b + 15, 13);
    speaker(w - 26, b + 9, b + 8, b + 15, w - 25);
    // The emblem: a small chevron under two dots.
    screen_pixel(m - 3, b + 8, PAD_BODY);
    screen_pixel(m + 3, b + 8, PAD_BODY);
    screen_pixel(m - 6, b + 10, PAD_BODY);
    for (int i = 0; i <= 2; i++) {
        screen_pixel(m - 3 * i, b + 10 + 2 * i, PAD_BODY);
        screen_pixel(m - 3 * i + 6, b + 10 + 2 * i, PAD_BODY);
    }
    screen_pixel(m + 6, b + 14, PAD_BODY);
    screen_rect(w - 22, c - 18, 14, 5, PAD_BODY);
    screen_vline(w - 20, c - 19, 7, PAD_BODY);
    screen_vline(w - 11, c - 19, 7, PAD_BODY);
    screen_rect(m - 10, c - 10, 5, 5, PAD_BODY);
    screen_rect(m + 5, c - 10, 5, 5, PAD_BODY);
    screen_fill_circle(8, b + 8, 1, PAD_BODY);
    screen_fill_circle(w - 9, b + 8, 1, PAD_BODY);
    screen_fill_circle(8, c - 7, 1, PAD_BODY);
    screen_fill_circle(w - 9, c - 7, 1, PAD_BODY);
    const int reach = l.dpad_arm + 4;
    screen_fill_circle(l.dpad_x - reach, l.dpad_y, 1, PAD_BODY);
    screen_fill_circle(l.dpad_x + reach, l.dpad_y, 1, PAD_BODY);
    screen_fill_circle(l.dpad_x, l.dpad_y - reach, 1, PAD_BODY);
    screen_fill_circle(l.dpad_x, l.dpad_y + reach, 1, PAD_BODY);
    screen_hline(28, b + 16, m - 36, PAD_BODY);
    screen_hline(m + 8, b + 16, m - 36, PAD_BODY);
    screen_vline(w - 18, b + 16, 22, PAD_BODY);
    screen_hline(70, c - 16, 28, PAD_BODY);
    screen_hline(0, b, w, PAD_LINE);
}

void arm(int x, int y, int w, int h, bool lit) {
    screen_fill_rect(x, y, w, h, lit ? PAD_LIT : PAD_BODY);
    screen_rect(x, y, w, h, PAD_LINE);
}

// An arrow head: its tip pixel, then spans of 3 and 5 behind it along (dx, dy).
void arrow(int tx, int ty, int dx, int dy) {
    screen_pixel(tx, ty, PAD_LINE);
    for (int k = 1; k <= 2; k++)
        for (int s = -k; s <= k; s++) screen_pixel(tx + dx * k + dy * s, ty + dy * k + dx * s, PAD_LINE);
}

void dpad(const ScreenLayout& l, uint8_t held) {
    const int cx = l.dpad_x, cy = l.dpad_y, e = l.dpad_arm, d = l.dpad_width, f = d / 2;
    arm(cx - f, cy - f - e, d, e, held & BTN_UP);
    arm(cx - f, cy + f, d, e, held & BTN_DOWN);
    arm(cx - e - f, cy - f, e, d, held & BTN_LEFT);
    arm(cx + f, cy - f, e, d, held & BTN_RIGHT);
    screen_fill_rect(cx - f, cy - f, d, d, PAD_BODY);
    screen_rect(cx - f, cy - f, d, d, PAD_LINE);
    arrow(cx, cy - f - e + 4, 0, 1);
    arrow(cx, cy + f + e - 5, 0, -1);
    arrow(cx - e - f + 4, cy, 1, 0);
    arrow(cx + f + e - 5, cy, -1, 0);
}

void face(int x, int y, int r, const char* letter, bool lit) {
    screen_fill_circle(x, y, r, lit ? PAD_LIT : PAD_BODY);
    screen_circle(x, y, r, PAD_LINE);
    screen_circle(x, y, r - 1, PAD_LINE);
    text_draw(x - 2, y - 3, letter, PAD_LINE);
}

void small_key(const ScreenLayout& l, int x, const char* label, bool lit) {
    const int y = l.pill_y, w = l.pill_w, h = l.pill_h;
    screen_fill_rect(x, y, w, h, lit ? PAD_LIT : PAD_BODY);
    screen_rect(x, y, w, h, PAD_LINE);
    screen_pixel(x, y, 0);
    screen_pixel(x + w - 1, y, 0);
    screen_pixel(x, y + h - 1, 0);
    screen_pixel(x + w - 1, y + h - 1, 0);
    text_draw(x + (w - text_width(label) + 1) / 2, y - 9, label, PAD_LINE);
}

}  // namespace

uint8_t pad_hit_test(int x, int y, PadHitContext context) {
    const ScreenLayout& l = screen_layout;
    if (x < 0 || y < 0 || x >= l.width || y >= l.height) return 0;
    if (context == PAD_HIT_POWER_ON) return BTN_A;
    if (x >= l.view.x0 && x <= l.view.x1 && y >= l.view.y0 && y <= l.view.y1) return 0;
    if (in_key(x, y, l.select_x, l)) return BTN_SELECT;
    if (in_key(x, y, l.start_x, l)) return BTN_START;
    const int r = l.dpad_width / 2 + l.dpad_arm;
    const int dx = x - l.dpad_x, dy = y - l.dpad_y;
    const int da = (x - l.a_x) * (x - l.a_x) + (y - l.a_y) * (y - l.a_y);
    const int db = (x - l.b_x) * (x - l.b_x) + (y - l.b_y) * (y - l.b_y);
    if (context == PAD_HIT_REAL_TIME_FIGHT) {
        if (dx >= -r - FIGHT_DPAD_MARGIN_X && dx < r + FIGHT_DPAD_MARGIN_X && dy >= -r - DPAD_MARGIN &&
            dy < r + DPAD_MARGIN)
            return dx >= 0 ? BTN_RIGHT : BTN_LEFT;
        const int reach = l.button_radius + FIGHT_FACE_MARGIN;
        if (da <= reach * reach || db <= reach * reach) return nearer_face(da, db);
        return 0;
    }
    if (dx >= -r - DPAD_MARGIN && dx < r + DPAD_MARGIN && dy >= -r - DPAD_MARGIN && dy < r + DPAD_MARGIN) {
        const int ax = dx < 0 ? -dx : dx, ay = dy < 0 ? -dy : dy;
        if (ax > ay) return dx >= 0 ? BTN_RIGHT : BTN_LEFT;
        return dy < 0 ? BTN_UP : BTN_DOWN;
    }
    if (da < FACE_REACH_SQ || db < FACE_REACH_SQ) return nearer_face(da, db);
    return 0;
}

void draw_pad(uint8_t held) {
    const ScreenLayout& l = screen_layout;
    if (l.panel_count <= 0) return;  // the square layout has no pad
    if (l.landscape) trim_landscape(l);
    else trim_portrait(l);
    dpad(l, held);
    face(l.a_x, l.a_y, l.button_radius, "A", held & BTN_A);
    face(l.b_x, l.b_y, l.button_radius, "B", held & BTN_B);
    small_key(l, l.select_x, "SEL", held & BTN_SELECT);
    small_key(l, l.start_x, "START", held & BTN_START);
}
