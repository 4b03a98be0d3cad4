// Whole runs through the tick and the draw pass with input bytes only. From power-on through the
// title and the class select a KNIGHT walks, fights, levels and camps down to the first boss floor,
// saving and quitting on floor 5 and continuing the same run from the title, and escapes to the
// demo end; a second run dies, watches its replay and spends its souls in the unlocks. Every state
// passed is written as a picture when QM_PNG_DIR is set.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "classes/class_select.h"
#include "classes/classes.h"
#include "dungeon/floor.h"
#include "game/game.h"
#include "game/run_start.h"
#include "game/menus.h"
#include "game/shell_calls.h"
#include "game/state.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "runfile/run_file.h"
#include "screens/screens.h"
#include "support/autoplay.h"
#include "support/png_out.h"
#include "support/run_hash.h"
#include "support/tick_reset.h"
#include "world/game_state.h"

namespace {

// One picture per state, half a second after the run first shows it (past wipes and cards).
uint32_t pictured = 0;
int32_t picture_state = -1;
long picture_at = 0;
const char* picture_prefix = "playthrough";
void picture_new_states(long tick) {
    if (game_state < 0 || game_state >= STATE_COUNT || (pictured >> game_state) & 1u) return;
    if (game_state != picture_state) {
        picture_state = game_state;
        picture_at = tick + 30;
        return;
    }
    if (tick < picture_at || transition_active()) return;
    pictured |= 1u << game_state;
    char name[40];
    std::snprintf(name, sizeof name, "%s_state_%02d.png", picture_prefix, game_state);
    png_write_framebuffer(name, 2);
}

// Power-on, splash, title; the play-stats question declined; NEW GAME; the training declined;
// KNIGHT.
void start_from_power_on(Autoplay& bot) {
    for (int i = 0; i < 600 && game_state != STATE_TITLE; i++) bot.press(BTN_A);
    for (int i = 0; i < 30 && !consent_open; i++) bot.tick(0);
    if (consent_open) bot.press(BTN_B);
    ASSERT_EQ(game_state, STATE_TITLE);
    ASSERT_EQ(title_cursor, TITLE_NEW_RUN);
    bot.press(BTN_A);
    ASSERT_TRUE(confirm_open);
    bot.press(BTN_B);
    ASSERT_EQ(game_state, STATE_CLASS_SELECT);
    bot.wait(45);
    bot.press(BTN_A);
}

// On floor 5, at rest in the dungeon: pause, SAVE & QUIT to the title, CONTINUE; the run comes
// back exactly as it was left.
void save_quit_and_continue(Autoplay& bot) {
    bot.wait(2);  // the dungeon's tick has marked what the player sees from here
    const uint32_t before = run_state_hash();
    bot.press(BTN_START);
    ASSERT_EQ(game_state, STATE_PAUSE);
    bot.wait(40);  // long enough to be pictured
    while (pause_cursor != PAUSE_SAVE_QUIT) bot.press(BTN_DOWN);
    bot.press(BTN_A);
    for (int i = 0; i < 120 && (game_state != STATE_TITLE || transition_active()); i++) bot.tick(0);
    ASSERT_EQ(game_state, STATE_TITLE);
    ASSERT_FALSE(run_active);
    EXPECT_TRUE(run_summary.valid);
    EXPECT_EQ(run_summary.floor, 4);
    bot.wait(40);
    for (int i = 0; i < TITLE_ROWS && title_cursor != TITLE_CONTINUE; i++) bot.press(BTN_UP);
    ASSERT_EQ(title_cursor, TITLE_CONTINUE);
    bot.press(BTN_A);
    for (int i = 0; i < 120 && transition_active(); i++) bot.tick(0);
    ASSERT_EQ(game_state, STATE_DUNGEON);
    EXPECT_TRUE(run_active);
    EXPECT_EQ(run_state_hash(), before);
}

TEST(Playthrough, AKnightWalksFightsCampsAndEscapesTheFirstBossFloor) {
    const auto start = std::chrono::steady_clock::now();
    tick_globals_reset(STATE_POWER_ON);
    layout_set_landscape();
    power_on_delay = 0;
    game_init();
    profile = Profile{};
    fixed_seed = 0x5EED1234u;
    fixed_seed_runs = 0;
    cheat_flags[CHEAT_IMMORTAL] = 1;  // the bot is no swordsman; the run counts as cheated
    pictured = 0;
    picture_state = -1;
    picture_prefix = "playthrough";
    Autoplay bot;
    bot.after_frame = picture_new_states;
    start_from_power_on(bot);
    int deepest = 0;
    uint32_t seen = 0;
    bool resumed = false;
    bot.draw = std::getenv("QM_PLAY_NODRAW") == nullptr;
    while (bot.ticks < 400000 && game_state != STATE_ESCAPED) {
        seen |= 1u << game_state;
        if (current_floor > deepest) deepest = current_floor;
        if (!resumed && current_floor == 4 && game_state == STATE_DUNGEON && !transition_active() &&
            !way_out_open && !confirm_open) {
            resumed = true;
            save_quit_and_continue(bot);
            if (HasFatalFailure()) return;
        }
        if (!bot.step()) bot.tick(0);
        static int last_key = -1;
        const int key = game_state * 100000 + current_floor * 1000 + player.y * 16 + player.x + player.facing * 256;
        // QM_PLAY_TRACE=1 prints every change of state, floor, cell or facing.
        if (std::getenv("QM_PLAY_TRACE") && key != last_key && (last_key = key) >= 0)
            std::printf("t %ld state %d floor %d at %d,%d facing %d dir %d camp %d %d\n", bot.ticks, game_state, current_floor,
                        player.x, player.y, player.facing, bot.next_direction(), camp_page, camp.cursor);
    }
    bot.wait(60);  // the escape screen, pictured
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("playthrough: %ld ticks, %.1f s, deepest floor %d, states 0x%05x\n", bot.ticks, s, deepest + 1, seen);
    EXPECT_EQ(game_state, STATE_ESCAPED);
    EXPECT_EQ(current_floor, 9);
    EXPECT_TRUE(resumed);
    EXPECT_TRUE(seen & (1u << STATE_COMBAT));
    EXPECT_TRUE(seen & (1u << STATE_LEVELUP));
    EXPECT_TRUE(seen & (1u << STATE_CAMP));
    // On to the end of the demo and back to the title.
    for (int i = 0; i < 10 && game_state == STATE_ESCAPED; i++) bot.press(BTN_A);
    EXPECT_EQ(game_state, STATE_DEMO_END);
    bot.wait(60);
    for (int i = 0; i < 10 && game_state == STATE_DEMO_END; i++) bot.press(BTN_B);
    EXPECT_TRUE(game_state == STATE_TITLE || game_state == STATE_CLASS_SELECT || confirm_open) << game_state;
    cheat_flags[CHEAT_IMMORTAL] = 0;
    fixed_seed = 0;
    tick_globals_reset(STATE_POWER_ON);
}

// A run that means to die: the death replay, the death screen, the end of the demo and the
// unlocks list, where the souls buy VITALITY's first rank.
TEST(Playthrough, ADeathLeadsToTheUnlocksWhereSoulsAreSpent) {
    tick_globals_reset(STATE_POWER_ON);
    layout_set_landscape();
    power_on_delay = 0;
    game_init();
    profile = Profile{};
    profile.souls = 10;  // left from an earlier run
    fixed_seed = 0x5EED1234u;
    fixed_seed_runs = 0;
    pictured = 0;
    picture_state = -1;
    picture_prefix = "death_run";
    Autoplay bot;
    bot.passive = true;
    bot.after_frame = picture_new_states;
    start_from_power_on(bot);
    while (bot.ticks < 200000 && game_state != STATE_DEATH) {
        if (!bot.step()) bot.tick(0);
    }
    ASSERT_EQ(game_state, STATE_DEATH);
    EXPECT_TRUE(screen_snapshot_get());  // the last moments replay first
    for (int i = 0; i < 400 && screen_snapshot_get(); i++) bot.tick(0);
    EXPECT_FALSE(screen_snapshot_get());
    bot.wait(60);
    png_write_framebuffer("death_run_death_screen.png", 2);
    const int32_t souls = profile.souls;
    EXPECT_GT(souls, 10);  // the run's souls are banked
    bot.press(BTN_B);  // spend the souls
    EXPECT_EQ(game_state, STATE_DEMO_END);
    bot.wait(60);
    bot.press(BTN_B);
    ASSERT_EQ(game_state, STATE_UNLOCKS);
    bot.wait(45);
    bot.press(BTN_A);  // the cursor starts on VITALITY
    EXPECT_EQ(upgrade_rank(UPGRADE_VITALITY), 1);
    EXPECT_EQ(profile.souls, souls - 8);
    fixed_seed = 0;
    profile = Profile{};
    tick_globals_reset(STATE_POWER_ON);
}

}  // namespace
