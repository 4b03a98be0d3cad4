// The ghosting history of the screen area; updated by the frame composition once per frame.
#include "platform/ghost.h"

#include <cstddef>

#include "platform/palette.h"
#include "render/draw.h"
#include "render/screen.h"

static uint8_t ghost_history[FB_BYTES * 3];  // red, green, blue per framebuffer pixel
static int ghost_width = 0, ghost_height = 0;
static uint32_t ghost_serial = 0;
static bool ghost_serial_valid = false;

int ghost_channel(int old_value, int new_value, int strength) {
    int diff = new_value - old_value;
    if (diff >= -2 && diff <= 2) return new_value;
    return old_value + diff * (256 - strength) / 256;
}

void ghost_update(uint32_t frame_serial) {
    int level = ghosting_current();
    // A second composition of the same frame reuses the history, unless the layout or the level
    // changed since: the history must always match the framebuffer that ghost_color reads it for.
    bool fits = ghost_width == screen_layout.width && ghost_height == screen_layout.height;
    if (ghost_serial_valid && ghost_serial == frame_serial && (level == 0 || fits)) return;
    ghost_serial = frame_serial;
    ghost_serial_valid = true;
    if (level == 0) {
        ghost_width = ghost_height = 0;
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
    for (int y = v.y0; y <= v.y1; y++) {
        for (int x = v.x0; x <= v.x1; x++) {
            const int index = screen_color_index(framebuffer[y * w + x]);
            uint32_t c = per_pixel ? palette_color(index, x, y) : colours[index];
            uint8_t* h = &ghost_history[(y * w + x) * 3];
            int nr = c >> 16 & 0xFF, ng = c >> 8 & 0xFF, nb = c & 0xFF;
            // A pixel already showing its colour stays as it is, sharp or not (most of them).
            if (!reset && h[0] == nr && h[1] == ng && h[2] == nb) continue;
            if (reset || sharp_rect_test(x, y)) {
                h[0] = (uint8_t)nr;
                h[1] = (uint8_t)ng;
                h[2] = (uint8_t)nb;
            } else {
                h[0] = (uint8_t)ghost_channel(h[0], nr, strength);
                h[1] = (uint8_t)ghost_channel(h[1], ng, strength);
                h[2] = (uint8_t)ghost_channel(h[2], nb, strength);
            }
        }
    }
}

uint32_t ghost_color(int x, int y) {
    const uint8_t* h = &ghost_history[(y * ghost_width + x) * 3];
    return 0xFF000000u | (uint32_t)h[0] << 16 | (uint32_t)h[1] << 8 | h[2];
}

const uint8_t* ghost_row(int y) { return &ghost_history[(std::size_t)y * ghost_width * 3]; }
