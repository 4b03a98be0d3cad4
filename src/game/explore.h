// Walking the dungeon: one tick of the exploration screen.
#pragma once
#include <cstdint>

void update_dungeon(uint8_t presses);

// Disarms a pending encounter (a monster's opening roar before its fight).
void encounter_disarm();

// Ticks since the chest on this cell of the current floor was opened; -1 for any other cell or
// before it was opened.
int32_t chest_open_ticks(int x, int y);
// Ticks since the mimic with this monster index was revealed, while it is the one being
// revealed; -1 otherwise. A revealed mimic has a non-zero kind_state.
int32_t mimic_reveal_ticks(int monster_index);
