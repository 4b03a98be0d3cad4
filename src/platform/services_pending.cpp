// Placeholders until the services land: nothing is shown, requested, saved or paused yet.
#include "platform/services.h"

void toast_show(const char*) {}
void toast_show2(const char*, const char*) {}
float rumble_add(float low, float, int32_t) { return low; }
bool rumble_take(float*, float*, int32_t*) { return false; }
bool rumble_enabled() { return false; }
void settings_clamp() {}
void save_on_exit() {}
void auto_pause() {}
void power_on_delay_set(int32_t) {}

void platform_init() {}
void platform_step() {}
void platform_shutdown() {}
void platform_tick() {}
