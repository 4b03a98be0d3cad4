// Drawing the effect fields: over a rectangle, stretched over screen columns, or along three sides
// of a rectangle. The fields themselves are stepped in dungeon/fxfield.cpp.
#include "render/fxfield.h"

#include <algorithm>
#include <cmath>

#include "render/screen.h"

void fxfield_draw(int slot, int x, int y) {
    if (!fxfield_slot_ok(slot)) return;
    const FxField& f = fxfields[slot];
    for (int k = 0; k < f.layer_count; k++) {
        const FxLayer& L = f.layers[k];
        const int base = y + f.height - f.height * L.lift / 100 - f.rows;
        for (int c = 0; c < f.width; c++) {
            const int sx = x + c;
            for (int r = 0; r < f.rows; r++) {
                const int sy = base + r - L.offsets[c];
                if (sy < y || sy >= y + f.height) continue;
                const int col = fxfield_cell_colour(L.grid[(size_t)r * f.stride + c], L.gain, sy, sx);
                if (!col) continue;
                if (L.lift) {
                    const int d = f.rows - 1 - r;
                    if (d < 8 && BAYER4[sy & 3][sx & 3] >= (d + 1) * 16 / 9) continue;
                }
                screen_pixel(sx, sy, col);
            }
        }
    }
}

void fxfield_draw_columns(int slot, int centre_x, int bottom_y, float scale) {
    if (!fxfield_slot_ok(slot) || scale <= 0.05f) return;
    const FxField& f = fxfields[slot];
    const int w = (int)((float)f.width * scale), h = (int)((float)f.height * scale);
    const int left = centre_x - w / 2;
    for (int i = 0; i < w; i++) {
        const int col = std::min(f.width - 1, (int)((float)i / scale));
        for (int j = 0; j < h; j++) {
            const int row = f.rows - 1 - (int)((float)j / scale);
            const int sx = left + i, sy = bottom_y - 1 - j;
            int best = 0;
            for (int k = 0; k < f.layer_count; k++)
                best = std::max(best, fxfield_cell_colour(fxfield_cell_at(f, f.layers[k], row, col), f.layers[k].gain, sy, sx));
            if (best) screen_pixel(sx, sy, best);
        }
    }
}

int fxfield_draw_rect(int x, int y, int w, int n) {
    fxfield_slot_ok(1);  // sets the fields up on first use
    const FxField& f = fxfields[1];
    const int L = std::min({w + 2 * n, f.width, 640});
    int depth = 0;
    for (int j = 0; j < L; j++) {
        for (int kk = 0; kk < f.height; kk++) {
            const int row = f.rows - 1 - kk;
            int sx, sy;
            if (j < n) {
                sx = x + kk;
                sy = y + n - 1 - j;
            } else if (j < w + n) {
                sx = x + j - n;
                sy = y + n - 1 - kk;
            } else {
                sx = x + w - 1 - kk;
                sy = y + 2 * n + w - 1 - j;
            }
            int best = 0;
            for (int k = 0; k < f.layer_count; k++)
                best = std::max(best, fxfield_cell_colour(fxfield_cell_at(f, f.layers[k], row, j), f.layers[k].gain, sy, sx));
            if (best) {
                screen_pixel(sx, sy, best);
                depth = std::max(depth, kk + 1);
            }
        }
    }
    return depth;
}
