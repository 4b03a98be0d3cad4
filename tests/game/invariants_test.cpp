// The world rules: which apply where, and that bad indices are reported, never followed.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "combat/combat.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "game/invariants.h"
#include "items/bag.h"
#include "world/game_state.h"
#include "world/player.h"
#include "game/state.h"
#include "saves/settings.h"
#include "support/temp_save_dir.h"
#include "telemetry/check.h"
#include "telemetry/events.h"

namespace {

WorldFacts sound_world() {
    WorldFacts w{};
    w.level = 1;
    w.xp_next = 10;
    w.main_id = 4;
    w.off_id = 5;
    w.hp = w.max_hp = 12;
    w.player_x = 2;
    w.player_y = 2;
    for (auto& row : w.map) std::memset(row, '#', sizeof row);
    for (int y = 1; y < INV_MAP_H - 1; y++)
        for (int x = 1; x < INV_MAP_W - 1; x++) w.map[y][x] = '.';
    w.monster_count = 1;
    w.monsters[0] = {1, 5, 5, 0};
    w.bag_count = 1;
    for (auto& row : w.bag_cells)
        for (int& c : row) c = -1;
    w.bag_cells[0][0] = w.bag_cells[1][0] = 0;
    w.bag[0] = {3, 1, 1, 2};
    w.combat_type = 2;
    w.combat_hp = 3;
    w.combat_max_hp = 5;
    return w;
}

struct InvariantsTest : ::testing::Test {
    TempSaveDir tmp;
    void SetUp() override {
        settings.share_stats = 1;
        assert_sites_reset();
    }
    void TearDown() override {
        settings.share_stats = 0;
        assert_sites_reset();
    }
    std::string events() { return tmp.read("events_outbox.jsonl"); }
    int lines() {
        int n = 0;
        for (char c : events()) n += c == '\n';
        return n;
    }
};

TEST_F(InvariantsTest, ASoundWorldReportsNothingInAnyState) {
    WorldFacts w = sound_world();
    for (int s = 0; s < STATE_COUNT; s++) invariants_check(w, s, 0, invariants_in_play(s, 1));
    EXPECT_EQ(lines(), 0);
}

TEST_F(InvariantsTest, WallAndMonsterOnThePlayerOnlyInPlay) {
    WorldFacts w = sound_world();
    w.map[2][2] = '#';
    w.monsters[0].x = 2;
    w.monsters[0].y = 2;
    invariants_check(w, STATE_TITLE, 0, invariants_in_play(STATE_TITLE, 1));
    EXPECT_EQ(lines(), 0);
    invariants_check(w, STATE_DUNGEON, 0, invariants_in_play(STATE_DUNGEON, 1));
    std::string e = events();
    EXPECT_NE(e.find("player in a wall at (2,2)"), std::string::npos);
    EXPECT_NE(e.find("monster 0 on the player"), std::string::npos);
    EXPECT_NE(e.find("\"at\":\"game:"), std::string::npos);
    EXPECT_NE(e.find("\"func\":\"game_check_invariants\""), std::string::npos);
}

TEST_F(InvariantsTest, InPlayStates) {
    for (int s : {2, 3, 4, 5, 6, 13}) EXPECT_TRUE(invariants_in_play(s, 1)) << s;
    for (int s : {0, 1, 7, 8, 9, 10, 11, 12, 14, 15, 16, 18}) EXPECT_FALSE(invariants_in_play(s, 4)) << s;
    EXPECT_TRUE(invariants_in_play(STATE_CONTROLS, STATE_PAUSE));
    EXPECT_FALSE(invariants_in_play(STATE_CONTROLS, STATE_TITLE));
}

TEST_F(InvariantsTest, BadCountsAndCellsAreReportedAndBounded) {
    WorldFacts w = sound_world();
    w.monster_count = 99;
    w.bag_count = 500;
    w.bag_cells[4][5] = 40;
    w.player_x = 300;  // off the map: the wall rule is not read
    invariants_check(w, STATE_DUNGEON, 25, true);
    std::string e = events();
    EXPECT_NE(e.find("floor 25"), std::string::npos);
    EXPECT_NE(e.find("monsters 99"), std::string::npos);
    EXPECT_NE(e.find("bag count 500"), std::string::npos);
    EXPECT_NE(e.find("player at (300,2)"), std::string::npos);
    EXPECT_EQ(e.find("player in a wall"), std::string::npos);
    w = sound_world();
    w.bag_cells[4][5] = 40;
    invariants_check(w, STATE_TITLE, 0, false);
    EXPECT_NE(events().find("bag cell (5,4) = 40 of 1"), std::string::npos);
}

TEST_F(InvariantsTest, BagCoverageAndFightRules) {
    WorldFacts w = sound_world();
    w.bag_cells[1][0] = -1;  // the 1 x 2 item now covers one cell
    w.combat_hp = 9;
    w.combat_queued = 5;
    invariants_check(w, STATE_COMBAT, 0, true);
    std::string e = events();
    EXPECT_NE(e.find("bag item 0 covers 1 cells, not 2"), std::string::npos);
    EXPECT_NE(e.find("monster hp 9/5"), std::string::npos);
    EXPECT_NE(e.find("queued 5"), std::string::npos);
    // An unknown item's footprint is not compared.
    assert_sites_reset();
    std::remove(tmp.path("events_outbox.jsonl").c_str());
    w = sound_world();
    w.bag[0].id = 77;
    w.bag_cells[1][0] = -1;
    invariants_check(w, STATE_TITLE, 0, false);
    e = events();
    EXPECT_NE(e.find("bag item 0 id 77"), std::string::npos);
    EXPECT_EQ(e.find("covers"), std::string::npos);
}

TEST_F(InvariantsTest, MonsterOffTheMapSkipsTheLookupRule) {
    WorldFacts w = sound_world();
    w.monsters[0] = {12, -4, 3, -1};
    invariants_check(w, STATE_DUNGEON, 0, true);
    std::string e = events();
    EXPECT_NE(e.find("monster 0 type 12"), std::string::npos);
    EXPECT_NE(e.find("monster 0 at (-4,3) on '#'"), std::string::npos);
    EXPECT_EQ(e.find("two monsters"), std::string::npos);
}

TEST_F(InvariantsTest, AMonsterOffTheFloorOnTheMapIsStillLookedUp) {
    WorldFacts w = sound_world();
    w.map[5][5] = 'D';
    w.monsters[0].at = 3;  // the lookup finds another monster on that cell
    invariants_check(w, STATE_DUNGEON, 0, true);
    std::string e = events();
    EXPECT_NE(e.find("monster 0 at (5,5) on 'D'"), std::string::npos);
    EXPECT_NE(e.find("two monsters at (5,5)"), std::string::npos);
}

// The snapshot reads the real records: a sound world passes, and breaking the player, a monster and
// the fight is reported row by row.
TEST_F(InvariantsTest, TheSnapshotOfTheRealRecordsCatchesABrokenWorld) {
    player = Player{};
    player.level = 1;
    player.hp = player.max_hp = 20;
    player.x = player.y = 2;
    bag_grid_clear(player.bag);
    for (int y = 0; y < MAP_H; y++)
        for (int x = 0; x < MAP_W; x++)
            gmap[y][x] = (x == 0 || y == 0 || x == MAP_W - 1 || y == MAP_H - 1) ? '#' : '.';
    monsters_clear();
    monster_add(M_RAT, 6, 6);
    combat = Combat{};
    combat.type = M_RAT;
    combat.hp = combat.max_hp = 40;
    game_state = STATE_COMBAT;
    current_floor = 1;
    game_check_invariants();
    EXPECT_EQ(lines(), 0) << events();

    player.hp = 30;
    monsters.list[0].x = 0;
    combat.queued = 7;
    combat.hp = 41;
    game_check_invariants();
    std::string e = events();
    EXPECT_NE(e.find("hp 30/20"), std::string::npos);
    EXPECT_NE(e.find("monster 0 at (0,6) on '#'"), std::string::npos);
    EXPECT_NE(e.find("monster hp 41/40"), std::string::npos);
    EXPECT_NE(e.find("queued 7"), std::string::npos);
    game_state = STATE_POWER_ON;
    current_floor = 0;
    monsters_clear();
    combat = Combat{};
}

}  // namespace
