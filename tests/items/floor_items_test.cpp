// The floor item list: capacity, removal order and source words.
#include <gtest/gtest.h>

#include <cstring>

#include "items/floor_items.h"

namespace {

struct FloorItemsTest : ::testing::Test {
    void SetUp() override { floor_items_clear(); }
};

TEST_F(FloorItemsTest, TheThirtyThirdItemIsRefused) {
    for (int i = 0; i < FLOOR_ITEMS_MAX; ++i) ASSERT_TRUE(floor_item_add_new(i % 16, i / 16, item_make(ITEM_DAGGER)));
    FloorItems before = floor_items;
    EXPECT_FALSE(floor_item_add(5, 5, item_make(ITEM_SPEAR), FLOOR_SRC_CHEST));
    EXPECT_EQ(memcmp(&before, &floor_items, sizeof before), 0);
}

TEST_F(FloorItemsTest, RemovingMovesTheLastIntoTheSlot) {
    floor_item_add(1, 1, item_make(ITEM_DAGGER), FLOOR_SRC_MONSTER);
    floor_item_add(2, 2, item_make(ITEM_SPEAR), FLOOR_SRC_FLOOR);
    floor_item_add(3, 3, item_make(ITEM_IRON_SHIELD), FLOOR_SRC_CHEST);
    floor_item_remove(0);
    ASSERT_EQ(floor_items.count, 2);
    EXPECT_EQ(floor_items.entries[0].item.id, (uint32_t)ITEM_IRON_SHIELD);
    EXPECT_EQ(floor_items.entries[0].x, 3);
    EXPECT_STREQ(floor_item_source_word(0), "chest");
    EXPECT_EQ(floor_items.entries[1].item.id, (uint32_t)ITEM_SPEAR);
    floor_item_remove(2);
    floor_item_remove(-1);
    EXPECT_EQ(floor_items.count, 2);
}

TEST_F(FloorItemsTest, SourceWords) {
    const char* words[] = {"?", "floor", "monster", "dragon", "mimic", "chest", "dropped", "?", "?"};
    for (int s = 0; s < 9; ++s) {
        floor_items_clear();
        floor_item_add(1, 1, item_make(ITEM_DAGGER), s);
        EXPECT_STREQ(floor_item_source_word(0), words[s]) << s;
    }
    EXPECT_STREQ(floor_item_source_word(1), "floor");
    EXPECT_STREQ(floor_item_source_word(-1), "floor");
    floor_item_set_state(0, FLOOR_SRC_DRAGON);
    EXPECT_STREQ(floor_item_source_word(0), "dragon");
    floor_item_set_state(1, FLOOR_SRC_MIMIC);  // outside the list: ignored
    EXPECT_EQ(floor_items.source[1], 0);
}

TEST_F(FloorItemsTest, AfterLoadingEverySourceIsUnknown) {
    floor_item_add_new(1, 1, item_make(ITEM_DAGGER));
    floor_item_add(2, 1, item_make(ITEM_DAGGER), FLOOR_SRC_CHEST);
    floor_item_states_clear();
    EXPECT_EQ(floor_items.count, 2);
    EXPECT_STREQ(floor_item_source_word(0), "?");
    EXPECT_STREQ(floor_item_source_word(1), "?");
}

TEST_F(FloorItemsTest, FindReturnsTheLowerIndex) {
    floor_item_add_new(4, 4, item_make(ITEM_DAGGER));
    floor_item_add_new(5, 5, item_make(ITEM_SPEAR));
    floor_item_add_new(5, 5, item_make(ITEM_IRON_SHIELD));
    EXPECT_EQ(floor_item_find(5, 5), 1);
    EXPECT_EQ(floor_item_find(4, 4), 0);
    EXPECT_EQ(floor_item_find(4, 5), -1);
}

}  // namespace
