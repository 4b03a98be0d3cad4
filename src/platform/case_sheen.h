// The case's animated extras that the frame loop drives: the moving sheen and the button spotlight.
#pragma once
#include <cstdint>

bool sheen_active();
void sheen_update();
void sheen_tilt_input(float a, float b);
// glow_request: the button bit the spotlight should point at this frame (0 = none).
void button_glow_step(uint8_t glow_request);
