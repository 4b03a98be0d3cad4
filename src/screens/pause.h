// The pause menu's cursor; its input is update_pause in the game, draw_pause (screens.h) shows it.
#pragma once
#include <cstdint>

// 0 RESUME, 1 OPTIONS, 2 SAVE & QUIT.
extern int32_t pause_cursor;
