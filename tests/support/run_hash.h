// A fingerprint of the run in progress, read field by field from the game's own records rather
// than from the run file, so a save and a CONTINUE can be checked against what the player had:
// the floor, its map and what is known of it, the player with hands, bag and boons, the floor's
// items and monsters, and the run's meters.
#pragma once
#include <cstdint>

#include "combat/meters.h"
#include "dungeon/floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "items/floor_items.h"
#include "items/item_random.h"
#include "profile/profile.h"
#include "world/game_state.h"
#include "world/player.h"

struct RunHash {
    uint32_t h = 0x811C9DC5u;  // FNV-1a
    void add(uint32_t v) {
        for (int i = 0; i < 4; i++) {
            h ^= (v >> (8 * i)) & 0xFFu;
            h *= 16777619u;
        }
    }
    void add_item(const Item& it) {
        add(it.id);
        add(it.quality);
        add((uint32_t)it.enchant);
        add(it.upgrade);
        add(it.rerolls);
        add(it.wear);
        add(it.junk);
        add(it.depth_bonus);
    }
};

inline uint32_t run_state_hash() {
    RunHash r;
    r.add((uint32_t)current_floor);
    r.add(run_seed);
    r.add(monster_seed);
    const Player& p = player;
    for (int32_t v : {p.x, p.y, p.facing, p.hp, p.max_hp, p.attack, p.level, p.xp, p.keys, p.gold, p.kills})
        r.add((uint32_t)v);
    r.add_item(p.main_hand);
    r.add_item(p.off_hand);
    for (uint8_t rank : p.boon_ranks) r.add(rank);
    for (uint32_t v : {(uint32_t)p.last_stand_used, (uint32_t)p.floor_mark, (uint32_t)p.floor_kills, (uint32_t)p.cls,
                       (uint32_t)p.boon_redraws})
        r.add(v);
    r.add((uint32_t)p.bag.count);
    for (int i = 0; i < p.bag.count && i < BAG_MAX_ITEMS; i++) {
        const BagEntry& e = p.bag.entries[i];
        r.add_item(e.item);
        for (int32_t v : {e.count, e.col, e.row, (int32_t)e.rotated}) r.add((uint32_t)v);
    }
    for (uint8_t s : p.status) r.add(s);
    for (int y = 0; y < MAP_H; y++)
        for (int x = 0; x < MAP_W; x++) {
            r.add((uint8_t)gmap[y][x]);
            r.add(explored[y][x]);
        }
    r.add((uint32_t)floor_items.count);
    for (int i = 0; i < floor_items.count && i < FLOOR_ITEMS_MAX; i++) {
        r.add((uint32_t)floor_items.entries[i].x);
        r.add((uint32_t)floor_items.entries[i].y);
        r.add_item(floor_items.entries[i].item);
    }
    r.add((uint32_t)monsters.count);
    for (int i = 0; i < monsters.count && i < MAX_MONSTERS; i++) {
        const Monster& m = monsters.list[i];
        for (int32_t v : {m.x, m.y, m.type, (int32_t)m.elite, m.dir, m.carried_hp, m.home_x, m.home_y,
                          (int32_t)m.orc_vertical, m.kind_state, m.move_cooldown, m.turn})
            r.add((uint32_t)v);
    }
    for (int32_t v : {threat_total, flow, combo, run_heat, item_luck, (int32_t)cheats_used}) r.add((uint32_t)v);
    return r.h;
}
