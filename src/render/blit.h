// Image blits: integer scale, box-filtered float scale, the quarter turn and the free rotation
// with its clip and the two looks of damaged gear. Texel 0 is transparent; every opaque pixel goes
// through the draw pipeline of screen.h.
#pragma once
#include <cstdint>

#include "render/sprites.h"

// Settings of sprite_draw_rotated. Modal: callers set them around a call and reset them after.
struct SpriteClip {
    int32_t x0, y0, x1, y1;  // inclusive, before the draw origin; x1 < x0 turns clipping off
    uint8_t checker_dim;     // drop every other pixel and darken colours 2 and 3 one step
    int32_t break_bands;     // 0 off, 1 one crack across, 2 two cracks
};
extern SpriteClip sprite_clip;

// While 1, sprite_draw_scaled reuses the colours it voted for the previous reduced draw of the
// same picture at the same size (the passes of an outline). Set it only between such passes.
extern uint8_t sprite_scaled_reuse;

// The quarter-turned copy made by sprite_draw_at_scale_alt holds at most this many texels.
constexpr int SPRITE_SCRATCH_BYTES = 9216;

// All blits anchor the picture by the centre of its bottom edge at (x, y).
void sprite_draw(const Image* img, int x, int y, int k);
void sprite_draw_scaled(const Image* img, int x, int y, float s);
void sprite_draw_at_scale(const Image* img, int x, int y, float s);
void sprite_draw_alt(const Image* img, int x, int y, int k);
void sprite_draw_at_scale_alt(const Image* img, int x, int y, float s);

void sprite_set_clip(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
void sprite_set_checker_dim(int flag);
void sprite_set_break_bands(int32_t mode);
// Rotated by angle degrees about the pivot (fractions of width and height), pivot at (x, y).
void sprite_draw_rotated(const Image* img, int x, int y, float s, float angle, float pivot_u,
                         float pivot_v);
// The highest row sprite_draw_rotated with the same arguments fills (y when nothing would show).
int sprite_rotated_top(const Image* img, int y, float s, float angle, float pivot_u, float pivot_v);
