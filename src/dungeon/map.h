// The floor: a 16 x 12 grid of glyphs, what the player has seen of it, and the glyph sets
// that walking, drawing and building share.
#pragma once
#include <cstdint>

#include "world/glyphs.h"
#include "world/player.h"

constexpr int MAP_W = 16;
constexpr int MAP_H = 12;

extern char gmap[MAP_H][MAP_W];
extern uint8_t explored[MAP_H][MAP_W];

// The glyph at (x, y); '#' outside the grid.
char gmap_at(int x, int y);
bool glyph_blocks(int c);
bool glyph_is_pickup(int c);
// Blocking cells on both sides, left and right or above and below (outside the map blocks).
bool cell_between_walls(int x, int y);
// The unit step of a facing: 0 north, 1 east, 2 south, 3 west.
void facing_vector(int facing, int* dx, int* dy);
// Marks the cells the player can see from where they stand.
void explore_mark_view();
