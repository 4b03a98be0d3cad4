// Monster and item pictures, the code-drawn monster figures and the small fight marks that the
// view and both fight views share. Pictures are found by name in SPRITES once and cached.
#pragma once
#include <cstdint>

#include "render/sprites.h"

// The animation counter: +1 per unpaused tick.
extern int32_t frame_counter;

// The current frame of monster kind 1..8; null for other kinds, and for every kind while the
// MONSTERS option is on CODE (the figures are then drawn from primitives).
const Image* monster_sprite(int32_t kind);
// Medians over the kind's frames of the fully transparent rows at the bottom and the top of each
// frame, in stored rows; 0 and 0 for kinds outside 1..8 or without art.
void monster_sprite_extents(int32_t kind, int32_t* bottom_blank, int32_t* top_blank);
// The current picture of item id 1..14, or null when it has none.
const Image* item_sprite(int32_t id);

// The monster at a screen position: its picture when it has one, else a figure of primitives.
void draw_monster_primitive(int32_t kind, int x, int y);
// kind 1 critical, 2 halved, 3 miss, 4 blocked, else a plain hit.
void draw_damage_popup(int x, int y, int kind, int value, int timer, int max_width, bool inverted);
void draw_attack_trail(int x0, int y0, int x1, int y1, int age, int life, int thickness);
void draw_chest_icon(int x, int y, int width, bool framed, int frame_colour_bit);
void draw_crown_mark(int x, int y);
