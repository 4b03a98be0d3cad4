// Shape primitives and the sharp-rectangle list; used by every screen, the HUD, the view and the
// effects, and (sharp rectangles) by the composition's ghosting.
#include "render/draw.h"

#include <cstring>

#include "render/screen.h"
#include "render/row_spans.h"
#include "render/text_runs.h"

SharpRects sharp_rects;

// Spans are the bulk of all drawing (fills, discs, text backgrounds): when no mask, clip or
// dither is set the pipeline reduces to a clipped memset, which gives the same bytes. The shapes
// draw their spans here, so only a line drawn on its own is a rule in the text record.
static void span(int x, int y, int n, int color) {
    if (n < 1) return;
    if (draw_column_mask || draw_column_clip || draw_dither_level != 0) {
        // screen_pixel's tests, with what is fixed along the row worked out once. Pixels beyond
        // the framebuffer would be dropped by the bounds test anyway.
        if (draw_color_override >= 0) color = draw_color_override;
        const int64_t fy = (int64_t)y + draw_origin_y;
        if (fy < 0 || fy >= screen_layout.height) return;
        int64_t first = -((int64_t)x + draw_origin_x);
        int64_t last = (int64_t)screen_layout.width - ((int64_t)x + draw_origin_x);
        const uint8_t* mask = draw_column_mask;
        const int16_t* clip = draw_column_clip;
        const int32_t dither = draw_dither_level;
        const uint8_t* bayer = BAYER4[fy & 3];
        uint8_t* row = &framebuffer[fy * screen_layout.width];
        for (int64_t i = first > 0 ? first : 0; i < n && i < last; i++) {
            const int64_t fx = (int64_t)x + draw_origin_x + i;
            if (mask && mask[fx]) continue;
            if (clip && fy >= clip[fx]) continue;
            if (dither != 0 && bayer[fx & 3] < dither) continue;
            row[fx] = (uint8_t)color;
        }
        return;
    }
    if (draw_color_override >= 0) color = draw_color_override;
    int64_t fy = (int64_t)y + draw_origin_y;
    if (fy < 0 || fy >= screen_layout.height) return;
    int64_t fx0 = (int64_t)x + draw_origin_x;
    int64_t fx1 = fx0 + n - 1;
    if (fx0 < 0) fx0 = 0;
    if (fx1 >= screen_layout.width) fx1 = screen_layout.width - 1;
    if (fx1 < fx0) return;
    std::memset(&framebuffer[fy * screen_layout.width + fx0], (uint8_t)color, (size_t)(fx1 - fx0 + 1));
}

void screen_hline(int x, int y, int n, int color) {
    if (text_runs.on) text_runs_note_rule(x, y, n, 1);
    span(x, y, n, color);
}

static void column(int x, int y, int n, int color) {
    int64_t first = -((int64_t)y + draw_origin_y);
    int64_t last = (int64_t)screen_layout.height - ((int64_t)y + draw_origin_y);
    for (int64_t i = first > 0 ? first : 0; i < n && i < last; i++) screen_pixel(x, y + (int)i, color);
}

void screen_vline(int x, int y, int n, int color) {
    if (text_runs.on) text_runs_note_rule(x, y, 1, n);
    column(x, y, n, color);
}

void screen_line(int x0, int y0, int x1, int y1, int color) {
    int dx = x1 > x0 ? x1 - x0 : x0 - x1;
    int dy = y1 > y0 ? y1 - y0 : y0 - y1;
    int sx = x0 < x1 ? 1 : -1;
    int sy = y0 < y1 ? 1 : -1;
    int err = dx - dy;
    for (;;) {
        screen_pixel(x0, y0, color);
        if (x0 == x1 && y0 == y1) break;
        int e2 = 2 * err;
        if (e2 >= -dy) {
            err -= dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void screen_rect(int x, int y, int w, int h, int color) {
    if (w < 1 || h < 1) return;
    if (text_runs.on) text_runs_note_frame(x, y, w, h);
    row_spans_note(x, y, w, h);
    span(x, y, w, color);
    span(x, y + h - 1, w, color);
    column(x, y, h, color);
    column(x + w - 1, y, h, color);
}

void screen_fill_rect(int x, int y, int w, int h, int color) {
    if (w < 1 || h < 1) return;
    if (text_runs.on) text_runs_note_fill(x, y, w, h);
    for (int j = 0; j < h; j++) span(x, y + j, w, color);
}

// One step of the midpoint circle recurrence shared by the outline and the disc.
static void midpoint_step(int& x, int& y, int& d) {
    if (d <= 0) {
        d += 2 * x + 3;
    } else {
        d += 2 * (x - y) + 5;
        y -= 1;
    }
    x += 1;
}

void screen_circle(int cx, int cy, int r, int color) {
    if (r < 0) return;
    int x = 0, y = r, d = 1 - r;
    while (x <= y) {
        screen_pixel(cx + x, cy + y, color);
        screen_pixel(cx - x, cy + y, color);
        screen_pixel(cx + x, cy - y, color);
        screen_pixel(cx - x, cy - y, color);
        screen_pixel(cx + y, cy + x, color);
        screen_pixel(cx - y, cy + x, color);
        screen_pixel(cx + y, cy - x, color);
        screen_pixel(cx - y, cy - x, color);
        midpoint_step(x, y, d);
    }
}

void screen_fill_circle(int cx, int cy, int r, int color) {
    if (r < 0) return;
    // The square within the disc is what it surely hides.
    const int k = r * 7 / 10;
    if (text_runs.on) text_runs_note_fill(cx - k, cy - k, 2 * k + 1, 2 * k + 1);
    int x = 0, y = r, d = 1 - r;
    while (x <= y) {
        span(cx - y, cy + x, 2 * y + 1, color);
        span(cx - y, cy - x, 2 * y + 1, color);
        span(cx - x, cy + y, 2 * x + 1, color);
        span(cx - x, cy - y, 2 * x + 1, color);
        midpoint_step(x, y, d);
    }
}

void sharp_rects_clear() { sharp_rects.count = 0; }

void sharp_rect_add(int x, int y, int w, int h) {
    if (w <= 0 || h <= 0 || sharp_rects.count >= SHARP_RECT_MAX) return;
    int32_t* r = sharp_rects.rects[sharp_rects.count++];
    r[0] = x;
    r[1] = y;
    r[2] = x + w - 1;
    r[3] = y + h - 1;
}

int sharp_rect_test(int x, int y) {
    for (int i = 0; i < sharp_rects.count; i++) {
        const int32_t* r = sharp_rects.rects[i];
        if (r[0] <= x && x <= r[2] && r[1] <= y && y <= r[3]) return 1;
    }
    return 0;
}
