// The game's entry points for the shell: start-up, the 60 Hz tick and the draw pass.
#pragma once
#include <cstdint>

#include "render/view_scene.h"

// Loads the profile and settings, builds the starting player and floor 0, enters the power-on state.
void game_init();
// One fixed step with this step's input byte; false ends the program.
bool game_tick(uint8_t input);
// Draws the current state into the framebuffer.
void draw_frame();
// What the first-person view shows of the fight, the shrine and the last chest, as the game stands now.
ViewScene view_scene_now();
