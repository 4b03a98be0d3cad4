// A clean world for floor tests, and the floor as text: 12 lines of 16 glyphs with the monsters'
// letters at their anchor cells and '@' where the player starts.
#pragma once
#include <string>

#include "dungeon/floor.h"
#include "game/load_floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "items/bag.h"
#include "items/item.h"
#include "world/player.h"
#include "items/floor_items.h"
#include "items/item_random.h"
#include "profile/profile.h"

inline void floor_world_reset(uint32_t seed) {
    player = Player{};
    player.hp = player.max_hp = 12;
    player.attack = 3;
    player.level = 1;
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    player.off_hand = item_make(ITEM_WOODEN_SHIELD);
    bag_grid_clear(player.bag);
    item_luck = 0;
    run_heat = 0;
    run_seed = seed;
    current_floor = 0;
}

inline char monster_letter(int type) {
    static const char LETTERS[M_COUNT + 1] = "?GRSDBJOM";
    return type > 0 && type < M_COUNT ? LETTERS[type] : '?';
}

inline std::string floor_dump() {
    char grid[MAP_H][MAP_W];
    for (int y = 0; y < MAP_H; ++y)
        for (int x = 0; x < MAP_W; ++x) grid[y][x] = gmap[y][x];
    for (int i = 0; i < monsters.count; ++i) {
        const Monster& m = monsters.list[i];
        if (m.x >= 0 && m.x < MAP_W && m.y >= 0 && m.y < MAP_H) grid[m.y][m.x] = monster_letter(m.type);
    }
    if (player.x >= 0 && player.x < MAP_W && player.y >= 0 && player.y < MAP_H) grid[player.y][player.x] = '@';
    std::string out;
    for (int y = 0; y < MAP_H; ++y) {
        out.append(grid[y], MAP_W);
        out += '\n';
    }
    return out;
}
