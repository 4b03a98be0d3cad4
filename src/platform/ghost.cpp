// The ghosting history of the screen area; updated by the frame composition once per frame.
#include "platform/ghost.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "platform/palette.h"
#include "render/draw.h"
#include "render/screen.h"

static uint8_t ghost_history[FB_BYTES * 3];  // red, green, blue per framebuffer pixel
static int ghost_width = 0, ghost_height = 0;
static uint32_t ghost_serial = 0;
static bool ghost_serial_valid = false;
// Per framebuffer pixel, the framebuffer value whose palette colour (of `settled_colours`) the
// history holds, or NOT_SETTLED. A pixel whose value is the one here needs no work, and eight
// such pixels in a row are passed over with one compare.
constexpr uint8_t NOT_SETTLED = 0x80;
constexpr uint64_t ANY_NOT_SETTLED = 0x8080808080808080ull;
static uint8_t ghost_settled[FB_BYTES];
static uint32_t settled_colours[SCREEN_COLORS];
static bool settled_valid = false;

int ghost_channel(int old_value, int new_value, int strength) {
    int diff = new_value - old_value;
    if (diff >= -2 && diff <= 2) return new_value;
    return old_value + diff * (256 - strength) / 256;
}

void ghost_update(uint32_t frame_serial) {
    int level = ghosting_current();
    // A second composition of the same frame reuses the history, unless the layout or the level
    // changed since: the history must always match the framebuffer that ghost_row reads it for.
    bool fits = ghost_width == screen_layout.width && ghost_height == screen_layout.height;
    if (ghost_serial_valid && ghost_serial == frame_serial && (level == 0 || fits)) return;
    ghost_serial = frame_serial;
    ghost_serial_valid = true;
    if (level == 0) {
        ghost_width = ghost_height = 0;
        settled_valid = false;
        return;
    }
    int strength = GHOST_STRENGTH[level];
    int w = screen_layout.width;
    bool reset = ghost_width != w || ghost_height != screen_layout.height;
    ghost_width = w;
    ghost_height = screen_layout.height;
    const ScreenRect& v = screen_layout.view;
    // The seven colours of a palette that does not vary across the screen, looked up once.
    const bool per_pixel = palette_current() == PAL_RAINBOW;
    uint32_t colours[SCREEN_COLORS];
    for (int i = 0; i < SCREEN_COLORS; i++) colours[i] = per_pixel ? 0 : palette_color(i, 0, 0);
    // The settled values stand while the colours they name do; the rainbow varies per pixel.
    if (reset || per_pixel || !settled_valid || std::memcmp(colours, settled_colours, sizeof colours) != 0) {
        std::memset(ghost_settled, NOT_SETTLED, sizeof ghost_settled);
        std::memcpy(settled_colours, colours, sizeof colours);
        settled_valid = !per_pixel;
    }
    for (int y = v.y0; y <= v.y1; y++) {
        const uint8_t* src = &framebuffer[y * w];
        uint8_t* settled = &ghost_settled[y * w];
        // Only a row that a sharp rectangle crosses has pixels to test against them.
        bool row_sharp = false;
        for (int i = 0; i < sharp_rects.count; i++)
            if (sharp_rects.rects[i][1] <= y && y <= sharp_rects.rects[i][3]) row_sharp = true;
        for (int x = v.x0; x <= v.x1;) {
            if (settled_valid && x + 8 <= v.x1 + 1) {
                uint64_t now, was;
                std::memcpy(&now, src + x, 8);
                std::memcpy(&was, settled + x, 8);
                if (now == was && !(now & ANY_NOT_SETTLED)) {
                    x += 8;
                    continue;
                }
            }
            const int end = std::min(x + 8, v.x1 + 1);
            for (; x < end; x++) {
                if (src[x] == settled[x] && src[x] != NOT_SETTLED) continue;
                const int index = screen_color_index(src[x]);
                uint32_t c = per_pixel ? palette_color(index, x, y) : colours[index];
                uint8_t* h = &ghost_history[(y * w + x) * 3];
                int nr = c >> 16 & 0xFF, ng = c >> 8 & 0xFF, nb = c & 0xFF;
                // A pixel already showing its colour stays as it is, sharp or not (most of them).
                if (reset || h[0] != nr || h[1] != ng || h[2] != nb) {
                    if (reset || (row_sharp && sharp_rect_test(x, y))) {
                        h[0] = (uint8_t)nr;
                        h[1] = (uint8_t)ng;
                        h[2] = (uint8_t)nb;
                    } else {
                        h[0] = (uint8_t)ghost_channel(h[0], nr, strength);
                        h[1] = (uint8_t)ghost_channel(h[1], ng, strength);
                        h[2] = (uint8_t)ghost_channel(h[2], nb, strength);
                    }
                }
                if (settled_valid)
                    settled[x] = h[0] == nr && h[1] == ng && h[2] == nb && src[x] < NOT_SETTLED ? src[x] : NOT_SETTLED;
            }
        }
    }
}

const uint8_t* ghost_row(int y) { return &ghost_history[(std::size_t)y * ghost_width * 3]; }

const uint8_t* ghost_settled_row(int y) {
    return settled_valid ? &ghost_settled[(std::size_t)y * ghost_width] : nullptr;
}
