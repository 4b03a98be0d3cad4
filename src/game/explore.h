// Walking the dungeon: one tick of the exploration screen.
#pragma once
#include <cstdint>

void update_dungeon(uint8_t presses);
