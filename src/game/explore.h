// Walking the dungeon: one tick of the exploration screen.
#pragma once
#include <cstdint>

void update_dungeon(uint8_t presses);

// Disarms a pending encounter (a monster's opening roar before its fight).
void encounter_disarm();
