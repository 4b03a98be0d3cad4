// A fight restored from a saved block with the real-time flag 0 plays to its end through the real
// tick: the menu, the monster's timed moves, victory back to the dungeon, and a death that ends the run.
#include <gtest/gtest.h>

#include "boons/boons.h"
#include "combat/combat.h"
#include "combat/turn_fight.h"
#include "explore_fixture.h"
#include "game/game.h"
#include "game/run_start.h"
#include "items/item.h"
#include "render/screen.h"
#include "support/turn_block.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"
#include "telemetry/check.h"
#include "world/buttons.h"

namespace {

// The player west of a goblin (or of `type`) in an open room, and the saved fight restored.
void restore_turn_fight(int type, int hp, int max_hp) {
    tick_globals_reset(STATE_COMBAT);
    const char* rows[MAP_H] = {
        "################", "#..............#", "#..............#", "#..............#", "#..............#",
        "#..@...........#", "#..............#", "#..............#", "#..............#", "#..............#",
        "#..............#", "################",
    };
    explore_world(rows, 1);
    monster_add(type, 4, 5);
    input_guard_ticks = 0;
    layout_set_landscape();  // the actions in one column
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    ASSERT_TRUE(turn_block_restore(type, hp, max_hp, {0, 0}, 4, 5));
    game_state = STATE_COMBAT;
}

// Taps A on ATTACK every 40 ticks (the monster's turn takes 30) until the fight leaves its state.
int fight_to_the_end() {
    int ticks = 0;
    for (; ticks < 20000 && game_state == STATE_COMBAT; ticks++) game_tick(ticks % 40 == 0 ? BTN_A : 0);
    return ticks;
}

TEST(TurnFightInTheGame, ARestoredTurnFightIsWonThroughTheTick) {
    TempSaveDir tmp;
    restore_turn_fight(M_GOBLIN, 30, 30);
    player.hp = player.max_hp = 400;
    // The first press only moves the cursor; ATTACK is where the cursor starts.
    game_tick(BTN_DOWN);
    game_tick(0);
    EXPECT_EQ(combat.action_cursor, TURN_DEFEND);
    game_tick(BTN_UP);
    game_tick(0);
    ASSERT_EQ(combat.action_cursor, TURN_ATTACK);
    const int ticks = fight_to_the_end();
    EXPECT_EQ(game_state, STATE_DUNGEON) << ticks;
    EXPECT_EQ(monsters.count, 0);
    EXPECT_EQ(player.kills, 1);
    EXPECT_GT(combat.turn, 1);
    EXPECT_LT(player.hp, 400);  // the goblin had its turns
}

TEST(TurnFightInTheGame, DyingToTheMonstersTimedMoveEndsTheRun) {
    TempSaveDir tmp;
    restore_turn_fight(M_GOBLIN, 30, 30);
    current_floor = 12;
    player.hp = player.max_hp = 12;
    player.attack = 0;
    run_active = 1;
    fight_to_the_end();
    EXPECT_EQ(game_state, STATE_DEATH);
    EXPECT_EQ(killer_type, (uint32_t)M_GOBLIN);
    EXPECT_EQ(run_active, 0);  // the run was finished, not left to be continued
    run_active = 0;
    screen_snapshot_drop();
}

TEST(TurnFightInTheGame, APressInTheTickOfATimedDeathLeavesTheReplayAndTheDeathScreen) {
    for (uint8_t press : {BTN_A, BTN_B}) {
        TempSaveDir tmp;
        restore_turn_fight(M_GOBLIN, 30, 30);
        current_floor = 12;
        player.hp = player.max_hp = 1;
        player.attack = 0;
        run_active = 1;
        game_tick(BTN_A);  // ATTACK: the goblin answers on its timer
        game_tick(0);
        ASSERT_GT(combat.monster_delay, 1);
        while (combat.monster_delay > 1) game_tick(0);
        game_tick(press);  // the goblin's blow and the press share one tick
        EXPECT_EQ(game_state, STATE_DEATH) << (int)press;
        EXPECT_TRUE(screen_snapshot_get()) << (int)press;
        run_active = 0;
        screen_snapshot_drop();
    }
}

TEST(TurnFightInTheGame, ANewRunStartsTheLifeStealRemainderAtZero) {
    TempSaveDir tmp;
    // BLOOD PACT steals 60 per mille of 10 hp a blow: 0.6 hp, kept for the next blow of the run.
    for (int run = 0; run < 2; run++) {
        if (run == 1) new_run();
        restore_turn_fight(M_GOBLIN, 30, 30);
        player.max_hp = 10;
        player.hp = 5;
        player.boon_ranks[BOON_BLOOD_PACT] = 1;
        game_tick(BTN_A);  // ATTACK; the goblin answers on its timer, later
        EXPECT_EQ(player.hp, 5) << "run " << run;
    }
}

}  // namespace
