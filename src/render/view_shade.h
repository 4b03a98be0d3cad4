// Helpers of the first-person view: light as dither, texture sampling, the brick pattern, the
// wall strips, the floor rows, the vignette and the object places on the shrine's wall faces.
#pragma once
#include <cmath>
#include <cstdint>

#include "render/screen.h"
#include "render/sprites.h"
#include "render/view.h"

// Dither level 0..12 of a surface at this distance; kind 1 is one class of three darker.
int distance_shade_level(float distance, int kind);
// The texel under (u, v) in 0..1, each clamped into the picture.
int sample_texture(const Image* img, float u, float v);
// 0 stone, 1 mortar, 2 crack at (u across, v down) of the face `hit` being drawn.
int brick_pattern_at(const ViewHit& hit, float u, float v, float mortar_u, float mortar_v);

// The brick pattern down one column (fixed face, u and joint widths), worked out once so that
// each pixel of the column costs a few compares; brick_column_at gives brick_pattern_at's value.
struct BrickColumn {
    bool detail;
    float mortar_v, mortar_v2, mortar_v7;  // the joint height, twice and seven times it
    bool joint_of_parity[2];               // plain look: u on a joint of an even, odd course
    float bounds[4];                       // detailed look: the course lines
    bool joint[5], crack[5];               // per course: u on a joint, a crack under the line
};
void brick_column_prepare(BrickColumn* out, const ViewHit& hit, float u, float mortar_u, float mortar_v);
inline int brick_column_at(const BrickColumn& b, float v) {
    if (!b.detail) {
        const float e = std::floor(7.0f * v);
        if (b.joint_of_parity[(int)e & 1] || 7.0f * v - e < b.mortar_v7) return 1;
        return 0;
    }
    int course = 0;
    float s = 0.0f;
    while (course < 4 && v >= b.bounds[course]) {
        s = b.bounds[course];
        course++;
    }
    if (v - s < b.mortar_v) return 1;
    if (b.joint[course]) return 1;
    if (b.crack[course] && v - s < b.mortar_v2) return 2;
    return 0;
}
// The texel of the decorated bones face at (x, y) of 64 x 64: -1 outside the bands, -2 in a
// hidden compartment, else the picture's texel (0 outside the picture).
int wall_decal_texel(int x, int y);
void draw_wall_column(const ViewHit& hit, int column, float depth, int glyph, int axis, bool edge, float u,
                      float ray_x, float ray_y);

struct DecalRect {
    float u, v;       // centre across and up from the bottom, face fractions
    float w, h;       // size, face fractions
    float offset;     // depth offset
};
bool decal_atlas_rect(int glyph, int variant, int index, DecalRect* out);

extern uint8_t vignette[FB_LONG * FB_SHORT];
extern int32_t vignette_w, vignette_h;
void vignette_build();

struct FloorRecord {
    float x, y;
    float distance;
    int32_t key;
};
// One record per view column for the floor row at this distance, seen from (cam_x, cam_y) along
// (dir_x, dir_y) with the camera plane (plane_x, plane_y).
void cast_floor_rows(FloorRecord* records, int row, bool tile_mode, float row_distance, float cam_x,
                     float cam_y, float dir_x, float dir_y, float plane_x, float plane_y);
