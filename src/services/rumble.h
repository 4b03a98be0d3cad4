// Controller rumble requests: anyone may ask; the frame loop takes the strongest request of a step
// and hands it to the controllers.
#pragma once
#include <cstdint>

extern float rumble_low, rumble_high;
extern int32_t rumble_ms;

// Scales the request by the rumble setting and keeps the strongest; returns the low motor's strength.
float rumble_add(float low, float high, int32_t ms);
bool rumble_take(float* low, float* high, int32_t* ms);
bool rumble_enabled();
