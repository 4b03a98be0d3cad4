// Placeholder until training lands: no training run is ever active.
#include "combat/training.h"

bool training_map_floor(int) { return false; }
void load_training_map(int) {}
void training_start() {}
void training_stop() {}

bool training_refuses_turn() { return false; }
bool training_refuses_step(int, int) { return false; }
bool training_step_gate() { return false; }
bool training_monster_may_step(int, int) { return true; }

int drill_monster_hp(int) { return 0; }
int training_attack(int) { return 0; }
void drill_begin() {}
bool drill_is_defence() { return false; }
void drill_on_events(uint64_t) {}
bool drill_pause_for_cue() { return false; }
void drill_cue_answered() {}
bool drill_is_mixed() { return false; }
bool drill_force_attack() { return false; }
int drill_hp_floor() { return 0; }
int drill_first_hit_cap(int d) { return d; }
int training_xp_gap() { return 0; }
bool drill_allows_action(int) { return true; }
const char* drill_cue_text() { return nullptr; }
const char* drill_counter_text() { return nullptr; }
bool drill_is_stop() { return false; }
