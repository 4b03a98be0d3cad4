// Scripted runs through the tick and the draw pass, as the program runs them: a death whose
// replay plays out to the death screen and on to the demo end and the title, a replay cut short,
// and the stairs with their "FLOOR 2" card (PNGs into QM_PNG_DIR).
#include <gtest/gtest.h>

#include "combat/combat.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "game/game.h"
#include "game/run_start.h"
#include "game/state.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "profile/profile.h"
#include "screens/run_end.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "support/png_out.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"
#include "world/buttons.h"
#include "world/glyphs.h"
#include "world/player.h"

namespace {

struct RunEndFlowTest : ::testing::Test {
    TempSaveDir tmp;
    void SetUp() override {
        layout_set_landscape();
        tick_globals_reset(STATE_DUNGEON);
        settings.effects = 1;
        settings.monster_art = 0;
        fixed_seed = 0x5EED1234u;
        fixed_seed_runs = 0;
        profile = Profile{};
        training_offer_set(false);  // leaving the demo end goes straight on to the class select
        new_run();
        game_state = prev_state = STATE_DUNGEON;
        screen_snapshot.stamp = -1;
        // Past the screen-entry guard.
        step(0, 60);
    }
    void TearDown() override {
        fixed_seed = 0;
        killer_type = 0;
        screen_snapshot.stamp = -1;
        tick_globals_reset(STATE_POWER_ON);
    }
    // n ticks with these buttons held, each followed by a drawn frame, as the frame loop does.
    static void step(uint8_t held, int n = 1) {
        for (int i = 0; i < n; i++) {
            game_tick(held);
            draw_frame();
        }
    }
    static void tap(uint8_t bits) {
        step(bits);
        step(0);
    }
    // What the fight does at the killing blow.
    static void die_to(int kind) {
        killer_type = (uint32_t)kind;
        player.hp = 0;
        game_state = STATE_DEATH;
    }
};

TEST_F(RunEndFlowTest, TheReplayRunsToTheDeathScreenThenTheDemoEndAndTheTitle) {
    PngSheet sheet(4 * 316, 146);
    die_to(M_ORC);
    step(0);
    ASSERT_TRUE(screen_snapshot_get());
    EXPECT_EQ(screen_snapshot_age(), 0);
    sheet.paste(0, 0, 312, 144, 0, 0, 1);
    int frames = 1;
    while (screen_snapshot_get() && frames < 500) {
        step(0);
        frames++;
        if (frames == 50) sheet.paste(0, 0, 312, 144, 316, 0, 1);
    }
    EXPECT_EQ(frames, REPLAY_FULL_FRAMES + 1);  // ages 0 .. 101 replay, 102 shows the screen
    EXPECT_EQ(game_state, STATE_DEATH);
    step(0, 60);  // the death screen's entry guard
    sheet.paste(0, 0, 312, 144, 2 * 316, 0, 1);
    tap(BTN_A);
    EXPECT_EQ(game_state, STATE_DEMO_END);
    step(0, 60);
    sheet.paste(0, 0, 312, 144, 3 * 316, 0, 1);
    sheet.write("flow_death_to_demo_end.png");
    tap(BTN_B);  // RETRY was chosen: through the title on to the class select
    EXPECT_EQ(game_state, STATE_CLASS_SELECT);
    EXPECT_EQ(title_cursor, 1);
}

TEST_F(RunEndFlowTest, APressCutsTheReplayOnlyAfterItsFirstTwentyFrames) {
    die_to(M_SLIME);
    step(0);
    ASSERT_TRUE(screen_snapshot_get());
    tap(BTN_A);
    EXPECT_TRUE(screen_snapshot_get()) << "too early: ignored";
    step(0, 18);
    ASSERT_GT(screen_snapshot_age(), 19);
    tap(BTN_B);
    EXPECT_FALSE(screen_snapshot_get());
    EXPECT_EQ(game_state, STATE_DEATH);
    step(0, 30);
    tap(BTN_B);  // the run end left with B leads through the demo end to the unlocks
    EXPECT_EQ(game_state, STATE_DEMO_END);
}

TEST_F(RunEndFlowTest, TheStairsShowFloorTwo) {
    // A straight corridor north of the player, stairs two cells ahead.
    for (int y = 0; y < MAP_H; y++)
        for (int x = 0; x < MAP_W; x++) gmap[y][x] = GLYPH_WALL;
    monsters_clear();
    player.x = 5;
    player.y = 8;
    player.facing = 0;
    for (int y = 5; y <= 8; y++) gmap[y][5] = GLYPH_FLOOR;
    gmap[6][5] = GLYPH_STAIRS;
    player_view_sync();
    tap(BTN_UP);
    tap(BTN_UP);
    step(0, 10);
    ASSERT_TRUE(transition_active());
    PngSheet sheet(3 * 316, 146);
    sheet.paste(0, 0, 312, 144, 0, 0, 1);
    while (transition.phase != 2) step(0);
    step(0, 20);
    EXPECT_STREQ(transition.title, "FLOOR 2");
    EXPECT_EQ(current_floor, 1);
    sheet.paste(0, 0, 312, 144, 316, 0, 1);
    while (transition_active()) step(0);
    EXPECT_EQ(game_state, STATE_DUNGEON);
    sheet.paste(0, 0, 312, 144, 2 * 316, 0, 1);
    sheet.write("flow_stairs_floor2.png");
}

}  // namespace
