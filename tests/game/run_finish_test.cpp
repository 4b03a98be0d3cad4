// The end of a run: the best floor, the summary line in the local history, and the facts the
// game gives the run record (its gear and bag, as they stand).
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "boons/boons.h"
#include "classes/classes.h"
#include "combat/combat.h"
#include "combat/meters.h"
#include "dungeon/floor.h"
#include "dungeon/monsters.h"
#include "game/run_start.h"
#include "screens/run_end.h"
#include "game/state.h"
#include "items/bag.h"
#include "items/item.h"
#include "profile/profile.h"
#include "saves/settings.h"
#include "support/temp_save_dir.h"
#include "telemetry/run_record.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

struct RunFinishTest : ::testing::Test {
    TempSaveDir tmp;
    void SetUp() override {
        run_record_source_install();
        new_run();
        game_state = STATE_DUNGEON;
    }
    void TearDown() override {
        run_record_reset();
        current_floor = 0;
        game_state = 0;
    }
};

TEST_F(RunFinishTest, BestFloorRisesOnlyForADeeperRun) {
    current_floor = 5;
    run_finish(0);
    EXPECT_EQ(run_end_new_best, 1);
    EXPECT_EQ(best_floor_load(), 6);
    current_floor = 2;
    run_finish(1);
    EXPECT_EQ(run_end_new_best, 0);
    EXPECT_EQ(best_floor_load(), 6);
    current_floor = 5;  // the same floor again is no new best
    run_finish(0);
    EXPECT_EQ(run_end_new_best, 0);
    current_floor = 6;
    run_finish(0);
    EXPECT_EQ(run_end_new_best, 1);
    EXPECT_EQ(best_floor_load(), 7);
    EXPECT_EQ(run_active, 0);
}

TEST_F(RunFinishTest, SummaryNamesTheGameGearAndGoesToTheLocalHistory) {
    current_floor = 3;
    player.gold = 17;
    boon_grant(BOON_VIGOR);
    boon_grant(BOON_VIGOR);
    run_record_tick(true);
    run_finish(1);
    auto j = nlohmann::json::parse(tmp.read("runs.jsonl"));
    EXPECT_EQ(j["win"], true);
    EXPECT_EQ(j["floor"], 4);
    EXPECT_EQ(j["gold"], 17);
    EXPECT_EQ(j["weapon"], item_def(player.main_hand.id).name);
    EXPECT_EQ(j["offhand"], item_def(player.off_hand.id).name);
    EXPECT_EQ(j["run"], run_seed);
    EXPECT_EQ(j["class"], class_info(player.cls).name);
    ASSERT_GE(boon_level(BOON_VIGOR), 1);
    EXPECT_EQ(j["boons"], nlohmann::json::object({{boon_def(BOON_VIGOR)->name, boon_level(BOON_VIGOR)}}));
    EXPECT_FALSE(tmp.exists("runs_outbox.jsonl"));  // sharing is off
}

TEST_F(RunFinishTest, SummaryCarriesTheProfilesSoulsAndFirsts) {
    profile = Profile{};
    profile.souls = 10;
    profile.souls_spent = 60;
    profile.unlocks[0] = 1;  // the BRUTE
    run_start_met = 1u << 1;
    profile.met = 1u << 1 | 1u << 2;  // one kind met for the first time this run
    current_floor = 3;
    player.kills = 0;
    run_finish(1);
    auto j = nlohmann::json::parse(tmp.read("runs.jsonl"));
    EXPECT_EQ(j["souls"], 3 + 5 + 1);
    EXPECT_EQ(j["souls_bal"], 10 + 9);
    EXPECT_EQ(j["souls_spent"], 60);
    EXPECT_EQ(j["unlocks"], 1);
    EXPECT_EQ(j["met_new"], 1);
    EXPECT_EQ(j["career"], 1);
    profile = Profile{};
}

TEST_F(RunFinishTest, AnEliteFightIsRecordedElite) {
    cheat_flags[CHEAT_FORCE_ELITES] = 1;
    start_combat(M_GOBLIN, 2, 2);
    cheat_flags[CHEAT_FORCE_ELITES] = 0;
    ASSERT_EQ(combat.elite, 1);
    run_finish(0);  // the floor's record closes the open fight
    auto row = nlohmann::json::parse(run_record_last_json())["fights"].at(0);
    EXPECT_EQ(row[0], "GOBLIN");
    EXPECT_EQ(row[1], 1);
}

TEST_F(RunFinishTest, SummaryAveragesTheThreatBankedAtEachVictory) {
    for (int level : {5, 5, 2}) {
        flow = level * 200;
        start_combat(M_GOBLIN, 2, 2);
        combat_victory();
    }
    run_finish(0);
    auto j = nlohmann::json::parse(tmp.read("runs.jsonl"));
    EXPECT_EQ(j["threat_avg"], (5 + 5 + 2) / 3);
    EXPECT_EQ(j["threat_souls_tenths"], 12);
    flow = 0;
}

}  // namespace
