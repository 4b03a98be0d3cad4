// Placeholder until the on-screen pad lands: pointer presses hit no button.
#include "screens/pad.h"

uint8_t pad_hit_test(int, int) { return 0; }
