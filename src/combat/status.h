// The player's status counters (poison, burn, regeneration): what each tick does to hit points.
// Fights tick them on their own clocks; exploration ticks them once per step.
#pragma once
#include <cstdint>

struct StatusTick {
    const char* name;  // "POISON", shown in "%s wore off"
    const char* tag;  // three letters for the HUD
    int32_t change;  // hp per tick
};

// Indexed by ST_POISON, ST_BURN, ST_REGEN.
extern const StatusTick STATUS_TICK[3];

// One tick of the player's counter i: the counter drops by one and hit points change, never taking
// the player below hp_floor by a loss (hp already below it stays). Returns the hp change.
int status_tick_player(int i, int hp_floor);
