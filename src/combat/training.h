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

// Exploration asks these while a training run goes on; each refusal shows its own hint.
// Whether a turn on the spot is refused.
bool training_refuses_turn();
// Whether a step toward the cell (x, y) is refused.
bool training_refuses_step(int x, int y);
// Whether leaving the floor by the stairs is refused.
bool training_step_gate();
// Whether a monster of several cells may enter the cell (x, y) on this training floor.
bool training_monster_may_step(int x, int y);

// What a duel asks of the drill in progress (only while a training run goes on).
// The monster's hit points in a drill.
int drill_monster_hp(int type);
// The monster's attack in a drill.
int training_attack(int type);
// Picks the drill for the fight that starts.
void drill_begin();
// The drill teaches defence: the attack button does nothing.
bool drill_is_defence();
// The drill watches the duel's events of each step.
void drill_on_events(uint64_t events);
// The drill holds the clock while its cue waits for an answer, and hears the answer.
bool drill_pause_for_cue();
void drill_cue_answered();
// The mixed drill lets the monster choose its attacks as in a real fight.
bool drill_is_mixed();
// Queues the drill's own attack; false when it has none.
bool drill_force_attack();
// The monster's hit points never drop below this in the drill.
int drill_hp_floor();
// Caps the first hits the player takes in a drill.
int drill_first_hit_cap(int d);
// The experience missing to the next level, given for a drill won.
int training_xp_gap();

// What the fight view asks of the drill in progress; outside training every hint is allowed.
// Action hints: 0 threat gauge, 1 jab-chain pips, 2 combo line, 3 flow gems.
bool drill_allows_action(int kind);
// The cue word to show now, with button placeholders; null or "" for none.
const char* drill_cue_text();
// The drill's progress line ("JAB 2/5"); null or "" for none.
const char* drill_counter_text();
// The drill teaches stopping an attack: the telegraph shows the attack button.
bool drill_is_stop();
