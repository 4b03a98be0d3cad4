// Icon drawing for the HUD, the bag, the camp, the level-up cards and the front-end screens.
#include "render/icons.h"

#include <cctype>
#include <cstring>
#include <utility>

#include "render/blit.h"
#include "render/pictures.h"
#include "render/pixel_run.h"
#include "render/screen.h"

uint8_t icon_quarter_turn = 0;

const char* const PATTERN_GLYPHS[4][5] = {
    {"X...X", ".X.X.", "..X..", ".X.X.", "X...X"},
    {"XXXXX", "X...X", "X...X", ".X.X.", "..X.."},
    {"..X..", ".XXX.", "X.X.X", "..X..", "..X.."},
    {"X.X.X", ".XXX.", "XXXXX", ".XXX.", "X.X.X"},
};

void draw_named_sprite(const char* name, int x, int y, int silhouette) {
    if (!name) return;
    char key[24];
    size_t n = 0;
    for (; n < sizeof key - 1 && name[n]; n++) key[n] = (char)std::tolower((unsigned char)name[n]);
    key[n] = 0;
    const Image* img = sprite_entry_image(sprite_find(key), frame_counter);
    if (!img || !img->pixels) return;
    const int left = x - img->w / 2, top = y - img->h / 2;
    for (int i = 0; i < img->h; i++)
        for (int j = 0; j < img->w; j++) {
            int t = img->pixels[i * img->w + j];
            if (t != 0) screen_pixel(left + j, top + i, silhouette ? 1 : t);
        }
}

void draw_image_fitted(int x, int y, int w, int h, const Image* img) {
    if (!img || !img->pixels) return;
    const int d = img->density > 1 ? img->density : 1;
    int pw = img->w / d, ph = img->h / d;
    if (icon_quarter_turn) std::swap(pw, ph);
    if (pw < 1 || ph < 1) return;
    int k = w / pw < h / ph ? w / pw : h / ph;
    if (k < 1) k = 1;
    const int ax = x + w / 2, ay = y + (h + ph * k) / 2 - 1;
    if (icon_quarter_turn)
        sprite_draw_at_scale_alt(img, ax, ay, (float)k);
    else
        sprite_draw_at_scale(img, ax, ay, (float)k);
}

void draw_icon_fitted(int x, int y, int w, int h, int32_t item_id) {
    draw_image_fitted(x, y, w, h, item_sprite(item_id));
}

void draw_icon_outlined(int x, int y, int w, int h, int32_t item_id) {
    static const int OFFSETS[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& o : OFFSETS) {
        screen_set_offset(o[0], o[1], 0);
        draw_icon_fitted(x, y, w, h, item_id);
    }
    screen_set_offset(0, 0, -1);
    draw_icon_fitted(x, y, w, h, item_id);
}

void draw_bitmap_icon(const Image* img, int x, int y, int k, int silhouette) {
    if (!img || !img->pixels || k < 1) return;
    for (int i = 0; i < img->h; i++)
        for (int j = 0; j < img->w; j++) {
            int t = img->pixels[i * img->w + j];
            if (t != 0) pixel_fill(x + j * k, y + i * k, k, k, silhouette ? 1 : t);
        }
}

void draw_pattern_glyph(int x, int y, int glyph, int colour) {
    if (glyph < 1 || glyph > 4) return;
    for (int r = 0; r < 5; r++)
        for (int c = 0; c < 5; c++)
            if (PATTERN_GLYPHS[glyph - 1][r][c] == 'X') screen_pixel(x + c, y + 1 + r, colour);
}

void draw_glyph5x5(int x, int y, const uint8_t rows[5], int colour) {
    if (!rows) return;
    auto lit = [&](int r, int c) { return (rows[r] >> (4 - c)) & 1; };
    for (int r = 0; r < 5; r++)
        for (int c = 0; c < 5; c++)
            if (lit(r, c)) {
                screen_pixel(x + c - 1, y + r, 0);
                screen_pixel(x + c + 1, y + r, 0);
                screen_pixel(x + c, y + r - 1, 0);
                screen_pixel(x + c, y + r + 1, 0);
            }
    for (int r = 0; r < 5; r++)
        for (int c = 0; c < 5; c++)
            if (lit(r, c)) screen_pixel(x + c, y + r, colour);
}
