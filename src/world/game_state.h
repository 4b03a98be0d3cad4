// The game state word: which screen runs, the screen under an overlay, the frame counter, and the
// run's cheat marks. The state machine in game/ owns them; lower modules only read them.
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
    STATE_COUNT = 19
};

extern int32_t game_state;
extern int32_t state_under_pause;
extern int32_t prev_state;
extern int32_t frame_counter;

// The screen-entry guard's hold on A and START: screens leave out their footer hints while it lasts.
extern int32_t input_lock_timer;
extern uint8_t input_lock_held;
bool input_locked();

// Cheats taint a run: the hidden sequence sets `cheats_used`; the debug switches live in `cheat_flags`.
constexpr int CHEAT_FLAG_COUNT = 4;
constexpr int CHEAT_IMMORTAL = 0;         // the player cannot lose hp
constexpr int CHEAT_NO_DOOR = 1;          // DEATH'S DOOR never saves
constexpr int CHEAT_FORCE_ELITES = 2;     // every eligible monster is an elite
constexpr int CHEAT_FREEZE_MONSTERS = 3;
extern uint8_t cheats_used;
extern uint8_t cheat_flags[CHEAT_FLAG_COUNT];
// Whether the run is tainted by either; the lifetime statistics count nothing then.
bool cheats_active();
