// Notices a player pressing buttons while nothing in the game changes.
#pragma once
#include <cstdint>

void softlock_check(uint8_t bits);
