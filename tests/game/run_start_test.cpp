// Game start-up and new runs: the starting player, the seed rule, the opening transitions and
// the ways back to the title.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "classes/class_select.h"
#include "dungeon/floor.h"
#include "game/load_floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "game/game.h"
#include "game/state.h"
#include "game/menus.h"
#include "items/bag.h"
#include "items/item.h"
#include "world/player.h"
#include "game/run_start.h"
#include "game/state.h"
#include "items/item_random.h"
#include "services/toast.h"
#include "services/confirm.h"
#include "game/shell_calls.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "profile/profile.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "support/fresh_game.h"
#include "support/temp_save_dir.h"
#include "support/unwritable_save_dir.h"
#include "telemetry/events.h"

namespace {

struct RunStartTest : ::testing::Test {
    TempSaveDir saves;
    void SetUp() override {
        fixed_seed = 0;
        fixed_seed_runs = 0;
        power_on_delay = 0;
        settings.share_stats = 0;
        transition = Transition{};
        toast_timer = 0;
        toast_line1[0] = '\0';
    }
    void TearDown() override {
        fixed_seed = 0;
        fixed_seed_runs = 0;
        power_on_delay = 0;
        transition = Transition{};
        game_state = STATE_SPLASH;
        run_active = 0;
        settings.share_stats = 0;
        install_id_forget();
    }
};

void expect_starting_player() {
    EXPECT_EQ(player.hp, 12);
    EXPECT_EQ(player.max_hp, 12);
    EXPECT_EQ(player.attack, 3);
    EXPECT_EQ(player.level, 1);
    EXPECT_EQ(player.xp, 0);
    EXPECT_EQ(player.gold, 0);
    EXPECT_EQ(player.keys, 0);
    EXPECT_EQ(player.cls, 0);
    EXPECT_TRUE(item_equal(player.main_hand, item_make(ITEM_SHORT_SWORD)));
    EXPECT_TRUE(item_equal(player.off_hand, item_make(ITEM_WOODEN_SHIELD)));
}

TEST_F(RunStartTest, GameInitBuildsTheStartingState) {
    fixed_seed = 4242;
    power_on_delay = 1;
    player.gold = 99;
    title_cursor = 5;
    quit_requested = 1;
    game_init();
    expect_starting_player();
    // Only the state built at program start carries the two potions.
    EXPECT_EQ(player.bag.count, 1);
    EXPECT_EQ(bag_healing_potions(), 2);
    EXPECT_EQ(run_seed, 4242u);
    EXPECT_EQ(fixed_seed_runs, 1);
    EXPECT_EQ(current_floor, 0);
    EXPECT_EQ(game_state, STATE_POWER_ON);
    EXPECT_EQ(power_on_counter, -1);
    EXPECT_EQ(state_under_pause, STATE_TITLE);
    EXPECT_EQ(splash_timer, SPLASH_TICKS);
    EXPECT_EQ(title_cursor, 1);  // no saved run: NEW GAME
    EXPECT_EQ(quit_requested, 0);
    EXPECT_EQ(confirm_open, 0);
}

TEST_F(RunStartTest, FixedSeedRule) {
    fixed_seed = 1000;
    EXPECT_EQ(run_seed_choose(), 1000u);
    EXPECT_EQ(run_seed_choose(), 1000u - 1640531535u);
    EXPECT_EQ(run_seed_choose(), 1000u - 2u * 1640531535u);
    EXPECT_EQ(fixed_seed_runs, 3);
    // A seed that comes out 0 is used as 1.
    fixed_seed = 1640531535u;
    fixed_seed_runs = 1;
    EXPECT_EQ(run_seed_choose(), 1u);
    // Without a fixed seed the clock decides, never 0.
    fixed_seed = 0;
    EXPECT_NE(run_seed_choose(), 0u);
}

TEST_F(RunStartTest, NewRunStartsCleanAndBuildsFloorZero) {
    fixed_seed = 777;
    player.gold = 50;
    player.level = 4;
    bag_add_new(ITEM_HEALING_POTION, 3);
    item_luck = 60;
    run_heat = 2;
    cheats_used = 1;
    current_floor = 7;
    new_run();
    expect_starting_player();
    EXPECT_EQ(player.bag.count, 0);
    EXPECT_TRUE(item_luck == 0 || item_luck == 15);  // floor 0 may have missed its lucky find once
    EXPECT_EQ(run_heat, 0);
    EXPECT_EQ(cheats_used, 0);
    EXPECT_EQ(run_seed, 777u);
    EXPECT_EQ(current_floor, 0);
    // The floor is the one the generator gives for that seed.
    char built[MAP_H][MAP_W];
    std::memcpy(built, gmap, sizeof gmap);
    int px = player.x, py = player.y;
    item_luck = 0;
    load_floor(0);
    EXPECT_EQ(std::memcmp(built, gmap, sizeof gmap), 0);
    EXPECT_EQ(player.x, px);
    EXPECT_EQ(player.y, py);
    // The next run from the same fixed seed is another floor.
    new_run();
    EXPECT_EQ(run_seed, 777u - 1640531535u);
}

TEST_F(RunStartTest, OpeningTransitionStartsTheRunAtItsMidPoint) {
    fixed_seed = 99;
    int32_t base = 3 * (int32_t)(std::strlen("THE VORN KEEPS") + std::strlen("EVERYONE.")) + 50;
    run_start_transition(1);
    EXPECT_TRUE(transition_active());
    EXPECT_STREQ(transition.title, "THE VORN KEEPS");
    EXPECT_STREQ(transition.subtitle, "EVERYONE.");
    EXPECT_EQ(transition.typed, 1);
    EXPECT_EQ(transition.hold, base + 45);  // a profile with no runs yet: the first run
    EXPECT_EQ(run_class, 1);
    ASSERT_NE(transition.callback, nullptr);
    game_state = STATE_CLASS_SELECT;
    {
        UnwritableSaveDir blocked;
        transition.callback();
    }
    EXPECT_EQ(game_state, STATE_DUNGEON);
    EXPECT_EQ(run_active, 1);
    EXPECT_EQ(run_seed, 99u);
    EXPECT_EQ(player.bag.count, 0);
    // The run file could not be written, and the player is told.
    EXPECT_EQ(message_box_open, 1);
    EXPECT_STREQ(message_box_text, "SAVE FAILED!");
    message_box_open = 0;

    transition = Transition{};
    training_run_transition();
    EXPECT_EQ(transition.hold, base + 45);
    transition.callback();
    EXPECT_EQ(game_state, STATE_DUNGEON);
}

TEST_F(RunStartTest, TrainingDoneGoesDownOneFloor) {
    run_seed = 31337;
    load_floor(2);
    run_active = 0;
    training_done_transition();
    EXPECT_STREQ(transition.title, "THE TRAINING IS DONE...");
    EXPECT_STREQ(transition.subtitle, "...CAN YOU ESCAPE?");
    EXPECT_EQ(transition.sparks, 1);
    transition.callback();
    EXPECT_EQ(current_floor, 3);
}

TEST_F(RunStartTest, ClosingARunReachesTheClassSelect) {
    training_offer_set(false);  // the player has skipped the training before
    game_state = STATE_DEMO_END;
    player.cls = 1;
    demo_end_leave();
    EXPECT_EQ(game_state, STATE_CLASS_SELECT);
    EXPECT_EQ(title_cursor, 1);
    EXPECT_EQ(class_cursor, 1);  // on the class just played
    // Abandoning a run whose file cannot be read still leaves for the class select.
    game_state = STATE_TITLE;
    run_abandon();
    EXPECT_EQ(game_state, STATE_CLASS_SELECT);
    EXPECT_EQ(class_cursor, 0);
}

TEST_F(RunStartTest, TrainingAnswerEventOnlyWithConsent) {
    training_answer_event(true);
    EXPECT_FALSE(saves.exists("events_outbox.jsonl"));
    settings.share_stats = 1;
    install_id_set("0123456789abcdef0123456789abcdef");
    training_answer_event(false);
    std::string line = saves.read("events_outbox.jsonl");
    EXPECT_NE(line.find("\"kind\":\"training\""), std::string::npos) << line;
    EXPECT_NE(line.find("\"data\":{\"answer\":\"no\",\"runs\":0}}"), std::string::npos) << line;
    EXPECT_EQ(line.back(), '\n');
}

}  // namespace

TEST_F(RunStartTest, AClosedWindowWhoseSaveFailedStaysUpUntilTheBoxIsDismissed) {
    knight_run_start(7);
    load_floor(0);
    game_state = STATE_DUNGEON;
    run_active = 1;
    UnwritableSaveDir blocked;
    EXPECT_FALSE(save_on_close());
    EXPECT_EQ(game_state, STATE_PAUSE);
    EXPECT_EQ(message_box_open, 1);
    EXPECT_STREQ(message_box_text, "SAVE FAILED!");
    for (int i = 0; i < 60; i++) EXPECT_TRUE(game_tick(0));
    EXPECT_EQ(message_box_open, 1);
    EXPECT_TRUE(save_on_close());  // a second close ends it
    EXPECT_FALSE(game_tick(BTN_A));  // and so does a button on the box
    quit_requested = quit_after_box = message_box_open = 0;
}
