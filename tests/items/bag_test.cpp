// Bag placement: first fit, rotation, stacking, removal and the grid's invariants.
#include <gtest/gtest.h>

#include <cstring>

#include "world/player.h"
#include "items/bag.h"
#include "items/potion.h"
#include "player_fixture.h"

namespace {

// Every entry covers exactly its w x h cells and every cell is empty or a valid index.
void expect_consistent(const Bag& bag) {
    int covered[BAG_MAX_ITEMS] = {};
    for (int r = 0; r < BAG_ROWS; ++r)
        for (int c = 0; c < BAG_COLS; ++c) {
            int v = bag.cells[r][c];
            ASSERT_TRUE(v == BAG_EMPTY || (v >= 0 && v < bag.count)) << c << "," << r << " = " << v;
            if (v >= 0) ++covered[v];
        }
    for (int i = 0; i < bag.count; ++i) {
        int w, h;
        bag_item_size(bag.entries[i], &w, &h);
        EXPECT_EQ(covered[i], w * h) << "entry " << i;
        for (int r = bag.entries[i].row; r < bag.entries[i].row + h; ++r)
            for (int c = bag.entries[i].col; c < bag.entries[i].col + w; ++c) EXPECT_EQ(bag_cell(bag, c, r), i);
    }
}

struct BagTest : ::testing::Test {
    Bag& bag = player.bag;
    void SetUp() override { reset_player(); }
};

TEST_F(BagTest, ClearEmptiesEveryCell) {
    bag.count = 3;
    bag.cells[2][2] = 1;
    bag_grid_clear(bag);
    EXPECT_EQ(bag.count, 0);
    for (int r = 0; r < BAG_ROWS; ++r)
        for (int c = 0; c < BAG_COLS; ++c) EXPECT_EQ(bag.cells[r][c], BAG_EMPTY);
}

TEST_F(BagTest, CellsOutsideTheGridAreEmpty) {
    bag_add(bag, item_make(ITEM_WOODEN_SHIELD), 1);
    EXPECT_EQ(bag_cell(bag, 0, 0), 0);
    EXPECT_EQ(bag_cell(bag, -1, 0), BAG_EMPTY);
    EXPECT_EQ(bag_cell(bag, 6, 0), BAG_EMPTY);
    EXPECT_EQ(bag_cell(bag, 0, 5), BAG_EMPTY);
    EXPECT_EQ(bag_cell(bag, 0, -1), BAG_EMPTY);
}

TEST_F(BagTest, AreaFreeChecksBoundsAndKey) {
    bag_add(bag, item_make(ITEM_WOODEN_SHIELD), 1);  // (0,0)-(1,1)
    EXPECT_FALSE(bag_area_free(bag, 0, 0, 1, 1, BAG_EMPTY));
    EXPECT_TRUE(bag_area_free(bag, 0, 0, 2, 2, 0));
    EXPECT_TRUE(bag_area_free(bag, 2, 0, 4, 5, BAG_EMPTY));
    EXPECT_FALSE(bag_area_free(bag, 2, 0, 5, 1, BAG_EMPTY));
    EXPECT_FALSE(bag_area_free(bag, 0, 4, 1, 2, BAG_EMPTY));
    EXPECT_FALSE(bag_area_free(bag, -1, 2, 1, 1, BAG_EMPTY));
    EXPECT_FALSE(bag_area_free(bag, 3, 3, 0, 1, BAG_EMPTY));
}

TEST_F(BagTest, LongSwordsFillColumnsFromTheLeft) {
    EXPECT_EQ(bag_add(bag, item_make(ITEM_LONG_SWORD), 1), 0);
    EXPECT_EQ(bag_add(bag, item_make(ITEM_LONG_SWORD), 1), 1);
    EXPECT_EQ(bag.entries[0].col, 0);
    EXPECT_EQ(bag.entries[0].row, 0);
    EXPECT_EQ(bag.entries[1].col, 1);
    EXPECT_EQ(bag.entries[1].row, 0);
    EXPECT_EQ(bag.entries[1].rotated, 0);
    expect_consistent(bag);
}

TEST_F(BagTest, SwordIsRotatedWhenOnlyARowIsFree) {
    for (int i = 0; i < 6; ++i) ASSERT_GE(bag_add(bag, item_make(ITEM_IRON_SHIELD), 1), 0);
    // Rows 0..3 are full; only row 4 is free.
    int idx = bag_add(bag, item_make(ITEM_LONG_SWORD), 1);
    ASSERT_EQ(idx, 6);
    EXPECT_EQ(bag.entries[idx].rotated, 1);
    EXPECT_EQ(bag.entries[idx].col, 0);
    EXPECT_EQ(bag.entries[idx].row, 4);
    int w, h;
    bag_item_size(bag.entries[idx], &w, &h);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(bag_add(bag, item_make(ITEM_SHORT_SWORD), 1), 7);  // 2 x 1 at (3,4)
    EXPECT_EQ(bag.entries[7].col, 3);
    EXPECT_EQ(bag_add(bag, item_make(ITEM_SHORT_SWORD), 1), -1);
    expect_consistent(bag);
}

TEST_F(BagTest, SquareItemsAreNeverMarkedRotated) {
    int idx = bag_place_at(bag, item_make(ITEM_WOODEN_SHIELD), 1, 4, 3, true);
    ASSERT_EQ(idx, 0);
    EXPECT_EQ(bag.entries[0].rotated, 0);
    EXPECT_EQ(bag_place_at(bag, item_make(ITEM_DAGGER), 1, 5, 4, false), -1);  // taken
    EXPECT_EQ(bag_place_at(bag, item_make(ITEM_LONG_SWORD), 1, 0, 3, false), -1);  // leaves the grid
    EXPECT_EQ(bag_place_at(bag, item_make(ITEM_NONE), 1, 0, 0, false), -1);  // no size
    EXPECT_EQ(bag_place_at(bag, item_make(ITEM_LONG_SWORD), 1, 0, 3, true), 1);
    EXPECT_EQ(bag.entries[1].rotated, 1);
    expect_consistent(bag);
}

TEST_F(BagTest, StacksIgnoreTheJunkMark) {
    Item a = item_make(ITEM_HEALING_POTION);
    Item b = a;
    b.junk = 1;
    EXPECT_EQ(bag_add(bag, a, 1), 0);
    EXPECT_EQ(bag_add(bag, b, 2), 0);
    EXPECT_EQ(bag.count, 1);
    EXPECT_EQ(bag.entries[0].count, 3);
    Item c = a;
    c.quality = 1;
    EXPECT_EQ(bag_add(bag, c, 1), 1);
    // Wear items never stack.
    EXPECT_EQ(bag_add(bag, item_make(ITEM_DAGGER), 1), 2);
    EXPECT_EQ(bag_add(bag, item_make(ITEM_DAGGER), 1), 3);
    EXPECT_EQ(bag_add(bag, item_make(ITEM_NONE), 1), -1);
    expect_consistent(bag);
}

TEST_F(BagTest, StackingWorksInAFullBag) {
    ASSERT_EQ(bag_add(bag, item_make(ITEM_ANTIDOTE), 1), 0);
    for (int i = 1; i < 30; ++i) ASSERT_EQ(bag_add(bag, item_make(ITEM_DAGGER), 1), i);
    EXPECT_EQ(bag_add(bag, item_make(ITEM_DAGGER), 1), -1);
    EXPECT_EQ(bag_add(bag, item_make(ITEM_ANTIDOTE), 1), 0);
    EXPECT_EQ(bag.entries[0].count, 2);
    EXPECT_EQ(bag_place_at(bag, item_make(ITEM_DAGGER), 1, 0, 0, false), -1);
    expect_consistent(bag);
}

TEST_F(BagTest, RemovingMovesTheLastEntryAndRewritesItsCells) {
    bag_add(bag, item_make(ITEM_LONG_SWORD), 1);   // 0 at (0,0)
    bag_add(bag, item_make(ITEM_DAGGER), 1);       // 1 at (1,0)
    bag_add(bag, item_make(ITEM_IRON_SHIELD), 1);  // 2 at (2,0)
    bag_remove(bag, 0);
    ASSERT_EQ(bag.count, 2);
    EXPECT_EQ(bag.entries[0].item.id, (uint32_t)ITEM_IRON_SHIELD);
    EXPECT_EQ(bag.entries[1].item.id, (uint32_t)ITEM_DAGGER);
    EXPECT_EQ(bag_cell(bag, 0, 0), BAG_EMPTY);
    EXPECT_EQ(bag_cell(bag, 0, 2), BAG_EMPTY);
    EXPECT_EQ(bag_cell(bag, 3, 1), 0);
    expect_consistent(bag);
    bag_remove(bag, 1);  // the last one: nothing moves
    EXPECT_EQ(bag.count, 1);
    EXPECT_EQ(bag_cell(bag, 1, 0), BAG_EMPTY);
    expect_consistent(bag);
}

TEST_F(BagTest, RemovingOutsideTheListChangesNothing) {
    bag_add(bag, item_make(ITEM_DAGGER), 1);
    Bag before = bag;
    bag_remove(bag, 1);
    bag_remove(bag, -1);
    EXPECT_EQ(memcmp(&before, &bag, sizeof bag), 0);
}

TEST_F(BagTest, FindAndUsableLists) {
    bag_add(bag, item_make(ITEM_DAGGER), 1);
    bag_add(bag, item_make(ITEM_ANTIDOTE), 1);
    bag_add(bag, item_make(ITEM_HEALING_POTION), 2);
    bag_add(bag, item_make(ITEM_GREATER_POTION), 3);
    EXPECT_EQ(bag_find(ITEM_HEALING_POTION), 2);
    EXPECT_EQ(bag_find(ITEM_SPEAR), -1);
    int usable[8];
    ASSERT_EQ(bag_list_usable(usable, 8), 3);
    EXPECT_EQ(usable[0], 1);
    EXPECT_EQ(usable[1], 2);
    EXPECT_EQ(usable[2], 3);
    EXPECT_EQ(bag_list_usable(usable, 2), 2);
    EXPECT_EQ(bag_healing_potions(), 2);
    EXPECT_EQ(bag_potion_total(), 5);
    bag.entries[2].count = 0;  // an emptied stack is not found
    EXPECT_EQ(bag_find(ITEM_HEALING_POTION), -1);
    EXPECT_EQ(bag_healing_potions(), 0);
}

TEST_F(BagTest, AddNewGoesIntoThePlayersBag) {
    EXPECT_TRUE(bag_add_new(ITEM_HEALING_POTION, 2));
    EXPECT_EQ(player.bag.entries[0].count, 2);
    EXPECT_FALSE(bag_add_new(ITEM_NONE, 1));
}

}  // namespace
