// Shape primitives (spans, lines, rectangles, circles) and the sharp rectangles that the
// composition shows without LCD ghosting. Every pixel goes through screen_pixel's pipeline.
#pragma once
#include <cstdint>

constexpr int SHARP_RECT_MAX = 8;

struct SharpRects {
    int32_t rects[SHARP_RECT_MAX][4];  // x0, y0, x1, y1, inclusive, framebuffer coordinates
    int32_t count;
};
extern SharpRects sharp_rects;

void screen_hline(int x, int y, int n, int color);
void screen_vline(int x, int y, int n, int color);
void screen_line(int x0, int y0, int x1, int y1, int color);
void screen_rect(int x, int y, int w, int h, int color);
void screen_fill_rect(int x, int y, int w, int h, int color);
void screen_circle(int cx, int cy, int r, int color);
void screen_fill_circle(int cx, int cy, int r, int color);

void sharp_rects_clear();
// Ignored when w or h is not positive or the list is full.
void sharp_rect_add(int x, int y, int w, int h);
int sharp_rect_test(int x, int y);
