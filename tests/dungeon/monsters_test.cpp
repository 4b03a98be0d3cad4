// Monster records: footprints, the cap of 24, removal and start directions.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "dungeon/map.h"
#include "dungeon/monsters.h"

namespace {

struct MonstersTest : ::testing::Test {
    void SetUp() override {
        monsters_clear();
        for (int y = 0; y < MAP_H; ++y)
            for (int x = 0; x < MAP_W; ++x)
                gmap[y][x] = (x == 0 || y == 0 || x == MAP_W - 1 || y == MAP_H - 1) ? '#' : '.';
    }
};

TEST_F(MonstersTest, AddFillsTheRecord) {
    ASSERT_TRUE(monster_add(M_GOBLIN, 4, 7));
    const Monster& m = monsters.list[0];
    EXPECT_EQ(monsters.count, 1);
    EXPECT_EQ(m.x, 4);
    EXPECT_EQ(m.y, 7);
    EXPECT_EQ(m.type, M_GOBLIN);
    EXPECT_EQ(m.dir, 2);
    EXPECT_EQ(m.home_x, 4);
    EXPECT_EQ(m.home_y, 7);
    EXPECT_FLOAT_EQ(m.draw_x, 4.5f);
    EXPECT_FLOAT_EQ(m.draw_y, 7.5f);
    EXPECT_EQ(m.carried_hp, 0);
    EXPECT_EQ(m.move_cooldown, 0);
    EXPECT_EQ(m.orc_vertical, 0);
}

TEST_F(MonstersTest, BadTypesAddNothing) {
    EXPECT_FALSE(monster_add(M_NONE, 3, 3));
    EXPECT_FALSE(monster_add(M_COUNT, 3, 3));
    EXPECT_FALSE(monster_add(-4, 3, 3));
    EXPECT_EQ(monsters.count, 0);
}

TEST_F(MonstersTest, TheTwentyFifthIsRefused) {
    for (int i = 0; i < MAX_MONSTERS; ++i) ASSERT_TRUE(monster_add(M_RAT, 1 + i % 14, 1 + i / 14));
    EXPECT_FALSE(monster_add(M_RAT, 10, 10));
    EXPECT_EQ(monsters.count, 24);
}

TEST_F(MonstersTest, DragonCoversThreeByTwo) {
    monster_add(M_DRAGON, 5, 6);
    for (int y = 4; y <= 7; ++y)
        for (int x = 3; x <= 7; ++x) {
            bool inside = x >= 4 && x <= 6 && y >= 5 && y <= 6;
            EXPECT_EQ(monster_at(x, y), inside ? 0 : -1) << x << "," << y;
        }
}

TEST_F(MonstersTest, OrcCoversTwoCells) {
    monster_add(M_ORC, 3, 3);
    EXPECT_EQ(monster_at(4, 3), 0);
    EXPECT_EQ(monster_at(3, 4), -1);
    monsters.list[0].orc_vertical = 1;
    EXPECT_EQ(monster_at(3, 4), 0);
    EXPECT_EQ(monster_at(4, 3), -1);
    EXPECT_EQ(monster_at(3, 3), 0);
    EXPECT_EQ(monster_at(3, 2), -1);
}

TEST_F(MonstersTest, LowestSlotWins) {
    monster_add(M_DRAGON, 5, 6);
    monster_add(M_RAT, 6, 6);
    EXPECT_EQ(monster_at(6, 6), 0);
    monster_remove(0);
    EXPECT_EQ(monster_at(6, 6), 0);
    EXPECT_EQ(monsters.list[0].type, M_RAT);
}

TEST_F(MonstersTest, RemovingMovesTheLastIntoTheSlot) {
    monster_add(M_GOBLIN, 1, 1);
    monster_add(M_RAT, 2, 2);
    monster_add(M_BAT, 3, 3);
    monster_remove(0);
    ASSERT_EQ(monsters.count, 2);
    EXPECT_EQ(monsters.list[0].type, M_BAT);
    EXPECT_EQ(monsters.list[1].type, M_RAT);
    MonsterList before = monsters;
    monster_remove(2);
    monster_remove(-1);
    EXPECT_EQ(memcmp(&before, &monsters, sizeof before), 0);
}

TEST_F(MonstersTest, SkeletonPatrolsTheLongerLine) {
    // An open room: 4 + 4 either way, a tie goes east.
    EXPECT_EQ(monster_start_dir(M_SKELETON, 6, 5), 1);
    // A north-south corridor.
    gmap[5][5] = '#';
    gmap[5][7] = '#';
    EXPECT_EQ(monster_start_dir(M_SKELETON, 6, 5), 2);
    EXPECT_EQ(monster_start_dir(M_GOBLIN, 6, 5), 2);
    // Only '.' counts as open.
    gmap[5][5] = '.';
    gmap[5][7] = '.';
    gmap[4][6] = 'p';
    gmap[6][6] = 'g';
    EXPECT_EQ(monster_start_dir(M_SKELETON, 6, 5), 1);
}

TEST_F(MonstersTest, SnapPutsEveryoneOnTheirCellCentre) {
    monster_add(M_SLIME, 2, 9);
    monsters.list[0].draw_x = 7.0f;
    monsters.list[0].draw_y = -1.0f;
    monsters_snap_draw();
    EXPECT_FLOAT_EQ(monsters.list[0].draw_x, 2.5f);
    EXPECT_FLOAT_EQ(monsters.list[0].draw_y, 9.5f);
}

TEST_F(MonstersTest, GlyphKindsAndLines) {
    const char* letters = "GRSDBJOM";
    for (int t = 1; t < M_COUNT; ++t) EXPECT_EQ(monster_type_of_glyph(letters[t - 1]), t);
    EXPECT_EQ(monster_type_of_glyph('o'), M_NONE);
    EXPECT_EQ(monster_type_of_glyph('C'), M_NONE);
    EXPECT_STREQ(monster_behaviour_text(M_BAT), "FLITS, 2 A TURN");
    EXPECT_STREQ(monster_behaviour_text(M_MIMIC), "WAITS. IT'S A CHEST");
    EXPECT_STREQ(monster_behaviour_text(0), "");
    EXPECT_STREQ(monster_behaviour_text(9), "");
    EXPECT_STREQ(MONSTER_TYPES[M_DRAGON].name, "DRAGON");
    EXPECT_EQ(MONSTER_TYPES[M_DRAGON].hp, 59);
}

TEST(MonsterRecord, FieldOffsetsMatchTheRunFile) {
    EXPECT_EQ(offsetof(Monster, elite), 12u);
    EXPECT_EQ(offsetof(Monster, dir), 16u);
    EXPECT_EQ(offsetof(Monster, orc_vertical), 32u);
    EXPECT_EQ(offsetof(Monster, kind_state), 36u);
    EXPECT_EQ(offsetof(Monster, move_cooldown), 44u);
    EXPECT_EQ(offsetof(Monster, draw_x), 52u);
    EXPECT_EQ(offsetof(Monster, draw_y), 56u);
}

}  // namespace
