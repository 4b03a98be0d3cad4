// Damage popups, the attack trail, the chest icon and the elite crown.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "render/draw.h"
#include "render/font.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "render/big_text.h"

void draw_damage_popup(int x, int y, int kind, int value, int timer, int max_width, bool inverted) {
    char text[24];
    if (kind == 1)
        std::snprintf(text, sizeof text, "-%d!", value);
    else if (kind == 3)
        std::snprintf(text, sizeof text, "MISS");
    else if (kind == 4)
        std::snprintf(text, sizeof text, "BLOCKED");
    else
        std::snprintf(text, sizeof text, "-%d", value);
    const int chars = (int)std::strlen(text);
    const int s = (kind == 1 && 12 * chars - 2 <= max_width) ? 2 : 1;
    const int w = s * (6 * chars - 1);
    const bool fading = timer < 15;
    int box_colour, text_colour, half_colour;
    if (inverted) {
        box_colour = fading ? 1 : 2;
        text_colour = 0;
        half_colour = 0;
    } else {
        box_colour = 0;
        text_colour = fading ? 1 : (kind == 1 ? 3 : 2);
        half_colour = 2;
    }
    if (kind == 2) {
        const int hw = text_width("HALF");
        const int bw = std::max(w, hw) + 4;
        screen_fill_rect(x - 2, y - 2, bw, 7 * s + 13, box_colour);
        draw_big_text(x, y, text, s, text_colour);
        text_draw(x + (std::max(w, hw) - hw) / 2, y + 7 * s + 2, "HALF", half_colour);
        return;
    }
    screen_fill_rect(x - 2, y - 2, w + 4, 7 * s + 4, box_colour);
    draw_big_text(x, y, text, s, text_colour);
}

void draw_attack_trail(int x0, int y0, int x1, int y1, int age, int life, int k) {
    if (age >= life) return;
    const float dx = (float)(x1 - x0), dy = (float)(y1 - y0);
    const float len = std::sqrt(dx * dx + dy * dy);
    if (len < 1.0f) return;
    const float grown = std::min((float)(age + 20) / 60.0f, 1.0f);
    const int steps = (int)(len * grown);
    const bool late = 2 * age >= life;
    const int core = late ? 1 : std::max(k, 1);
    const bool horizontal = std::fabs(dx) >= std::fabs(dy);
    for (int i = 0; i <= steps; i++) {
        if (late && (i & 1)) continue;
        const int px = (int)std::lround(x0 + dx * (float)i / len);
        const int py = (int)std::lround(y0 + dy * (float)i / len);
        const int lo = -(core / 2);
        for (int j = lo - 1; j <= lo + core; j++) {
            const int c = (j < lo || j >= lo + core) ? 0 : 3;
            if (horizontal)
                screen_pixel(px, py + j, c);
            else
                screen_pixel(px + j, py, c);
        }
    }
}

void draw_chest_icon(int x, int y, int w, bool framed, int bit) {
    const int h = 9 * w / 8;
    const int top = y - 9 * w / 16;
    const int left = x - w / 2;
    if (framed || bit == 1) screen_rect(left - 2, top - 2, w + 4, h + 4, bit | 2);
    screen_fill_rect(left - 1, top - 1, w + 2, h + 2, 0);
    screen_fill_rect(left, top + 2, w, h - 2, 2);
    screen_hline(left, top, w, 2);
    const int band = 9 * w / 24;
    for (int bx : {left + w / 4, left + w / 2, left + 3 * w / 4}) screen_vline(bx, top + 2, band, 1);
    screen_hline(left, top + 2 + band, w, 1);
    screen_fill_rect(x - w / 2 + w / 5, y, w / 2, 9 * w / 48, 1);
}

void draw_crown_mark(int x, int y) {
    for (int dx : {0, 3, 6}) screen_pixel(x + dx, y, 3);
    for (int dx : {0, 1, 3, 5, 6}) screen_pixel(x + dx, y + 1, 3);
    screen_hline(x, y + 2, 7, 3);
    screen_hline(x, y + 3, 7, 3);
}
