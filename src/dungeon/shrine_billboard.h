// The shrine's see-through glyphs, which the view draws as upright boxes.
#pragma once

// Height in wall units of a see-through fire glyph of the shrine ('H', 'P', 'Q', 'h', 'q'); 0
// for every other glyph.
float shrine_billboard_height(int glyph);
