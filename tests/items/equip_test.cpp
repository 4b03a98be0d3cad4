// The hands: attack and defence from what is held, previews and equipping from the bag.
#include <gtest/gtest.h>

#include <cstring>

#include "classes/classes.h"
#include "items/bag.h"
#include "items/item.h"
#include "world/player.h"
#include "items/equip.h"
#include "player_fixture.h"
#include "support/item_maker.h"

namespace {

struct EquipTest : ::testing::Test {
    void SetUp() override { reset_player(); }
};

TEST_F(EquipTest, AttackFromBothHands) {
    struct Case {
        Item main, off;
        int attack;
    } cases[] = {
        {test_item(ITEM_SHORT_SWORD), test_item(ITEM_NONE), 5},
        {test_item(ITEM_SHORT_SWORD), test_item(ITEM_DAGGER), 6},            // (1 + 1) / 2
        {test_item(ITEM_SHORT_SWORD), test_item(ITEM_SHORT_SWORD, 1), 7},    // (3 + 1) / 2
        {test_item(ITEM_SHORT_SWORD), test_item(ITEM_DAGGER, 0, 0, 0, 40), 5},  // broken
        {test_item(ITEM_SHORT_SWORD), test_item(ITEM_TOWER_SHIELD), 4},
        {test_item(ITEM_SHORT_SWORD), test_item(ITEM_WOODEN_SHIELD), 5},
        {test_item(ITEM_BATTLE_AXE), test_item(ITEM_TOWER_SHIELD), 11},     // two hands ignore the off hand
        {test_item(ITEM_NONE), test_item(ITEM_DAGGER), 4},
        {test_item(ITEM_NONE), test_item(ITEM_NONE), 3},
    };
    for (const Case& c : cases) {
        player.main_hand = c.main;
        player.off_hand = c.off;
        EXPECT_EQ(player_attack_value(), c.attack) << c.main.id << " + " << c.off.id;
    }
}

TEST_F(EquipTest, DefenceFromTheOffHandOrATwoHander) {
    struct Case {
        Item main, off;
        int defence;
    } cases[] = {
        {test_item(ITEM_SHORT_SWORD), test_item(ITEM_NONE), 0},
        {test_item(ITEM_SHORT_SWORD), test_item(ITEM_IRON_SHIELD, 1, 1), 4},
        {test_item(ITEM_SHORT_SWORD), test_item(ITEM_IRON_SHIELD, 0, 0, 0, 40), 0},
        {test_item(ITEM_SPEAR, 1, 2), test_item(ITEM_NONE), 5},
        {test_item(ITEM_SPEAR, 1, 2), test_item(ITEM_IRON_SHIELD), 5},
        {test_item(ITEM_SPEAR, 0, 0, 0, 40), test_item(ITEM_NONE), 0},
    };
    for (const Case& c : cases) {
        player.main_hand = c.main;
        player.off_hand = c.off;
        EXPECT_EQ(player_defence_value(ANY_GEAR), c.defence) << c.main.id << " + " << c.off.id;
    }
    EXPECT_EQ(item_two_hand_defence(test_item(ITEM_SHORT_SWORD, 2, 2)), 0);
    EXPECT_EQ(item_two_hand_defence(test_item(ITEM_LONG_SWORD, 2, 1)), 5);
}

TEST_F(EquipTest, IronSkinAddsToEveryPairOfHandsAndClassRulesRefuse) {
    player.main_hand = test_item(ITEM_SHORT_SWORD);
    player.off_hand = test_item(ITEM_NONE);
    GearRules skin = ANY_GEAR;
    skin.iron_skin = 3;
    EXPECT_EQ(player_defence_value(skin), 3);
    player.off_hand = test_item(ITEM_IRON_SHIELD, 1, 1);
    EXPECT_EQ(player_defence_value(skin), 7);
    EquipPreview p;
    ASSERT_TRUE(equip_preview(test_item(ITEM_WOODEN_SHIELD), skin, &p));
    EXPECT_LT(p.defence_change, 0);  // the skin is on both sides of the change

    GearRules no_shields = ANY_GEAR;
    no_shields.usable_ids &= ~(1u << ITEM_WOODEN_SHIELD);
    EXPECT_FALSE(equip_preview(test_item(ITEM_WOODEN_SHIELD), no_shields, &p));
    bag_add(player.bag, test_item(ITEM_WOODEN_SHIELD), 1);
    EXPECT_FALSE(bag_equip(0, no_shields));
    EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_IRON_SHIELD);
}

TEST_F(EquipTest, PreviewOfAShieldUnderATwoHander) {
    player.main_hand = test_item(ITEM_SPEAR);
    player.off_hand = test_item(ITEM_NONE);
    EquipPreview p;
    ASSERT_TRUE(equip_preview(test_item(ITEM_IRON_SHIELD), ANY_GEAR, &p));
    EXPECT_EQ(p.main_hand.id, (uint32_t)ITEM_NONE);
    EXPECT_EQ(p.off_hand.id, (uint32_t)ITEM_IRON_SHIELD);
    ASSERT_EQ(p.returning_count, 1);
    EXPECT_EQ(p.returning[0].id, (uint32_t)ITEM_SPEAR);
    EXPECT_EQ(p.attack_change, -3);
    EXPECT_EQ(p.defence_change, 0);  // 2 from the shield instead of 2 from the spear
}

TEST_F(EquipTest, PreviewOfWeapons) {
    player.cls = CLASS_BRUTE;
    player.main_hand = test_item(ITEM_SHORT_SWORD);
    player.off_hand = test_item(ITEM_WOODEN_SHIELD);
    EquipPreview p;
    ASSERT_TRUE(equip_preview(test_item(ITEM_DAGGER), ANY_GEAR, &p));
    EXPECT_EQ(p.main_hand.id, (uint32_t)ITEM_DAGGER);
    EXPECT_EQ(p.off_hand.id, (uint32_t)ITEM_WOODEN_SHIELD);
    ASSERT_EQ(p.returning_count, 1);
    EXPECT_EQ(p.returning[0].id, (uint32_t)ITEM_SHORT_SWORD);
    EXPECT_EQ(p.attack_change, -1);
    ASSERT_TRUE(equip_preview(test_item(ITEM_BATTLE_AXE), ANY_GEAR, &p));
    EXPECT_EQ(p.off_hand.id, (uint32_t)ITEM_NONE);
    ASSERT_EQ(p.returning_count, 2);
    EXPECT_EQ(p.returning[0].id, (uint32_t)ITEM_SHORT_SWORD);
    EXPECT_EQ(p.returning[1].id, (uint32_t)ITEM_WOODEN_SHIELD);
    EXPECT_EQ(p.attack_change, 6);
    EXPECT_EQ(p.defence_change, 1);
    EXPECT_FALSE(equip_preview(test_item(ITEM_HEALING_POTION), ANY_GEAR, &p));
    EXPECT_FALSE(equip_preview(test_item(ITEM_NONE), ANY_GEAR, &p));
}

TEST_F(EquipTest, EquipSwapsWithTheBag) {
    player.main_hand = test_item(ITEM_SHORT_SWORD);
    player.off_hand = test_item(ITEM_NONE);
    bag_add(player.bag, test_item(ITEM_DAGGER, 2), 1);
    ASSERT_TRUE(bag_equip(0, ANY_GEAR));
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_DAGGER);
    EXPECT_EQ(player.main_hand.quality, 2);
    ASSERT_EQ(player.bag.count, 1);
    EXPECT_EQ(player.bag.entries[0].item.id, (uint32_t)ITEM_SHORT_SWORD);
    EXPECT_FALSE(bag_equip(1, ANY_GEAR));
    EXPECT_FALSE(bag_equip(-1, ANY_GEAR));
}

TEST_F(EquipTest, TwoHanderNeedsRoomForBothHands) {
    player.cls = CLASS_BRUTE;
    player.main_hand = test_item(ITEM_SHORT_SWORD);
    player.off_hand = test_item(ITEM_WOODEN_SHIELD);
    // The axe in column 0; everything else full of daggers, so once the axe is out only a
    // 1 x 3 column is free: the sword fits, the shield does not.
    ASSERT_EQ(bag_place_at(player.bag, test_item(ITEM_BATTLE_AXE), 1, 0, 0, false), 0);
    while (bag_add(player.bag, test_item(ITEM_DAGGER), 1) != -1) {}
    ASSERT_EQ(player.bag.count, 28);
    const Bag before = player.bag;
    EXPECT_FALSE(bag_equip(0, ANY_GEAR));
    EXPECT_EQ(memcmp(&before, &player.bag, sizeof before), 0);
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_SHORT_SWORD);
    EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_WOODEN_SHIELD);
    // Make room for the shield: with four daggers gone there is a 2 x 2 block free.
    bag_grid_clear(player.bag);
    ASSERT_EQ(bag_place_at(player.bag, test_item(ITEM_BATTLE_AXE), 1, 0, 0, false), 0);
    ASSERT_TRUE(bag_equip(0, ANY_GEAR));
    EXPECT_EQ(player.main_hand.id, (uint32_t)ITEM_BATTLE_AXE);
    EXPECT_EQ(player.off_hand.id, (uint32_t)ITEM_NONE);
    ASSERT_EQ(player.bag.count, 2);
    EXPECT_EQ(player.bag.entries[0].item.id, (uint32_t)ITEM_SHORT_SWORD);
    EXPECT_EQ(player.bag.entries[1].item.id, (uint32_t)ITEM_WOODEN_SHIELD);
}

}  // namespace
