// What the first-person view shares with its helpers and drawers during one frame: the position
// hash, the frame's light flicker and look, the depth buffer and the wall or cell being drawn.
#pragma once
#include <cstdint>

#include "render/screen.h"
#include "render/view_scene.h"

// The last three steps of cell_hash, for hashes built from other seeds. Inline: the floor and
// wall passes call these for every pixel.
inline uint32_t hash_mix(uint32_t v) {
    v ^= v >> 15;
    v *= 0x2C1B3C6Du;
    v ^= v >> 12;
    return v;
}
// The position hash of every cell-keyed choice of the view (unsigned 32-bit arithmetic).
inline uint32_t cell_hash(int32_t x, int32_t y) {
    const uint32_t h = ((uint32_t)x * 0x9E3779B1u) ^ ((uint32_t)y * 0x85EBCA77u);
    return hash_mix(h);
}

extern int32_t view_flicker;      // -1, 0 or +1, added to distance shade levels
extern int32_t view_detail_look;  // 0 plain, 1 detailed walls and floors
extern int32_t view_in_shrine;    // the frame shows the shrine (three-unit walls, its own light)
extern int32_t view_horizon;      // screen row of the horizon
constexpr int32_t VIEW_HORIZON_START = 72;  // the horizon row before the first frame
extern float view_eye_height;     // k, 0.5 in the dungeon
// The cell and face (0 = +x, 1 = -x, 2 = +y, 3 = -y) of the wall or see-through cell being drawn,
// handed to the wall, billboard and shading helpers.
struct ViewHit {
    int32_t x, y, face;
};
// Per framebuffer column: the perpendicular distance of its wall, 1e30 where none was met.
extern float depth_buffer[FB_LONG];
// The distance from the camera to the centre of the stairs cell last drawn, less half a cell.
extern float view_stairs_distance;

// Rows a door panel leaves open above and below itself, at position u across the face (as the ray met
// it) of a strip h pixels per wall unit; 0 for anything but a door's panel.
int wall_door_inset(int glyph, float u, float h);

// The world as the player sees it from the current cell, into the view rectangle.
void draw_dungeon_view(const ViewScene& scene);
