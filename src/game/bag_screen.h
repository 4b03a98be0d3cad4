// The bag screen's input, its eased cursor and its two message timers.
#pragma once
#include <cstdint>

void update_bag(uint8_t presses);
// Moves the cursor's drawn position part of the way toward its slot.
void bag_screen_ease();
// Counts the bag screen's two timers down.
void bag_screen_timers_tick();

// The cursor's smoothed position and how long A has been held on it, for the hold ring.
void bag_hold_ring_state(float* x, float* y, int32_t* hold_ticks);
// Clears the bag screen's view record (cursor, page, open card).
void bag_view_reset();
