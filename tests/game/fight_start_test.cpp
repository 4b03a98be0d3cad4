// The duel in the running game: a step into a monster through the tick starts the fight, and the
// fight resolves back to the dungeon with the monster gone.
#include <gtest/gtest.h>

#include "combat/combat.h"
#include "combat/duel.h"
#include "combat/reflex.h"
#include "explore_fixture.h"
#include "game/game.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"
#include "telemetry/check.h"
#include "world/buttons.h"

namespace {

TEST(FightInTheGame, WalkingIntoAMonsterStartsTheDuelAndItEndsInTheDungeon) {
    TempSaveDir tmp;
    tick_globals_reset(STATE_DUNGEON);
    settings.share_stats = 1;  // soft-assertion reports land in the events outbox
    assert_sites_reset();
    goblin_ahead_world();
    input_guard_ticks = 0;
    player.hp = player.max_hp = 400;
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    run_stats_reset();
    for (int i = 0; i < 60; i++) game_tick(0);
    ASSERT_EQ(monsters.count, 1);

    game_tick(BTN_UP);
    ASSERT_EQ(game_state, STATE_COMBAT);
    EXPECT_TRUE(combat_is_reflex());
    EXPECT_EQ(combat.type, (uint32_t)M_GOBLIN);

    // Tap the attack button until the goblin falls and the victory pause runs out.
    int ticks = 0;
    for (; ticks < 20000 && game_state == STATE_COMBAT; ticks++) game_tick(ticks % 24 < 2 ? BTN_A : 0);
    EXPECT_EQ(game_state, STATE_DUNGEON) << ticks;
    EXPECT_EQ(monsters.count, 0);
    EXPECT_EQ(player.kills, 1);
    EXPECT_GT(player.hp, 0);
    EXPECT_GT(reflex.fight_stats[FS_JABS], 0);
    // No world rule broke on the way.
    EXPECT_EQ(tmp.read("events_outbox.jsonl").find("\"assert\""), std::string::npos) << tmp.read("events_outbox.jsonl");
    settings.share_stats = 0;
    assert_sites_reset();
    run_active = 0;
}

}  // namespace
