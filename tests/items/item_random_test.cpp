// The random makers: weighted picks, the quality draw, the luck counter and the makers' draws.
#include <gtest/gtest.h>

#include "items/item.h"
#include "world/player.h"
#include "items/item_random.h"
#include "player_fixture.h"
#include "scripted_rand.h"

namespace {

struct ItemRandomTest : ::testing::Test {
    void SetUp() override {
        reset_player();
        player.main_hand = item_make(ITEM_SHORT_SWORD);
    }
};

constexpr uint32_t ALL_IDS = 0x7FFEu;

TEST_F(ItemRandomTest, ExplorationStreamFirstDraws) {
    next_random_state = 1;
    EXPECT_EQ(next_random(100), 39);
    EXPECT_EQ(next_random(100), 27);
    EXPECT_EQ(next_random(100), 14);
    EXPECT_EQ(next_random(100), 84);
    EXPECT_EQ(next_random_state, 3295386429u);
}

TEST_F(ItemRandomTest, FloorTiers) {
    const int tiers[] = {0, 0, 0, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 5, 5};
    for (int f = 0; f < 22; ++f) EXPECT_EQ(item_floor_tier(f), tiers[f]) << f;
    EXPECT_EQ(item_floor_tier(500), 5);
}

TEST_F(ItemRandomTest, WeightedPickWalksRunningTotals) {
    const ItemWeight* tier0 = item_weapon_tier(0);  // 4:25, 1:20, 10:20, 2:20, 11:15
    struct Case {
        int r, id;
    } cases[] = {{1, 4}, {25, 4}, {26, 1}, {45, 1}, {46, 10}, {85, 2}, {86, 11}, {100, 11}};
    for (const Case& c : cases) {
        scripted::script({c.r});
        EXPECT_EQ(item_pick_eligible(tier0, scripted::rand, ALL_IDS), c.id) << c.r;
    }
}

TEST_F(ItemRandomTest, LockedEntriesScaleTheTarget) {
    // Tier 5 without the Battle Axe and the Enchanted Sword: 11:20, 2:10, 1:10, 10:5 (total 45).
    const ItemWeight* tier5 = item_weapon_tier(5);
    uint32_t open = ALL_IDS & ~(1u << ITEM_BATTLE_AXE) & ~(1u << ITEM_ENCHANTED_SWORD);
    struct Case {
        int r, id;
    } cases[] = {{1, 11}, {44, 11}, {45, 2}, {66, 2}, {67, 1}, {88, 1}, {89, 10}, {100, 10}};
    for (const Case& c : cases) {
        scripted::script({c.r});
        EXPECT_EQ(item_pick_eligible(tier5, scripted::rand, open), c.id) << c.r;
    }
}

TEST_F(ItemRandomTest, NothingEligibleFallsBackToTheFirstEntry) {
    scripted::script({50});
    EXPECT_EQ(item_pick_eligible(item_weapon_tier(5), scripted::rand, 0), ITEM_BATTLE_AXE);
    const ItemWeight empty[] = {{0, 0}};
    scripted::script({50});
    EXPECT_EQ(item_pick_eligible(empty, scripted::rand, ALL_IDS), ITEM_NONE);
    // Only the Dagger open in tier 0: every draw lands on it.
    scripted::script({100});
    EXPECT_EQ(item_pick_eligible(item_weapon_tier(0), scripted::rand, 1u << ITEM_DAGGER), ITEM_DAGGER);
}

TEST_F(ItemRandomTest, EveryTierSumsToOneHundred) {
    for (int t = 0; t < 6; ++t) {
        int w = 0, s = 0;
        for (const ItemWeight* e = item_weapon_tier(t); e->id; ++e) w += e->weight;
        for (const ItemWeight* e = item_shield_tier(t); e->id; ++e) s += e->weight;
        EXPECT_EQ(w, 100) << t;
        EXPECT_EQ(s, 100) << t;
    }
}

TEST_F(ItemRandomTest, QualityDrawOnBothSidesOfFloorFourteen) {
    struct Case {
        int floor, r, quality;
    } cases[] = {
        {13, 29, QUALITY_RARE},  {13, 30, QUALITY_FINE},  {13, 74, QUALITY_FINE},  {13, 75, QUALITY_PLAIN},
        {14, 31, QUALITY_RARE},  {14, 32, QUALITY_FINE},  {14, 76, QUALITY_FINE},  {14, 77, QUALITY_PLAIN},
        {0, 3, QUALITY_RARE},    {0, 4, QUALITY_FINE},    {0, 18, QUALITY_FINE},   {0, 19, QUALITY_PLAIN},
        {40, 45, QUALITY_RARE},  {40, 46, QUALITY_FINE},  {40, 90, QUALITY_FINE},  {40, 91, QUALITY_PLAIN},
    };
    for (const Case& c : cases) {
        Item it = item_make(ITEM_SPEAR);
        scripted::script({c.r});
        item_quality_draw(it, c.floor, scripted::rand, ANY_GEAR);
        EXPECT_EQ(it.quality, c.quality) << "floor " << c.floor << " r " << c.r;
        EXPECT_EQ(it.depth_bonus, c.floor / 3);
    }
    Item shield = item_make(ITEM_IRON_SHIELD);
    scripted::script({100});
    item_quality_draw(shield, 30, scripted::rand, ANY_GEAR);
    EXPECT_EQ(shield.depth_bonus, 0);
    Item deep = item_make(ITEM_DAGGER);
    scripted::script({100});
    item_quality_draw(deep, 900, scripted::rand, ANY_GEAR);
    EXPECT_EQ(deep.depth_bonus, 255);
}

// 1..n from a plain linear congruential stream, for tests that want many varied draws.
int stream_rand(int n) {
    static uint32_t x = 12345;
    x = x * 1103515245u + 12345u;
    return (int)((x >> 16) % (uint32_t)n) + 1;
}

TEST_F(ItemRandomTest, GearRulesDecideWhatCanBeFound) {
    // Loot drops only what the class may use; nothing locked is ever drawn.
    GearRules no_shields = ANY_GEAR;
    no_shields.usable_ids &= ~((1u << ITEM_WOODEN_SHIELD) | (1u << ITEM_IRON_SHIELD) | (1u << ITEM_TOWER_SHIELD));
    GearRules locked = ANY_GEAR;
    locked.locked_ids = (1u << ITEM_BATTLE_AXE) | (1u << ITEM_SPEAR) | (1u << ITEM_VENOM_DAGGER) | (1u << ITEM_TOWER_SHIELD);
    for (int r = 0; r < 300; ++r) {
        const Item d = item_make_drop(18, stream_rand, no_shields);
        EXPECT_FALSE(item_id_is_shield(d.id)) << "draw " << r;
        const Item w = item_make_random('w', 18, stream_rand, locked);
        EXPECT_FALSE(gear_locked(locked, w.id)) << "draw " << r << " gave " << w.id;
    }
}

TEST_F(ItemRandomTest, RunHeatRaisesTheRareOdds) {
    GearRules hot = ANY_GEAR;
    hot.heat = 2;
    EXPECT_EQ(item_rare_odds(13, hot), 35);
    EXPECT_EQ(item_rare_odds(40, hot), 51);
}

TEST_F(ItemRandomTest, LuckClimbsThenResetsOnAFind) {
    const int climb[] = {15, 30, 45, 60, 75, 80, 80};
    for (int expected : climb) {
        scripted::script({100});
        Item out = item_make(ITEM_NONE);
        EXPECT_FALSE(item_make_floor(0, scripted::rand, ANY_GEAR, &out));
        EXPECT_EQ(item_luck, expected);
        EXPECT_EQ(out.id, (uint32_t)ITEM_NONE);
    }
    scripted::script({80, 1, 100});
    Item out;
    EXPECT_TRUE(item_make_floor(0, scripted::rand, ANY_GEAR, &out));
    EXPECT_EQ(item_luck, 0);
    EXPECT_EQ(scripted::used(), 3);
}

TEST_F(ItemRandomTest, FloorWeaponIsRaisedAboveTheWieldedOne) {
    Item strong = item_make(ITEM_ENCHANTED_SWORD);
    strong.quality = QUALITY_RARE;
    strong.upgrade = 3;
    strong.depth_bonus = 20;
    Item broken = item_make(ITEM_LONG_SWORD);
    broken.wear = 40;
    struct Case {
        Item wielded;
        int quality, upgrade;
    } cases[] = {
        {item_make(ITEM_LONG_SWORD), QUALITY_RARE, 2},  // attack 4: the Dagger climbs to 5
        {strong, QUALITY_RARE, 3},                      // out of reach: stops at Rare +3
        {broken, QUALITY_PLAIN, 0},                     // a broken weapon counts 0
        {item_make(ITEM_NONE), QUALITY_PLAIN, 0},
    };
    for (const Case& c : cases) {
        player.main_hand = c.wielded;
        item_luck = 80;
        scripted::script({1, 1, 100});  // a find, the Dagger, plain
        Item out;
        ASSERT_TRUE(item_make_floor(0, scripted::rand, ANY_GEAR, &out));
        EXPECT_EQ(out.id, (uint32_t)ITEM_DAGGER);
        EXPECT_EQ(out.quality, c.quality) << c.wielded.id;
        EXPECT_EQ(out.upgrade, c.upgrade) << c.wielded.id;
    }
}

TEST_F(ItemRandomTest, PotionLetterByFloor) {
    struct Case {
        int floor;
        std::initializer_list<int> draws;
        uint32_t id;
    } cases[] = {
        {5, {}, ITEM_HEALING_POTION},         {6, {25}, ITEM_GREATER_POTION},
        {11, {26}, ITEM_HEALING_POTION},      {12, {15}, ITEM_SUPERIOR_POTION},
        {12, {16}, ITEM_GREATER_POTION},      {19, {50}, ITEM_GREATER_POTION},
        {19, {51}, ITEM_HEALING_POTION},
    };
    for (const Case& c : cases) {
        scripted::script(c.draws);
        EXPECT_EQ(item_make_random('p', c.floor, scripted::rand, ANY_GEAR).id, c.id) << c.floor;
        EXPECT_EQ(scripted::used(), (int)c.draws.size());
    }
    scripted::script({});
    EXPECT_EQ(item_make_random('a', 3, scripted::rand, ANY_GEAR).id, (uint32_t)ITEM_ANTIDOTE);
    EXPECT_EQ(item_make_random('g', 3, scripted::rand, ANY_GEAR).id, (uint32_t)ITEM_NONE);
}

TEST_F(ItemRandomTest, WeaponAndShieldLetters) {
    scripted::script({10, 1, 3});  // class-only, the Dagger, Rare
    Item w = item_make_random('w', 2, scripted::rand, ANY_GEAR);
    EXPECT_EQ(w.id, (uint32_t)ITEM_DAGGER);
    EXPECT_EQ(w.quality, QUALITY_RARE);
    EXPECT_EQ(w.depth_bonus, 0);
    scripted::script({10, 1, 100});  // tier 1 starts with the Long Sword; depth 5 / 3
    EXPECT_EQ(item_make_random('w', 5, scripted::rand, ANY_GEAR).depth_bonus, 1);
    scripted::script({50, 1, 100});  // a KNIGHT gets a shield: tier 1 starts with the Wooden Shield
    Item s = item_make_random('s', 4, scripted::rand, ANY_GEAR);
    EXPECT_EQ(s.id, (uint32_t)ITEM_WOODEN_SHIELD);
    EXPECT_EQ(s.quality, QUALITY_PLAIN);
    EXPECT_EQ(s.depth_bonus, 0);
}

TEST_F(ItemRandomTest, GearIsRareWithAnUpgradeByFloor) {
    struct Case {
        int floor, upgrade, depth;
    } cases[] = {{0, 1, 1}, {9, 1, 4}, {10, 2, 4}, {24, 2, 9}, {25, 3, 9}};
    for (const Case& c : cases) {
        scripted::script({60, 1, 1, 100});  // weapon letter, class-only, the first entry, plain
        Item g = item_make_gear(c.floor, scripted::rand, ANY_GEAR);
        EXPECT_TRUE(item_id_is_weapon(g.id));
        EXPECT_EQ(g.quality, QUALITY_RARE) << c.floor;
        EXPECT_EQ(g.upgrade, c.upgrade) << c.floor;
        EXPECT_EQ(g.depth_bonus, c.depth) << c.floor;
    }
}

TEST_F(ItemRandomTest, DropsAreFineOrRareAndEnchanted) {
    // A shield drop for a KNIGHT: the Tower Shield, Rare, WARDING.
    scripted::script({61, 45, 3, 1});
    Item s = item_make_drop(0, scripted::rand, ANY_GEAR);
    EXPECT_EQ(s.id, (uint32_t)ITEM_TOWER_SHIELD);
    EXPECT_EQ(s.quality, QUALITY_RARE);
    EXPECT_EQ(s.upgrade, 1);
    EXPECT_EQ(s.enchant, ENCHANT_WARDING);
    EXPECT_EQ(s.depth_bonus, 0);
    // A weapon drop: the last entry (the Dagger), Fine, VENOMOUS.
    scripted::script({60, 100, 100, 3});
    Item w = item_make_drop(12, scripted::rand, ANY_GEAR);
    EXPECT_EQ(w.id, (uint32_t)ITEM_DAGGER);
    EXPECT_EQ(w.quality, QUALITY_FINE);
    EXPECT_EQ(w.upgrade, 2);
    EXPECT_EQ(w.depth_bonus, 4);
    EXPECT_EQ(w.enchant, ENCHANT_VENOMOUS);
    EXPECT_EQ(scripted::used(), 4);
}

TEST_F(ItemRandomTest, ShopTierRaisesToTheMinimumQuality) {
    scripted::script({1, 100});
    Item t = item_make_tier(0, scripted::rand, QUALITY_FINE, ANY_GEAR);
    EXPECT_EQ(t.id, (uint32_t)ITEM_DAGGER);
    EXPECT_EQ(t.quality, QUALITY_FINE);
    scripted::script({1, 1});
    EXPECT_EQ(item_make_tier(0, scripted::rand, QUALITY_FINE, ANY_GEAR).quality, QUALITY_RARE);
}

TEST_F(ItemRandomTest, ChestBonusPotion) {
    EXPECT_EQ(floor_potion_id(0), ITEM_GREATER_POTION);
    EXPECT_EQ(floor_potion_id(5), ITEM_GREATER_POTION);
    EXPECT_EQ(floor_potion_id(6), ITEM_SUPERIOR_POTION);
}

TEST_F(ItemRandomTest, LuckResetsOnlyForABetterWeapon) {
    player.main_hand = item_make(ITEM_LONG_SWORD);  // attack 4
    Item better = item_make(ITEM_DAGGER);
    better.quality = QUALITY_RARE;
    better.upgrade = 2;  // attack 5
    item_luck = 45;
    luck_reset_if_better(item_make(ITEM_DAGGER), ANY_GEAR);
    EXPECT_EQ(item_luck, 45);
    luck_reset_if_better(item_make(ITEM_TOWER_SHIELD), ANY_GEAR);
    EXPECT_EQ(item_luck, 45);
    luck_reset_if_better(better, ANY_GEAR);
    EXPECT_EQ(item_luck, 0);
    item_luck = 30;
    player.main_hand = item_make(ITEM_NONE);
    luck_reset_if_better(item_make(ITEM_DAGGER), ANY_GEAR);
    EXPECT_EQ(item_luck, 0);
}

}  // namespace
