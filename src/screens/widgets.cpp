// Word wrapping, the button chip, the hold ring and the hit regions; drawn by the tips, the bag,
// the fight and level-up screens, read back by the training spotlight.
#include "screens/widgets.h"

#include <cmath>
#include <cstring>

#include "render/draw.h"
#include "render/font.h"
#include "render/screen.h"
#include "services/button_names.h"
#include "world/buttons.h"
#include "world/game_state.h"

HitRegions hit_regions = {};

namespace {
constexpr int LINE_STEP = 9;
constexpr int TIP_TEXT_BYTES = 512;

// Breaks the text into lines no wider than width and hands each to `emit` as the span of the text
// it covers, its length with blanks collapsed to one, and its y. Lines are spans of the text
// itself, so no line is ever cut short by a buffer; a word wider than the width stays alone.
template <class Emit>
int wrap_lines(int y, int width, const char* text, Emit emit) {
    const char* start = nullptr;  // the line's first word; null while the line is empty
    const char* stop = nullptr;   // end of the line's last word
    int chars = 0;
    int yy = y;
    const char* p = text;
    while (*p == ' ') p++;
    while (*p) {
        const char* end = std::strchr(p, ' ');
        if (!end) end = p + std::strlen(p);
        const int word = (int)(end - p);
        const int with = start ? chars + 1 + word : word;
        if (start && FONT_CELL_W * with - 1 > width) {
            emit(start, stop, chars, yy);
            yy += LINE_STEP;
            start = p;
            chars = word;
        } else {
            if (!start) start = p;
            chars = with;
        }
        stop = end;
        p = end;
        while (*p == ' ') p++;
    }
    if (start) {
        emit(start, stop, chars, yy);
        yy += LINE_STEP;
    }
    return yy;
}

// Draws the span with its blanks collapsed, at most `limit` characters.
void draw_span(int x, int y, const char* start, const char* stop, int limit, int colour) {
    char one[2] = {0, 0};
    int n = 0;
    for (const char* p = start; p < stop && n < limit; p++) {
        if (*p == ' ' && p > start && p[-1] == ' ') continue;
        one[0] = *p;
        if (*p != ' ') text_draw(x + FONT_CELL_W * n, y, one, colour);
        n++;
    }
}

// The record's text, bounded by its field even when it is not terminated.
int record_length(const void* record) { return (int)strnlen((const char*)record, TIP_TEXT_BYTES); }

constexpr int CHIP_PERIOD = 60, CHIP_PRESS_FIRST = 44, CHIP_PRESS_LAST = 53;
constexpr int RING_DOTS = 48;
constexpr float RING_STEP = 0.1308997f, RING_TOP = -1.5707963f;
}  // namespace

int draw_wrapped_text(int x, int y, int width, const char* text, int reveal, int colour, bool draw) {
    int used = 0;
    const int end = wrap_lines(y, width, text, [&](const char* start, const char* stop, int chars, int yy) {
        if (draw) draw_span(x, yy, start, stop, reveal - used > 0 ? reveal - used : 0, colour);
        used += chars + 1;
    });
    return end - y;
}

int draw_wrapped_lines(int x, int y, int width, const char* text, int colour) {
    return wrap_lines(y, width, text, [&](const char* start, const char* stop, int chars, int yy) {
        draw_span(x, yy, start, stop, chars, colour);
    });
}

int measure_wrapped_record(const void* record, int width) {
    char text[TIP_TEXT_BYTES + 1];
    const int n = record_length(record);
    std::memcpy(text, record, (size_t)n);
    text[n] = 0;
    return draw_wrapped_text(0, 0, width, text, 0, 0, false);
}

int draw_wrapped_record(int x, int y, int width, const void* record, int reveal, int colour) {
    char text[TIP_TEXT_BYTES + 1];
    const int n = record_length(record);
    std::memcpy(text, record, (size_t)n);
    text[n] = 0;
    return draw_wrapped_text(x, y, width, text, reveal, colour, true);
}

void draw_button_chip(int x, int y) {
    const char* name = action_glyph_name(BTN_A);
    const int phase = ((frame_counter % CHIP_PERIOD) + CHIP_PERIOD) % CHIP_PERIOD;
    const bool pressed = phase >= CHIP_PRESS_FIRST && phase <= CHIP_PRESS_LAST;
    const int yy = pressed ? y + 1 : y;
    const int ink = pressed ? 0 : 2;
    if (std::strlen(name) >= 2) {
        const int tw = text_width(name);
        const int left = x - tw - 1;
        screen_fill_rect(left, y - 4, tw + 6, 10, 1);
        screen_fill_rect(left, yy - 5, tw + 6, 10, pressed ? 3 : 1);
        screen_rect(left, yy - 5, tw + 6, 10, 2);
        text_draw(left + 3, yy - 3, name, ink);
    } else {
        screen_fill_circle(x, y + 1, 5, 1);
        screen_fill_circle(x, yy, 5, pressed ? 3 : 1);
        screen_circle(x, yy, 5, 2);
        text_draw(x - 2, yy - 3, name, ink);
    }
}

void draw_hold_ring(float cursor_x, float cursor_y, int32_t hold_ticks) {
    if (hold_ticks <= HOLD_RING_START) return;
    float progress = (float)(hold_ticks - HOLD_RING_START) / (float)(HOLD_PICKUP_TICKS - HOLD_RING_START);
    if (progress > 1.0f) progress = 1.0f;
    const int lit = (int)(progress * RING_DOTS);
    const int cx = (int)cursor_x, cy = (int)cursor_y;
    for (int i = 0; i < RING_DOTS; i++) {
        const float a = (float)i * RING_STEP + RING_TOP;
        const float c = std::cos(a), s = std::sin(a);
        for (int r = 7; r <= 9; r++) screen_pixel(cx + (int)(c * (float)r), cy + (int)(s * (float)r), i < lit ? 3 : 1);
    }
}

void hit_regions_clear() { hit_regions.count = 0; }

void hit_region_add(int32_t kind, int32_t index, int x, int y, int w, int h) {
    if (hit_regions.count >= HIT_REGION_MAX) return;
    hit_regions.list[hit_regions.count++] = HitRegion{kind, index, x, y, w, h};
}

bool hit_region_find(int32_t kind, int32_t index, int* x, int* y, int* w, int* h) {
    for (int i = 0; i < hit_regions.count; i++) {
        const HitRegion& r = hit_regions.list[i];
        if (r.kind != kind || r.index != index) continue;
        *x = r.x;
        *y = r.y;
        *w = r.w;
        *h = r.h;
        return true;
    }
    return false;
}
