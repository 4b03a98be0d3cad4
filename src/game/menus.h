// The menu screens' input: power-on, options, controls and credits.
#pragma once
#include <cstdint>

#include "screens/front_end.h"

constexpr int32_t OPTIONS_TOP = 0;  // options_page of the top level

extern int32_t options_from;  // the state the options return to (title or pause)
extern int32_t options_page;  // OPTIONS_TOP, else the page's option id
extern int32_t options_cursor;  // the option id under the cursor
extern int32_t credits_scroll;
extern int32_t power_on_counter;  // negative while the power-on screen waits for a first press

// The controls screen: the device shown (0 keyboard, 1 controller, 2 touch), its cursor and scroll.
extern int32_t controls_device;
extern int32_t controls_cursor;
extern int32_t controls_scroll;

void update_power_on(uint8_t presses);
// The option ids shown on the current page (or the top level), into `out` (OPTION_COUNT).
int options_visible_rows(int32_t* out);
// Opens the options on their top level with the cursor on DISPLAY, returning to `from`.
void options_open(int32_t from);
void update_options(uint8_t presses);
void update_controls(uint8_t presses);
void update_credits(uint8_t presses);
