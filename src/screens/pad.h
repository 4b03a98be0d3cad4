// The on-screen console pad drawn in the framebuffer's side panels, and its pointer hit test.
#pragma once
#include <cstdint>

// The input bit a pointer at framebuffer point (x, y) presses; 0 for none.
uint8_t pad_hit_test(int x, int y);
// Draws the console pad with the buttons of `held` lit.
void draw_pad(uint8_t held);
