// Resets the player record to a fresh KNIGHT with empty hands and bag.
#pragma once
#include "items/bag.h"
#include "world/player.h"
#include "items/item_random.h"
#include "items/gear_rules.h"

// Every item usable, nothing locked, no heat, no boon: the rules a fresh profile's KNIGHT has while
// the class rule is not yet in force.
constexpr GearRules ANY_GEAR = {0xFFFFFFFFu, 0u, 0, 0};

inline void reset_player() {
    player = Player{};
    player.hp = 40;
    player.max_hp = 40;
    player.attack = 3;
    player.level = 1;
    bag_grid_clear(player.bag);
    item_luck = 0;
}
