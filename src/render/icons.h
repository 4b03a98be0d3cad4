// Icons for the screens: sprites by name, item pictures fitted into a box, block-scaled bitmaps
// and the two kinds of hand-made 5 x 5 glyphs.
#pragma once
#include <cstdint>

#include "render/sprites.h"

// While 1, fitted item icons are drawn a quarter turn clockwise (items lying rotated in the bag).
extern uint8_t icon_quarter_turn;

// Four 5 x 5 marks, numbered 1..4; rows top to bottom, "X" a pixel.
extern const char* const PATTERN_GLYPHS[4][5];

// The named row's picture (current frame) at its stored size, centred on (x, y); every opaque
// texel in its colour, or colour 1 as a silhouette. Case-insensitive; unknown names draw nothing.
void draw_named_sprite(const char* name, int x, int y, int silhouette);
// The item's picture, scaled by a whole factor and centred in the box (x, y, w, h).
void draw_icon_fitted(int x, int y, int w, int h, int32_t item_id);
// The fitted icon with a one-pixel dark outline round it.
void draw_icon_outlined(int x, int y, int w, int h, int32_t item_id);
// The fitting of draw_icon_fitted for a given picture; null or zero-sized pictures draw nothing.
void draw_image_fitted(int x, int y, int w, int h, const Image* img);
// Each opaque texel as a k x k square, top-left anchored at (x, y).
void draw_bitmap_icon(const Image* img, int x, int y, int k, int silhouette);
// Pattern glyph 1..4 at columns x..x+4, rows y+1..y+5; 0 draws nothing.
void draw_pattern_glyph(int x, int y, int glyph, int colour);
// Five row bytes, bit 4 the leftmost column; set bits in the colour over a dark outline.
void draw_glyph5x5(int x, int y, const uint8_t rows[5], int colour);
