// Horizontal runs and filled boxes of one colour through the draw pipeline, with a direct path
// for the common case (no column mask, no column clip, no dither) that writes the visible part
// of the run at once. The result is pixel for pixel that of screen_pixel.
// Used by the blits, the text box and the block icons; the shape primitives have their own.
#pragma once
#include <cstring>

#include "render/screen.h"

inline void pixel_run(int x, int y, int n, int color) {
    if (n < 1) return;
    if (draw_column_mask || draw_column_clip || draw_dither_level != 0) {
        for (int i = 0; i < n; i++) screen_pixel(x + i, y, color);
        return;
    }
    if (draw_color_override >= 0) color = draw_color_override;
    long long fy = (long long)y + draw_origin_y;
    if (fy < 0 || fy >= screen_layout.height) return;
    long long x0 = (long long)x + draw_origin_x, x1 = x0 + n;  // x1 exclusive
    if (x0 < 0) x0 = 0;
    if (x1 > screen_layout.width) x1 = screen_layout.width;
    if (x0 >= x1) return;
    std::memset(&framebuffer[fy * screen_layout.width + x0], color, (size_t)(x1 - x0));
}

inline void pixel_fill(int x, int y, int w, int h, int color) {
    if (w < 1 || h < 1) return;
    for (int r = 0; r < h; r++) pixel_run(x, y + r, w, color);
}
