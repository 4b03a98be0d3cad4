// The tick driven headless by scripted input bytes: transitions between the screens that exist,
// auto-repeat, the screen-entry guard, the hidden sequence, modal layers, autosave and session.txt.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "classes/class_select.h"
#include "combat/training.h"
#include "dungeon/map.h"
#include "game/game.h"
#include "game/state.h"
#include "game/menus.h"
#include "game/state.h"
#include "game/tick_parts.h"
#include "platform/shell.h"
#include "render/fxfield.h"
#include "platform/input.h"
#include "profile/profile.h"
#include "render/font.h"
#include "render/screen.h"
#include "services/button_names.h"
#include "services/toast.h"
#include "services/confirm.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "support/fb_text.h"
#include "support/temp_save_dir.h"
#include "support/unwritable_save_dir.h"
#include "support/tick_reset.h"
#include "telemetry/check.h"
#include "telemetry/file_writer.h"
#include "telemetry/session.h"

namespace {

void reset_game(int32_t state) { tick_globals_reset(state); }

// A press is one tick with the button held, then one tick released.
bool tap(uint8_t bits) {
    bool a = game_tick(bits);
    bool b = game_tick(0);
    return a && b;
}

struct TickTest : ::testing::Test {
    TempSaveDir tmp;
    void SetUp() override {
        reset_game(STATE_POWER_ON);
        assert_sites_reset();
    }
    void TearDown() override { reset_game(STATE_POWER_ON); }
};

TEST_F(TickTest, PowerOnToSplashToTitleToStatsAndQuit) {
    EXPECT_TRUE(game_tick(BTN_A));  // the very first tick's press does nothing
    EXPECT_EQ(game_state, STATE_POWER_ON);
    game_tick(0);
    game_tick(BTN_A);
    EXPECT_EQ(game_state, STATE_SPLASH);
    game_tick(0);
    tap(BTN_START);
    EXPECT_EQ(game_state, STATE_TITLE);
    EXPECT_EQ(title_cursor, 1);
    for (int i = 0; i < 4; i++) tap(BTN_DOWN);
    EXPECT_EQ(title_cursor, 5);
    tap(BTN_A);
    EXPECT_EQ(game_state, STATE_STATS);
    tap(BTN_B);
    EXPECT_EQ(game_state, STATE_TITLE);
    tap(BTN_UP);  // 4
    tap(BTN_A);
    EXPECT_EQ(game_state, STATE_OPTIONS);
    EXPECT_EQ(options_from, STATE_TITLE);
    EXPECT_EQ(options_cursor, 20);
    game_state = STATE_TITLE;
    tap(BTN_DOWN);
    tap(BTN_DOWN);  // 6: EXIT
    EXPECT_FALSE(game_tick(BTN_A));
}

// The game's start-up gives a new player the default keys, so the screens drawn from a fresh start
// name them, as the review pictures show.
TEST_F(TickTest, AFreshStartNamesTheDefaultKeys) {
    settings = Settings{};  // no key or button bound before the start-up
    game_init();
    char out[32];
    text_expand_glyphs("{A}: ATTACK  {B}: BACK", out, sizeof out);
    EXPECT_STREQ(out, "ENTER: ATTACK  CTRL: BACK");
}

TEST_F(TickTest, PowerOnLeavesByItselfAndSplashTimesOut) {
    int ticks = 0;
    while (game_state == STATE_POWER_ON && ticks < 1000) {
        game_tick(0);
        ticks++;
    }
    EXPECT_EQ(ticks, 190);
    ticks = 0;
    while (game_state == STATE_SPLASH && ticks < 1000) {
        game_tick(0);
        ticks++;
    }
    EXPECT_EQ(ticks, 240);
    EXPECT_EQ(game_state, STATE_TITLE);
}

TEST_F(TickTest, WaitingPowerOnStartsCountingOnAPressOnly) {
    power_on_counter = -1;
    for (int t = 0; t < 300; t++) game_tick(0);
    EXPECT_EQ(game_state, STATE_POWER_ON);
    EXPECT_EQ(power_on_counter, -1);
    game_tick(BTN_A);  // the waking press starts the count and does not skip
    EXPECT_EQ(power_on_counter, 0);
    EXPECT_EQ(game_state, STATE_POWER_ON);
    game_tick(0);
    game_tick(BTN_A);
    EXPECT_EQ(game_state, STATE_SPLASH);
}

TEST_F(TickTest, TitleRowsWrapAndNewGameWithoutSaveGoesToClassSelect) {
    reset_game(STATE_TITLE);
    title_cursor = 0;
    tap(BTN_UP);
    EXPECT_EQ(title_cursor, 6);
    tap(BTN_DOWN);
    EXPECT_EQ(title_cursor, 0);
    tap(BTN_A);  // CONTINUE without a saved run is refused
    EXPECT_EQ(game_state, STATE_TITLE);
    class_cursor = 3;
    profile.flags |= PROFILE_FLAG_TRAINING_SKIPPED;  // no training question in between
    tap(BTN_DOWN);
    tap(BTN_A);
    profile.flags = 0;
    EXPECT_EQ(game_state, STATE_CLASS_SELECT);
    EXPECT_EQ(class_cursor, 0);
    reset_game(STATE_TITLE);
    title_cursor = 2;
    tap(BTN_START);
    EXPECT_EQ(game_state, STATE_UNLOCKS);
    EXPECT_EQ(unlocks_cursor, 1);
}

TEST_F(TickTest, HeldDirectionRepeatsAfter16TicksThenEvery8) {
    reset_game(STATE_TITLE);
    title_cursor = 0;
    std::string moves;
    int last = title_cursor;
    for (int t = 0; t < 41; t++) {
        game_tick(BTN_DOWN);
        if (title_cursor != last) moves += std::to_string(t) + " ";
        last = title_cursor;
    }
    EXPECT_EQ(moves, "0 16 24 32 40 ");
    // Another direction restarts the count.
    moves.clear();
    for (int t = 0; t < 17; t++) {
        game_tick(BTN_UP);
        if (title_cursor != last) moves += std::to_string(t) + " ";
        last = title_cursor;
    }
    EXPECT_EQ(moves, "0 16 ");
}

TEST_F(TickTest, ScreenChangeRestartsTheRepeatCount) {
    reset_game(STATE_TITLE);
    for (int t = 0; t < 10; t++) tick_repeat_step(BTN_RIGHT, 0);
    EXPECT_EQ(repeat_ticks, 9);
    game_state = STATE_STATS;
    tick_repeat_step(BTN_RIGHT, 0);
    EXPECT_EQ(repeat_ticks, 0);
    EXPECT_EQ(repeat_state, STATE_STATS);
}

TEST_F(TickTest, LevelUpEntrySwallowsAAndStartFor40TicksAndUntilAIsReleased) {
    reset_game(STATE_LEVELUP);
    for (int t = 0; t < 60; t++)
        EXPECT_EQ(tick_guard_step(BTN_A, BTN_A | BTN_START | BTN_DOWN), BTN_DOWN) << t;
    EXPECT_EQ(input_lock_timer, 0);
    // START alone passes once the timer is out, even while the A lock waits for a release.
    EXPECT_EQ(tick_guard_step(0, BTN_START), BTN_START);
    EXPECT_EQ(tick_guard_step(BTN_A, BTN_A), BTN_A);
}

TEST_F(TickTest, LevelUpGuardStartsOnlyOnceTheCardsCanBeRead) {
    // Cards under a wipe, then under the training's tip box: the guard waits for them to show.
    reset_game(STATE_LEVELUP);
    transition_start(nullptr, "", "", false);
    for (int t = 0; t < 60; t++) tick_guard_step(0, 0);
    transition = Transition{};
    EXPECT_EQ(tick_guard_step(0, BTN_A), 0);
    reset_game(STATE_LEVELUP);
    tips.text = "LEVEL UP!";
    int passed = 0;  // the tip box takes A
    for (int t = 0; t < 60; t++) passed += tick_guard_step(BTN_A, BTN_A) == BTN_A;
    EXPECT_EQ(passed, 60);
    tips.text = nullptr;
    EXPECT_EQ(tick_guard_step(BTN_A, BTN_A), 0);
}

TEST_F(TickTest, GuardTimerOnlyOnEnteringAGuardedScreen) {
    reset_game(STATE_LEVELUP);
    tick_guard_step(0, 0);
    EXPECT_EQ(input_lock_timer, 39);
    game_state = STATE_DUNGEON;
    EXPECT_EQ(tick_guard_step(0, BTN_A), BTN_A);  // leaving a guarded screen swallows nothing
    // From the death replay (kind 6) to the plain death screen (kind 2): 13 ticks.
    guard_kind = 6;
    game_state = STATE_DEATH;
    int swallowed = 0;
    for (int t = 0; t < 20; t++)
        if (tick_guard_step(0, BTN_A) == 0) swallowed++;
    EXPECT_EQ(swallowed, 13);
    input_guard_ticks = 0;  // the guard switched off
    game_state = STATE_ESCAPED;
    EXPECT_EQ(tick_guard_step(BTN_A, BTN_A), BTN_A);
}

TEST_F(TickTest, HiddenSequenceRestartRules) {
    reset_game(STATE_TITLE);
    tick_secret_step(SECRET_SEQUENCE[0]);
    tick_secret_step(SECRET_SEQUENCE[1]);
    EXPECT_EQ(secret_progress, 2);
    tick_secret_step(BTN_START);
    tick_secret_step(BTN_SELECT);
    EXPECT_EQ(secret_progress, 2);  // START and SELECT neither advance nor reset
    tick_secret_step(BTN_A);        // wrong press
    EXPECT_EQ(secret_progress, 0);
    tick_secret_step(SECRET_SEQUENCE[0]);
    tick_secret_step(SECRET_SEQUENCE[1]);
    tick_secret_step(SECRET_SEQUENCE[0]);  // wrong, but the first button: restart at 1
    EXPECT_EQ(secret_progress, SECRET_SEQUENCE[2] == SECRET_SEQUENCE[0] ? 3 : 1);
    secret_progress = 0;
    uint8_t last = 0;
    for (int i = 0; i < SECRET_LENGTH; i++) last = tick_secret_step(SECRET_SEQUENCE[i] | BTN_A);
    EXPECT_EQ(secret_progress, 0);
    EXPECT_EQ(caption_timer, 199);
    EXPECT_EQ(last & BTN_A, 0);  // the finishing press does not act on the screen
}

void mark_callback() { game_state = STATE_STATS; }

TEST_F(TickTest, TransitionSwallowsInputAndAOnlySkips) {
    reset_game(STATE_TITLE);
    title_cursor = 5;
    transition_start(mark_callback, "FLOOR 2", nullptr, false);
    confirm_ask("Abandon your run?", CONFIRM_ABANDON_RUN);
    for (int t = 0; t < 24; t++) game_tick(t % 2 ? 0 : BTN_A);
    EXPECT_EQ(transition.phase, 2);
    EXPECT_EQ(game_state, STATE_STATS);  // the mid-point callback, not the title's STATS row
    EXPECT_TRUE(confirm_open);           // no modal ran during the transition
    EXPECT_EQ(title_cursor, 5);
    game_tick(BTN_A);
    EXPECT_EQ(transition.phase, 0);  // untyped hold: A ends it without the wipe out
    confirm_open = 0;
}

TEST_F(TickTest, ConfirmIgnoresStartAndTakesSelectAsNo) {
    reset_game(STATE_TITLE);
    confirm_ask("Play the training?", CONFIRM_PLAY_TRAINING);
    tap(BTN_START);
    tap(BTN_DOWN);
    EXPECT_TRUE(confirm_open);
    EXPECT_EQ(title_cursor, 1);  // the title got no input
    class_cursor = 2;
    tap(BTN_SELECT);
    EXPECT_FALSE(confirm_open);
    EXPECT_EQ(confirm_action, 0);
    EXPECT_EQ(game_state, STATE_CLASS_SELECT);
    EXPECT_EQ(class_cursor, 0);
}

TEST_F(TickTest, ConsentQuestionTakesOnlyTheStateUpdateAndNoDeletesEveryQueue) {
    reset_game(STATE_TITLE);
    settings.stats_asked = 0;
    session_open = 1;
    for (const char* f : {"runs_outbox.jsonl", "events_outbox.jsonl", "runs_sending.jsonl", "events_sending.jsonl"})
        tmp.write(f, "{}\n");
    title_cursor = 5;
    game_tick(BTN_A);
    EXPECT_TRUE(consent_open);
    EXPECT_EQ(game_state, STATE_TITLE);
    EXPECT_EQ(session_ticks, 1);  // the tick's later steps still ran
    game_tick(0);
    game_tick(BTN_B);
    EXPECT_FALSE(consent_open);
    EXPECT_EQ(settings.share_stats, 0);
    EXPECT_EQ(settings.stats_asked, 1);
    for (const char* f : {"runs_outbox.jsonl", "events_outbox.jsonl", "runs_sending.jsonl", "events_sending.jsonl"})
        EXPECT_FALSE(tmp.exists(f)) << f;
    EXPECT_EQ(session_ticks, 3);
}

TEST_F(TickTest, ConsentIsNotGivenByAPressMeantForTheSplash) {
    // The splash runs out by itself just as the player presses A for it.
    reset_game(STATE_SPLASH);
    settings.stats_asked = 0;
    splash_timer = 1;
    game_tick(0);
    ASSERT_EQ(game_state, STATE_TITLE);
    game_tick(0);
    ASSERT_TRUE(consent_open);
    for (int t = 0; t < 10; t++) game_tick(BTN_A);
    game_tick(0);
    tap(BTN_A);
    EXPECT_TRUE(consent_open);
    EXPECT_EQ(settings.stats_asked, 0);
    EXPECT_EQ(settings.share_stats, 0);
}

TEST_F(TickTest, ConsentYesWhenAAndBTogether) {
    reset_game(STATE_TITLE);
    settings.stats_asked = 0;
    for (int t = 0; t < 42; t++) game_tick(0);  // the question is up and readable
    game_tick(BTN_A | BTN_B);
    EXPECT_EQ(settings.share_stats, 1);
    settings.share_stats = 0;
}

// Whether `text` stands anywhere in the framebuffer as text_draw puts it in `colour`.
bool frame_shows(const char* text, int colour) {
    const std::vector<uint8_t> frame(framebuffer, framebuffer + FB_BYTES);
    const int w = text_width(text), h = FONT_CELL_H;
    screen_fill_rect(0, 0, w, h, 0);
    text_draw(0, 0, text, colour);
    const std::vector<int> want = fb_grab(0, 0, w, h);
    std::memcpy(framebuffer, frame.data(), FB_BYTES);
    for (int y = 0; y + h <= screen_layout.height; y++)
        for (int x = 0; x + w <= screen_layout.width; x++)
            if (fb_grab(x, y, w, h) == want) return true;
    return false;
}

TEST_F(TickTest, PauseMenuRowsAndFailedSaveAndQuit) {
    UnwritableSaveDir blocked;
    reset_game(STATE_PAUSE);
    state_under_pause = STATE_DUNGEON;
    tap(BTN_UP);
    EXPECT_EQ(pause_cursor, 2);
    run_active = 1;
    tap(BTN_A);  // SAVE & QUIT, but the save fails
    EXPECT_EQ(game_state, STATE_PAUSE);
    EXPECT_EQ(run_active, 1);
    // The pause menu shows the failure, and keeps showing it until a button is pressed.
    for (int i = 0; i < 300; i++) game_tick(0);
    draw_frame();
    EXPECT_TRUE(frame_shows("SAVE FAILED!", 2));
    tap(BTN_B);
    EXPECT_EQ(message_box_open, 0);
    EXPECT_EQ(game_state, STATE_PAUSE);
    tap(BTN_UP);
    tap(BTN_A);
    EXPECT_EQ(game_state, STATE_OPTIONS);
    EXPECT_EQ(options_from, STATE_PAUSE);
    EXPECT_TRUE(game_is_paused());
    game_state = STATE_PAUSE;
    tap(BTN_START);  // back to the dungeon; entering it saves the run, which fails here
    EXPECT_EQ(game_state, STATE_DUNGEON);
    EXPECT_EQ(message_box_open, 1);
    EXPECT_STREQ(message_box_text, "SAVE FAILED!");
    message_box_open = 0;
}

TEST_F(TickTest, FramesCountOnlyWhenNotPaused) {
    reset_game(STATE_PAUSE);
    state_under_pause = STATE_DUNGEON;
    int32_t f = frame_counter;
    game_tick(0);
    EXPECT_EQ(frame_counter, f);
    game_state = STATE_STATS;
    game_tick(0);
    EXPECT_EQ(frame_counter, f + 1);
}

TEST_F(TickTest, TitleFlamesStepEveryTick) {
    // The backdrop is a full-speed fire: each tick, odd or even, runs a simulation step (which
    // draws from the field's random stream).
    reset_game(STATE_TITLE);
    for (int i = 0; i < 4; i++) {
        const uint32_t before = fxfield_rng;
        game_tick(0);
        EXPECT_NE(fxfield_rng, before) << "tick " << i << " at frame " << frame_counter;
    }
}

int url_calls = 0;
std::string url_seen;
int fake_open_url(const char* url) {
    url_calls++;
    url_seen = url;
    return 0;
}

TEST_F(TickTest, RunEndToDemoEndAndOnToUnlocks) {
    reset_game(STATE_ESCAPED);
    url_calls = 0;
    tap(BTN_B);
    EXPECT_EQ(game_state, STATE_DEMO_END);
    EXPECT_EQ(demo_end_to_unlocks, 1);
    open_url_fn = fake_open_url;
    tap(BTN_A);  // a press carried over from the run-end screen opens no browser
    EXPECT_EQ(url_calls, 0);
    for (int t = 0; t < 40; t++) game_tick(0);
    tap(BTN_A);
    open_url_fn = nullptr;
    EXPECT_EQ(url_calls, 1);
    EXPECT_EQ(url_seen, STORE_PAGE_URL);
    EXPECT_EQ(game_state, STATE_DEMO_END);
    tap(BTN_START);
    EXPECT_EQ(game_state, STATE_UNLOCKS);
    EXPECT_EQ(unlocks_cursor, 1);
    EXPECT_EQ(title_cursor, 1);
    reset_game(STATE_DEATH);
    tap(BTN_A);  // swallowed: the death screen was just entered
    EXPECT_EQ(game_state, STATE_DEATH);
    for (int t = 0; t < 40; t++) game_tick(0);
    tap(BTN_A);
    EXPECT_EQ(game_state, STATE_DEMO_END);
    EXPECT_EQ(demo_end_to_unlocks, 0);
}

TEST_F(TickTest, MashingAThroughADeathOpensTheStorePageOnce) {
    // A tapped every 4 ticks from the death screen on: the demo end opens the page for one press.
    reset_game(STATE_DEATH);
    url_calls = 0;
    open_url_fn = fake_open_url;
    for (int t = 0; t < 600; t++) game_tick(t % 4 == 0 ? BTN_A : 0);
    open_url_fn = nullptr;
    EXPECT_EQ(game_state, STATE_DEMO_END);
    EXPECT_EQ(url_calls, 1);
}

TEST_F(TickTest, SessionFileEvery600TicksWithItsExactText) {
    reset_game(STATE_STATS);
    file_writer_start();  // as the session's start does: the record is written on the writer's thread
    session_open = 1;
    current_floor = 4;
    for (int t = 0; t < 599; t++) game_tick(0);
    file_writer_wait();
    EXPECT_FALSE(tmp.exists("session.txt"));
    game_tick(0);
    file_writer_wait();
    EXPECT_EQ(tmp.read("session.txt"), "build=d487d46\nsecs=10\nstate=10\nfloor=5\naway=0\nended=0\n");
    tmp.write("session.txt", "");
    for (int t = 0; t < 599; t++) game_tick(0);
    file_writer_wait();
    EXPECT_EQ(tmp.read("session.txt"), "");
    game_tick(0);
    file_writer_wait();
    EXPECT_EQ(tmp.read("session.txt"), "build=d487d46\nsecs=20\nstate=10\nfloor=5\naway=0\nended=0\n");
    file_writer_stop();
}

TEST_F(TickTest, EveryStateDrawsAndTicksWithoutAWorld) {
    for (int s = -1; s <= STATE_COUNT; s++) {
        reset_game(s);
        game_tick(0);
        draw_frame();
    }
}

}  // namespace
