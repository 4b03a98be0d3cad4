// Placeholders until the bag screen's input lands.
#include "game/bag_screen.h"

void update_bag(uint8_t) {}
void bag_screen_ease() {}
void bag_screen_timers_tick() {}

void bag_view_reset() {}
void bag_hold_ring_state(float* x, float* y, int32_t* hold_ticks) {
    *x = 0;
    *y = 0;
    *hold_ticks = 0;
}
