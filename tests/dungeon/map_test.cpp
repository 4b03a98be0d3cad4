// The glyph map: reads outside the grid, the glyph sets, walls on both sides and view marking.
#include <gtest/gtest.h>

#include <cstring>

#include "dungeon/map.h"
#include "world/player.h"

namespace {

void load_rows(const char* const rows[MAP_H]) {
    for (int y = 0; y < MAP_H; ++y) memcpy(gmap[y], rows[y], MAP_W);
}

const char* const OPEN_ROOM[MAP_H] = {
    "################",
    "#..............#",
    "#..............#",
    "#..............#",
    "#..............#",
    "#.......#......#",
    "#..............#",
    "#..............#",
    "#..............#",
    "#..............#",
    "#..............#",
    "################",
};

struct MapTest : ::testing::Test {
    void SetUp() override {
        load_rows(OPEN_ROOM);
        memset(explored, 0, sizeof explored);
        player.x = 5;
        player.y = 5;
        player.facing = 1;
    }
};

TEST_F(MapTest, OutsideTheGridIsWall) {
    gmap[0][3] = '.';
    gmap[11][3] = '.';
    EXPECT_EQ(gmap_at(3, 0), '.');
    EXPECT_EQ(gmap_at(-1, 5), '#');
    EXPECT_EQ(gmap_at(16, 0), '#');
    EXPECT_EQ(gmap_at(3, 12), '#');
    EXPECT_EQ(gmap_at(3, -1), '#');
    EXPECT_EQ(gmap_at(5, 5), '.');
}

TEST_F(MapTest, GlyphSetsOverEveryByte) {
    const char* blocking = "#%&+>EKLNTVWX";
    const char* pickups = "agkpsw";
    for (int c = -300; c < 300; ++c) {
        bool blocks = c > 0 && c < 128 && strchr(blocking, c) != nullptr;
        bool pickup = c > 0 && c < 128 && strchr(pickups, c) != nullptr;
        EXPECT_EQ(glyph_blocks(c), blocks) << c;
        EXPECT_EQ(glyph_is_pickup(c), pickup) << c;
    }
}

TEST_F(MapTest, CellBetweenWalls) {
    EXPECT_FALSE(cell_between_walls(5, 5));
    EXPECT_FALSE(cell_between_walls(8, 4));
    gmap[4][7] = '#';
    gmap[4][9] = '+';
    EXPECT_TRUE(cell_between_walls(8, 4));  // left and right
    EXPECT_FALSE(cell_between_walls(8, 6));
    gmap[7][8] = 'X';
    EXPECT_TRUE(cell_between_walls(8, 6));  // above and below
    EXPECT_TRUE(cell_between_walls(0, 5));  // outside counts as blocking
    EXPECT_FALSE(cell_between_walls(1, 1));
}

TEST_F(MapTest, ViewMarksAroundAndAheadButNotBehindAWall) {
    explore_mark_view();
    // All eight neighbours, behind included.
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) EXPECT_EQ(explored[5 + dy][5 + dx], 1) << dx << "," << dy;
    EXPECT_EQ(explored[5][7], 1);  // two ahead
    EXPECT_EQ(explored[5][8], 1);  // the wall itself is seen
    EXPECT_EQ(explored[5][9], 0);  // hidden by it
    EXPECT_EQ(explored[5][10], 0);
    EXPECT_EQ(explored[3][9], 1);   // diagonal, inside the quarter
    EXPECT_EQ(explored[2][8], 1);   // forward 3, sideways 3: on the edge
    EXPECT_EQ(explored[1][8], 0);   // sideways 4 > forward 3
    EXPECT_EQ(explored[5][3], 0);   // behind
    EXPECT_EQ(explored[9][9], 0);   // 4 and 4: beyond radius 5
    EXPECT_EQ(explored[8][9], 1);   // 4 and 3: radius 5
}

TEST_F(MapTest, ViewFollowsTheFacing) {
    player.facing = 0;  // north
    explore_mark_view();
    EXPECT_EQ(explored[2][5], 1);
    EXPECT_EQ(explored[5][8], 0);
    EXPECT_EQ(explored[8][5], 0);
    int fx, fy;
    facing_vector(3, &fx, &fy);
    EXPECT_EQ(fx, -1);
    EXPECT_EQ(fy, 0);
}

TEST_F(MapTest, ViewNearTheBorderStaysInside) {
    player.x = 1;
    player.y = 1;
    player.facing = 3;
    explore_mark_view();
    EXPECT_EQ(explored[0][0], 1);
    EXPECT_EQ(explored[1][3], 0);
}

}  // namespace
