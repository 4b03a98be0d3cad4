// Reading the framebuffer back in screen tests: a rectangle's pixels, and whether a text stands
// at a place exactly as text_draw puts it there.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "render/draw.h"
#include "render/font.h"
#include "render/screen.h"

inline std::vector<int> fb_grab(int x, int y, int w, int h) {
    std::vector<int> out;
    for (int r = 0; r < h; r++)
        for (int c = 0; c < w; c++) out.push_back(screen_get(x + c, y + r));
    return out;
}

// `margin` more columns to the right of the text are compared as well (they must be dark).
inline bool fb_text_at(int x, int y, const char* text, int colour, int margin = 0) {
    const int w = text_width(text) + margin, h = FONT_CELL_H;
    const std::vector<int> shown = fb_grab(x, y, w, h);
    std::vector<uint8_t> saved(framebuffer, framebuffer + FB_BYTES);
    screen_fill_rect(x, y, w, h, 0);
    text_draw(x, y, text, colour);
    const std::vector<int> expected = fb_grab(x, y, w, h);
    std::memcpy(framebuffer, saved.data(), FB_BYTES);
    return shown == expected;
}
