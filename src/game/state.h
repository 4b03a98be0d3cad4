// The game's screen machine: the state word, the input words of the tick and the small queries
// that other modules ask about them.
#pragma once
#include <cstdint>

#include "world/game_state.h"

enum SongId : int32_t { SONG_NONE = 0, SONG_MAIN = 1, SONG_FIGHT = 2 };

// The song each state asks for, and which states ask at all (the others leave the music alone).
extern const int32_t STATE_MUSIC[STATE_COUNT];
constexpr uint32_t STATE_MUSIC_MASK = 0x5F1CF;
// States whose entry saves the run: dungeon, combat, camp, level-up.
constexpr uint32_t AUTOSAVE_STATE_MASK = 0x204C;
// States in which lifetime statistics count as play time: dungeon, combat, bag, camp, level-up.
constexpr uint32_t IN_PLAY_STAT_MASK = 0x206C;
// States whose menus make the shared menu sounds: title, pause, bag, options, credits.
constexpr uint32_t MENU_SOUND_MASK = 0xA32;

constexpr int TITLE_ROWS = 7;
constexpr int PAUSE_ROWS = 3;
constexpr int SPLASH_TICKS = 240;
constexpr int SECRET_LENGTH = 10;
extern const uint8_t SECRET_SEQUENCE[SECRET_LENGTH];


extern uint8_t input_held;
extern uint8_t input_prev;

extern int32_t repeat_state;
extern int32_t repeat_ticks;
extern uint8_t repeat_dirs;

extern int32_t guard_kind;
extern int32_t input_guard_ticks;
extern int32_t input_lock_timer;
extern uint8_t input_lock_held;

extern int64_t secret_progress;
extern uint8_t quit_requested;
extern uint8_t demo_end_to_unlocks;
extern uint8_t run_active;
extern int32_t splash_timer;
extern int32_t title_cursor;
extern int32_t pause_cursor;
// Strength of the title backdrop in percent; below 0 the unlocks completion decides it.
extern int32_t title_fx_level;

bool input_locked();
bool game_is_paused();
uint8_t input_edges(uint8_t now, uint8_t before);

// One tick of the pause menu.
void update_pause(uint8_t presses);
// Reports every broken world rule through the soft-assertion reporter; repairs nothing.
void game_check_invariants();
