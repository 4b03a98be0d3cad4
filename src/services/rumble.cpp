// Controller rumble requests: the strongest of each motor and the longest duration within a step
// are kept until the frame loop takes them.
#include <algorithm>

#include "services/rumble.h"
#include "saves/settings.h"

float rumble_low = 0.0f, rumble_high = 0.0f;
int32_t rumble_ms = 0;

bool rumble_enabled() { return settings.rumble != 0; }

float rumble_add(float low, float high, int32_t ms) {
    if (settings.rumble != 1) return low;
    float factor = 1.0f;
    if (settings.rumble_level < 2) {
        factor = 0.5f;
    } else if (settings.rumble_level >= 3) {
        factor = 2.0f;
        ms = ms * 5 / 4;
    }
    rumble_low = std::max(rumble_low, low * factor);
    rumble_high = std::max(rumble_high, high * factor);
    rumble_ms = std::max(rumble_ms, ms);
    return low * factor;
}

bool rumble_take(float* low, float* high, int32_t* ms) {
    if (rumble_ms <= 0) return false;
    *low = std::min(rumble_low, 1.0f);
    *high = std::min(rumble_high, 1.0f);
    *ms = rumble_ms;
    rumble_low = rumble_high = 0.0f;
    rumble_ms = 0;
    return true;
}
