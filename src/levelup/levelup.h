// The level-up screen's input.
#pragma once
#include <cstdint>

void update_levelup(uint8_t presses);

// Clears the pending level-up picks.
void levelup_clear();
