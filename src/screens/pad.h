// The on-screen console pad drawn in the framebuffer's side panels, and its pointer hit test.
// draw_pad runs after every screen in the draw pass; the frame loop's pointer input calls
// pad_hit_test.
#pragma once
#include <cstdint>

// What a pointer press means depends on the screen: before the console is switched on any touch
// is A; in a real-time fight the D-pad gives only left and right and A and B answer farther out.
enum PadHitContext : int32_t { PAD_HIT_ELSEWHERE = 0, PAD_HIT_POWER_ON = 1, PAD_HIT_REAL_TIME_FIGHT = 2 };

// The input bit a pointer at framebuffer point (x, y) presses; 0 for none, never more than one.
uint8_t pad_hit_test(int x, int y, PadHitContext context);
// Draws the console pad with the buttons of `held` lit.
void draw_pad(uint8_t held);
