// Small services the game logic and the shell call: toasts, rumble, the yes/no question,
// applying the settings, saving on exit, pausing in the background and the platform hooks.
#pragma once
#include <cstdint>

constexpr int TOAST_LINE_BYTES = 28;  // 27 characters and the terminator
constexpr int TOAST_TICKS = 90;
constexpr int TOAST2_TICKS = 150;

extern char toast_line1[TOAST_LINE_BYTES];
extern char toast_line2[TOAST_LINE_BYTES];
extern int32_t toast_timer;

extern float rumble_low, rumble_high;
extern int32_t rumble_ms;

enum ConfirmAction : int32_t { CONFIRM_NONE = 0, CONFIRM_ABANDON_RUN = 1, CONFIRM_PLAY_TRAINING = 2, CONFIRM_LOSE_FLOW = 3 };
extern uint8_t confirm_open;
extern char confirm_question[40];
extern int32_t confirm_action;

extern uint8_t cheats_used;
extern uint8_t cheat_flags[4];

// Switches the settings turn on and off for their readers (case sheen, fight timing bar).
extern uint8_t case_shine_on;
extern uint8_t timing_bar_on;

// The power-on screen waits for a first press when this is 1 (set from the command line).
extern int32_t power_on_delay;

void toast_show(const char* text);
void toast_show2(const char* text1, const char* text2);
float rumble_add(float low, float high, int32_t ms);
bool rumble_take(float* low, float* high, int32_t* ms);
bool rumble_enabled();
// Opens the yes/no dialog with a question and the action its yes performs.
void confirm_ask(const char* question, int32_t action);
void confirm_lose_flow();
bool confirm_is_open();
void settings_clamp();
void save_on_exit();
void auto_pause();
bool option_row_visible(int row);
bool cheats_active();
bool run_is_active();
void power_on_delay_set(int32_t ticks);

void platform_init();
void platform_step();
void platform_shutdown();
void platform_tick();
void platform_profile_loaded();
void platform_milestone(int id);
void platform_counter_bump(int id);
void platform_unlocks_changed();
