// Placeholder until exploration lands.
#include "game/explore.h"

void update_dungeon(uint8_t) {}

void encounter_disarm() {}
