// The elite rule: a fixed share of the deeper floors' monsters are elites, chosen by a hash of their
// cell, the floor and the run seed so a floor always has the same elites. Monster placement and the
// view call it; the fight start reads the elite byte it leaves.
#include "dungeon/elite.h"

#include <algorithm>

#include "dungeon/floor.h"
#include "dungeon/monsters.h"
#include "world/game_state.h"

namespace {
constexpr int ELITE_CHANCE_MAX = 40;
}  // namespace

bool elite_type_eligible(int type) {
    return type == M_GOBLIN || type == M_RAT || type == M_SKELETON || type == M_BAT || type == M_SLIME ||
           type == M_ORC;
}

bool elite_chance_test(int x, int y, int floor, int type) {
    if (!elite_type_eligible(type)) return false;
    // Signed: no positional elite while the chance is 0 or less (below floor 12).
    int chance = std::min(2 * floor - 22, ELITE_CHANCE_MAX);
    if (chance <= 0) return false;
    uint32_t h = ((uint32_t)(y * 16 + x) * 0x85EBCA6Bu) ^ ((uint32_t)floor * 0x9E3779B9u) ^ run_seed;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return (int)(h % 100u) < chance;
}

bool monster_is_elite(int index) {
    if (index < 0 || index >= monsters.count || index >= MAX_MONSTERS) return false;
    const Monster& m = monsters.list[index];
    return m.elite || (cheat_flags[CHEAT_FORCE_ELITES] && elite_type_eligible(m.type));
}
