// The boons: each one's strength at every level, the labels and icons, the offer weights and
// draws (maxed, locked and evolution rules), granting a level with its toast, and the camp's
// three offers with their stream and its restore.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "boons/boons.h"
#include "dungeon/floor.h"
#include "game/run_start.h"
#include "items/bag.h"
#include "render/sprites.h"
#include "services/toast.h"
#include "world/player.h"

namespace {

struct BoonsTest : ::testing::Test {
    void SetUp() override {
        player_start();
        toast_line1[0] = '\0';
        run_seed = 12345;
        current_floor = 3;
    }
};

uint32_t counter_state = 1;
uint32_t counter_rand() { return counter_state++; }

TEST_F(BoonsTest, EveryBoonsStrengthAtEachLevel) {
    struct Row {
        int id;
        int values[5];
    };
    const Row rows[] = {
        {BOON_IRON_SKIN, {1, 2, 3, 4, 5}},        {BOON_BLOODTHIRST, {5, 8, 12, 16, 20}},
        {BOON_VETERAN, {50, 60, 70, 80, 100}},    {BOON_HUNTER, {15, 25, 35, 45, 60}},
        {BOON_MERCHANT, {5, 8, 12, 16, 25}},      {BOON_LAST_STAND, {0, 0, 0, 25, 50}},
        {BOON_VAMPIRIC, {10, 15, 20, 30, 40}},    {BOON_KEEN_EDGE, {6, 10, 14, 19, 25}},
        {BOON_SPINES, {15, 25, 35, 50, 70}},      {BOON_SIDESTEP, {3, 6, 8, 11, 14}},
    };
    for (const Row& r : rows) {
        player.boon_ranks[r.id] = 0;
        EXPECT_EQ(boon_value(r.id), 0) << r.id;
        for (int level = 1; level <= 5; level++) {
            player.boon_ranks[r.id] = (uint8_t)level;
            EXPECT_EQ(boon_value(r.id), r.values[level - 1]) << r.id << " level " << level;
            EXPECT_EQ(boon_value2(r.id), 0);
        }
    }
    // One-shot and single-level boons carry no strength; ids without a row, or out of range, none.
    player.boon_ranks[BOON_ANTIVENOM] = 1;
    EXPECT_EQ(boon_value(BOON_ANTIVENOM), 0);
    player.boon_ranks[BOON_CAMP_DISCOUNT] = 3;
    EXPECT_EQ(boon_value(BOON_CAMP_DISCOUNT), 0);
    for (int id : {-1, -50, 39, 45, 49, 50, 1000}) EXPECT_EQ(boon_value(id), 0) << id;
}

TEST_F(BoonsTest, LabelsNumeralsAndIcons) {
    char text[32];
    const char* desc = nullptr;
    EXPECT_EQ(boon_label(BOON_IRON_SKIN, text, sizeof text, &desc), 1);
    EXPECT_STREQ(text, "IRON SKIN");
    EXPECT_STREQ(desc, "+1 DEF ALWAYS");
    player.boon_ranks[BOON_IRON_SKIN] = 2;
    EXPECT_EQ(boon_label(BOON_IRON_SKIN, text, sizeof text, &desc), 3);
    EXPECT_STREQ(text, "IRON SKIN III");
    EXPECT_STREQ(desc, "+3 DEF ALWAYS");
    player.boon_ranks[BOON_IRON_SKIN] = 5;  // maxed: the level held
    EXPECT_EQ(boon_label(BOON_IRON_SKIN, text, sizeof text, &desc), 5);
    EXPECT_STREQ(text, "IRON SKIN V");
    player.boon_ranks[BOON_CACHE] = 1;  // one-shot: never a numeral
    boon_label(BOON_CACHE, text, sizeof text, &desc);
    EXPECT_STREQ(text, "CACHE");
    EXPECT_EQ(boon_label(BOON_VAMPIRIC, nullptr, 0, nullptr), 1);

    // Every boon in use has one of the nine boon pictures; ids above 45 the burst.
    for (int id = 0; id < BOON_ROWS; id++) {
        if (!boon_in_use(id)) continue;
        const char* icon = boon_icon(id);
        ASSERT_NE(icon, nullptr) << id;
        EXPECT_EQ(std::strncmp(icon, "boon_", 5), 0) << id;
        EXPECT_NE(sprite_find(icon), nullptr) << icon;
    }
    EXPECT_STREQ(boon_icon(46), "boon_burst");
    EXPECT_STREQ(boon_icon(49), "boon_burst");
}

TEST_F(BoonsTest, WeightsFollowLevelsSlotsAndEvolution) {
    EXPECT_EQ(boon_weight(BOON_IRON_SKIN, false), 1);
    player.boon_ranks[BOON_IRON_SKIN] = 2;
    EXPECT_EQ(boon_weight(BOON_IRON_SKIN, false), 10);
    player.boon_ranks[BOON_IRON_SKIN] = 5;
    EXPECT_EQ(boon_weight(BOON_IRON_SKIN, false), 0);  // maxed: never again
    player.boon_ranks[BOON_SECOND_WIND] = 1;
    EXPECT_EQ(boon_weight(BOON_SECOND_WIND, false), 1);  // one-shots however often taken
    EXPECT_EQ(boon_weight(BOON_SUPPLIES, false), 0);     // potions are drunk where found
    EXPECT_EQ(boon_weight(BOON_CAMP_DISCOUNT, false), 0);
    // The first camp slot: only the gifts and BLOOD PACT.
    for (int id = 0; id < BOON_SLOTS; id++) {
        const bool gift = id == BOON_VIGOR || id == BOON_MIGHT || id == BOON_CACHE || id == BOON_KEYRING ||
                          id == BOON_BERSERK || id == BOON_BLOOD_PACT;
        if (!gift) {
            EXPECT_EQ(boon_weight(id, true), 0) << id;
        }
    }
    // BLOOD PACT: only once both parents are at their top, and never once taken.
    EXPECT_EQ(boon_weight(BOON_BLOOD_PACT, false), 0);
    player.boon_ranks[BOON_VAMPIRIC] = 5;
    player.boon_ranks[BOON_BLOODTHIRST] = 4;
    EXPECT_EQ(boon_weight(BOON_BLOOD_PACT, false), 0);
    player.boon_ranks[BOON_BLOODTHIRST] = 5;
    EXPECT_EQ(boon_weight(BOON_BLOOD_PACT, false), 8);
    EXPECT_EQ(boon_weight(BOON_BLOOD_PACT, true), 8);
    boon_apply(BOON_BLOOD_PACT);
    EXPECT_STREQ(toast_line1, "BLOOD PACT EVOLVED!");
    EXPECT_EQ(boon_weight(BOON_BLOOD_PACT, false), 0);
}

TEST_F(BoonsTest, DrawsNeverRepeatAMaxedBoonAndSkipTheExcludedOffers) {
    for (int id = 0; id < BOON_ROWS; id++)
        if (boon_in_use(id) && boon_def(id)->max_level > 1) player.boon_ranks[id] = 5;
    for (uint32_t s = 1; s < 400; s++) {
        counter_state = s;
        const int id = boon_pick(counter_rand);
        ASSERT_TRUE(boon_in_use(id)) << id;
        EXPECT_EQ(boon_def(id)->max_level, 1) << id;
    }
    // Nothing weighs: no boon.
    std::memset(player.boon_ranks, 0, sizeof player.boon_ranks);
    const int32_t offers[3] = {BOON_VIGOR, BOON_MIGHT, BOON_NONE};
    for (uint32_t s = 1; s < 400; s++) {
        counter_state = s;
        const int id = boon_pick_weighted(counter_rand, true, offers, 2);
        EXPECT_NE(id, BOON_VIGOR);
        EXPECT_NE(id, BOON_MIGHT);
    }
}

TEST_F(BoonsTest, TheFirstLevelUpBoonIsVampiricOrBloodthirst) {
    std::set<int> seen;
    for (uint32_t s = 1; s < 50; s++) {
        counter_state = s;
        seen.insert(boon_pick_vampiric(counter_rand));
    }
    EXPECT_EQ(seen, (std::set<int>{BOON_VAMPIRIC, BOON_BLOODTHIRST}));
    // BLOODTHIRST at its top: VAMPIRIC, with one draw spent.
    player.boon_ranks[BOON_BLOODTHIRST] = 5;
    counter_state = 7;
    EXPECT_EQ(boon_pick_vampiric(counter_rand), BOON_VAMPIRIC);
    EXPECT_EQ(counter_state, 8u);
    player.boon_ranks[BOON_VAMPIRIC] = 5;
    player.boon_ranks[BOON_BLOODTHIRST] = 4;
    counter_state = 7;
    EXPECT_EQ(boon_pick_vampiric(counter_rand), BOON_BLOODTHIRST);
    EXPECT_EQ(counter_state, 7u);
}

TEST_F(BoonsTest, ApplyingEachBoon) {
    const Player start = player;
    boon_apply(BOON_VIGOR);
    EXPECT_EQ(player.max_hp, start.max_hp + 6);
    EXPECT_EQ(player.hp, start.hp + 6);
    EXPECT_STREQ(toast_line1, "VIGOR!");
    boon_apply(BOON_MIGHT);
    EXPECT_EQ(player.attack, start.attack + 2);
    boon_apply(BOON_CACHE);
    EXPECT_EQ(player.gold, start.gold + 40);
    boon_apply(BOON_KEYRING);
    EXPECT_EQ(player.keys, start.keys + 2);
    player.hp = 1;
    boon_apply(BOON_SECOND_WIND);
    EXPECT_EQ(player.hp, player.max_hp);
    // One-shots stay at level 1 however often taken.
    boon_apply(BOON_CACHE);
    EXPECT_EQ(player.boon_ranks[BOON_CACHE], 1);

    // BERSERK never leaves less than 1 hit point.
    player.max_hp = 5;
    player.hp = 5;
    boon_apply(BOON_BERSERK);
    EXPECT_EQ(player.max_hp, 1);
    EXPECT_EQ(player.hp, 1);
    player.max_hp = 3;
    player.hp = 2;
    boon_apply(BOON_BERSERK);
    EXPECT_EQ(player.max_hp, 1);

    // SUPPLIES: three potions, or 20 gold when the bag is full.
    const int gold = player.gold;
    boon_apply(BOON_SUPPLIES);
    EXPECT_GE(bag_find(ITEM_HEALING_POTION), 0);
    EXPECT_EQ(player.gold, gold);
    bag_grid_clear(player.bag);  // no potion stack to top up
    while (bag_add_new(ITEM_DAGGER, 1)) {  // one-cell items fill every gap
    }
    const int before = player.gold;
    boon_apply(BOON_SUPPLIES);
    EXPECT_EQ(player.gold, before + 20);
    EXPECT_STREQ(toast_line1, "BAG FULL: +20 GOLD");

    // A levelled boon names the level reached.
    boon_apply(BOON_IRON_SKIN);
    EXPECT_STREQ(toast_line1, "IRON SKIN!");
    boon_apply(BOON_IRON_SKIN);
    EXPECT_STREQ(toast_line1, "IRON SKIN II!");
    for (int i = 0; i < 6; i++) boon_apply(BOON_IRON_SKIN);
    EXPECT_EQ(player.boon_ranks[BOON_IRON_SKIN], 5);
    // Ids without a row and out of range do nothing.
    const Player kept = player;
    boon_apply(BOON_CAMP_DISCOUNT);
    boon_grant(BOON_NONE);
    boon_grant(-3);
    boon_grant(77);
    EXPECT_EQ(std::memcmp(&kept, &player, sizeof player), 0);
}

TEST_F(BoonsTest, CampOffersTheirStreamAndBuying) {
    camp_draw_boons();
    const int32_t first[3] = {boon_offers[0], boon_offers[1], boon_offers[2]};
    const uint32_t seed_after = boon_seed;
    EXPECT_NE(first[0], BOON_NONE);
    EXPECT_EQ(boon_def(first[0])->max_level, 1) << first[0];  // the first slot: a gift
    EXPECT_NE(first[0], first[1]);
    EXPECT_NE(first[1], first[2]);
    EXPECT_NE(first[0], first[2]);
    // The same floor and run give the same offers.
    camp_draw_boons();
    EXPECT_EQ(std::memcmp(first, boon_offers, sizeof first), 0);
    // Never three alike, over many floors.
    for (int f = 0; f < 200; f++) {
        current_floor = f;
        camp_draw_boons();
        EXPECT_NE(boon_offers[0], boon_offers[1]);
        EXPECT_NE(boon_offers[1], boon_offers[2]) << f;
        EXPECT_NE(boon_offers[0], boon_offers[2]);
    }
    // A saved stream picks up where it stood; a saved 0 becomes 1.
    boon_rng_seed(seed_after);
    const uint32_t a = boon_rng_next();
    boon_rng_seed(seed_after);
    EXPECT_EQ(boon_rng_next(), a);
    boon_rng_seed(0);
    EXPECT_EQ(boon_seed, 1u);
    const int32_t saved[3] = {BOON_IRON_SKIN, -4, 99};
    boon_offers_restore(saved);
    EXPECT_EQ(boon_offers[0], BOON_IRON_SKIN);
    EXPECT_EQ(boon_offers[1], BOON_NONE);
    EXPECT_EQ(boon_offers[2], BOON_NONE);

    // Buying: no such slot, not enough gold, bought.
    EXPECT_EQ(camp_buy_boon(3), 2);
    EXPECT_EQ(camp_buy_boon(-1), 2);
    EXPECT_EQ(camp_buy_boon(1), 2);
    player.gold = 59;
    EXPECT_EQ(camp_buy_boon(0), 1);
    EXPECT_EQ(player.gold, 59);
    player.gold = 70;
    EXPECT_EQ(camp_buy_boon(0), 0);
    EXPECT_EQ(player.gold, 10);
    EXPECT_EQ(player.boon_ranks[BOON_IRON_SKIN], 1);
}

}  // namespace
