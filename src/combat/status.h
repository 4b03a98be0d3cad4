// The status counters (poison, burn, regeneration) of the player and of the fought monster: adding
// them and what each tick does to hit points. Fights tick them on their own clocks; exploration
// ticks them once per step.
#pragma once
#include <cstdint>

struct StatusTick {
    const char* name;  // "POISON", shown in "%s wore off"
    const char* tag;  // three letters for the HUD
    int32_t change;  // hp per tick
};

// Indexed by ST_POISON, ST_BURN, ST_REGEN.
extern const StatusTick STATUS_TICK[3];

// Counter i = max(counter, min(n, 255)).
void status_add(uint8_t counters[3], int i, int n);
void status_clear(uint8_t counters[3]);
bool status_has(const uint8_t counters[3], int i);
bool status_any(const uint8_t counters[3]);
// Poison strength of a floor: 5 below floor 6, 6 below 12, else 8.
int poison_strength(int floor);

// One tick of the player's counter i: the counter drops by one and hit points change, never taking
// the player below hp_floor by a loss (hp already below it stays). Returns the hp change.
int status_tick_player(int i, int hp_floor);
// The same on the monster's counters and hit points.
int status_tick_monster(uint8_t counters[3], int i, int32_t* hp, int max_hp, int hp_floor);
