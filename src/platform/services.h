// Small services the game logic and the shell call: toasts, rumble, applying the settings,
// saving on exit, pausing in the background and the platform hooks.
#pragma once
#include <cstdint>

void toast_show(const char* text);
void toast_show2(const char* text1, const char* text2);
float rumble_add(float low, float high, int32_t ms);
bool rumble_take(float* low, float* high, int32_t* ms);
bool rumble_enabled();
void settings_clamp();
void save_on_exit();
void auto_pause();
void power_on_delay_set(int32_t ticks);

void platform_init();
void platform_step();
void platform_shutdown();
void platform_tick();
