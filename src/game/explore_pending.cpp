// Placeholder until exploration lands.
#include "game/explore.h"

void update_dungeon(uint8_t) {}

void encounter_disarm() {}
int32_t chest_open_ticks(int, int) { return -1; }
int32_t mimic_reveal_ticks(int) { return -1; }
