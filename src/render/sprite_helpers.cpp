// Helpers of the object drawers: where a monster's mass lies in its picture, the pictures of the
// map's item letters, and the held-item poses rendered once into a cache and blitted outlined.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "dungeon/monsters.h"
#include "render/blit.h"
#include "render/objects.h"
#include "render/pictures.h"
#include "render/screen.h"

RotSprite rot_sprite_cache[2];
int32_t rot_sprite_renders = 0;

namespace {

const SpriteEntry* monster_entry(int32_t kind) {
    char lower[24];
    std::snprintf(lower, sizeof lower, "%s", MONSTER_TYPES[kind].name);
    for (char* p = lower; *p; p++) *p = (char)std::tolower((unsigned char)*p);
    return sprite_find(lower);
}

// Opaque texels per column over every frame; the anchor is the column where the running count
// passes half the total, less half the width, in logical pixels.
int32_t compute_anchor(const SpriteEntry* e) {
    if (!e) return 0;
    const Image* frames = e->anim ? e->anim->frames : e->still;
    const int count = e->anim ? e->anim->count : (e->still ? 1 : 0);
    if (!frames || count < 1) return 0;
    const int w = std::min(frames[0].w, 512);
    static int32_t columns[512];
    std::memset(columns, 0, sizeof columns);
    long total = 0;
    for (int f = 0; f < count; f++) {
        const Image& im = frames[f];
        if (!im.pixels) continue;
        for (int r = 0; r < im.h; r++)
            for (int c = 0; c < std::min(im.w, w); c++)
                if (im.pixels[(size_t)r * im.w + c]) {
                    columns[c]++;
                    total++;
                }
    }
    if (total == 0) return 0;
    long run = 0;
    int col = 0;
    for (; col < w; col++) {
        run += columns[col];
        if (2 * run > total) break;
    }
    const int density = frames[0].density > 1 ? frames[0].density : 1;
    return (int32_t)((col - w / 2) / density);
}

}  // namespace

int32_t sprite_anchor_x(int32_t kind) {
    static bool done[M_COUNT];
    static int32_t anchor[M_COUNT];
    if (kind < 1 || kind >= M_COUNT) return 0;
    if (!done[kind]) {
        anchor[kind] = compute_anchor(monster_entry(kind));
        done[kind] = true;
    }
    return anchor[kind];
}

const Image* item_sprite_for_glyph(int letter) {
    static const char LETTERS[] = "agkpswb";
    static const char* const NAMES[] = {"item_antidote", "item_gold",  "item_key", "item_potion",
                                        "item_shield",   "item_sword", "skulls"};
    static const SpriteEntry* rows[7];
    static bool looked = false;
    if (!looked) {
        for (int i = 0; i < 7; i++) rows[i] = sprite_find(NAMES[i]);
        looked = true;
    }
    const char* p = letter > 0 && letter < 256 ? std::strchr(LETTERS, letter) : nullptr;
    if (!p) return nullptr;
    const int i = (int)(p - LETTERS);
    if (letter == 'b') return sprite_entry_image(rows[i], 0);
    return sprite_entry_image(rows[i], frame_counter);
}

const RotSprite* cached_rotated_sprite(int slot, const Image* image, float scale, float angle,
                                       float pivot_v, int32_t band_mode) {
    if (slot < 0 || slot > 1) return nullptr;
    RotSprite& s = rot_sprite_cache[slot];
    if (s.valid && s.key_image == image && s.key_bands == band_mode && s.key_scale == scale &&
        s.key_angle == angle && s.key_pivot == pivot_v)
        return &s;
    s.key_image = image;
    s.key_scale = scale;
    s.key_angle = angle;
    s.key_pivot = pivot_v;
    s.key_bands = band_mode;
    s.valid = 1;
    s.w = s.h = ROT_SIDE;
    s.anchor_x = s.anchor_y = ROT_SIDE / 2;
    rot_sprite_renders++;

    // Render into the framebuffer's top-left corner with a neutral draw state, then put back
    // the pixels and every draw setting exactly as they were.
    static uint8_t saved[FB_BYTES];
    std::memcpy(saved, framebuffer, sizeof saved);
    const int32_t ox = draw_origin_x, oy = draw_origin_y, over = draw_color_override;
    const uint8_t* mask = draw_column_mask;
    const int16_t* clip = draw_column_clip;
    const int32_t dither = draw_dither_level;
    const SpriteClip sc = sprite_clip;
    screen_reset_draw_state();
    sprite_set_checker_dim(0);
    const int stride = screen_layout.width;
    for (int r = 0; r < ROT_SIDE; r++) std::memset(&framebuffer[r * stride], 255, ROT_SIDE);
    sprite_set_clip(0, 0, ROT_SIDE - 1, ROT_SIDE - 1);
    sprite_set_break_bands(band_mode);
    sprite_draw_rotated(image, ROT_SIDE / 2, ROT_SIDE / 2, scale, angle, 0.5f, pivot_v);
    sprite_set_clip(0, 0, -1, -1);
    sprite_set_break_bands(0);
    for (int r = 0; r < ROT_SIDE; r++) std::memcpy(&s.pixels[r * ROT_SIDE], &framebuffer[r * stride], ROT_SIDE);
    // The box of opaque pixels, so that every blit of the pose looks at that much only.
    s.first_row = s.first_col = ROT_SIDE;
    s.last_row = s.last_col = -1;
    for (int r = 0; r < ROT_SIDE; r++)
        for (int c = 0; c < ROT_SIDE; c++) {
            const uint8_t t = s.pixels[r * ROT_SIDE + c];
            if (t == 0 || t == 255) continue;
            s.first_row = std::min(s.first_row, r);
            s.last_row = std::max(s.last_row, r);
            s.first_col = std::min(s.first_col, c);
            s.last_col = std::max(s.last_col, c);
        }
    std::memcpy(framebuffer, saved, sizeof saved);
    screen_set_offset(ox, oy, over);
    screen_set_column_mask(mask);
    screen_set_column_clip(clip);
    draw_dither_level = dither;
    sprite_clip = sc;
    return &s;
}

void blit_outlined(const RotSprite* sprite, int x, int y) {
    if (!sprite) return;
    const ScreenRect& v = screen_layout.view;
    const int left = x - sprite->anchor_x, top = y - sprite->anchor_y;
    auto opaque = [&](int c, int r) {
        if (c < 0 || r < 0 || c >= sprite->w || r >= sprite->h) return false;
        const uint8_t t = sprite->pixels[r * sprite->w + c];
        return t != 0 && t != 255;
    };
    auto put = [&](int px, int py, int colour) {
        if (px < v.x0 || px > v.x1 || py < v.y0 || py > v.y1) return;
        screen_pixel(px, py, colour);
    };
    static const int DX[4] = {-1, 1, 0, 0}, DY[4] = {0, 0, -1, 1};
    // Only the box of opaque pixels has anything to draw.
    const int r0 = std::max(0, sprite->first_row), r1 = std::min(sprite->h - 1, sprite->last_row);
    const int c0 = std::max(0, sprite->first_col), c1 = std::min(sprite->w - 1, sprite->last_col);
    // With no offset, override or dither in force, the column mask and clip are all that stand
    // between a pixel of the view and the framebuffer: they are tested here, the pixel written.
    const bool direct = draw_dither_level == 0 && screen_box_direct(v.x0, v.y0, v.x1, v.y1);
    if (direct) {
        const int stride = screen_layout.width;
        const uint8_t* mask = draw_column_mask;
        const int16_t* clip = draw_column_clip;
        auto drops = [&](int px, int py) { return (mask && mask[px]) || (clip && py >= clip[px]); };
        for (int r = r0; r <= r1; r++) {
            const uint8_t* line = &sprite->pixels[r * sprite->w];
            for (int c = c0; c <= c1; c++) {
                if (line[c] == 0 || line[c] == 255) continue;
                for (int k = 0; k < 4; k++) {
                    const int px = left + c + DX[k], py = top + r + DY[k];
                    if (px < v.x0 || px > v.x1 || py < v.y0 || py > v.y1 || drops(px, py)) continue;
                    framebuffer[py * stride + px] = 0;
                }
            }
        }
        for (int r = r0; r <= r1; r++) {
            const int py = top + r;
            if (py < v.y0 || py > v.y1) continue;
            const uint8_t* line = &sprite->pixels[r * sprite->w];
            uint8_t* out = &framebuffer[py * stride];
            for (int c = c0; c <= c1; c++) {
                const int px = left + c;
                if (line[c] == 0 || line[c] == 255 || px < v.x0 || px > v.x1 || drops(px, py)) continue;
                out[px] = line[c];
            }
        }
        return;
    }
    for (int r = r0; r <= r1; r++)
        for (int c = c0; c <= c1; c++)
            if (opaque(c, r))
                for (int k = 0; k < 4; k++) put(left + c + DX[k], top + r + DY[k], 0);
    for (int r = r0; r <= r1; r++)
        for (int c = c0; c <= c1; c++)
            if (opaque(c, r)) put(left + c, top + r, sprite->pixels[r * sprite->w + c]);
}
