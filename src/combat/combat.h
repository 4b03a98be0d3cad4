// Fights as the state machine sees them: the per-step updates, the feedback effects, the training
// prompt and the one-time tips.
#pragma once
#include <cstdint>

// Starts the fight with the monster of kind `type` standing on (x, y).
void start_combat(int type, int x, int y);
void combat_update(uint8_t presses);        // one step of a real-time fight
void combat_player_input(uint8_t presses);  // one step of a turn-menu fight
void combat_tick();                         // the duel clock, every unpaused tick
bool combat_is_reflex();                    // the fight in progress is real-time
bool combat_auto_paused();                  // the real-time fight is paused by itself
int32_t combat_victory_delay();             // ticks left of the victory pause
void fx_update();                           // shake, flashes, popups
void fx_levelup();                          // the level-up flash

// The training-over prompt: takes the tick's input while it is shown; true when it took it.
bool training_end_choice(uint8_t presses);
bool training_active();

void tips_update();
void draw_tips_overlay();

// The player's skill rating that scales the duel.
int32_t skill_rating();
// Clears the real-time duel's record.
void reflex_clear();
// Clears shakes, flashes and popups.
void fx_reset();
// The berserk state holds on the current floor.
bool berserk_this_floor();

// The monster kind that killed the player, and how the fatal fight went.
extern uint32_t killer_type;
constexpr int32_t HURT_STATUS_TICK = 6;  // a status counter, not a blow, took the last hit point
struct DeathNumbers {
    int32_t hurt_reason;  // what the last hurt was; HURT_STATUS_TICK for a status
    int32_t status;       // ST_POISON .. ST_REGEN when a status finished the player
    int32_t hits_taken;
    int32_t fight_ms;
};
DeathNumbers combat_death_numbers();
// The player's chance in percent to evade a monster's blow.
int evade_chance();
