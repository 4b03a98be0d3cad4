// Fights as the state machine sees them: the per-step updates, the feedback effects, the training
// prompt and the one-time tips.
#pragma once
#include <cstdint>

#include "world/item_record.h"

// Starts the fight with the monster of kind `type` standing on (x, y).
void start_combat(int type, int x, int y);
void combat_update(uint8_t presses);        // one step of a real-time fight
void combat_player_input(uint8_t presses);  // one step of a turn-menu fight
void combat_tick();                         // the duel clock, every unpaused tick
bool combat_is_reflex();                    // the fight in progress is real-time
bool combat_auto_paused();                  // the real-time fight is paused by itself
int32_t combat_victory_delay();             // ticks left of the victory pause
void fx_update();                           // shake, flashes, popups

// The training-over prompt: takes the tick's input while it is shown; true when it took it.
bool training_end_choice(uint8_t presses);
bool training_active();

void tips_update();
void draw_tips_overlay();

// The player's skill rating that scales the duel.
int32_t skill_rating();
const char* skill_rank_name(int32_t rating);
// The chance in percent that a monster's blow misses the player.
int32_t evade_chance();
// The jab recovery and heavy charge time the item would give in the main hand, and their pips.
void weapon_timing_preview(const Item& item, int32_t* jab_ms, int32_t* heavy_ms);
int speed_pips(int32_t ms);
int power_pips(int32_t percent);
// Clears the real-time duel's record.
void reflex_clear();
// Clears shakes, flashes and popups.
void fx_reset();
// The berserk state holds on the current floor.
bool berserk_this_floor();
