// Stages saves for looking at the real program by hand: with QM_STAGE_DIR set, writes a profile
// with souls to spend and a run standing at the floor-4 camp with gear to sell and forge into that
// folder (point XDG_DATA_HOME at its parent's parent to start the game on them). Disabled: run with
// --gtest_also_run_disabled_tests --gtest_filter='*Stage*'.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "camp/camp.h"
#include "dungeon/floor.h"
#include "game/load_floor.h"
#include "game/run_start.h"
#include "game/state.h"
#include "items/bag.h"
#include "items/item.h"
#include "profile/profile.h"
#include "runfile/run_file.h"
#include "saves/save_path.h"
#include "support/fresh_game.h"
#include "support/tick_reset.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

TEST(Stage, DISABLED_ACampRunAndSoulsToSpend) {
    const char* dir = std::getenv("QM_STAGE_DIR");
    if (!dir) GTEST_SKIP() << "QM_STAGE_DIR names the folder to write into";
    const std::string previous = save_dir;
    save_dir_set((std::string(dir) + "/").c_str());
    tick_globals_reset(STATE_DUNGEON);
    profile = Profile{};
    profile.souls = 200;
    profile.flags |= PROFILE_FLAG_TRAINING_SKIPPED;
    ASSERT_TRUE(profile_save());
    knight_run_start(0x5EED1234u);
    load_floor(3);
    player.gold = 300;
    player.main_hand.wear = 6;
    bag_add_new(ITEM_ANTIDOTE, 2);
    Item sword = item_make(ITEM_SHORT_SWORD);
    sword.junk = 1;
    bag_add(player.bag, sword, 1);
    run_active = 1;
    camp_enter();
    ASSERT_TRUE(save_run());
    save_dir_set(previous.c_str());
    run_active = 0;
    game_state = STATE_POWER_ON;
}

}  // namespace
