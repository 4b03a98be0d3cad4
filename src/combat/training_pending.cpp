// Placeholder until training lands: no training run is ever active.
#include "combat/training.h"

bool training_map_floor(int) { return false; }
void load_training_map(int) {}
void training_start() {}
void training_stop() {}
uint8_t training_hint_target() { return 0; }

bool training_refuses_turn() { return false; }
bool training_refuses_step(int, int) { return false; }
bool training_step_gate() { return false; }
bool training_monster_may_step(int, int) { return true; }
