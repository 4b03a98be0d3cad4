// A run from the player's side: start it, walk, SAVE & QUIT from the pause menu, start the game
// again and CONTINUE: the player stands on the same cell with the same bag. And the autosaves made
// on the way back to the dungeon, however the game gets there.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "camp/camp.h"
#include "combat/combat.h"
#include "combat/training.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "game/game.h"
#include "game/menus.h"
#include "game/run_start.h"
#include "game/shell_calls.h"
#include "game/state.h"
#include "items/bag.h"
#include "levelup/levelup.h"
#include "runfile/run_file.h"
#include "saves/file_io.h"
#include "saves/settings.h"
#include "screens/transition.h"
#include "services/toast.h"
#include "explore_fixture.h"
#include "support/item_maker.h"
#include "support/run_hash.h"
#include "support/temp_save_dir.h"
#include "support/turn_block.h"
#include "support/unwritable_save_dir.h"
#include "support/tick_reset.h"
#include "world/buttons.h"
#include "world/player.h"

namespace {

void tap(uint8_t bits) {
    game_tick(bits);
    for (int i = 0; i < 14; i++) game_tick(0);
    while (transition_active()) game_tick(0);
}

TEST(RunContinue, SaveAndQuitThenContinueStandsOnTheSameCell) {
    TempSaveDir tmp;
    tick_globals_reset(STATE_CLASS_SELECT);
    fixed_seed = 0xC0FFEE;
    fixed_seed_runs = 0;
    run_start_transition(0);
    for (int i = 0; i < 600 && (transition_active() || game_state != STATE_DUNGEON); i++) game_tick(0);
    ASSERT_EQ(game_state, STATE_DUNGEON);
    ASSERT_TRUE(tmp.exists("run.sav"));  // a new run saves at once
    bag_add(player.bag, test_item(ITEM_SPEAR, 1), 1);

    const int32_t start_x = player.x, start_y = player.y;
    for (uint8_t step : {BTN_UP, BTN_UP, BTN_RIGHT, BTN_UP, BTN_LEFT, BTN_LEFT, BTN_UP, BTN_UP})
        if (game_state == STATE_DUNGEON) tap(step);
    ASSERT_EQ(game_state, STATE_DUNGEON);
    EXPECT_TRUE(player.x != start_x || player.y != start_y || player.facing != 0) << "the walk went nowhere";

    // START opens the pause menu; UP wraps to SAVE & QUIT.
    tap(BTN_START);
    ASSERT_EQ(game_state, STATE_PAUSE);
    tap(BTN_UP);
    ASSERT_EQ(pause_cursor, PAUSE_SAVE_QUIT);
    tap(BTN_A);
    ASSERT_EQ(game_state, STATE_TITLE);
    EXPECT_EQ(run_active, 0);
    const Player saved = player;
    const int32_t floor = current_floor;

    // Start the game again: a fresh player on floor 0, the title offering CONTINUE first.
    game_init();
    settings.stats_asked = 1;
    EXPECT_EQ(run_summary.valid, 1);
    EXPECT_EQ(title_cursor, TITLE_CONTINUE);
    for (int i = 0; i < 400 && game_state != STATE_TITLE; i++) game_tick(i % 30 == 0 ? BTN_A : 0);
    ASSERT_EQ(game_state, STATE_TITLE);
    for (int i = 0; i < 60; i++) game_tick(0);  // the title's entry guard
    ASSERT_EQ(title_cursor, TITLE_CONTINUE);
    tap(BTN_A);
    ASSERT_EQ(game_state, STATE_DUNGEON);
    EXPECT_EQ(run_active, 1);
    EXPECT_EQ(current_floor, floor);
    EXPECT_EQ(player.x, saved.x);
    EXPECT_EQ(player.y, saved.y);
    EXPECT_EQ(player.facing, saved.facing);
    EXPECT_EQ(player.bag.count, saved.bag.count);
    EXPECT_EQ(std::memcmp(player.bag.cells, saved.bag.cells, sizeof saved.bag.cells), 0);
    for (int i = 0; i < saved.bag.count; i++) EXPECT_EQ(player.bag.entries[i].item.id, saved.bag.entries[i].item.id);

    fixed_seed = 0;
    fixed_seed_runs = 0;
    run_active = 0;
    game_state = prev_state = STATE_POWER_ON;
}

// The run.sav read back gives the run as it stands in the dungeon, not as it stood before.
void expect_saved_in_the_dungeon(const char* what) {
    const uint32_t now = run_state_hash();
    ASSERT_TRUE(load_run()) << what;
    EXPECT_EQ(run_resume_state(), STATE_DUNGEON) << what;
    EXPECT_EQ(run_state_hash(), now) << what;
}

// A run in the dungeon with a goblin one step ahead, every button free.
void goblin_ahead_run() {
    tick_globals_reset(STATE_DUNGEON);
    goblin_ahead_world();
    input_guard_ticks = 0;
    run_active = 1;
}

TEST(RunContinue, AWonDuelAndLeavingTheCampSaveTheDungeon) {
    TempSaveDir tmp;
    goblin_ahead_run();
    player.hp = player.max_hp = 400;
    player.level = 5;  // no level-up owed after one goblin
    player.main_hand = item_make(ITEM_SHORT_SWORD);

    // The duel's clock ends the fight; 30 idle ticks in the dungeon follow.
    game_tick(BTN_UP);
    ASSERT_EQ(game_state, STATE_COMBAT);
    for (int t = 0; t < 20000 && game_state == STATE_COMBAT; t++) game_tick(t % 24 < 2 ? BTN_A : 0);
    ASSERT_EQ(game_state, STATE_DUNGEON);
    ASSERT_EQ(player.kills, 1);
    for (int i = 0; i < 30; i++) game_tick(0);
    expect_saved_in_the_dungeon("won duel");

    // ONWARD leaves the camp at the wipe's mid-point.
    current_floor = 3;
    camp_enter();
    ASSERT_TRUE(save_run());
    camp.cursor = CAMP_TILE_ONWARD;
    game_tick(BTN_A);
    for (int i = 0; i < 600 && transition_active(); i++) game_tick(0);
    ASSERT_EQ(game_state, STATE_DUNGEON);
    expect_saved_in_the_dungeon("camp left");
    run_active = 0;
}

// A kill that owes a level-up goes from the duel to the cards in one tick: one save, on the cards.
TEST(RunContinue, AWonDuelThatOpensTheLevelUpSavesOnceInThatTick) {
    TempSaveDir tmp;
    goblin_ahead_run();
    player.hp = player.max_hp = 400;
    player.xp = xp_to_next(player.level) - 1;
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    game_tick(BTN_UP);
    ASSERT_EQ(game_state, STATE_COMBAT);
    uint32_t most = 0;
    for (int t = 0; t < 20000 && game_state != STATE_LEVELUP; t++) {
        const uint32_t before = run_saves_made;
        game_tick(t % 24 < 2 ? BTN_A : 0);
        if (run_saves_made - before > most) most = run_saves_made - before;
    }
    ASSERT_EQ(game_state, STATE_LEVELUP);
    EXPECT_EQ(most, 1u);
    run_active = 0;
}

// Starts the game again from power-on and takes the title's first row, CONTINUE, in one tick.
void continue_from_power_on() {
    game_init();
    settings.stats_asked = 1;
    for (int i = 0; i < 400 && game_state != STATE_TITLE; i++) game_tick(i % 30 == 0 ? BTN_A : 0);
    ASSERT_EQ(game_state, STATE_TITLE);
    for (int i = 0; i < 60; i++) game_tick(0);  // the title's entry guard
    ASSERT_EQ(title_cursor, TITLE_CONTINUE);
    game_tick(BTN_A);
}

// The window closed in the victory pause of a won fight, in a duel (the kill owing a level-up) and
// in a turn-menu fight: CONTINUE comes back in the dungeon, the monster gone, everything the kill
// paid paid once.
TEST(RunContinue, AWinSavedInTheVictoryPauseIsCountedOnce) {
    for (const bool duel : {true, false}) {
        SCOPED_TRACE(duel ? "duel" : "turn-menu fight");
        TempSaveDir tmp;
        goblin_ahead_run();
        levelup_clear();
        player.hp = player.max_hp = 400;
        player.main_hand = item_make(ITEM_SHORT_SWORD);
        if (duel) {
            player.xp = xp_to_next(player.level) - 1;
            game_tick(BTN_UP);
            ASSERT_EQ(game_state, STATE_COMBAT);
            for (int t = 0; t < 20000 && game_state == STATE_COMBAT && combat_victory_delay() == 0; t++)
                game_tick(t % 24 < 2 ? BTN_A : 0);
        } else {
            player.level = 5;  // no level-up owed after one goblin
            ASSERT_TRUE(turn_block_restore(M_GOBLIN, 1, 30, {0, 0}, 4, 5));
            game_state = prev_state = STATE_COMBAT;
            game_tick(BTN_A);  // ATTACK, where the cursor starts
        }
        ASSERT_EQ(game_state, STATE_COMBAT);
        ASSERT_GT(combat_victory_delay(), 0);
        const Player won = player;
        const int32_t owed = levelup.pending;
        ASSERT_EQ(won.kills, 1);
        ASSERT_EQ(owed, duel ? 1 : 0);
        ASSERT_TRUE(save_on_close());

        continue_from_power_on();
        EXPECT_EQ(game_state, STATE_DUNGEON);
        EXPECT_EQ(monster_at(4, 5), -1);
        for (int i = 0; i < 120; i++) game_tick(0);
        EXPECT_EQ(game_state, duel ? STATE_LEVELUP : STATE_DUNGEON);
        EXPECT_EQ(player.kills, 1);
        EXPECT_EQ(player.xp, won.xp);
        EXPECT_EQ(player.level, won.level);
        EXPECT_EQ(player.floor_kills, won.floor_kills);
        EXPECT_EQ(levelup.pending, owed);
        run_active = 0;
        game_state = prev_state = STATE_POWER_ON;
    }
}

// A new run saves as it starts, at the opening wipe's mid-point; the tick adds no second save.
TEST(RunContinue, ANewRunIsSavedOnceAsItStarts) {
    TempSaveDir tmp;
    tick_globals_reset(STATE_CLASS_SELECT);
    run_start_transition(0);
    uint32_t most = 0;
    const uint32_t first = run_saves_made;
    for (int i = 0; i < 600 && transition_active(); i++) {
        const uint32_t before = run_saves_made;
        game_tick(0);
        if (run_saves_made - before > most) most = run_saves_made - before;
    }
    ASSERT_EQ(game_state, STATE_DUNGEON);
    EXPECT_EQ(run_saves_made - first, 1u);
    EXPECT_EQ(most, 1u);
    run_active = 0;
    game_state = prev_state = STATE_POWER_ON;
}

// Carrying on from the training's end changes the state as its wipe starts to close: the run is
// saved once, at the mid-point that loads the next floor, not on the training's camp beforehand.
TEST(RunContinue, CarryingOnAfterTheTrainingSavesOnlyAtTheWipesMidPoint) {
    TempSaveDir tmp;
    goblin_ahead_run();
    current_floor = 3;
    camp_enter();
    training.over_prompt = 1;
    const uint32_t first = run_saves_made;
    game_tick(BTN_A);
    ASSERT_EQ(game_state, STATE_DUNGEON);
    ASSERT_TRUE(transition_active());
    EXPECT_EQ(run_saves_made, first);
    for (int i = 0; i < 600 && transition_active(); i++) game_tick(0);
    EXPECT_EQ(current_floor, 4);
    EXPECT_EQ(run_saves_made - first, 1u);
    run_active = 0;
}

// A failed save on entering a fight is told by a toast: a box would take the duel's presses while
// its clock runs on.
TEST(RunContinue, AFailedSaveOnEnteringAFightLeavesTheDuelItsButtons) {
    UnwritableSaveDir blocked;
    goblin_ahead_run();
    game_tick(BTN_UP);
    ASSERT_EQ(game_state, STATE_COMBAT);
    EXPECT_EQ(message_box_open, 0);
    EXPECT_STREQ(toast_line1, "SAVE FAILED!");
    run_active = 0;
    game_state = prev_state = STATE_POWER_ON;
}

// Plays from power-on to the title and gathers the two-line notices it shows there.
std::vector<std::string> title_notices_told() {
    std::vector<std::string> told;
    for (int i = 0; i < 400 && game_state != STATE_TITLE; i++) game_tick(i % 30 == 0 ? BTN_A : 0);
    if (game_state != STATE_TITLE) return {"never reached the title"};
    for (int i = 0; i < 1000; i++) {
        game_tick(0);
        if (toast_timer == TOAST2_TICKS) told.push_back(std::string(toast_line1) + " / " + toast_line2);
    }
    return told;
}

// The folder's moves as some FUSE and network mounts have them while it lives: no move that
// refuses to replace, no hard links.
int no_rename_noreplace(const char*, const char*) {
    errno = EINVAL;
    return -1;
}
int no_hard_link(const char*, const char*) {
    errno = EPERM;
    return -1;
}
struct PlainMovesOnly {
    PlainMovesOnly() { file_move_calls_set(no_rename_noreplace, no_hard_link); }
    ~PlainMovesOnly() { file_move_calls_set(nullptr, nullptr); }
};

// Damaged files found at start-up are kept under names of their own, never over one kept before,
// on a folder with plain moves only too, and the title tells of each once.
TEST(RunContinue, DamagedFilesAreKeptAsideAndToldOnce) {
    for (const bool plain_moves_only : {false, true}) {
        SCOPED_TRACE(plain_moves_only ? "plain moves only" : "every kind of move");
        std::optional<PlainMovesOnly> folder;
        if (plain_moves_only) folder.emplace();
        TempSaveDir tmp;
        tick_globals_reset(STATE_POWER_ON);
        tmp.write("run_bad.sav", "a run set aside last week");
        tmp.write("run.sav", std::string("QMSD") + std::string(200, '\x7f'));
        tmp.write("profile.dat", "QMPD and then nothing a profile holds");
        game_init();
        settings.stats_asked = 1;
        EXPECT_FALSE(tmp.exists("run.sav"));
        EXPECT_EQ(tmp.read("run_bad.sav"), "a run set aside last week");
        EXPECT_EQ(tmp.read("run_bad_2.sav"), std::string("QMSD") + std::string(200, '\x7f'));
        EXPECT_EQ(tmp.read("profile_bad.dat"), "QMPD and then nothing a profile holds");
        EXPECT_EQ(run_summary.valid, 0);

        const std::vector<std::string> told = title_notices_told();
        const std::vector<std::string> expected = {"SAVED RUN UNREADABLE / IT WAS KEPT ASIDE",
                                                   "PROFILE UNREADABLE / IT WAS SET ASIDE"};
        EXPECT_EQ(told, expected);
        game_state = prev_state = STATE_POWER_ON;
    }
}

// On a folder with hard links but no move that refuses to replace, a refused file is kept by a
// second name and stays at its own until a save replaces it: it is told at the start that kept it,
// not again at every start after.
TEST(RunContinue, AFileKeptByAHardLinkIsToldOnlyAtTheStartThatKeptIt) {
    file_move_calls_set(no_rename_noreplace, nullptr);
    TempSaveDir tmp;
    const std::string run = std::string("QMSD") + std::string(200, '\x7f');
    const std::string prof = "QMPD and then nothing a profile holds";
    tmp.write("run.sav", run);
    tmp.write("profile.dat", prof);
    for (const int start : {1, 2}) {
        SCOPED_TRACE(start);
        tick_globals_reset(STATE_POWER_ON);
        game_init();
        settings.stats_asked = 1;
        EXPECT_EQ(tmp.read("run_bad.sav"), run);
        EXPECT_FALSE(tmp.exists("run_bad_2.sav"));
        EXPECT_EQ(tmp.read("profile_bad.dat"), prof);
        EXPECT_FALSE(tmp.exists("profile_bad_2.dat"));
        const std::vector<std::string> first = {"SAVED RUN UNREADABLE / IT WAS KEPT ASIDE",
                                                "PROFILE UNREADABLE / IT WAS SET ASIDE"};
        EXPECT_EQ(title_notices_told(), start == 1 ? first : std::vector<std::string>{});
        game_state = prev_state = STATE_POWER_ON;
    }
    file_move_calls_set(nullptr, nullptr);
}

// A folder where every set-aside name is taken.
int every_name_taken(const char*, const char*) {
    errno = EEXIST;
    return -1;
}

// What cannot be kept aside, and an old-format profile kept aside, are told once each too: the
// refused run.sav until the next run's save replaces it, the refused profile.dat that keeps the
// session's progress from being saved.
TEST(RunContinue, RefusedFilesLeftInPlaceAndAnOldProfileAreToldOnce) {
    {
        TempSaveDir tmp;
        tick_globals_reset(STATE_POWER_ON);
        const std::string old = std::string("QMPD") + std::string("\x05\0\0\0", 4) + std::string(600, '\0');
        tmp.write("profile.dat", old);
        game_init();
        settings.stats_asked = 1;
        EXPECT_EQ(tmp.read("profile_old.dat"), old);
        EXPECT_EQ(title_notices_told(), std::vector<std::string>{"OLD PROFILE FORMAT / IT WAS KEPT ASIDE"});
    }
    TempSaveDir tmp;
    tick_globals_reset(STATE_POWER_ON);
    tmp.write("run.sav", std::string("QMSD") + std::string(200, '\x7f'));
    tmp.write("profile.dat", "QMPD and then nothing a profile holds");
    file_move_calls_set(every_name_taken, every_name_taken);
    game_init();
    file_move_calls_set(nullptr, nullptr);
    settings.stats_asked = 1;
    EXPECT_TRUE(tmp.exists("run.sav"));
    EXPECT_TRUE(tmp.exists("profile.dat"));
    const std::vector<std::string> expected = {"SAVED RUN UNREADABLE / NEXT RUN REPLACES IT",
                                               "PROFILE UNREADABLE / PROGRESS WON'T SAVE"};
    EXPECT_EQ(title_notices_told(), expected);
    game_state = prev_state = STATE_POWER_ON;
}

// A run file of an older version is kept aside like a damaged one, and the title says what it is.
TEST(RunContinue, ARunOfAnOlderVersionIsToldAsOneAndKept) {
    TempSaveDir tmp;
    tick_globals_reset(STATE_POWER_ON);
    std::string old = std::string("QMSD") + std::string("\x0d\0\0\0", 4) + std::string(3000, '\0');
    tmp.write("run.sav", old);
    game_init();
    settings.stats_asked = 1;
    EXPECT_EQ(tmp.read("run_bad.sav"), old);
    const std::vector<std::string> told = title_notices_told();
    EXPECT_EQ(told, std::vector<std::string>{"RUN OF OLDER VERSION / IT WAS KEPT ASIDE"});
    game_state = prev_state = STATE_POWER_ON;
}

}  // namespace
