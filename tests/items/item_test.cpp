// The value rules of one item: wear, attack, defence, worth, value, repair, names and letters.
#include <gtest/gtest.h>

#include <cstring>

#include "items/item.h"
#include "player_fixture.h"
#include "support/item_maker.h"

namespace {

struct ItemTest : ::testing::Test {
    void SetUp() override { reset_player(); }
};

TEST_F(ItemTest, IdSetsFollowTheTable) {
    for (uint32_t id = 0; id < 20; ++id) {
        bool weapon = id < ITEM_COUNT && id != 0 && ITEMS[id].kind == ITEM_KIND_WEAPON;
        bool shield = id < ITEM_COUNT && ITEMS[id].kind == ITEM_KIND_SHIELD;
        EXPECT_EQ(item_id_is_weapon(id), weapon) << id;
        EXPECT_EQ(item_id_is_shield(id), shield) << id;
        EXPECT_EQ(item_is_wearable(item_make(id)), weapon || shield) << id;
        EXPECT_EQ(item_id_is_stackable(id), id == 7 || id == 8 || id == 13 || id == 14) << id;
        EXPECT_EQ(item_id_is_healing(id), id == 7 || id == 13 || id == 14) << id;
    }
    EXPECT_FALSE(item_is_wearable(item_make(ITEM_NONE)));
}

TEST_F(ItemTest, BadIdsReadTheEmptyRowButAreStored) {
    EXPECT_STREQ(item_def(99).name, "-");
    EXPECT_EQ(item_def(0xFFFFFFFFu).w, 0);
    Item it = item_make(99);
    EXPECT_EQ(it.id, 99u);
    EXPECT_EQ(item_attack(it), 0);
    EXPECT_EQ(item_glyph(99), '.');
    char name[32];
    item_name(it, name, sizeof name);
    EXPECT_STREQ(name, "-");
}

TEST_F(ItemTest, WearLevelsAndBreaking) {
    struct Case {
        uint32_t id;
        int quality, wear;
        bool broken;
        int level;
    } cases[] = {
        {ITEM_LONG_SWORD, 0, 0, false, 0},   {ITEM_LONG_SWORD, 0, 19, false, 0},
        {ITEM_LONG_SWORD, 0, 20, false, 1},  {ITEM_LONG_SWORD, 0, 31, false, 1},
        {ITEM_LONG_SWORD, 0, 32, false, 2},  {ITEM_LONG_SWORD, 0, 39, false, 2},
        {ITEM_LONG_SWORD, 0, 40, true, 0},   {ITEM_WOODEN_SHIELD, 1, 49, false, 2},
        {ITEM_WOODEN_SHIELD, 1, 50, true, 0}, {ITEM_DAGGER, 2, 59, false, 2},
        {ITEM_DAGGER, 2, 60, true, 0},       {ITEM_HEALING_POTION, 0, 200, false, 0},
        {ITEM_NONE, 0, 200, false, 0},
    };
    for (const Case& c : cases) {
        Item it = test_item(c.id, c.quality, 0, 0, c.wear);
        EXPECT_EQ(item_is_broken(it), c.broken) << c.id << " q" << c.quality << " w" << c.wear;
        EXPECT_EQ(item_wear_level(it), c.level) << c.id << " q" << c.quality << " w" << c.wear;
    }
    EXPECT_EQ(item_wear_max(test_item(ITEM_DAGGER, 2)), 60);
}

TEST_F(ItemTest, AttackAndDefence) {
    struct Case {
        Item item;
        int attack, defence;
    } cases[] = {
        {test_item(ITEM_LONG_SWORD), 4, 0},
        {test_item(ITEM_LONG_SWORD, 1, 2, 0, 0, 3), 10, 0},
        {test_item(ITEM_DAGGER, 0, 0, ENCHANT_MIGHTY), 3, 0},
        {test_item(ITEM_DAGGER, 0, 0, ENCHANT_KEEN), 1, 0},
        {test_item(ITEM_LONG_SWORD, 0, 0, 0, 40), 0, 0},
        {test_item(ITEM_TOWER_SHIELD), -1, 3},
        {test_item(ITEM_TOWER_SHIELD, 0, 0, 0, 40), 0, 0},
        {test_item(ITEM_WOODEN_SHIELD), 0, 1},
        {test_item(ITEM_IRON_SHIELD, 2, 1, ENCHANT_WARDING), 0, 6},
        {test_item(ITEM_IRON_SHIELD, 2, 1, ENCHANT_THORNS), 0, 5},
        {test_item(ITEM_HEALING_POTION), 0, 0},
        {test_item(ITEM_NONE), 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(item_attack(c.item), c.attack) << c.item.id;
        EXPECT_EQ(item_defence(c.item), c.defence) << c.item.id;
    }
}

TEST_F(ItemTest, WorthValueAndRepair) {
    struct Case {
        Item item;
        int worth, value, repair;
    } cases[] = {
        {test_item(ITEM_DAGGER), 6, 6, 0},
        {test_item(ITEM_LONG_SWORD), 12, 12, 0},
        {test_item(ITEM_LONG_SWORD, 0, 0, 0, 1), 12, 12, 1},
        {test_item(ITEM_LONG_SWORD, 0, 0, 0, 10), 12, 12, 2},
        {test_item(ITEM_LONG_SWORD, 0, 0, 0, 40), 12, 3, 12},
        {test_item(ITEM_LONG_SWORD, 1, 1, ENCHANT_KEEN), 34, 34, 0},
        {test_item(ITEM_LONG_SWORD, 1, 0, 0, 5), 18, 18, 1},
        {test_item(ITEM_DAGGER, 0, 0, 0, 0, 3), 12, 12, 0},
        {test_item(ITEM_WOODEN_SHIELD), 8, 8, 0},
        {test_item(ITEM_TOWER_SHIELD, 2), 32, 32, 0},
        {test_item(ITEM_ANTIDOTE), 4, 4, 0},
        {test_item(ITEM_HEALING_POTION, 0, 0, 0, 30), 4, 6, 0},
        {test_item(ITEM_SUPERIOR_POTION), 4, 30, 0},
        {test_item(ITEM_NONE), 4, 4, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(item_worth_base(c.item), c.worth) << c.item.id;
        EXPECT_EQ(item_value(c.item), c.value) << c.item.id;
        EXPECT_EQ(item_repair_cost(c.item), c.repair) << c.item.id;
    }
}

TEST_F(ItemTest, NamesWithQualityAndUpgrade) {
    char out[40];
    item_name(test_item(ITEM_LONG_SWORD), out, sizeof out);
    EXPECT_STREQ(out, "Long Sword");
    item_name(test_item(ITEM_LONG_SWORD, 1, 2), out, sizeof out);
    EXPECT_STREQ(out, "Fine Long Sword +2");
    item_name(test_item(ITEM_VENOM_DAGGER, 2), out, sizeof out);
    EXPECT_STREQ(out, "Rare Venom Dagger");
    item_name(test_item(ITEM_SPEAR, 0, 3), out, sizeof out);
    EXPECT_STREQ(out, "Spear +3");
    char small[8];
    item_name(test_item(ITEM_ENCHANTED_SWORD, 2, 1), small, sizeof small);
    EXPECT_STREQ(small, "Rare En");
}

TEST_F(ItemTest, GlyphsAndLetters) {
    const char* glyphs = "wwwwsspawwwspp";
    for (uint32_t id = 1; id <= 14; ++id) EXPECT_EQ(item_glyph(id), glyphs[id - 1]) << id;
    EXPECT_EQ(item_glyph(0), '.');
    EXPECT_EQ(item_glyph(15), '.');
    EXPECT_EQ(item_from_letter('a').id, (uint32_t)ITEM_ANTIDOTE);
    EXPECT_EQ(item_from_letter('p').id, (uint32_t)ITEM_HEALING_POTION);
    EXPECT_EQ(item_from_letter('s').id, (uint32_t)ITEM_WOODEN_SHIELD);
    EXPECT_EQ(item_from_letter('w').id, (uint32_t)ITEM_LONG_SWORD);
    EXPECT_EQ(item_from_letter('g').id, (uint32_t)ITEM_NONE);
    Item w = item_from_letter('w');
    EXPECT_EQ(w.quality, 0);
    EXPECT_EQ(w.depth_bonus, 0);
}

TEST_F(ItemTest, EnchantsFitTheirKind) {
    for (int e = -1; e <= 8; ++e) {
        bool weapon_enchant = e >= 1 && e <= 4;
        bool shield_enchant = e == 5 || e == 6;
        EXPECT_EQ(enchant_fits_item(test_item(ITEM_LONG_SWORD), e), weapon_enchant) << e;
        EXPECT_EQ(enchant_fits_item(test_item(ITEM_IRON_SHIELD), e), shield_enchant) << e;
        EXPECT_FALSE(enchant_fits_item(test_item(ITEM_HEALING_POTION), e)) << e;
        EXPECT_FALSE(enchant_fits_item(test_item(ITEM_NONE), e)) << e;
        EXPECT_EQ(enchant_fits_item(test_item(ITEM_VENOM_DAGGER), e), weapon_enchant && e != ENCHANT_VENOMOUS) << e;
    }
}

TEST_F(ItemTest, EqualityComparesEveryByte) {
    Item a = test_item(ITEM_SPEAR, 1, 1, ENCHANT_KEEN, 3, 2);
    Item b = a;
    EXPECT_TRUE(item_equal(a, b));
    b.junk = 1;
    EXPECT_FALSE(item_equal(a, b));
    b = a;
    b.rerolls = 1;
    EXPECT_FALSE(item_equal(a, b));
}

}  // namespace
