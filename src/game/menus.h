// The menu screens' input: power-on, options, controls and credits.
#pragma once
#include <cstdint>

extern int32_t options_from;  // the state the options return to (title or pause)
extern int32_t options_page;  // 0 top level, else the page id
extern int32_t options_cursor;
extern int32_t credits_scroll;
extern int32_t power_on_counter;  // negative while the power-on screen waits for a first press

void update_power_on(uint8_t presses);
void update_options(uint8_t presses);
void update_controls(uint8_t presses);
void update_credits(uint8_t presses);
