// A hand-drawn floor for exploration tests: 12 rows of 16 glyphs, '@' for the player (facing as
// given) and monster letters turned into records, with the exploration and dialog state cleared.
#pragma once
#include <cstring>

#include "dungeon/floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "game/explore.h"
#include "items/bag.h"
#include "world/player.h"
#include "game/state.h"
#include "items/floor_items.h"
#include "services/toast.h"
#include "world/game_state.h"
#include "screens/screens.h"
#include "screens/transition.h"

inline void explore_world(const char* const rows[MAP_H], int facing = 0, int floor = 0) {
    player = Player{};
    player.hp = player.max_hp = 40;
    player.attack = 3;
    player.level = 1;
    player.facing = facing;
    bag_grid_clear(player.bag);
    floor_items_clear();
    monsters_clear();
    current_floor = floor;
    monster_seed = 12345;
    std::memset(explored, 0, sizeof explored);
    for (int y = 0; y < MAP_H; ++y)
        for (int x = 0; x < MAP_W; ++x) {
            char c = rows[y][x];
            if (c == '@') {
                player.x = x;
                player.y = y;
                c = '.';
            } else if (int t = monster_type_of_glyph(c)) {
                monster_add(t, x, y);
                c = '.';
            }
            gmap[y][x] = c;
        }
    player_view_sync();
    encounter_disarm();
    chest_opening = ChestOpening{-1, 0, 0, 0};
    game_state = STATE_DUNGEON;
    run_active = 0;
    way_out_open = 0;
    way_out_cursor = 0;
    transition = Transition{};
    toast_timer = 0;
    toast_line1[0] = toast_line2[0] = '\0';
    std::memset(cheat_flags, 0, sizeof cheat_flags);
}

// Lets the eased camera settle, as the tick's world animation does between presses.
inline void settle_view() {
    for (int i = 0; i < 60; ++i) world_animate();
}

// An open room with the player facing east and a goblin on the next cell.
inline void goblin_ahead_world() {
    const char* rows[MAP_H] = {
        "################", "#..............#", "#..............#", "#..............#", "#..............#",
        "#..@G..........#", "#..............#", "#..............#", "#..............#", "#..............#",
        "#..............#", "################",
    };
    explore_world(rows, 1);
}
