// Notices a player pressing buttons while nothing in the game changes: the tick hands over a hash
// of what the player can see change, and one "softlock" event is queued per stuck state.
#pragma once
#include <cstdint>

constexpr uint32_t SOFTLOCK_HASH_START = 0x811C9DC5u;
constexpr int SOFTLOCK_TICKS = 7200;  // two minutes
constexpr int SOFTLOCK_PRESSES = 20;
constexpr int SOFTLOCK_RECENT = 16;

// One 32-bit value into the FNV-1a hash of the watched variables.
uint32_t softlock_hash_add(uint32_t hash, int32_t value);
// Once per tick with the hash of the watched variables and the tick's input byte.
void softlock_check(uint32_t hash, uint8_t bits);
// Forgets the count and the states already reported (tests, a new session).
void softlock_reset();
