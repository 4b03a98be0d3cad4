// The level-up screen's input.
#pragma once
#include <cstdint>

void update_levelup(uint8_t presses);
// Opens the level-up screen from exploration when picks are owed; true when it opened.
bool levelup_open();

// Clears the pending level-up picks.
void levelup_clear();

// Experience needed to leave a level.
int32_t xp_to_next(int32_t level);
