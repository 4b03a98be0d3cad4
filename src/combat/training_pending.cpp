// Placeholder until training lands: no training run is ever active.
#include "combat/training.h"

bool training_map_floor(int) { return false; }
void load_training_map(int) {}
void training_start() {}
void training_stop() {}
