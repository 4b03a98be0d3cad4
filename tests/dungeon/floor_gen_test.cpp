// The generator over many seeds and every floor: same seed, same floor; everything reachable;
// room 0 empty; monsters by the spawn table; chests never cut the map; one nook per ten floors.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dungeon/floor_fixture.h"

namespace {

constexpr int SEEDS = 150;

uint32_t seed_of(int i) { return 0x9E3779B9u * (uint32_t)(i + 1) ^ 0x51ED270Bu; }

bool in_room(const FloorRoom& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }

struct Snapshot {
    char map[MAP_H][MAP_W];
    MonsterList mons;
    FloorItems items;
    int px, py, facing;
};

Snapshot snap() {
    Snapshot s;
    std::memcpy(s.map, gmap, sizeof gmap);
    s.mons = monsters;
    s.items = floor_items;
    s.px = player.x;
    s.py = player.y;
    s.facing = player.facing;
    return s;
}

TEST(FloorSpawn, WeightsFollowTheTable) {
    static const int TABLE[20][6] = {
        {7, 7, 0, 0, 0, 0},     {15, 15, 5, 0, 0, 0},   {17, 22, 10, 10, 0, 0}, {15, 30, 15, 20, 5, 0},
        {8, 30, 20, 30, 10, 0}, {0, 30, 20, 40, 15, 0}, {0, 30, 20, 40, 20, 7}, {0, 30, 20, 40, 20, 15},
        {0, 25, 20, 40, 20, 22}, {0, 20, 20, 40, 20, 30}, {0, 15, 20, 40, 20, 30}, {0, 10, 20, 40, 20, 30},
        {0, 5, 20, 40, 20, 30}, {0, 0, 20, 40, 20, 30},  {0, 0, 17, 40, 20, 30},  {0, 0, 14, 40, 20, 30},
        {0, 0, 10, 40, 20, 30}, {0, 0, 7, 40, 15, 30},   {0, 0, 4, 40, 10, 30},   {0, 0, 0, 35, 5, 30},
    };
    const char* kinds = "RGBSJO";
    for (int n = 0; n < 20; ++n)
        for (int k = 0; k < 6; ++k) EXPECT_EQ(floor_spawn_weight(kinds[k], n), TABLE[n][k]) << "floor " << n << " " << kinds[k];
    EXPECT_EQ(floor_spawn_weight('D', 5), 0);
    // Floor 0: 7 rats then 7 goblins over the draw's remainder mod 14.
    EXPECT_EQ(floor_spawn_pick(6, 0), 'R');
    EXPECT_EQ(floor_spawn_pick(7, 0), 'G');
    EXPECT_EQ(floor_spawn_pick(14, 0), 'R');
    EXPECT_EQ(floor_spawn_pick(129, 9), 'O');
}

TEST(FloorGen, SameSeedSameFloor) {
    for (int i = 0; i < 40; ++i) {
        for (int n = 0; n <= MAX_FLOOR; ++n) {
            floor_world_reset(seed_of(i));
            load_floor(n);
            Snapshot a = snap();
            floor_world_reset(seed_of(i));
            load_floor(n);
            Snapshot b = snap();
            ASSERT_EQ(std::memcmp(a.map, b.map, sizeof a.map), 0) << "seed " << i << " floor " << n;
            ASSERT_EQ(a.mons.count, b.mons.count);
            for (int m = 0; m < a.mons.count; ++m) {
                EXPECT_EQ(a.mons.list[m].x, b.mons.list[m].x);
                EXPECT_EQ(a.mons.list[m].y, b.mons.list[m].y);
                EXPECT_EQ(a.mons.list[m].type, b.mons.list[m].type);
            }
            ASSERT_EQ(a.items.count, b.items.count);
            for (int k = 0; k < a.items.count; ++k) {
                EXPECT_TRUE(item_equal(a.items.entries[k].item, b.items.entries[k].item));
                EXPECT_EQ(a.items.entries[k].x, b.items.entries[k].x);
            }
            EXPECT_EQ(a.px, b.px);
            EXPECT_EQ(a.py, b.py);
        }
    }
    // And a different seed gives a different floor 0.
    floor_world_reset(seed_of(0));
    load_floor(0);
    Snapshot a = snap();
    floor_world_reset(seed_of(1));
    load_floor(0);
    EXPECT_NE(std::memcmp(a.map, gmap, sizeof gmap), 0);
}

// Everything that is not rock, chest or opened chest is one connected piece around the start,
// with exactly one stairs cell in it and the border solid.
void expect_sound_layout(int seed, int n) {
    int open = 0, stairs = 0;
    for (int y = 0; y < MAP_H; ++y)
        for (int x = 0; x < MAP_W; ++x) {
            char c = gmap[y][x];
            bool border = x == 0 || y == 0 || x == MAP_W - 1 || y == MAP_H - 1;
            if (border) {
                ASSERT_TRUE(c == '#' || c == '>') << "seed " << seed << " floor " << n;
            }
            if (c != '#' && c != 'C' && c != 'c') ++open;
            if (c == '>') ++stairs;
        }
    ASSERT_EQ(stairs, 1) << "seed " << seed << " floor " << n;
    ASSERT_EQ(floor_flood_fill(player.x, player.y), open) << "seed " << seed << " floor " << n << "\n" << floor_dump();
}

TEST(FloorGen, LayoutsAreConnectedAndRoomZeroIsEmpty) {
    for (int i = 0; i < SEEDS; ++i) {
        for (int n = 0; n <= MAX_FLOOR; ++n) {
            if (n % 10 == 9) continue;
            floor_world_reset(seed_of(i));
            load_floor(n);
            expect_sound_layout(i, n);
            ASSERT_GE(floor_room_count, 2);
            const FloorRoom& r0 = floor_rooms[0];
            EXPECT_EQ(player.x, r0.x + r0.w / 2);
            EXPECT_EQ(player.y, r0.y + r0.h / 2);
            EXPECT_EQ(player.facing, 1);
            for (int y = r0.y; y < r0.y + r0.h; ++y)
                for (int x = r0.x; x < r0.x + r0.w; ++x) EXPECT_EQ(gmap[y][x], '.') << "seed " << i << " floor " << n;
            for (int m = 0; m < monsters.count; ++m)
                EXPECT_FALSE(in_room(r0, monsters.list[m].x, monsters.list[m].y));
            for (int k = 0; k < floor_items.count; ++k)
                EXPECT_FALSE(in_room(r0, floor_items.entries[k].x, floor_items.entries[k].y));
            // Stairs sit in the wall ring of the last room.
            const FloorRoom& last = floor_rooms[floor_room_count - 1];
            bool found = false;
            for (int y = last.y - 1; y <= last.y + last.h; ++y)
                for (int x = last.x - 1; x <= last.x + last.w; ++x)
                    if (gmap_at(x, y) == '>') found = true;
            EXPECT_TRUE(found) << "seed " << i << " floor " << n;
        }
    }
}

TEST(FloorGen, MonstersFollowTheFloor) {
    bool orc_seen_on_6 = false;
    int floor0_min = 99, floor0_max = 0;
    for (int i = 0; i < SEEDS; ++i) {
        for (int n = 0; n <= MAX_FLOOR; ++n) {
            if (n % 10 == 9) continue;
            floor_world_reset(seed_of(i));
            load_floor(n);
            int d = n < 8 ? n : 8;
            int placed = 0;
            for (int m = 0; m < monsters.count; ++m) {
                int t = monsters.list[m].type;
                if (t == M_MIMIC) continue;
                ++placed;
                static const char LETTER[M_COUNT] = {0, 'G', 'R', 'S', 'D', 'B', 'J', 'O', 'M'};
                EXPECT_GT(floor_spawn_weight(LETTER[t], n), 0) << "kind " << t << " on floor " << n;
                if (t == M_ORC) {
                    if (n == 6) orc_seen_on_6 = true;
                    // Its second cell, east of the anchor, was cleared to floor.
                    EXPECT_EQ(gmap[monsters.list[m].y][monsters.list[m].x + 1], '.');
                }
            }
            EXPECT_LE(placed, d / 2 + 3);
            if (n == 0) {
                floor0_min = std::min(floor0_min, placed);
                floor0_max = std::max(floor0_max, placed);
            }
            for (int y = 0; y < MAP_H; ++y)
                for (int x = 0; x < MAP_W; ++x) EXPECT_EQ(monster_type_of_glyph(gmap[y][x]), M_NONE);
        }
    }
    EXPECT_TRUE(orc_seen_on_6);
    EXPECT_GE(floor0_min, 1);
    EXPECT_EQ(floor0_max, 3);
}

TEST(FloorGen, ChestsKeysAndMimics) {
    int chests = 0, mimics = 0, keys = 0;
    for (int i = 0; i < SEEDS; ++i) {
        for (int n = 0; n <= MAX_FLOOR; ++n) {
            if (n % 10 == 9) continue;
            floor_world_reset(seed_of(i));
            load_floor(n);
            int chest_items = 0, chest_cells = 0, key_cells = 0, mimic_monsters = 0;
            for (int k = 0; k < floor_items.count; ++k)
                if (floor_items.source[k] == FLOOR_SRC_CHEST) {
                    ++chest_items;
                    const FloorItem& f = floor_items.entries[k];
                    EXPECT_TRUE(gmap[f.y][f.x] == 'C' || monster_at(f.x, f.y) >= 0);
                    EXPECT_EQ(f.item.quality, QUALITY_RARE);
                }
            for (int y = 0; y < MAP_H; ++y)
                for (int x = 0; x < MAP_W; ++x) {
                    chest_cells += gmap[y][x] == 'C';
                    key_cells += gmap[y][x] == 'k';
                }
            for (int m = 0; m < monsters.count; ++m) mimic_monsters += monsters.list[m].type == M_MIMIC;
            EXPECT_LE(chest_items, 1);
            EXPECT_EQ(chest_cells + mimic_monsters, chest_items);
            if (n == 0) {
                EXPECT_EQ(chest_items, 0);
            }
            if (n < 4) {
                EXPECT_EQ(mimic_monsters, 0);
            }
            if (key_cells > 0) {
                EXPECT_EQ(chest_items, 1) << "a key without a chest, seed " << i << " floor " << n;
            }
            chests += chest_items;
            mimics += mimic_monsters;
            keys += key_cells;
        }
    }
    EXPECT_GT(chests, 0);
    EXPECT_GT(mimics, 0);
    EXPECT_GT(keys, 0);
}

TEST(FloorGen, OneSpecialFloorInEachTen) {
    for (int i = 0; i < 500; ++i) {
        run_seed = seed_of(i);
        for (int stretch = 0; stretch < 2; ++stretch) {
            int count = 0;
            for (int k = 0; k < 10; ++k) count += floor_is_special(stretch * 10 + k);
            EXPECT_EQ(count, 1);
            EXPECT_FALSE(floor_is_special(stretch * 10 + 9));
            EXPECT_FALSE(floor_is_special(stretch * 10));
        }
    }
}

TEST(FloorGen, NooksOnlyOnTheSpecialFloor) {
    int nooks = 0;
    for (int i = 0; i < SEEDS; ++i) {
        for (int n = 0; n <= MAX_FLOOR; ++n) {
            if (n % 10 == 9) continue;
            floor_world_reset(seed_of(i));
            load_floor(n);
            int hollow = 0;
            for (int y = 0; y < MAP_H; ++y)
                for (int x = 0; x < MAP_W; ++x)
                    if (gmap[y][x] == '%') {
                        ++hollow;
                        // Behind it lies treasure, not the way on.
                        bool treasure = false;
                        for (int d = 0; d < 4; ++d) {
                            int dx, dy;
                            facing_vector(d, &dx, &dy);
                            char c = gmap_at(x + dx, y + dy);
                            if (c == '>' || c == 'X') ADD_FAILURE() << "nook beside the stairs";
                            treasure |= c == 'g' || c == 'p';
                        }
                        EXPECT_TRUE(treasure);
                    }
            EXPECT_LE(hollow, 1);
            if (!floor_is_special(n)) {
                EXPECT_EQ(hollow, 0);
            }
            nooks += hollow;
        }
    }
    EXPECT_GT(nooks, SEEDS);
}

}  // namespace
