// The camp: arrival floors, the hub's refusals, selling unit by unit and junk, the buy-back list,
// one boon per camp, the shop's stock and its one-time rows, buys refused at a full stack or key
// count, the forge's prices and work (merge with the kept item last in the bag), rest with the
// boss-floor camp and EMBERS, ONWARD, and START to the pause and back, through the tick where the
// state machine takes part.
#include <gtest/gtest.h>

#include <cstring>

#include "boons/boons.h"
#include "camp/camp.h"
#include "classes/classes.h"
#include "combat/meters.h"
#include "dungeon/floor.h"
#include "game/game.h"
#include "game/run_start.h"
#include "game/state.h"
#include "items/bag.h"
#include "items/item.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "screens/transition.h"
#include "services/confirm.h"
#include "services/toast.h"
#include "support/fresh_game.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

struct CampTest : ::testing::Test {
    void SetUp() override {
        layout_set_landscape();
        player_start();
        class_apply(CLASS_KNIGHT);
        run_seed = 0x1234567u;
        current_floor = 3;
        run_heat = 0;
        flow = combo = threat_total = 0;
        confirm_open = 0;
        confirm_action = CONFIRM_NONE;
        camp_enter();
        toast_line1[0] = '\0';
    }
    void TearDown() override { game_state = STATE_SPLASH; }
    static void press(uint8_t b) { update_camp(b); }
    static void hub_to(int32_t tile) {
        camp_page = CAMP_PAGE_HUB;
        camp.cursor = tile;
    }
    static int add(uint32_t id, int count = 1) {
        Item it = item_make(id);
        return bag_add(player.bag, it, count);
    }
};

TEST_F(CampTest, ArrivalFloors) {
    for (int n = 0; n < 20; n++) {
        const bool camp_floor = n == 3 || n == 6 || n == 9 || n == 13 || n == 16 || n == 19;
        EXPECT_EQ(floor_has_camp(n), camp_floor) << n;
    }
    EXPECT_EQ(game_state, STATE_CAMP);
    EXPECT_EQ(camp_page, CAMP_PAGE_HUB);
    EXPECT_FALSE(camp.boon_taken);
    current_floor = 9;
    EXPECT_TRUE(camp_floor_last());
    current_floor = 13;
    EXPECT_FALSE(camp_floor_last());
    // LAST STAND at level 2 gets its save back on arrival.
    player.boon_ranks[BOON_LAST_STAND] = 2;
    player.last_stand_used = 1;
    camp_enter();
    EXPECT_EQ(player.last_stand_used, 0);
}

TEST_F(CampTest, HubTilesRefuseWithTheirTexts) {
    hub_to(CAMP_TILE_SELL);
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "NOTHING TO SELL");
    EXPECT_EQ(camp_page, CAMP_PAGE_HUB);
    camp.boon_taken = 1;
    hub_to(CAMP_TILE_BOONS);
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "BOON ALREADY TAKEN");
    player.main_hand = Item{};
    player.off_hand = Item{};
    hub_to(CAMP_TILE_FORGE);
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "NO GEAR TO FORGE");
    hub_to(CAMP_TILE_REST);
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "YOU'RE AT FULL HP");
    player.hp = 3;
    press(BTN_A);
    EXPECT_TRUE(camp.rested);
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "YOU'VE RESTED HERE");
    hub_to(CAMP_TILE_SHOP);
    press(BTN_A);
    EXPECT_EQ(camp_page, CAMP_PAGE_SHOP);
}

TEST_F(CampTest, HubMovesOverItsGridInBothLayouts) {
    hub_to(CAMP_TILE_SELL);
    press(BTN_RIGHT);
    EXPECT_EQ(camp.cursor, CAMP_TILE_SHOP);
    press(BTN_RIGHT);
    press(BTN_RIGHT);
    EXPECT_EQ(camp.cursor, CAMP_TILE_REST);
    press(BTN_RIGHT);
    EXPECT_EQ(camp.cursor, CAMP_TILE_REST);
    press(BTN_UP);
    EXPECT_EQ(camp.cursor, CAMP_TILE_BOONS);
    press(BTN_DOWN);
    EXPECT_EQ(camp.cursor, CAMP_TILE_REST);  // back to the tile it came from
    press(BTN_DOWN);
    EXPECT_EQ(camp.cursor, CAMP_TILE_ONWARD);
    press(BTN_UP);
    EXPECT_EQ(camp.cursor, CAMP_TILE_REST);
    // Portrait: two by two, the cursor moves by two between rows.
    layout_set_portrait();
    EXPECT_EQ(camp_hub_columns(), 2);
    hub_to(CAMP_TILE_SELL);
    press(BTN_DOWN);
    EXPECT_EQ(camp.cursor, CAMP_TILE_FORGE);
    press(BTN_RIGHT);
    EXPECT_EQ(camp.cursor, CAMP_TILE_REST);
    press(BTN_UP);
    EXPECT_EQ(camp.cursor, CAMP_TILE_SHOP);
    press(BTN_DOWN);
    press(BTN_DOWN);
    EXPECT_EQ(camp.cursor, CAMP_TILE_ONWARD);
    layout_set_landscape();
}

TEST_F(CampTest, SellingAStackUnitByUnitAndJunkAndBuyingBack) {
    ASSERT_GE(add(ITEM_ANTIDOTE, 3), 0);
    const int value = item_value(item_make(ITEM_ANTIDOTE));
    hub_to(CAMP_TILE_SELL);
    press(BTN_A);
    ASSERT_EQ(camp_page, CAMP_PAGE_SELL);
    const int gold = player.gold;
    press(BTN_A);  // row 0: the antidotes
    EXPECT_EQ(player.bag.entries[0].count, 2);
    EXPECT_EQ(player.gold, gold + value);
    ASSERT_EQ(camp.buy_back_count, 1);
    EXPECT_EQ(camp.buy_back[0].count, 1);
    press(BTN_A);
    EXPECT_EQ(camp.buy_back_count, 1);
    EXPECT_EQ(camp.buy_back[0].count, 2);
    press(BTN_A);
    EXPECT_EQ(player.bag.count, 0);
    EXPECT_EQ(camp.buy_back[0].count, 3);
    EXPECT_EQ(camp.cursor, 0);  // clamped to the rows left: only the buy-back row

    // Junk: every marked entry sold whole, each unit entered for buying back.
    ASSERT_GE(add(ITEM_DAGGER), 0);
    ASSERT_GE(add(ITEM_IRON_SHIELD), 0);
    player.bag.entries[0].item.junk = 1;
    player.bag.entries[1].item.junk = 1;
    int units = 0, junk_gold = 0;
    camp_junk_total(&units, &junk_gold);
    EXPECT_EQ(units, 2);
    camp.cursor = 0;
    const int before = player.gold;
    press(BTN_A);  // the junk row comes first
    EXPECT_EQ(player.gold, before + junk_gold);
    EXPECT_EQ(player.bag.count, 0);
    EXPECT_EQ(camp.buy_back_count, 3);
    char expect[32];
    std::snprintf(expect, sizeof expect, "SOLD 2 JUNK +%dG", junk_gold);
    EXPECT_STREQ(toast_line1, expect);

    // Buy back: one unit at its price, oldest first; an emptied entry leaves the list in order.
    camp.cursor = 0;
    press(BTN_A);  // the only row: buy back
    ASSERT_EQ(camp_page, CAMP_PAGE_BUY_BACK);
    player.gold = value;
    press(BTN_A);
    EXPECT_EQ(player.gold, 0);
    EXPECT_EQ(camp.buy_back[0].count, 2);
    EXPECT_EQ(camp.buy_back[0].item.junk, 0);
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "NOT ENOUGH GOLD");
    player.gold = 1000;
    press(BTN_A);
    press(BTN_A);
    ASSERT_EQ(camp.buy_back_count, 2);
    EXPECT_EQ(camp.buy_back[0].item.id, (uint32_t)ITEM_DAGGER);
    EXPECT_EQ(camp.buy_back[1].item.id, (uint32_t)ITEM_IRON_SHIELD);
    press(BTN_B);
    EXPECT_EQ(camp_page, CAMP_PAGE_SELL);
}

TEST_F(CampTest, AFullBuyBackListDropsItsOldest) {
    for (int i = 0; i < CAMP_BUY_BACK_MAX + 2; i++) {
        Item it = item_make(ITEM_DAGGER);
        it.upgrade = (uint8_t)(i % 3);
        it.wear = (uint8_t)i;  // each a different item
        ASSERT_GE(bag_add(player.bag, it, 1), 0);
        camp_page = CAMP_PAGE_SELL;
        camp.cursor = 0;
        press(BTN_A);
    }
    EXPECT_EQ(camp.buy_back_count, CAMP_BUY_BACK_MAX);
    EXPECT_EQ(camp.buy_back[0].item.wear, 2);
    EXPECT_EQ(camp.buy_back[CAMP_BUY_BACK_MAX - 1].item.wear, CAMP_BUY_BACK_MAX + 1);
}

// A unit bought onto a stack at its bound, or a key past the most a run holds, would be paid for
// and counted nowhere: each is refused as a full bag is (the key by the full keyring), and the gold
// stays.
TEST_F(CampTest, ABuyAtAFullStackOrKeyCountIsRefusedAndCostsNothing) {
    const int antidotes = add(ITEM_ANTIDOTE, RUN_STACK_MAX);
    ASSERT_GE(antidotes, 0);
    player.gold = 1000;
    uint32_t ids[4];
    ASSERT_EQ(camp_consumables(ids), 1);
    ASSERT_EQ(ids[0], (uint32_t)ITEM_ANTIDOTE);
    Item stock[3];
    const int key_row = 1 + camp_make_stock(stock);
    camp.buy_back[0] = CampBuyBack{.item = item_make(ITEM_ANTIDOTE), .count = 1, .price = 5};
    camp.buy_back_count = 1;
    player.keys = RUN_KEYS_MAX;
    struct Buy {
        int32_t page, row;
        const char* refusal;
    };
    for (const Buy b : {Buy{CAMP_PAGE_SHOP, 0, "BAG IS FULL"}, Buy{CAMP_PAGE_BUY_BACK, 0, "BAG IS FULL"},
                        Buy{CAMP_PAGE_SHOP, key_row, KEYRING_FULL_TEXT}}) {
        camp_page = b.page;
        camp.cursor = b.row;
        toast_line1[0] = '\0';
        press(BTN_A);
        EXPECT_STREQ(toast_line1, b.refusal) << b.page << " " << b.row;
        EXPECT_EQ(player.gold, 1000) << b.page << " " << b.row;
    }
    EXPECT_EQ(player.bag.entries[antidotes].count, RUN_STACK_MAX);
    EXPECT_EQ(camp.buy_back[0].count, 1);
    EXPECT_EQ(player.keys, RUN_KEYS_MAX);
    EXPECT_EQ(camp.key_sold, 0);
}

TEST_F(CampTest, OneBoonPerCampAndSellingForItsGold) {
    boon_offers[0] = BOON_CACHE;
    boon_offers[1] = BOON_IRON_SKIN;
    boon_offers[2] = BOON_NONE;
    hub_to(CAMP_TILE_BOONS);
    press(BTN_A);
    ASSERT_EQ(camp_page, CAMP_PAGE_BOONS);
    // Short of gold with enough to sell: off to the sell page and back to the offer.
    player.gold = 50;
    ASSERT_GE(add(ITEM_IRON_SHIELD), 0);
    ASSERT_GE(camp_bag_value(), 10);
    camp.cursor = 1;
    press(BTN_A);
    EXPECT_EQ(camp_page, CAMP_PAGE_SELL);
    EXPECT_STREQ(toast_line1, "SELL FINDS FOR GOLD");
    press(BTN_A);
    press(BTN_B);
    EXPECT_EQ(camp_page, CAMP_PAGE_BOONS);
    EXPECT_EQ(camp.cursor, 1);
    // Empty offer: nothing happens.
    camp.cursor = 2;
    press(BTN_A);
    EXPECT_EQ(camp_page, CAMP_PAGE_BOONS);
    // Buy the CACHE: taken, and the tile refuses from then on.
    camp.cursor = 0;
    press(BTN_A);
    EXPECT_EQ(camp_page, CAMP_PAGE_HUB);
    EXPECT_EQ(camp.cursor, CAMP_TILE_BOONS);
    EXPECT_TRUE(camp.boon_taken);
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "BOON ALREADY TAKEN");
    EXPECT_EQ(camp_page, CAMP_PAGE_HUB);
}

TEST_F(CampTest, RedrawsDoubleAcrossCamps) {
    player.boon_redraws = 0;
    EXPECT_EQ(camp_redraw_cost(), 10);
    camp_page = CAMP_PAGE_BOONS;
    camp.cursor = 3;
    player.gold = 30;
    press(BTN_A);
    EXPECT_EQ(player.gold, 20);
    EXPECT_EQ(camp_redraw_cost(), 20);
    camp_enter();
    EXPECT_EQ(camp_redraw_cost(), 20);  // the count carries over
    player.boon_redraws = 13;
    EXPECT_EQ(camp_redraw_cost(), 40960);
    player.boon_redraws = -1;
    camp_page = CAMP_PAGE_BOONS;
    camp.cursor = 3;
    player.gold = 100;
    press(BTN_A);
    EXPECT_EQ(player.boon_redraws, -1);
}

TEST_F(CampTest, ShopStockIsReproducibleTheSaleAndTheKeyOnce) {
    Item a[3], b[3];
    const int n = camp_make_stock(a);
    ASSERT_EQ(n, 3);  // a KNIGHT gets a spare shield
    EXPECT_EQ(a[0].id, (uint32_t)ITEM_SHORT_SWORD);
    EXPECT_EQ(a[1].id, (uint32_t)ITEM_WOODEN_SHIELD);
    EXPECT_GE(a[2].quality, QUALITY_FINE);
    EXPECT_EQ(camp_make_stock(b), n);
    EXPECT_EQ(std::memcmp(a, b, sizeof a), 0);
    player.cls = CLASS_BRUTE;
    EXPECT_EQ(camp_make_stock(b), 2);
    EXPECT_EQ(b[0].id, (uint32_t)ITEM_BATTLE_AXE);
    player.cls = CLASS_KNIGHT;

    // Prices of the floor-3 and floor-19 camps.
    EXPECT_EQ(key_price(), 60);
    EXPECT_EQ(sale_price(), 69);
    EXPECT_EQ(consumable_price(ITEM_ANTIDOTE), 11);
    current_floor = 19;
    EXPECT_EQ(key_price(), 156);
    EXPECT_EQ(sale_price(), 117);
    EXPECT_EQ(consumable_price(ITEM_SUPERIOR_POTION), 136);
    current_floor = 3;

    uint32_t ids[4];
    const int nc = camp_consumables(ids);
    EXPECT_EQ(nc, 1);  // potions are drunk where found; only the antidote this early
    player.gold = 1000;
    camp_page = CAMP_PAGE_SHOP;
    camp.cursor = nc + n - 1;  // the sale row
    press(BTN_A);
    EXPECT_EQ(player.gold, 1000 - 69);
    EXPECT_TRUE(camp.sale_sold);
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "SOLD OUT");
    camp.cursor = nc + n;  // the key
    const int keys = player.keys;
    press(BTN_A);
    EXPECT_EQ(player.keys, keys + 1);
    EXPECT_STREQ(toast_line1, "BOUGHT A KEY");
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "SOLD OUT");
    EXPECT_EQ(player.keys, keys + 1);
    camp.cursor = 0;
    player.gold = 3;
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "NOT ENOUGH GOLD");
}

TEST_F(CampTest, ForgePricesAndWork) {
    Item& sword = player.main_hand;
    EXPECT_EQ(enchant_price(sword), 66);
    EXPECT_EQ(forge_upgrade_price(sword), 25);
    sword.upgrade = 2;
    EXPECT_EQ(forge_upgrade_cost(sword), 75);
    sword.upgrade = 0;
    EXPECT_EQ(camp_repair_price(sword), 0);
    sword.wear = 4;
    player.off_hand.wear = 3;
    const int total = camp_repair_price(sword) + camp_repair_price(player.off_hand);
    EXPECT_GT(total, 0);
    EXPECT_EQ(camp_repair_total(), total);

    int32_t rows[CAMP_LIST_MAX];
    ASSERT_EQ(camp_forge_list(rows), 3);
    EXPECT_EQ(rows[0], CAMP_ROW_REPAIR_ALL);
    player.gold = total;
    camp_page = CAMP_PAGE_FORGE;
    camp.cursor = 0;
    press(BTN_A);
    EXPECT_EQ(player.gold, 0);
    EXPECT_EQ(sword.wear, 0);
    EXPECT_EQ(player.off_hand.wear, 0);
    ASSERT_EQ(camp_forge_list(rows), 2);

    // The sword's page: enchant (a new enchantment that fits), upgrade to +3 and no further.
    player.gold = 1000;
    camp.cursor = 0;
    press(BTN_A);
    ASSERT_EQ(camp_page, CAMP_PAGE_FORGE_ITEM);
    EXPECT_EQ(camp.forge_slot, CAMP_SLOT_MAIN);
    press(BTN_A);
    EXPECT_NE(sword.enchant, ENCHANT_NONE);
    EXPECT_TRUE(enchant_fits_item(sword, sword.enchant));
    EXPECT_EQ(sword.rerolls, 1);
    EXPECT_EQ(enchant_price(sword), 35);
    const int8_t first = sword.enchant;
    press(BTN_A);
    EXPECT_NE(sword.enchant, first);
    press(BTN_DOWN);
    for (int i = 0; i < 3; i++) press(BTN_A);
    EXPECT_EQ(sword.upgrade, 3);
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "FULLY UPGRADED");
    press(BTN_DOWN);
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "GOOD AS NEW");
    sword.wear = 5;
    press(BTN_A);
    EXPECT_EQ(sword.wear, 0);
    EXPECT_STREQ(toast_line1, "REPAIRED!");
    press(BTN_DOWN);
    press(BTN_A);
    EXPECT_STREQ(toast_line1, "NO COPY IN THE BAG");
    press(BTN_B);
    EXPECT_EQ(camp_page, CAMP_PAGE_FORGE);
}

TEST_F(CampTest, MergingKeepsTheForgeSlotOnItsItemWhenItWasLastInTheBag) {
    // Bag: copy (plain), something else, the kept sword last.
    Item copy = item_make(ITEM_LONG_SWORD);
    copy.wear = 6;
    Item kept = item_make(ITEM_LONG_SWORD);
    kept.quality = QUALITY_RARE;
    kept.wear = 4;
    ASSERT_GE(bag_add(player.bag, copy, 1), 0);
    ASSERT_GE(add(ITEM_DAGGER), 0);
    const int k = bag_add(player.bag, kept, 1);
    ASSERT_EQ(k, 2);
    EXPECT_EQ(camp_find_merge_copy(k), 0);
    camp_page = CAMP_PAGE_FORGE_ITEM;
    camp.forge_slot = k;
    camp.cursor = CAMP_FORGE_MERGE;
    player.gold = 100;
    const int l1 = item_wear_max(kept), l2 = item_wear_max(copy);
    press(BTN_A);
    EXPECT_EQ(player.gold, 75);
    EXPECT_EQ(player.bag.count, 2);
    EXPECT_EQ(camp.forge_slot, 0);  // the kept sword moved into the copy's place
    const Item* merged = slot_item_ptr(camp.forge_slot);
    ASSERT_NE(merged, nullptr);
    EXPECT_EQ(merged->quality, QUALITY_RARE);
    EXPECT_EQ(merged->upgrade, 1);
    int wear = l1 - (l1 + l1 / 10 + l2 - 4 - 6);
    EXPECT_EQ(merged->wear, wear < 0 ? 0 : wear);
    EXPECT_STREQ(toast_line1, "MERGED: +1");
    // Slots outside the hands and the bag entries hold nothing.
    EXPECT_EQ(slot_item_ptr(5), nullptr);
    EXPECT_EQ(slot_item_ptr(-7), nullptr);
}

TEST_F(CampTest, RestAtTheBossCampAndWithEmbers) {
    player.hp = 5;
    flow = 300;
    combo = 8;
    hub_to(CAMP_TILE_REST);
    press(BTN_A);
    EXPECT_TRUE(confirm_open);  // the meters would be lost: asked first
    EXPECT_EQ(player.hp, 5);
    confirm_open = 0;
    camp_rest();
    EXPECT_EQ(player.hp, player.max_hp);
    EXPECT_EQ(flow, 0);
    EXPECT_EQ(combo, 0);
    // Half of max hp while the run's heat is up.
    camp_enter();
    run_heat = 1;
    player.hp = 1;
    camp_rest();
    EXPECT_EQ(player.hp, player.max_hp / 2);
    run_heat = 0;
    // The camp before a boss floor keeps the meters and asks nothing.
    current_floor = 9;
    camp_enter();
    player.hp = 2;
    flow = 500;
    combo = 6;
    hub_to(CAMP_TILE_REST);
    press(BTN_A);
    EXPECT_FALSE(confirm_open);
    EXPECT_EQ(player.hp, player.max_hp);
    EXPECT_EQ(flow, 500);
    EXPECT_EQ(combo, 6);
}

TEST_F(CampTest, RestAsksOnlyWhenFlowOrComboWouldBeLost) {
    // A banked threat total is not lost by resting: no question.
    player.hp = 5;
    threat_total = 40;
    hub_to(CAMP_TILE_REST);
    press(BTN_A);
    EXPECT_FALSE(confirm_open);
    EXPECT_EQ(player.hp, player.max_hp);
    EXPECT_EQ(threat_total, 40);
    // A combo alone would be wiped: asked first.
    camp_enter();
    player.hp = 5;
    combo = 9;
    hub_to(CAMP_TILE_REST);
    press(BTN_A);
    EXPECT_TRUE(confirm_open);
    EXPECT_EQ(player.hp, 5);
    EXPECT_FALSE(camp_rest_keeps_meters());
}

TEST_F(CampTest, JunkUnitsOfOneItemGatherInOneBuyBackEntry) {
    ASSERT_GE(add(ITEM_DAGGER), 0);
    player.bag.entries[0].item.junk = 1;
    hub_to(CAMP_TILE_SELL);
    press(BTN_A);
    press(BTN_A);  // the junk row
    ASSERT_GE(add(ITEM_DAGGER), 0);
    player.bag.entries[0].item.junk = 1;
    camp.cursor = 0;
    press(BTN_A);
    ASSERT_EQ(camp.buy_back_count, 1);
    EXPECT_EQ(camp.buy_back[0].count, 2);
}

TEST_F(CampTest, ArrivalZeroesTheForgeSlot) {
    camp.forge_slot = CAMP_SLOT_OFF;
    camp_enter();
    EXPECT_EQ(camp.forge_slot, 0);
}

TEST_F(CampTest, AMergeThatChangesNothingIsRefusedAndCostsNothing) {
    Item sword = item_make(ITEM_LONG_SWORD);
    sword.upgrade = CAMP_UPGRADE_MAX;
    player.main_hand = sword;
    ASSERT_GE(add(ITEM_LONG_SWORD), 0);
    EXPECT_FALSE(camp_merge_gains(CAMP_SLOT_MAIN));
    camp_page = CAMP_PAGE_FORGE_ITEM;
    camp.forge_slot = CAMP_SLOT_MAIN;
    camp.cursor = CAMP_FORGE_MERGE;
    player.gold = 148;
    press(BTN_A);
    EXPECT_EQ(player.gold, 148);
    EXPECT_EQ(player.bag.count, 1);
    EXPECT_STREQ(toast_line1, "AS GOOD AS IT GETS");
    // Worn, the same merge mends it and is taken.
    player.main_hand.wear = 8;
    EXPECT_TRUE(camp_merge_gains(CAMP_SLOT_MAIN));
    press(BTN_A);
    EXPECT_EQ(player.bag.count, 0);
    EXPECT_LT(player.main_hand.wear, 8);
}

TEST_F(CampTest, SelectOpensTheBagFromTheSellPage) {
    ASSERT_GE(add(ITEM_DAGGER), 0);
    hub_to(CAMP_TILE_SELL);
    press(BTN_A);
    ASSERT_EQ(camp_page, CAMP_PAGE_SELL);
    EXPECT_EQ(update_camp(BTN_SELECT), CAMP_OPEN_BAG);
    EXPECT_EQ(camp_page, CAMP_PAGE_SELL);
}

// Through the tick: ONWARD's wipe back onto the floor, START to the pause over the camp and back.
TEST(CampTick, OnwardAndThePause) {
    TempSaveDir tmp;
    tick_globals_reset(STATE_DUNGEON);
    knight_run_start(0x5EED1234u);
    current_floor = 3;
    camp_enter();
    prev_state = STATE_CAMP;
    for (int i = 0; i < 60; i++) game_tick(0);
    game_tick(BTN_START);
    EXPECT_EQ(game_state, STATE_PAUSE);
    EXPECT_EQ(state_under_pause, STATE_CAMP);
    game_tick(0);
    game_tick(BTN_B);
    for (int i = 0; i < 60 && game_state != STATE_CAMP; i++) game_tick(0);
    if (game_state != STATE_CAMP) {
        game_tick(BTN_START);
        game_tick(0);
    }
    EXPECT_EQ(game_state, STATE_CAMP);
    camp.cursor = CAMP_TILE_ONWARD;
    for (int i = 0; i < 60; i++) game_tick(0);
    game_tick(BTN_A);
    EXPECT_TRUE(transition_active());
    for (int i = 0; i < 600 && transition_active(); i++) game_tick(0);
    EXPECT_EQ(game_state, STATE_DUNGEON);
    EXPECT_EQ(current_floor, 3);
    fixed_seed = 0;
    game_state = prev_state = STATE_POWER_ON;
}

TEST_F(CampTest, ForgeHasGearOnlyForWeaponsAndShields) {
    player.main_hand = Item{};
    player.off_hand = Item{};
    ASSERT_GE(add(ITEM_ANTIDOTE, 2), 0);
    EXPECT_FALSE(camp_has_gear());
    ASSERT_GE(add(ITEM_WOODEN_SHIELD), 0);
    EXPECT_TRUE(camp_has_gear());
    // A worn hand item alone: the repair-all row is not gear, the hand is.
    bag_remove(player.bag, 1);
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    player.main_hand.wear = 5;
    EXPECT_TRUE(camp_has_gear());
}

}  // namespace
