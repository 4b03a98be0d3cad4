// What the shell asks of the game.
#pragma once
#include <cstdint>

#include "screens/pad.h"

// The power-on screen waits for a first press when this is 1 (set from the command line).
extern int32_t power_on_delay;

// What a pointer press on the pad means on the screen showing now.
PadHitContext pad_hit_context();
// Hint bits of the pad that blink this frame; the frame loop sets them before drawing, and the
// drawn pad lights them with the buttons held.
extern uint8_t pad_blink_lit;

// Saves the run in progress (a failed save raises "SAVE FAILED!"), the profile's play counters and
// the settings when they changed; false when any of them could not be written.
bool save_on_exit();
// The window's close: saves as save_on_exit and says whether the program may end. When anything could
// not be written the game pauses under the "SAVE FAILED!" box and keeps the window, so the failure is
// seen; a button on the box or a second close ends it.
bool save_on_close();
// Pauses a dungeon walk or a real-time fight when the window goes to the background.
void auto_pause();
bool option_row_visible(int row);
bool cheats_active();
bool run_is_active();
void power_on_delay_set(int32_t ticks);
