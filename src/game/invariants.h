// The world's invariant checks. The checks read one plain snapshot of the world records, so that
// no check ever indexes a record with a bad value itself.
#pragma once
#include <cstdint>

constexpr int INV_MAP_W = 16, INV_MAP_H = 12;
constexpr int INV_MAX_MONSTERS = 24;
constexpr int INV_BAG_COLS = 6, INV_BAG_ROWS = 5, INV_BAG_MAX = 30;
constexpr int INV_MAX_FLOOR = 19, INV_CLASS_COUNT = 2, INV_ITEM_COUNT = 15, INV_M_COUNT = 9, INV_QUEUE_CAP = 4;

struct MonsterFacts {
    int32_t type, x, y;
    int32_t at;  // monster_at(x, y)
};

struct BagEntryFacts {
    int32_t id, count;
    int32_t w, h;  // footprint from the item's size (bounded lookup)
};

struct WorldFacts {
    // Set while the souls cannot be read yet (the lifetime profile is not written): their row is
    // skipped.
    uint8_t souls_unknown;
    int32_t levelup_pending;
    int32_t player_class, souls, gold, keys, level, xp, xp_next;
    int32_t main_id, off_id;
    uint8_t main_two_handed;  // from the item table's bounded accessor
    int32_t hp, max_hp, player_x, player_y, facing;
    char map[INV_MAP_H][INV_MAP_W];
    int32_t monster_count;
    MonsterFacts monsters[INV_MAX_MONSTERS];
    int32_t bag_count;
    int32_t bag_cells[INV_BAG_ROWS][INV_BAG_COLS];
    BagEntryFacts bag[INV_BAG_MAX];
    int32_t combat_type, combat_hp, combat_max_hp, combat_queued;
};

// Copies the world records into `out`; false while those records do not exist yet.
bool world_facts_gather(WorldFacts* out);
// The rules over one snapshot. in_play adds the player, map and monster rules; state 3 the fight's.
void invariants_check(const WorldFacts& w, int32_t state, int32_t floor, bool in_play);
// The states whose world rules apply: dungeon to camp, level-up, and controls opened from pause.
bool invariants_in_play(int32_t state, int32_t options_from);
