// Training mode: a scripted run over four fixed floors that teaches the duel.
#pragma once
#include <cstdint>

// Whether a training run is going on.
bool training_active();
// Whether floor n of a training run comes from the training maps.
bool training_map_floor(int n);
// Copies training map n into the floor and sets the player's start.
void load_training_map(int n);
// Starts a training run on its first floor.
void training_start();
// Leaves training mode (new runs and run loads).
void training_stop();
// The button a drill points at on the case (an input bit), 0 for none.
uint8_t training_hint_target();

// Exploration asks these while a training run goes on; each refusal shows its own hint.
// Whether a turn on the spot is refused.
bool training_refuses_turn();
// Whether a step toward the cell (x, y) is refused.
bool training_refuses_step(int x, int y);
// Whether leaving the floor by the stairs is refused.
bool training_step_gate();
// Whether a monster of several cells may enter the cell (x, y) on this training floor.
bool training_monster_may_step(int x, int y);
