// Resets the player record to a fresh KNIGHT with empty hands and bag.
#pragma once
#include "items/bag.h"
#include "world/player.h"
#include "items/item_random.h"
#include "profile/profile.h"

inline void reset_player() {
    player = Player{};
    player.hp = 40;
    player.max_hp = 40;
    player.attack = 3;
    player.level = 1;
    bag_grid_clear(player.bag);
    item_luck = 0;
    run_heat = 0;
}
