// Block letters drawn from the 5x7 glyphs, each set bit a cell x cell square; 6 cells a character.
#pragma once

void draw_big_text(int x, int y, const char* text, int cell, int colour);
// The same dots, left out of the text record: for the outline passes under a block text.
void draw_big_text_under(int x, int y, const char* text, int cell, int colour);
