// The game's entry points for the shell: start-up, the 60 Hz tick and the draw pass.
#pragma once
#include <cstdint>

enum GameState : int32_t {
    STATE_SPLASH = 0,
    STATE_TITLE = 1,
    STATE_DUNGEON = 2,
    STATE_COMBAT = 3,
    STATE_PAUSE = 4,
    STATE_BAG = 5,
    STATE_CAMP = 6,
    STATE_DEATH = 7,
    STATE_ESCAPED = 8,
    STATE_OPTIONS = 9,
    STATE_STATS = 10,
    STATE_CREDITS = 11,
    STATE_POWER_ON = 12,
    STATE_LEVELUP = 13,
    STATE_CLASS_SELECT = 14,
    STATE_UNLOCKS = 15,
    STATE_SHRINE = 16,
    STATE_CONTROLS = 17,
    STATE_DEMO_END = 18,
};

// The running screen.
extern int32_t game_state;

// Loads the profile and settings, builds the starting player and floor 0, enters the power-on state.
void game_init();
// One fixed step with this step's input byte; false ends the program.
bool game_tick(uint8_t input);
// Draws the current state into the framebuffer.
void draw_frame();
