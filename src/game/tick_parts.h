// The tick's steps and the updates made inside it, for the tick, the draw pass and the tests.
#pragma once
#include <cstdint>

bool state_in_mask(uint32_t mask, int32_t state);

// Each step takes this tick's new presses and returns them as the later steps see them.
uint8_t tick_secret_step(uint8_t presses);
uint8_t tick_repeat_step(uint8_t held, uint8_t presses);
int32_t tick_guard_kind();
uint8_t tick_guard_step(uint8_t held, uint8_t presses);
// True when a transition or a dialog took the tick.
bool tick_modal_layers(uint8_t presses);
void tick_menu_sounds(uint8_t presses);
void tick_update_state(uint8_t presses);

// The store page opened from the demo-end screen.
extern const char* const STORE_PAGE_URL;

void update_splash(uint8_t presses);
void update_title(uint8_t presses);
void update_death(uint8_t presses);
void update_escaped(uint8_t presses);
void update_stats(uint8_t presses);
void update_demo_end(uint8_t presses);
