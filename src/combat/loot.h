// What the player gains from the dungeon's gold piles and a slain monster's leavings.
#pragma once
#include <cstddef>
#include <cstdint>

// The loot stream: a linear congruential step from a fixed start, never seeded. Fight starts draw
// from it too (the turn-menu queue fill).
constexpr uint32_t LOOT_RNG_START = 0x00C0FFEEu;
extern uint32_t loot_rng_state;
// One step of the loot stream: 1..n.
int loot_rand(int n);

// Gold in one pile: 10 and the MERCHANT boon's bonus.
int gold_pickup_amount();

// Leaves the loot of a slain monster of `type` on its cell (x, y) and writes the toast line (at most
// 27 characters, empty when nothing dropped). bonus raises the drop chance; an elite always drops.
void loot_drop(int type, int x, int y, int bonus, bool elite, char* line, size_t size);
