// The 5x7 font: one fixed face in 6 x 8 cells, one colour per call, drawn through the pipeline.
// The glyphs are drawn in render/art/font5x7.txt and compiled in at build time.
#pragma once
#include <cstdint>

// Glyphs of codes 32..127, five column bytes each, left to right; bit 0 is the top row, bit 6 the
// bottom. Codes 96..127 are blank.
extern const uint8_t FONT5X7[96][5];

constexpr int FONT_CELL_W = 6;
constexpr int FONT_CELL_H = 8;

// The five column bytes of a character, a..z folded to A..Z; blank outside 32..127.
const uint8_t* font_glyph(unsigned char c);
// First cell's top-left at (x, y); "\n" starts a new line 8 pixels lower at x.
void text_draw(int x, int y, const char* text, int colour);
// The same pixels, left out of the text record: for a pass meant to sit under a text, such as
// its outline or shadow.
void text_draw_under(int x, int y, const char* text, int colour);
// 6 n - 1 with n the count of characters other than "\n" over all lines; -1 for "".
int text_width(const char* text);
// The text in colour 0 on a box of colour 2 one pixel larger all round.
void text_draw_boxed(int x, int y, const char* text);
