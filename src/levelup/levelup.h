// The level-up screen's input.
#pragma once
#include <cstdint>

void update_levelup(uint8_t presses);
// Opens the level-up screen from exploration when picks are owed; true when it opened.
bool levelup_open();
// Clears the pending level-up picks.
void levelup_clear();
// Adds experience; returns the levels gained.
int gain_xp(int amount);
