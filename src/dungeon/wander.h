// Monster wandering between fights: monsters move only when the player acts (a step, a turn or a
// wait), by the walking rules of their kind; their drawn positions glide after them every tick.
#pragma once
#include <cstdint>

#include "dungeon/monsters.h"

enum WalkMode : int32_t { WALK_WANDER = 0, WALK_PATROL = 1, WALK_STAY = 2 };

struct MonsterWalk {
    int32_t mode;
    int32_t steps;  // moves per player action
    int32_t period;  // moves only on every period-th action
    int32_t wander_pct;  // chance to try a move, wanderers only
    int32_t leash;  // cells from home on each axis
};

// One row per monster kind, M_NONE included.
extern const MonsterWalk MONSTER_WALK[M_COUNT];

// Where a monster of several cells may stand, as the caller rules it (a training floor keeps them in
// their lesson's space); null lets them stand anywhere the walking rules allow.
using CellTest = bool (*)(int x, int y);

// Every monster's chance to move after one player step, turn or wait; nothing moves while frozen
// (training, or the freeze cheat).
void monsters_step(bool frozen);
// After a turn: orcs swing round to stand broadside across the player's line of sight.
void monsters_step_extra(CellTest wide_may_enter);
// Whether monster m may put its anchor on (x, y): every covered cell open floor, free of the
// player and of every other monster, and allowed by `wide_may_enter` for a wide monster.
bool monster_try_step(int m, int x, int y, CellTest wide_may_enter);
// Moves every monster's drawn position part of the way toward its cell, once per unpaused tick.
void monsters_ease_draw();
