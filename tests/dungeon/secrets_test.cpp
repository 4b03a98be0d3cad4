// Hollow walls crack then open; urns leave gold by their place in the boss layout.
#include <gtest/gtest.h>

#include <cstring>

#include "dungeon/boss_layouts.h"
#include "dungeon/map.h"
#include "dungeon/secrets.h"

namespace {

void load_layout(int which) {
    for (int y = 0; y < MAP_H; ++y) memcpy(gmap[y], BOSS_LAYOUTS[which][y], MAP_W);
}

struct SecretsTest : ::testing::Test {
    void TearDown() override { current_floor = 0; }
};

TEST_F(SecretsTest, HollowWallCracksThenOpens) {
    load_layout(0);
    gmap[4][0] = '%';
    EXPECT_EQ(wall_bump_secret(0, 4), SECRET_HOLLOW);
    EXPECT_EQ(gmap[4][0], '&');
    EXPECT_EQ(wall_bump_secret(0, 4), SECRET_OPENED);
    EXPECT_EQ(gmap[4][0], '.');
    EXPECT_EQ(wall_bump_secret(0, 4), SECRET_NOTHING);
    EXPECT_EQ(gmap[4][0], '.');
    EXPECT_EQ(wall_bump_secret(0, 0), SECRET_NOTHING);
    EXPECT_EQ(gmap[0][0], '#');
    EXPECT_EQ(wall_bump_secret(-1, 4), SECRET_NOTHING);
    EXPECT_EQ(wall_bump_secret(16, 4), SECRET_NOTHING);
}

TEST_F(SecretsTest, FloorNineUrnsAlternate) {
    current_floor = 9;
    load_layout(0);
    struct Urn {
        int x, y;
        char left;
    } urns[] = {{11, 2, '.'}, {3, 3, 'g'}, {4, 6, '.'}, {12, 6, 'g'}, {2, 9, '.'}, {13, 9, 'g'}};
    // Breaking out of order gives the same result: the count comes from the layout.
    for (int i = 5; i >= 0; --i) {
        ASSERT_EQ(gmap[urns[i].y][urns[i].x], 'b');
        urn_break(urns[i].x, urns[i].y);
        EXPECT_EQ(gmap[urns[i].y][urns[i].x], urns[i].left) << i;
    }
    urn_break(8, 7);  // gold, not an urn
    EXPECT_EQ(gmap[7][8], 'g');
}

TEST_F(SecretsTest, FloorNineteenUsesItsOwnLayout) {
    current_floor = 19;
    load_layout(1);
    // Reading order: (6,3), (2,6), (13,6), (2,9), (13,9).
    urn_break(6, 3);
    EXPECT_EQ(gmap[3][6], '.');
    urn_break(2, 6);
    EXPECT_EQ(gmap[6][2], 'g');
    urn_break(13, 9);
    EXPECT_EQ(gmap[9][13], '.');
}

TEST_F(SecretsTest, EveryLayoutHasOneDragonStartAndExit) {
    for (int k = 0; k < 2; ++k) {
        int dragons = 0, starts = 0, exits = 0;
        for (int y = 0; y < MAP_H; ++y) {
            ASSERT_EQ(strlen(BOSS_LAYOUTS[k][y]), (size_t)MAP_W);
            for (int x = 0; x < MAP_W; ++x) {
                dragons += BOSS_LAYOUTS[k][y][x] == 'D';
                starts += BOSS_LAYOUTS[k][y][x] == '@';
                exits += BOSS_LAYOUTS[k][y][x] == 'X';
            }
        }
        EXPECT_EQ(dragons, 1);
        EXPECT_EQ(starts, 1);
        EXPECT_EQ(exits, 1);
        EXPECT_EQ(BOSS_LAYOUTS[k][1][8], '@');
    }
    EXPECT_EQ(boss_layout_for_floor(9), BOSS_LAYOUTS[0]);
    EXPECT_EQ(boss_layout_for_floor(19), BOSS_LAYOUTS[1]);
    EXPECT_EQ(boss_layout_for_floor(0), BOSS_LAYOUTS[0]);
}

}  // namespace
