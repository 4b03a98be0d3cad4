// Loading a floor, the parts below the game: starting a floor, the boss layouts, and turning the
// builder's monster letters into monster records. The game's load_floor picks the builder.
#include "dungeon/boss_layouts.h"
#include "dungeon/floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "world/player.h"
#include "items/floor_items.h"

#include <cstring>

uint32_t monster_seed = 1;
uint32_t run_seed = 1;

void floor_load_boss() {
    const char (*layout)[MAP_W + 1] = boss_layout_for_floor(current_floor);
    for (int y = 0; y < MAP_H; ++y)
        for (int x = 0; x < MAP_W; ++x) {
            char c = layout[y][x];
            if (c == GLYPH_START) {
                player.x = x;
                player.y = y;
                c = GLYPH_FLOOR;
            }
            gmap[y][x] = c;
        }
    player.facing = 2;
}

void floor_begin(int floor_index) {
    current_floor = floor_index;
    floor_items_clear();
    std::memset(explored, 0, sizeof explored);
}

void floor_monsters_from_letters(int floor_index) {
    monster_seed = ((uint32_t)floor_index * 0x85EBCA6Bu ^ run_seed) | 1u;

    // Letters become records in reading order; an orc's second cell is only its body.
    monsters_clear();
    for (int y = 0; y < MAP_H; ++y)
        for (int x = 0; x < MAP_W; ++x) {
            char& c = gmap[y][x];
            if (c == GLYPH_ORC_BODY) {
                c = GLYPH_FLOOR;
                continue;
            }
            int t = monster_type_of_glyph(c);
            if (t == M_NONE) continue;
            monster_add(t, x, y);
            c = GLYPH_FLOOR;
        }
    player_view_sync();
}
