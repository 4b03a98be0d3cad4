// Experience and level-up: the xp curve, several levels from one gain, the cards (distinct, never
// FLASK, the boon card at its odds), each pick's effect, the training's forced pick, and a level
// gained and a card taken through the tick.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "boons/boons.h"
#include "dungeon/floor.h"
#include "game/game.h"
#include "game/run_start.h"
#include "items/bag.h"
#include "items/item.h"
#include "levelup/levelup.h"
#include "services/toast.h"
#include "support/fresh_game.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

constexpr LevelupMode PLAY{false};
constexpr LevelupMode TRAINING{true};

struct LevelupTest : ::testing::Test {
    void SetUp() override {
        player_start();
        levelup_clear();
        run_seed = 0xABCDEF;
        game_state = STATE_DUNGEON;
        toast_line1[0] = '\0';
    }
    void TearDown() override { game_state = STATE_SPLASH; }
};

TEST_F(LevelupTest, XpCurveAndSeveralLevelsFromOneGain) {
    EXPECT_EQ(xp_to_next(1), 10);
    EXPECT_EQ(xp_to_next(2), 15);
    EXPECT_EQ(xp_to_next(10), 55);
    EXPECT_EQ(gain_xp(9), 0);
    EXPECT_EQ(player.level, 1);
    EXPECT_EQ(gain_xp(16), 2);  // 25 in all: 10 to level 2, 15 to level 3
    EXPECT_EQ(player.level, 3);
    EXPECT_EQ(player.xp, 0);
    EXPECT_EQ(levelup.pending, 2);
    EXPECT_EQ(player.max_hp, 18);
    EXPECT_EQ(player.hp, 18);
    EXPECT_EQ(player.attack, 5);
    // A negative gain is reported and still added.
    EXPECT_EQ(gain_xp(-3), 0);
    EXPECT_EQ(player.xp, -3);
}

TEST_F(LevelupTest, CardsAreDistinctNeverAFlaskAndTheBoonCardComesAtItsOdds) {
    int boon_cards = 0, draws = 0;
    for (uint32_t seed = 1; seed <= 600; seed++) {
        run_seed = seed * 2654435761u;
        player.level = 4;
        levelup.pending = 1;
        levelup_draw(PLAY);
        std::set<int> ids(levelup.picks, levelup.picks + 3);
        EXPECT_EQ(ids.size(), 3u) << seed;
        for (int id : levelup.picks) {
            EXPECT_NE(id, PICK_FLASK);
            EXPECT_GE(id, 0);
            EXPECT_LE(id, PICK_BOON);
        }
        EXPECT_EQ(levelup.cursor, 0);
        if (levelup.boon_offer != BOON_NONE) {
            EXPECT_EQ(levelup.picks[0], PICK_BOON);
            boon_cards++;
        } else {
            EXPECT_NE(levelup.picks[0], PICK_BOON);
        }
        draws++;
    }
    // 60 in 100 of later level-ups carry a boon card.
    EXPECT_GT(boon_cards, draws * 50 / 100);
    EXPECT_LT(boon_cards, draws * 70 / 100);
}

TEST_F(LevelupTest, FirstLevelUpOffersVampiricOrBloodthirstAndEachSetHasItsOwnSeed) {
    gain_xp(25);  // two levels: the run's first level-up is among them
    ASSERT_TRUE(levelup_open(PLAY));
    EXPECT_EQ(game_state, STATE_LEVELUP);
    EXPECT_EQ(levelup.picks[0], PICK_BOON);
    EXPECT_TRUE(levelup.boon_offer == BOON_VAMPIRIC || levelup.boon_offer == BOON_BLOODTHIRST);
    const uint32_t first_rng = levelup.rng;
    // Taking the first card draws the second set with another seed.
    player.hp = 1;
    update_levelup(BTN_A, PLAY);
    EXPECT_EQ(levelup.pending, 1);
    EXPECT_EQ(game_state, STATE_LEVELUP);
    EXPECT_NE(levelup.rng, first_rng);
    update_levelup(BTN_A, PLAY);
    EXPECT_EQ(levelup.pending, 0);
    EXPECT_EQ(game_state, STATE_DUNGEON);
    // Nothing owed: the screen does not open.
    EXPECT_FALSE(levelup_open(PLAY));
    game_state = STATE_COMBAT;
    levelup.pending = 1;
    EXPECT_FALSE(levelup_open(PLAY));
}

TEST_F(LevelupTest, EachPicksEffect) {
    auto take = [](int id) {
        levelup.pending = 1;
        levelup.picks[0] = id;
        levelup.cursor = 0;
        game_state = STATE_LEVELUP;
        update_levelup(BTN_A, PLAY);
        EXPECT_EQ(game_state, STATE_DUNGEON);
        EXPECT_EQ(levelup.pending, 0);
    };
    Player p = player;
    take(PICK_TOUGHNESS);
    EXPECT_EQ(player.max_hp, p.max_hp + 4);
    EXPECT_EQ(player.hp, p.hp + 4);
    EXPECT_STREQ(toast_line1, "TOUGHNESS!");
    take(PICK_STRENGTH);
    EXPECT_EQ(player.attack, p.attack + 1);
    player.hp = 3;
    player.max_hp = 16;
    take(PICK_CATCH_BREATH);
    EXPECT_EQ(player.hp, 11);
    take(PICK_CATCH_BREATH);
    EXPECT_EQ(player.hp, 16);
    take(PICK_CATCH_BREATH);  // at full health nothing changes
    EXPECT_EQ(player.hp, 16);
    p = player;
    take(PICK_PURSE);
    EXPECT_EQ(player.gold, p.gold + 20);
    take(PICK_SPARE_KEY);
    EXPECT_EQ(player.keys, p.keys + 1);
    take(PICK_FLASK);
    EXPECT_GE(bag_find(ITEM_HEALING_POTION), 0);
    // REPAIR: hands and every wearable bag item as new.
    player.main_hand.wear = 5;
    player.off_hand.wear = 3;
    ASSERT_TRUE(bag_add_new(ITEM_DAGGER, 1));
    const int d = bag_find(ITEM_DAGGER);
    player.bag.entries[d].item.wear = 2;
    take(PICK_REPAIR);
    EXPECT_EQ(player.main_hand.wear, 0);
    EXPECT_EQ(player.off_hand.wear, 0);
    EXPECT_EQ(player.bag.entries[d].item.wear, 0);
    EXPECT_STREQ(toast_line1, "ALL GEAR REPAIRED!");
    // FLASK with a full bag: 10 gold instead.
    bag_grid_clear(player.bag);  // no potion stack to top up
    while (bag_add_new(ITEM_DAGGER, 1)) {  // one-cell items fill every gap
    }
    p = player;
    take(PICK_FLASK);
    EXPECT_EQ(player.gold, p.gold + 10);
    EXPECT_STREQ(toast_line1, "BAG FULL: +10 GOLD");
    // BOON: the offered boon, with its own toast.
    levelup.boon_offer = BOON_MIGHT;
    p = player;
    take(PICK_BOON);
    EXPECT_EQ(player.attack, p.attack + 2);
    EXPECT_STREQ(toast_line1, "MIGHT!");
}

// Potions are drunk where they are found, but the bag may still hold a stack of them (SUPPLIES puts
// three there). FLASK onto a stack of 999 adds nothing to it and pays its gold as a full bag does.
TEST_F(LevelupTest, AFlaskOntoAFullPotionStackPaysItsGoldAsAFullBagDoes) {
    const int stack = bag_add(player.bag, item_make(ITEM_HEALING_POTION), RUN_STACK_MAX);
    ASSERT_GE(stack, 0);
    const int entries = player.bag.count, gold = player.gold;
    levelup.pending = 1;
    levelup.picks[0] = PICK_FLASK;
    levelup.cursor = 0;
    game_state = STATE_LEVELUP;
    update_levelup(BTN_A, PLAY);
    EXPECT_EQ(player.bag.entries[stack].count, RUN_STACK_MAX);
    EXPECT_EQ(player.bag.count, entries);
    EXPECT_EQ(player.gold, gold + LEVELUP_FLASK_GOLD);
    EXPECT_STREQ(toast_line1, "BAG FULL: +10 GOLD");
    EXPECT_EQ(levelup.pending, 0);
}

TEST_F(LevelupTest, CursorWrapsAndANothingOwedPressReturns) {
    levelup.pending = 1;
    game_state = STATE_LEVELUP;
    levelup.picks[0] = PICK_PURSE;
    levelup.picks[1] = PICK_STRENGTH;
    levelup.picks[2] = PICK_SPARE_KEY;
    levelup.boon_offer = BOON_NONE;
    update_levelup(BTN_UP, PLAY);
    EXPECT_EQ(levelup.cursor, 2);
    update_levelup(BTN_DOWN, PLAY);
    EXPECT_EQ(levelup.cursor, 0);
    update_levelup(BTN_DOWN, PLAY);
    EXPECT_EQ(levelup.cursor, 1);
    // A cursor out of range is brought back before the card is read.
    levelup.cursor = 9;
    const int attack = player.attack, keys = player.keys;
    update_levelup(BTN_A, PLAY);
    EXPECT_EQ(player.keys, keys + 1);
    EXPECT_EQ(player.attack, attack);
    // Nothing owed: no pick, back to the dungeon.
    levelup.pending = 0;
    game_state = STATE_LEVELUP;
    const Player before = player;
    update_levelup(BTN_A, PLAY);
    EXPECT_EQ(game_state, STATE_DUNGEON);
    EXPECT_EQ(std::memcmp(&before, &player, sizeof player), 0);
}

TEST_F(LevelupTest, TrainingForcesItsBoonCard) {
    gain_xp(10);
    ASSERT_TRUE(levelup_open(TRAINING));
    EXPECT_EQ(levelup.picks[0], PICK_BOON);
    EXPECT_EQ(levelup.boon_offer, BOON_BLOODTHIRST);
    EXPECT_TRUE(levelup_pick_forced(TRAINING));
    EXPECT_FALSE(levelup_pick_forced(PLAY));
    update_levelup(BTN_DOWN, TRAINING);
    EXPECT_EQ(levelup.cursor, 0);
    update_levelup(BTN_UP, TRAINING);
    EXPECT_EQ(levelup.cursor, 0);
    update_levelup(BTN_A, TRAINING);
    EXPECT_EQ(player.boon_ranks[BOON_BLOODTHIRST], 1);
    // Later training level-ups offer the first boon the player can still raise.
    gain_xp(15);
    game_state = STATE_DUNGEON;
    ASSERT_TRUE(levelup_open(TRAINING));
    EXPECT_EQ(levelup.boon_offer, BOON_BLOODTHIRST);
    EXPECT_TRUE(levelup_pick_forced(TRAINING));
}

TEST_F(LevelupTest, TextsByIdRejectOutOfRange) {
    EXPECT_STREQ(levelup_pick_name(PICK_REPAIR), "REPAIR");
    EXPECT_STREQ(levelup_pick_desc(PICK_BOON), "A FREE BOON");
    for (int id : {-1, 8, 100}) {
        EXPECT_STREQ(levelup_pick_name(id), "");
        EXPECT_STREQ(levelup_pick_desc(id), "");
    }
}

// Through the tick as a player: a level gained in the dungeon opens the cards; A takes one.
TEST(LevelupTick, ALevelGainedOpensTheCardsAndATakesOne) {
    TempSaveDir tmp;
    tick_globals_reset(STATE_DUNGEON);
    knight_run_start(0x5EED1234u);
    game_state = prev_state = STATE_DUNGEON;
    for (int i = 0; i < 60; i++) game_tick(0);
    const int level = player.level;
    gain_xp(xp_to_next(player.level));
    game_tick(0);
    ASSERT_EQ(game_state, STATE_LEVELUP);
    for (int i = 0; i < 60; i++) game_tick(0);  // the screen's entry guard
    const int max_hp = player.max_hp, attack = player.attack, gold = player.gold, keys = player.keys;
    game_tick(BTN_A);
    game_tick(0);
    EXPECT_EQ(game_state, STATE_DUNGEON);
    EXPECT_EQ(levelup.pending, 0);
    EXPECT_EQ(player.level, level + 1);
    EXPECT_TRUE(player.max_hp != max_hp || player.attack != attack || player.gold != gold || player.keys != keys ||
                player.boon_ranks[BOON_VAMPIRIC] || player.boon_ranks[BOON_BLOODTHIRST]);
    fixed_seed = 0;
    game_state = prev_state = STATE_POWER_ON;
}

}  // namespace
