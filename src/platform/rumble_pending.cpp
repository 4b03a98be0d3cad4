// Placeholder until rumble lands: no request is made.
#include "platform/rumble.h"

float rumble_add(float, float, int) { return 0.0f; }
