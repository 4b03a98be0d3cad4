// The drawers of the things standing in the first-person view: the shrine's see-through boxes,
// monsters, the mimic and objects lying on the floor, the sprite helpers they share, and the
// cached pictures of the items in the player's hands.
#pragma once
#include <cstdint>

#include "render/screen.h"
#include "render/sprites.h"
#include "render/view.h"

// An object as the view hands it over: the bottom centre on screen and its distance.
struct ViewObject {
    int32_t x, y;
    float depth;
};

// The horizontal offset of a monster kind's mass from its picture's centre, in logical pixels;
// 0 for other kinds and for pictures without an opaque texel.
int32_t sprite_anchor_x(int32_t kind);
// The picture of a map letter of an item ("a", "g", "k", "p", "s", "w", "b"), or null.
const Image* item_sprite_for_glyph(int letter);

// One rendered pose of a held item: 112 x 112 texels, 255 where empty, pivot at the anchor.
constexpr int ROT_SIDE = 112;
struct RotSprite {
    const Image* key_image;
    float key_scale, key_angle, key_pivot;
    int32_t key_bands;
    uint8_t valid;
    int32_t w, h, anchor_x, anchor_y;
    // The rows and columns that hold opaque pixels (first > last when none do).
    int32_t first_row, last_row, first_col, last_col;
    uint8_t pixels[ROT_SIDE * ROT_SIDE];
};
extern RotSprite rot_sprite_cache[2];
// Counts the poses actually rendered (a request that matches the slot's key renders nothing).
extern int32_t rot_sprite_renders;

// The pose of `image` in slot 0 (main hand) or 1 (off hand), rendered only when the request
// differs from what the slot holds. The framebuffer and the draw state are left as they were.
const RotSprite* cached_rotated_sprite(int slot, const Image* image, float scale, float angle,
                                       float pivot_v, int32_t band_mode);
// The pose with its anchor at (x, y), outlined in colour 0, clipped to the view rectangle.
void blit_outlined(const RotSprite* sprite, int x, int y);

// The tops of the see-through boxes drawn in each column, nearest clip for the objects behind.
constexpr int BILLBOARD_CLIP_MAX = 6;
struct BillboardClips {
    uint8_t count[FB_LONG];
    float depth[FB_LONG][BILLBOARD_CLIP_MAX];
    int16_t top[FB_LONG][BILLBOARD_CLIP_MAX];
};
extern BillboardClips billboard_clips;

// Sets the column mask and clip for an object compared at test_depth; the caller resets both to null.
void view_object_clip_set(float test_depth);

// The front face of the see-through shrine cell `hit` in column X. a and b: distances at which the
// ray enters and leaves the cell; u along the face.
void draw_billboard(const ViewHit& hit, int column, float a, float b, int glyph, int axis, float u, float ray_x,
                    float ray_y);
void draw_monster(int32_t type, ViewObject obj, bool elite);
void draw_mimic(ViewObject obj, int monster_index, int map_x, int map_y);
void draw_floor_object(int glyph, ViewObject obj, int map_x, int map_y);

// The player's hands at the bottom of the view: items, fists and empty-hand blocks.
void draw_held_items();

// While set, everything drawn is kept inside the view rectangle (columns by the column mask,
// rows by the column clip). The end puts both back to null.
void view_clip_begin();
void view_clip_end();
