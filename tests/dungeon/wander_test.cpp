// Monster wandering: who holds still, wander leashes, patrols, slow and fast movers, multi-cell
// footprints, the orc's pivot and the eased drawing positions.
#include <gtest/gtest.h>

#include <cstdlib>

#include "dungeon/wander.h"
#include "game/explore_fixture.h"

namespace {

const char* const OPEN_ROOM[MAP_H] = {
    "################", "#..............#", "#..............#", "#..............#", "#..............#",
    "#..............#", "#..............#", "#..............#", "#..............#", "#..............#",
    "#..............#", "################",
};

void open_room(int px, int py, int facing) {
    explore_world(OPEN_ROOM, facing);
    player.x = px;
    player.y = py;
}

TEST(Wander, MonstersNextToOrJustAheadOfThePlayerHoldStill) {
    open_room(5, 5, 1);
    monster_add(M_RAT, 5, 6);  // beside
    monster_add(M_RAT, 7, 5);  // two ahead, open floor between
    for (int i = 0; i < 50; ++i) monsters_step(false);
    EXPECT_EQ(monsters.list[0].x, 5);
    EXPECT_EQ(monsters.list[0].y, 6);
    EXPECT_EQ(monsters.list[1].x, 7);
    EXPECT_EQ(monsters.list[1].y, 5);
}

TEST(Wander, DragonsMimicsTrainingAndTheFreezeSwitchKeepEveryoneStill) {
    open_room(2, 2, 0);
    monster_add(M_DRAGON, 8, 6);
    monster_add(M_MIMIC, 12, 8);
    monster_add(M_RAT, 10, 3);
    for (int i = 0; i < 20; ++i) monsters_step(true);  // training or the freeze switch
    EXPECT_EQ(monsters.list[2].x, 10);
    EXPECT_EQ(monsters.list[2].y, 3);
    for (int i = 0; i < 20; ++i) monsters_step(false);
    EXPECT_EQ(monsters.list[0].x, 8);
    EXPECT_EQ(monsters.list[1].x, 12);
}

TEST(Wander, WanderersStayOnTheirLeashAndOnOpenFloor) {
    const char* const rows[MAP_H] = {
        "################", "#..>...C..g....#", "#..b..k.....p..#", "#....#####.....#", "#.....a.....s..#",
        "#..w.......%...#", "#...........c..#", "#..........+...#", "#..>....g......#", "#.......b......#",
        "#..............#", "################",
    };
    explore_world(rows, 0);
    player.x = 1;
    player.y = 10;
    int kinds[] = {M_GOBLIN, M_RAT, M_BAT, M_SLIME, M_ORC, M_GOBLIN, M_RAT, M_BAT};
    int spots[][2] = {{4, 1}, {8, 2}, {7, 5}, {12, 5}, {4, 7}, {9, 9}, {13, 9}, {2, 4}};
    for (int i = 0; i < 8; ++i) ASSERT_TRUE(monster_add(kinds[i], spots[i][0], spots[i][1]));
    int moved = 0;
    for (int step = 0; step < 400; ++step) {
        int before = monsters.list[0].x * 16 + monsters.list[0].y;
        monsters_step(false);
        moved += before != monsters.list[0].x * 16 + monsters.list[0].y;
        for (int i = 0; i < monsters.count; ++i) {
            const Monster& m = monsters.list[i];
            int leash = MONSTER_WALK[m.type].leash;
            ASSERT_LE(std::abs(m.x - m.home_x), leash);
            ASSERT_LE(std::abs(m.y - m.home_y), leash);
            int x0, y0, w, h;
            monster_footprint(m, &x0, &y0, &w, &h);
            for (int y = y0; y < y0 + h; ++y)
                for (int x = x0; x < x0 + w; ++x) {
                    ASSERT_EQ(gmap[y][x], '.') << "monster " << i << " on " << x << "," << y;
                    ASSERT_EQ(monster_at(x, y), i);
                    ASSERT_FALSE(x == player.x && y == player.y);
                }
        }
    }
    EXPECT_GT(moved, 10);
}

TEST(Wander, SlimesMoveOnEverySecondActionAndBatsCoverTwoCells) {
    open_room(1, 10, 0);
    monster_add(M_SLIME, 7, 5);
    for (int i = 0; i < 40; ++i) {
        int x = monsters.list[0].x, y = monsters.list[0].y;
        monsters_step(false);
        if (i % 2 == 1) {
            EXPECT_EQ(monsters.list[0].x, x);
            EXPECT_EQ(monsters.list[0].y, y);
        }
    }
    EXPECT_EQ(monsters.list[0].turn, 40);

    open_room(1, 10, 0);
    monster_add(M_BAT, 7, 5);
    bool two = false;
    for (int i = 0; i < 100 && !two; ++i) {
        int x = monsters.list[0].x, y = monsters.list[0].y;
        monsters_step(false);
        two = std::abs(monsters.list[0].x - x) + std::abs(monsters.list[0].y - y) == 2;
    }
    EXPECT_TRUE(two);
}

TEST(Wander, SkeletonPatrolsToTheLeashEndAndBack) {
    const char* const rows[MAP_H] = {
        "################", "################", "################", "################", "################",
        "#..............#", "################", "################", "################", "#..............#",
        "#..............#", "################",
    };
    explore_world(rows, 0);
    player.x = 1;
    player.y = 10;
    monster_add(M_SKELETON, 6, 5);
    ASSERT_EQ(monsters.list[0].dir, 1);  // a corridor running east-west
    int xs[12];
    for (int i = 0; i < 12; ++i) {
        monsters_step(false);
        xs[i] = monsters.list[0].x;
    }
    const int expect[12] = {7, 8, 9, 10, 9, 8, 7, 6, 5, 4, 3, 2};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(xs[i], expect[i]) << "action " << i;
    monsters_step(false);
    EXPECT_EQ(monsters.list[0].x, 3);
}

TEST(Wander, ABoxedInMonsterStillTurnsButAPatrolKeepsItsHeading) {
    const char* const rows[MAP_H] = {
        "################", "#..............#", "#..............#", "#..####........#", "#..#.#.........#",
        "#..####........#", "#..............#", "#..............#", "#.......#......#", "#......#.#.....#",
        "#.......#......#", "################",
    };
    explore_world(rows, 0);
    player.x = 13;
    player.y = 1;
    monster_add(M_RAT, 4, 4);
    monster_add(M_SKELETON, 8, 9);
    const int patrol_dir = monsters.list[1].dir;
    bool seen[4] = {};
    for (int i = 0; i < 60; ++i) {
        monsters_step(false);
        seen[monsters.list[0].dir & 3] = true;
        ASSERT_EQ(monsters.list[1].dir, patrol_dir);
    }
    // A wanderer keeps the heading it drew even when the cell that way is closed.
    EXPECT_TRUE(seen[0] && seen[1] && seen[2] && seen[3]);
    EXPECT_EQ(monsters.list[0].x, 4);
    EXPECT_EQ(monsters.list[0].y, 4);
    EXPECT_EQ(monsters.list[1].x, 8);
    EXPECT_EQ(monsters.list[1].y, 9);
}

TEST(Wander, AFleeCooldownHoldsForTwoCountedActions) {
    open_room(1, 10, 0);
    monster_add(M_RAT, 7, 5);
    monsters.list[0].move_cooldown = 2;
    monsters_step(false);
    monsters_step(false);
    EXPECT_EQ(monsters.list[0].x, 7);
    EXPECT_EQ(monsters.list[0].y, 5);
    EXPECT_EQ(monsters.list[0].move_cooldown, 0);
    // A rat always tries, and from home every neighbour is open and on the leash.
    monsters_step(false);
    EXPECT_NE(monsters.list[0].x * 16 + monsters.list[0].y, 7 * 16 + 5);
}

TEST(Wander, MultiCellFootprintsKeepOutOfWallsThePlayerAndNarrowGaps) {
    const char* const rows[MAP_H] = {
        "################", "#..............#", "#..............#", "#......#.......#", "#..............#",
        "#..............#", "#..............#", "#..............#", "#..............#", "#..............#",
        "#..............#", "################",
    };
    explore_world(rows, 0);
    player.x = 10;
    player.y = 8;
    monster_add(M_ORC, 4, 5);  // lying: (4, 5) and (5, 5)
    monster_add(M_RAT, 2, 2);
    EXPECT_TRUE(monster_try_step(0, 4, 4, nullptr));
    EXPECT_FALSE(monster_try_step(0, 6, 3, nullptr));  // second cell in the wall at (7, 3)
    EXPECT_FALSE(monster_try_step(0, 9, 8, nullptr));  // second cell on the player
    EXPECT_FALSE(monster_try_step(0, 1, 2, nullptr));  // second cell on the rat
    EXPECT_FALSE(monster_try_step(0, 14, 4, nullptr));  // second cell in the border
    EXPECT_TRUE(monster_try_step(0, 5, 5, nullptr));  // its own cells do not block it
    // A cell walled on both sides is closed to a wide body but not to a rat.
    gmap[2][6] = '#';
    gmap[2][8] = '#';
    EXPECT_FALSE(monster_try_step(0, 6, 2, nullptr));
    EXPECT_FALSE(monster_try_step(0, 7, 2, nullptr));
    EXPECT_TRUE(monster_try_step(1, 7, 2, nullptr));
    EXPECT_FALSE(monster_try_step(5, 1, 1, nullptr));  // no such monster
}

TEST(Wander, OrcsPivotBroadsideAcrossTheLineOfSight) {
    open_room(5, 8, 1);  // facing east: line of sight is row 8
    monster_add(M_ORC, 5, 4);  // lying: (5, 4) and (6, 4)
    Monster& orc = monsters.list[0];
    monsters_step_extra(nullptr);
    // Nearer cell (5, 4) is the pivot; the new cell goes toward row 8.
    EXPECT_EQ(orc.orc_vertical, 1);
    EXPECT_EQ(orc.x, 5);
    EXPECT_EQ(orc.y, 4);
    EXPECT_FLOAT_EQ(orc.draw_x, 6.0f);
    EXPECT_FLOAT_EQ(orc.draw_y, 4.0f);
    // Already across the line: nothing changes.
    monsters_step_extra(nullptr);
    EXPECT_EQ(orc.x, 5);
    EXPECT_EQ(orc.y, 4);

    // Blocked toward the line, it swings the other way about the same pivot.
    open_room(5, 8, 3);
    monster_add(M_ORC, 5, 4);
    gmap[5][5] = '#';
    monsters_step_extra(nullptr);
    EXPECT_EQ(monsters.list[0].orc_vertical, 1);
    EXPECT_EQ(monsters.list[0].x, 5);
    EXPECT_EQ(monsters.list[0].y, 3);

    // Facing north the orc turns to lie across the column; a new cell next to the player is refused.
    open_room(6, 6, 0);
    monster_add(M_ORC, 5, 4);
    monsters.list[0].orc_vertical = 1;  // standing: (5, 4) and (5, 5)
    monsters_step_extra(nullptr);
    // Nearer cell (5, 5) pivots; toward column 6 would be (6, 5), beside the player: refused.
    // The other side (4, 5) is free, so the orc lies on (4, 5)-(5, 5).
    EXPECT_EQ(monsters.list[0].orc_vertical, 0);
    EXPECT_EQ(monsters.list[0].x, 4);
    EXPECT_EQ(monsters.list[0].y, 5);

    // Boxed in, it keeps its place and orientation.
    open_room(5, 8, 1);
    monster_add(M_ORC, 5, 4);
    gmap[3][5] = gmap[5][5] = gmap[3][6] = gmap[5][6] = '#';
    monsters_step_extra(nullptr);
    EXPECT_EQ(monsters.list[0].orc_vertical, 0);
    EXPECT_EQ(monsters.list[0].x, 5);
    EXPECT_EQ(monsters.list[0].y, 4);
}

TEST(Wander, DrawPositionsEaseAndSnap) {
    open_room(1, 10, 0);
    monster_add(M_RAT, 4, 4);
    monsters.list[0].x = 5;
    monsters_ease_draw();
    EXPECT_NEAR(monsters.list[0].draw_x, 4.8f, 1e-5);
    EXPECT_EQ(monsters.list[0].draw_y, 4.5f);
    int ticks = 1;
    while (monsters.list[0].draw_x != 5.5f && ticks < 100) {
        monsters_ease_draw();
        ++ticks;
    }
    EXPECT_EQ(monsters.list[0].draw_x, 5.5f);
    EXPECT_LT(ticks, 20);
}

}  // namespace
