// Placeholder until the on-screen pad lands: pointer presses hit no button, nothing is drawn.
#include "screens/pad.h"

uint8_t pad_hit_test(int, int) { return 0; }
void draw_pad(uint8_t) {}
