// The profile's bookkeeping: souls at a run's end, run statistics, soul upgrades, unlocks and
// locks, the codex, weapon records, the play counters of the tick, flags and hints.
#include <gtest/gtest.h>

#include <cstdio>

#include "combat/combat.h"
#include "combat/meters.h"
#include "combat/reflex.h"
#include "dungeon/monsters.h"
#include "items/bag.h"
#include "profile/profile.h"
#include "saves/settings.h"
#include "support/temp_save_dir.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

struct ProfileTest : ::testing::Test {
    TempSaveDir tmp;
    Player kept_player;
    void SetUp() override {
        kept_player = player;
        profile = Profile{};
        player = Player{};
        player.hp = player.max_hp = 20;
        player.level = 1;
        bag_grid_clear(player.bag);
        current_floor = 0;
        run_heat = 0;
        cheats_used = 0;
        threat_total = 0;
        profile_tick(false);  // forgets the purse, writing what an earlier test left counted
        std::remove(tmp.path("profile.dat").c_str());
    }
    void TearDown() override {
        profile = Profile{};
        player = kept_player;
        run_heat = 0;
        cheats_used = 0;
    }
    // The profile as profile.dat now holds it.
    Profile on_disk() {
        const Profile held = profile;
        EXPECT_EQ(profile_load(), PROFILE_LOADED);
        const Profile read = profile;
        profile = held;
        return read;
    }
};

TEST_F(ProfileTest, SoulsAtTheEndOfARun) {
    EXPECT_EQ(souls_preview(0), 1);  // floor 0, no kill
    player.kills = 1;
    EXPECT_EQ(souls_preview(0), 4);
    current_floor = 12;
    EXPECT_EQ(souls_preview(0), 12 + 5 + 1);
    EXPECT_EQ(souls_preview(1), 12 + 5 + 5 + 1);
    run_heat = 2;
    EXPECT_EQ(souls_preview(0), 18 + 18 * 2 * 20 / 100);
    run_heat = 0;
    // A tenth of the threat tally: dying on floor 12 with 35 of it, then the same at heat 2.
    threat_total = 35;
    EXPECT_EQ(souls_preview(0), 12 + 5 + 3 + 1);
    run_heat = 2;
    EXPECT_EQ(souls_preview(0), 21 + 8);
    run_heat = 0;
    threat_total = 0;

    // The preview is exactly what the run's end awards, for a death and for an escape.
    player.hp = 0;
    const int32_t death = souls_preview(0);
    EXPECT_EQ(profile_run_end(0), death);
    EXPECT_EQ(profile.souls, death);
    EXPECT_EQ(run_end_souls, death);
    current_floor = 19;
    player.hp = 5;
    const int32_t win = souls_preview(1);
    EXPECT_EQ(win, 19 + 5 + 5 + 1);
    EXPECT_EQ(profile_run_end(1), win);
    EXPECT_EQ(profile.souls, death + win);
    EXPECT_EQ(profile.souls_earned, death + win);
    EXPECT_EQ(on_disk().souls, death + win);

    // EMBERS keeps flow at a rest; it changes nothing in the count itself.
    profile.upgrade_ranks[UPGRADE_EMBERS] = 1;
    EXPECT_EQ(souls_preview(1), win);
    EXPECT_EQ(profile_run_end(1), win);
}

TEST_F(ProfileTest, RunStatisticsAndRecords) {
    player.cls = 1;
    profile_run_begin();
    EXPECT_EQ(profile.run_stamp, 1);
    player.main_hand = item_make(ITEM_SPEAR);
    player.off_hand = item_make(ITEM_WOODEN_SHIELD);
    bag_add_new(ITEM_ANTIDOTE, 1);
    for (int i = 0; i < 15; i++) profile_tick(true);
    EXPECT_EQ(profile.items[ITEM_SPEAR].first_run, 1);
    EXPECT_EQ(profile.items[ITEM_WOODEN_SHIELD].first_run, 1);
    EXPECT_EQ(profile.items[ITEM_ANTIDOTE].first_run, 1);
    EXPECT_EQ(profile.run_carried, 1u << ITEM_SPEAR);  // only the main hand counts as carried

    // A death on floor 4 with 3 kills.
    current_floor = 4;
    player.kills = 3;
    player.level = 4;
    player.hp = 0;
    killer_type = M_ORC;
    profile_run_end(0);
    killer_type = M_NONE;
    EXPECT_EQ(profile.runs, 1);
    EXPECT_EQ(profile.runs_lost, 1);
    EXPECT_EQ(profile.killed_by[M_ORC], 1);
    EXPECT_EQ(profile.classes[1].deaths_by[M_ORC], 1);
    EXPECT_EQ(profile.floors_reached, 5);
    EXPECT_EQ(profile.best_level, 4);
    EXPECT_EQ(profile.most_kills, 3);
    EXPECT_EQ(profile.class_runs[1], 1);
    const ProfileClass& brute = profile.classes[1];
    EXPECT_EQ(brute.runs, 1);
    EXPECT_EQ(brute.deaths, 1);
    EXPECT_EQ(brute.kills, 3);
    EXPECT_EQ(brute.deepest, 5);
    EXPECT_EQ(brute.first_run, 1);
    EXPECT_EQ(profile.items[ITEM_SPEAR].runs, 1);
    EXPECT_EQ(profile.items[ITEM_SPEAR].deepest, 5);
    EXPECT_EQ(profile.items[ITEM_WOODEN_SHIELD].runs, 0);
    EXPECT_EQ(profile.deepest_floor, 5);
    EXPECT_EQ(profile.deepest_run, 1);
    EXPECT_EQ(profile.deepest_class, 1);
    EXPECT_EQ(profile.run_carried, 0u);

    // Two escapes at heat 1 build a streak; a loss ends it.
    duel.best_combo = 17;
    for (int run = 2; run <= 3; run++) {
        profile_run_begin();
        run_heat = 1;
        player.hp = 9;
        current_floor = 19;
        for (int i = 0; i < 60 * (run == 2 ? 90 : 70); i++) profile_tick(true);
        profile_run_end(1);
    }
    duel = DuelMeters{};
    EXPECT_EQ(profile.best_combo, 17);
    EXPECT_EQ(brute.wins, 2);
    EXPECT_EQ(brute.streak, 2);
    EXPECT_EQ(brute.best_streak, 2);
    EXPECT_EQ(brute.first_win, 2);
    EXPECT_EQ(brute.best_heat_won, 2);
    EXPECT_EQ(brute.fastest_win, 70);
    EXPECT_EQ(brute.deepest, 20);
    EXPECT_EQ(brute.deepest_heat, 1);
    EXPECT_EQ(profile.first_win.run, 2);
    EXPECT_EQ(profile.first_win.cls, 1);
    EXPECT_EQ(profile.first_win_heat[1].run, 2);
    EXPECT_EQ(profile.first_win_heat[0].run, 0);
    EXPECT_EQ(profile.stretches, 0 + 2 * (1 + 1));
    EXPECT_EQ(profile.items[ITEM_SPEAR].wins, 2);
    EXPECT_EQ(profile.seconds, 160);
    player.hp = 0;
    current_floor = 2;
    profile_run_end(0);
    EXPECT_EQ(brute.streak, 0);
    EXPECT_EQ(brute.best_streak, 2);
    EXPECT_EQ(profile.deepest_run, 3);  // an equal depth later keeps the latest run
    EXPECT_EQ(on_disk().classes[1].best_streak, 2);
}

TEST_F(ProfileTest, CheatsRecordOnlyTheSoulsAndTheRun) {
    cheats_used = 1;
    player.hp = 0;
    player.kills = 2;
    current_floor = 3;
    EXPECT_EQ(profile_run_end(0), 4);
    EXPECT_EQ(profile.souls, 4);
    EXPECT_EQ(profile.runs, 1);
    EXPECT_EQ(profile.souls_earned, 0);
    EXPECT_EQ(profile.runs_lost, 0);
    EXPECT_EQ(profile.classes[0].runs, 0);
    profile_count_secret();
    codex_slain(M_RAT);
    EXPECT_EQ(profile.secrets, 0);
    EXPECT_EQ(profile.slain[M_RAT], 0);
    EXPECT_TRUE(profile.met & (1u << M_RAT));  // meeting still counts
}

TEST_F(ProfileTest, UpgradeCostsRanksAndSwitches) {
    const int costs[UPGRADE_COUNT][3] = {{8, 20, 40}, {60, 0, 0}, {25, 70, 0}};
    profile.souls = 1000;
    for (int u = 0; u < UPGRADE_COUNT; u++) {
        for (int r = 0; r < upgrade_max_rank(u); r++) {
            EXPECT_EQ(upgrade_next_cost(u), costs[u][r]);
            const int32_t before = profile.souls;
            EXPECT_EQ(upgrade_buy(u), 1);
            EXPECT_EQ(profile.souls, before - costs[u][r]);
        }
        EXPECT_EQ(upgrade_next_cost(u), 0);
        EXPECT_EQ(upgrade_buy(u), 0);
    }
    EXPECT_EQ(profile.souls_spent, 8 + 20 + 40 + 60 + 25 + 70);
    EXPECT_EQ(on_disk().upgrade_ranks[UPGRADE_VITALITY], 3);
    EXPECT_EQ(upgrade_rank(3), 0);
    EXPECT_EQ(upgrade_next_cost(-1), 0);
    EXPECT_STREQ(upgrade_name(UPGRADE_FORAGER), "FORAGER");
    EXPECT_STREQ(upgrade_desc(UPGRADE_EMBERS), "REST KEEPS HALF FLOW");
    EXPECT_STREQ(upgrade_name(7), "");

    // Too poor: nothing changes.
    profile = Profile{};
    profile.souls = 7;
    EXPECT_EQ(upgrade_buy(UPGRADE_VITALITY), -1);
    EXPECT_EQ(profile.souls, 7);
    EXPECT_EQ(upgrade_rank(UPGRADE_VITALITY), 0);
    profile.souls = 8;
    EXPECT_EQ(upgrade_buy(UPGRADE_VITALITY), 1);
    EXPECT_EQ(profile.souls, 0);

    // In effect only while switched on and at heat 2 or less; VITALITY adds its hit points.
    EXPECT_EQ(upgrade_active_rank(UPGRADE_VITALITY), 1);
    run_heat = 3;
    EXPECT_EQ(upgrade_active_rank(UPGRADE_VITALITY), 0);
    run_heat = 0;
    profile_run_begin();
    EXPECT_EQ(player.max_hp, 22);
    EXPECT_EQ(player.hp, 22);
    EXPECT_FALSE(upgrade_toggle(UPGRADE_EMBERS));  // nothing bought
    EXPECT_TRUE(upgrade_toggle(UPGRADE_VITALITY));
    EXPECT_FALSE(upgrade_enabled(UPGRADE_VITALITY));
    EXPECT_EQ(upgrade_active_rank(UPGRADE_VITALITY), 0);
    player.max_hp = player.hp = 20;
    profile_run_begin();
    EXPECT_EQ(player.max_hp, 20);
    EXPECT_FALSE(heat_select_available());
    EXPECT_STREQ(heat_label(), "");
}

TEST_F(ProfileTest, UnlocksAndLocks) {
    EXPECT_TRUE(class_locked(1));
    EXPECT_FALSE(class_locked(0));
    for (int id : {9, 10, 11, 12}) EXPECT_TRUE(item_locked(id)) << id;
    EXPECT_FALSE(item_locked(1));
    EXPECT_TRUE(boon_locked(9));
    EXPECT_TRUE(boon_locked(22));
    EXPECT_FALSE(boon_locked(1));
    EXPECT_FALSE(case_color_locked(9));
    for (int c : {10, 12, 13, 0, 8, 17, -1, 99}) EXPECT_TRUE(case_color_locked(c)) << c;
    EXPECT_FALSE(palette_locked(0));
    for (int p : {1, 2, 3, 7, -1}) EXPECT_TRUE(palette_locked(p)) << p;
    EXPECT_FALSE(monster_art_locked(0));
    EXPECT_TRUE(monster_art_locked(1));
    EXPECT_EQ(item_unlock_cost(ITEM_BATTLE_AXE), 110);
    EXPECT_EQ(item_unlock_cost(ITEM_DAGGER), 0);
    EXPECT_EQ(case_color_unlock_cost(13), 75);
    int32_t cases[UNLOCK_CASE_ROWS];
    unlock_case_colors(cases);
    EXPECT_EQ(cases[0], 9);
    EXPECT_EQ(cases[1], 12);
    EXPECT_EQ(cases[2], 13);
    EXPECT_EQ(cases[3], 10);
    EXPECT_STREQ(case_color_unlock_name(12), "SOLID BLUE");
    EXPECT_STREQ(case_color_unlock_name(11), "");

    for (int row : {-1, -1000, 15, 1000}) {
        EXPECT_FALSE(unlock_owned(row)) << row;
        EXPECT_EQ(unlock_bit(row), -1) << row;
        unlock_set(row);
    }
    EXPECT_EQ(profile.unlocks[0], 0u);

    unlock_set(1);
    EXPECT_FALSE(item_locked(ITEM_SPEAR));
    EXPECT_EQ(on_disk().unlocks[0], 2u);
    unlock_set(7);  // free: no bit
    EXPECT_EQ(profile.unlocks[0], 2u);

    profile_unlock_all();
    EXPECT_EQ(profile.unlocks[0], 0xFFFu);  // bits 0..11, the free rows none
    EXPECT_EQ(profile.unlocks[1], 0u);
    EXPECT_EQ(profile.met, 0x1FEu);
    EXPECT_TRUE(profile.flags & PROFILE_FLAG_UNLOCK_ALL);
    EXPECT_FALSE(class_locked(1));
    EXPECT_FALSE(palette_locked(2));
    EXPECT_TRUE(palette_locked(3));
}

TEST_F(ProfileTest, BuyingAnUnlock) {
    profile.souls = 59;
    EXPECT_EQ(unlock_buy(0), -1);
    EXPECT_EQ(profile.souls, 59);
    profile.souls = 60;
    profile.runs = 4;
    EXPECT_EQ(unlock_buy(0), 1);
    EXPECT_EQ(profile.souls, 0);
    EXPECT_EQ(profile.souls_spent, 60);
    EXPECT_EQ(profile.classes[1].first_run, 5);
    EXPECT_FALSE(class_locked(1));
    EXPECT_EQ(unlock_buy(0), 0);  // owned
    EXPECT_EQ(unlock_buy(7), 0);  // free
    EXPECT_FALSE(on_disk().unlocks[0] == 0u);
}

TEST_F(ProfileTest, CodexCounts) {
    current_floor = 2;
    codex_met(M_GOBLIN);
    EXPECT_EQ(profile.codex[M_GOBLIN].first_met_run, 1);
    EXPECT_EQ(profile.codex[M_GOBLIN].first_met_floor, 3);
    EXPECT_TRUE(codex_is_new(M_GOBLIN));
    EXPECT_TRUE(codex_any_new());
    EXPECT_EQ(on_disk().met, 1u << M_GOBLIN);
    current_floor = 5;
    codex_met(M_GOBLIN);
    EXPECT_EQ(profile.codex[M_GOBLIN].first_met_floor, 3);
    codex_mark_viewed(M_GOBLIN);
    codex_mark_viewed(M_ORC);  // never met: stays unviewed
    EXPECT_FALSE(codex_is_new(M_GOBLIN));
    EXPECT_FALSE(codex_any_new());
    EXPECT_EQ(profile.viewed, 1u << M_GOBLIN);

    codex_slain(M_GOBLIN);
    codex_slain(M_GOBLIN);
    EXPECT_EQ(profile.slain[M_GOBLIN], 2);
    EXPECT_EQ(profile.codex[M_GOBLIN].first_slain_run, 1);

    // A dragon slain on floor 15 at heat 3 in run 4 by a BRUTE.
    profile.runs = 3;
    player.cls = 1;
    current_floor = 15;
    run_heat = 3;
    codex_slain(M_DRAGON);
    EXPECT_TRUE(codex_is_new(M_DRAGON));
    EXPECT_EQ(profile.first_dragon_stretch[1].run, 4);
    EXPECT_EQ(profile.first_dragon_stretch[1].cls, 1);
    EXPECT_EQ(profile.first_dragon_heat[3].run, 4);
    EXPECT_EQ(profile.codex[M_DRAGON].first_met_floor, 16);
    EXPECT_EQ(on_disk().slain[M_DRAGON], 1);

    for (int t : {0, 9, -1, 100}) {
        codex_met(t);
        codex_slain(t);
        EXPECT_FALSE(codex_is_new(t));
    }
    EXPECT_EQ(profile.met, (1u << M_GOBLIN) | (1u << M_DRAGON));
}

TEST_F(ProfileTest, WeaponRecordsCountOnlyWeaponsInTheMainHand) {
    player.main_hand = item_make(ITEM_LONG_SWORD);
    weapon_stat_kill();
    weapon_stat_best_hit(7);
    weapon_stat_best_hit(5);
    EXPECT_EQ(profile.items[ITEM_LONG_SWORD].kills, 1);
    EXPECT_EQ(profile.items[ITEM_LONG_SWORD].best_hit, 7);
    EXPECT_FALSE(tmp.exists("profile.dat"));  // not written mid-fight
    codex_slain(M_RAT);  // the kill's codex count writes them
    EXPECT_EQ(on_disk().items[ITEM_LONG_SWORD].best_hit, 7);
    EXPECT_EQ(on_disk().items[ITEM_LONG_SWORD].kills, 1);
    weapon_stat_best_hit(8);
    profile_tick(false);  // and so does leaving play
    EXPECT_EQ(on_disk().items[ITEM_LONG_SWORD].best_hit, 8);
    weapon_stat_best_hit(9);
    profile_flush();  // or closing the program
    EXPECT_EQ(on_disk().items[ITEM_LONG_SWORD].best_hit, 9);
    player.main_hand = item_make(ITEM_TOWER_SHIELD);
    weapon_stat_kill();
    EXPECT_EQ(profile.items[ITEM_TOWER_SHIELD].kills, 0);
    player.main_hand = Item{};
    player.main_hand.id = 200;
    weapon_stat_kill();
    weapon_stat_best_hit(9);
    cheat_flags[0] = 1;
    player.main_hand = item_make(ITEM_LONG_SWORD);
    weapon_stat_kill();
    cheat_flags[0] = 0;
    EXPECT_EQ(profile.items[ITEM_LONG_SWORD].kills, 1);
}

TEST_F(ProfileTest, TheTickCountsGoldAndTime) {
    player.gold = 50;  // a resumed run's purse is not gained
    profile_tick(true);
    EXPECT_EQ(profile.gold_gained, 0);
    player.gold = 65;
    profile_tick(true);
    player.gold = 40;  // spending takes nothing back
    profile_tick(true);
    player.gold = 45;
    profile_tick(true);
    EXPECT_EQ(profile.gold_gained, 20);
    // Outside play the purse is forgotten: what it holds on return is a new baseline.
    profile_tick(false);
    player.gold = 500;
    profile_tick(true);
    EXPECT_EQ(profile.gold_gained, 20);

    for (int i = 0; i < 120 - 5; i++) profile_tick(true);
    EXPECT_EQ(profile.seconds, 2);
    EXPECT_EQ(profile.run_seconds, 2);
    for (int i = 0; i < 59; i++) profile_tick(true);
    EXPECT_EQ(profile.seconds, 2);
    profile_tick(false);  // leaving play writes what play counted
    EXPECT_EQ(on_disk().seconds, 2);
    EXPECT_EQ(on_disk().gold_gained, 20);
    for (int i = 0; i < 10; i++) profile_tick(false);
    EXPECT_EQ(profile.seconds, 2);
    profile_tick(true);
    EXPECT_EQ(profile.seconds, 3);
}

TEST_F(ProfileTest, FlagsHintsAndTheJokeCounter) {
    EXPECT_TRUE(training_offer_on());
    training_offer_set(false);
    EXPECT_FALSE(training_offer_on());
    EXPECT_EQ(on_disk().flags, PROFILE_FLAG_TRAINING_SKIPPED);
    training_offer_set(true);
    EXPECT_TRUE(training_offer_on());

    EXPECT_FALSE(profile_hint_seen());
    profile_hint_mark();
    EXPECT_TRUE(profile_hint_seen());
    EXPECT_FALSE(profile_attack_hint_seen());
    profile_attack_hint_mark();
    EXPECT_TRUE(profile_attack_hint_seen());
    EXPECT_EQ(on_disk().flags, PROFILE_FLAG_THREAT_HINT | PROFILE_FLAG_ATTACKED_ONCE);
    for (int i = 0; i < 3; i++) profile_flow_hint_raise();
    EXPECT_EQ(profile_flow_hint_count(), 3);
    EXPECT_EQ(on_disk().flow_hints, 3);

    // The rating is kept in range and written only when asked.
    profile_skill_store(1200, 4, false);
    EXPECT_EQ(profile_skill_rating(), 1000);
    EXPECT_EQ(profile_rated_fights(), 4);
    EXPECT_EQ(on_disk().rated_fights, 0);
    profile_skill_store(-3, 5, true);
    EXPECT_EQ(on_disk().skill_rating, 0);
    EXPECT_EQ(on_disk().rated_fights, 5);

    profile.jokes = 29;
    EXPECT_EQ(joke_banner_next(), 29);
    EXPECT_EQ(joke_banner_next(), 0);
    EXPECT_EQ(on_disk().jokes, 31);
    profile.jokes = INT32_MAX;
    EXPECT_EQ(joke_banner_next(), INT32_MAX % 30);
    EXPECT_EQ(profile.jokes, 0);

    profile_add_souls(5);
    profile_add_souls(-9);
    EXPECT_EQ(profile.souls, 0);
}

TEST_F(ProfileTest, ResetClearsTheRecordAndTheSettings) {
    const Settings kept = settings;
    profile.souls = 40;
    profile.unlocks[0] = 3;
    settings.volume = 2;
    profile_reset();
    EXPECT_EQ(profile.souls, 0);
    EXPECT_EQ(on_disk().unlocks[0], 0u);
    EXPECT_EQ(settings.volume, 6);
    EXPECT_TRUE(tmp.exists("settings.dat"));
    settings = kept;
}

}  // namespace
