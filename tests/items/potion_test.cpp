// Potion heal amounts and using bag entries.
#include <gtest/gtest.h>

#include <cstring>

#include "items/bag.h"
#include "items/item.h"
#include "world/player.h"
#include "items/potion.h"
#include "player_fixture.h"

namespace {

struct PotionTest : ::testing::Test {
    void SetUp() override { reset_player(); }
};

TEST_F(PotionTest, HealAmountsScaleWithMaxHpAboveTheirMinimums) {
    struct Case {
        int max_hp, id, heal;
    } cases[] = {
        {40, ITEM_HEALING_POTION, 6},    {100, ITEM_HEALING_POTION, 15},  {12, ITEM_HEALING_POTION, 6},
        {40, ITEM_GREATER_POTION, 15},   {100, ITEM_GREATER_POTION, 30},  {51, ITEM_GREATER_POTION, 15},
        {40, ITEM_SUPERIOR_POTION, 30},  {100, ITEM_SUPERIOR_POTION, 50}, {61, ITEM_SUPERIOR_POTION, 30},
        {100, ITEM_ANTIDOTE, 0},         {100, ITEM_NONE, 0},             {100, 99, 0},
    };
    for (const Case& c : cases) {
        player.max_hp = c.max_hp;
        EXPECT_EQ(potion_heal_base(c.id), c.heal) << c.id << " at " << c.max_hp;
        EXPECT_EQ(potion_heal_amount(c.id, 0), c.heal) << c.id << " at " << c.max_hp;
    }
}

TEST_F(PotionTest, DrinkingHealsUpToMaxHp) {
    player.hp = 10;
    EXPECT_EQ(potion_drink_heal(ITEM_HEALING_POTION, 0), 6);
    EXPECT_EQ(player.hp, 16);
    player.hp = 38;
    EXPECT_EQ(potion_drink_heal(ITEM_SUPERIOR_POTION, 0), 2);
    EXPECT_EQ(player.hp, 40);
    EXPECT_EQ(potion_drink_heal(ITEM_HEALING_POTION, 0), 0);
    player.hp = 5;
    EXPECT_EQ(potion_drink_heal(ITEM_ANTIDOTE, 0), 0);
    EXPECT_EQ(player.hp, 5);
}

TEST_F(PotionTest, ForagerRanksHealAQuarterMoreEach) {
    player.max_hp = 100;
    EXPECT_EQ(potion_heal_amount(ITEM_HEALING_POTION, 1), 18);  // 15 + 25 %
    EXPECT_EQ(potion_heal_amount(ITEM_GREATER_POTION, 2), 45);  // 30 + 50 %
    EXPECT_EQ(potion_heal_amount(ITEM_ANTIDOTE, 2), 0);
    player.hp = 10;
    EXPECT_EQ(potion_drink_heal(ITEM_HEALING_POTION, 2), 22);
}

TEST_F(PotionTest, UsingAPotionFromTheBag) {
    bag_add(player.bag, item_make(ITEM_HEALING_POTION), 2);
    char out[32];
    EXPECT_FALSE(item_use(0, 0, out, sizeof out));
    EXPECT_STREQ(out, "Already at full HP!");
    EXPECT_EQ(player.bag.entries[0].count, 2);
    player.hp = 30;
    EXPECT_EQ(item_use(0, 0, out, sizeof out), ITEM_USE_HEALED);
    EXPECT_STREQ(out, "Healed 6 HP");
    EXPECT_EQ(player.hp, 36);
    EXPECT_EQ(player.bag.entries[0].count, 1);
    EXPECT_TRUE(item_use(0, 0, out, sizeof out));
    EXPECT_STREQ(out, "Healed 4 HP");
    EXPECT_EQ(player.bag.count, 0);
    EXPECT_EQ(player.bag.cells[0][0], BAG_EMPTY);
    EXPECT_FALSE(item_use(0, 0, out, sizeof out));
    EXPECT_STREQ(out, "Nothing to use");
}

TEST_F(PotionTest, AntidoteCuresPoisonOnly) {
    bag_add(player.bag, item_make(ITEM_DAGGER), 1);
    bag_add(player.bag, item_make(ITEM_ANTIDOTE), 1);
    char out[32];
    EXPECT_FALSE(item_use(1, 0, out, sizeof out));
    EXPECT_STREQ(out, "No poison to cure");
    player.status[ST_POISON] = 9;
    player.status[ST_BURN] = 4;
    EXPECT_EQ(item_use(1, 0, out, sizeof out), ITEM_USE_CURED);
    EXPECT_STREQ(out, "Poison cured!");
    EXPECT_EQ(player.status[ST_POISON], 0);
    EXPECT_EQ(player.status[ST_BURN], 4);
    EXPECT_EQ(player.bag.count, 1);
    EXPECT_FALSE(item_use(0, 0, out, sizeof out));
    EXPECT_STREQ(out, "Can't use that");
    EXPECT_FALSE(item_use(-3, 0, nullptr, 0));
}

}  // namespace
