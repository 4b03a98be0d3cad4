// The front end driven through game_tick by scripted presses: from power-on to class select, the
// play-stats question shown before it takes an answer, and every options page with its rows.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "classes/class_select.h"
#include "game/game.h"
#include "game/shell_calls.h"
#include "game/menus.h"
#include "game/state.h"
#include "platform/buttons.h"
#include "platform/input.h"
#include "platform/shell.h"
#include "render/screen.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "services/button_names.h"
#include "profile/profile.h"
#include "services/confirm.h"
#include "support/png_out.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"

namespace {

bool tap(uint8_t bits) {
    bool a = game_tick(bits);
    bool b = game_tick(0);
    return a && b;
}

struct FrontEndFlow : ::testing::Test {
    TempSaveDir saves;
    void SetUp() override {
        tick_globals_reset(STATE_POWER_ON);
        power_on_delay = 0;
        layout_set_landscape();
        game_init();
        settings.stats_asked = 0;  // a first start: no settings file yet
        input_device_set(INPUT_KEYBOARD);
        set_key_name_fn(key_name_hook);
    }
    void TearDown() override {
        settings_load();  // leave no file-backed state behind
        tick_globals_reset(STATE_POWER_ON);
    }
    // Ticks with no input until the state is reached (at most n ticks).
    bool wait_for(int32_t state, int n = 600) {
        for (int i = 0; i < n && game_state != state; i++) game_tick(0);
        return game_state == state;
    }
    std::vector<uint8_t> frame() {
        draw_frame();
        return std::vector<uint8_t>(framebuffer, framebuffer + FB_BYTES);
    }
};

TEST_F(FrontEndFlow, KeysAloneLeadFromPowerOnToClassSelect) {
    ASSERT_EQ(game_state, STATE_POWER_ON);
    ASSERT_EQ(settings.stats_asked, 0);
    tap(BTN_A);  // too early on the first tick, then the power-on counts
    tap(BTN_A);
    EXPECT_EQ(game_state, STATE_SPLASH);
    tap(BTN_A);
    EXPECT_EQ(game_state, STATE_TITLE);
    EXPECT_EQ(title_cursor, 1);

    // The question comes up on the title and is drawn before any answer is taken.
    for (int i = 0; i < 5 && !consent_open; i++) game_tick(0);
    ASSERT_TRUE(consent_open);
    std::vector<uint8_t> shown = frame();
    draw_consent_dialog();  // drawing it again over the frame changes nothing: it is on top already
    EXPECT_EQ(0, std::memcmp(shown.data(), framebuffer, FB_BYTES));
    png_write_framebuffer("flow_consent.png");
    for (int i = 0; i < 40; i++) game_tick(0);  // it takes no answer in its first moments
    tap(BTN_A);
    EXPECT_FALSE(consent_open);
    EXPECT_EQ(settings.share_stats, 1);
    EXPECT_EQ(settings.stats_asked, 1);
    EXPECT_TRUE(saves.exists("settings.dat"));

    tap(BTN_A);  // NEW GAME, with no saved run: a fresh profile is offered the training first
    ASSERT_TRUE(confirm_open);
    tap(BTN_B);  // no training
    EXPECT_EQ(game_state, STATE_CLASS_SELECT);
    EXPECT_EQ(class_cursor, 0);
}

TEST_F(FrontEndFlow, PowerOnRunsOutToTheSplashByItself) {
    EXPECT_TRUE(wait_for(STATE_SPLASH, 200));
    EXPECT_TRUE(wait_for(STATE_TITLE, 260));
}

TEST_F(FrontEndFlow, TitleHighlightSlidesToTheNewRow) {
    tick_globals_reset(STATE_TITLE);
    tap(BTN_DOWN);
    EXPECT_EQ(title_cursor, 2);
    EXPECT_EQ(title_slide_from, 1);
    EXPECT_LE(frame_counter - title_slide_tick, 2);
}

struct OptionsFlow : FrontEndFlow {
    void SetUp() override {
        FrontEndFlow::SetUp();
        tick_globals_reset(STATE_TITLE);
        bindings_default();
        title_cursor = TITLE_OPTIONS;
        tap(BTN_A);
        ASSERT_EQ(game_state, STATE_OPTIONS);
    }
    std::vector<int32_t> rows() {
        int32_t ids[OPTION_COUNT];
        int n = options_visible_rows(ids);
        return std::vector<int32_t>(ids, ids + n);
    }
    void cursor_to(int32_t id) {
        for (int i = 0; i < OPTION_COUNT && options_cursor != id; i++) tap(BTN_DOWN);
        ASSERT_EQ(options_cursor, id);
    }
};

TEST_F(OptionsFlow, EveryPageListsItsRowsAndBacksOutToItsId) {
    EXPECT_EQ(rows(), (std::vector<int32_t>{OPT_PAGE_DISPLAY, OPT_PAGE_APPEARANCE, OPT_PAGE_SOUND, OPT_PAGE_GAMEPLAY,
                                            OPT_CONTROLS, OPT_SHARE_STATS, OPT_CREDITS, OPT_BACK}));
    struct Page {
        int32_t id;
        std::vector<int32_t> rows;
    };
    // SHINE shows only on the two shiny colours and MONSTERS only with the second monster art; the
    // profile keeps both of those locked, so neither row shows.
    const Page pages[] = {
        {OPT_PAGE_DISPLAY, {OPT_SCREEN, OPT_FULL_SCREEN, OPT_GHOSTING, OPT_FLASHES, OPT_EFFECTS, OPT_VIGNETTE, OPT_BACK}},
        {OPT_PAGE_APPEARANCE, {OPT_CASE, OPT_PALETTE, OPT_BACK}},
        {OPT_PAGE_SOUND, {OPT_VOLUME, OPT_MUSIC, OPT_RUMBLE, OPT_BACK}},
        {OPT_PAGE_GAMEPLAY, {OPT_TIMING_BAR, OPT_PROMPTS, OPT_TRAINING, OPT_BACK}},
    };
    for (const Page& p : pages) {
        cursor_to(p.id);
        tap(BTN_RIGHT);
        EXPECT_EQ(options_page, p.id);
        EXPECT_EQ(rows(), p.rows);
        EXPECT_EQ(options_cursor, p.rows[0]);
        tap(BTN_B);
        EXPECT_EQ(options_page, OPTIONS_TOP);
        EXPECT_EQ(options_cursor, p.id);
        EXPECT_EQ(game_state, STATE_OPTIONS);
    }
    settings.case_color = 6;
    options_page = OPT_PAGE_APPEARANCE;
    EXPECT_EQ(rows(), (std::vector<int32_t>{OPT_CASE, OPT_SHINE, OPT_PALETTE, OPT_BACK}));  // a shiny case, as read
}

TEST_F(OptionsFlow, ValuesCycleAndLeavingSavesOnlyFromTheTop) {
    cursor_to(OPT_PAGE_SOUND);
    tap(BTN_A);
    settings.volume = 9;
    tap(BTN_A);
    EXPECT_EQ(settings.volume, 10);
    tap(BTN_A);
    EXPECT_EQ(settings.volume, 0);
    tap(BTN_LEFT);
    EXPECT_EQ(settings.volume, 0);
    tap(BTN_DOWN);
    tap(BTN_DOWN);
    ASSERT_EQ(options_cursor, OPT_RUMBLE);
    settings.rumble = 1;
    settings.rumble_level = 3;
    tap(BTN_RIGHT);
    EXPECT_EQ(settings.rumble, 0);
    tap(BTN_RIGHT);
    EXPECT_EQ(settings.rumble, 1);
    EXPECT_EQ(settings.rumble_level, 1);
    tap(BTN_B);  // leaving a page does not save
    EXPECT_FALSE(saves.exists("settings.dat"));

    options_page = OPT_PAGE_DISPLAY;
    options_cursor = OPT_SCREEN;
    settings.screen = 2;
    tap(BTN_RIGHT);
    EXPECT_EQ(settings.screen, 0);
    tap(BTN_LEFT);
    EXPECT_EQ(settings.screen, 2);
    options_cursor = OPT_EFFECTS;
    const uint8_t effects = settings.effects;
    tap(BTN_A);
    EXPECT_NE(settings.effects, effects);
    tap(BTN_B);
    tap(BTN_B);  // the top level returns to the title and saves
    EXPECT_EQ(game_state, STATE_TITLE);
    EXPECT_TRUE(saves.exists("settings.dat"));
}

TEST_F(OptionsFlow, SwapABWhileAIsHeldStaysOnTheControls) {
    cursor_to(OPT_CONTROLS);
    tap(BTN_A);
    ASSERT_EQ(game_state, STATE_CONTROLS);
    ControlsRow list[CONTROLS_ROW_MAX];
    const int n = controls_list(controls_device, list);
    while (controls_cursor < n - 1 && list[controls_cursor].kind != CONTROLS_SWAP) tap(BTN_DOWN);
    ASSERT_EQ(list[controls_cursor].kind, CONTROLS_SWAP);
    // The A key held down over several ticks, as a player presses it, then let go.
    for (int t = 0; t < 8; t++) game_tick(BTN_A);
    game_tick(0);
    EXPECT_EQ(game_state, STATE_CONTROLS);
    EXPECT_EQ(settings.swap_ab, 1);
    // Pressing the same key again is a B press now: it toggles nothing and backs out.
    tap(BTN_A);
    EXPECT_EQ(settings.swap_ab, 1);
    EXPECT_EQ(game_state, STATE_OPTIONS);
}

TEST_F(OptionsFlow, SharingOffDeletesWhatWasQueued) {
    settings.share_stats = 1;
    for (const char* f : {"runs_outbox.jsonl", "events_outbox.jsonl", "runs_sending.jsonl", "events_sending.jsonl"})
        saves.write(f, "{}\n");
    cursor_to(OPT_SHARE_STATS);
    tap(BTN_A);
    EXPECT_EQ(settings.share_stats, 0);
    for (const char* f : {"runs_outbox.jsonl", "events_outbox.jsonl", "runs_sending.jsonl", "events_sending.jsonl"})
        EXPECT_FALSE(saves.exists(f)) << f;
}

// The window may close on any options page: the sharing choice is in the file at once, and any
// other change is written by the close.
TEST_F(OptionsFlow, SharingOffAndAChangedOptionOutliveAWindowClosedOnTheirPage) {
    auto stored = [&] {
        const std::string bytes = saves.read("settings.dat");
        Settings s = {};
        EXPECT_TRUE(settings_decode((const uint8_t*)bytes.data(), (int)bytes.size(), s));
        return s;
    };
    settings.share_stats = 1;
    ASSERT_TRUE(settings_save());
    cursor_to(OPT_SHARE_STATS);
    tap(BTN_A);
    EXPECT_EQ(stored().share_stats, 0);

    cursor_to(OPT_PAGE_SOUND);
    tap(BTN_A);
    ASSERT_EQ(options_cursor, OPT_VOLUME);
    tap(BTN_RIGHT);
    const int32_t volume = settings.volume;
    ASSERT_NE(stored().volume, volume);
    EXPECT_TRUE(save_on_close());
    EXPECT_EQ(stored().volume, volume);
    EXPECT_EQ(stored().share_stats, 0);
}

// settings.dat and profile.dat refuse every write (a folder stands at each name): the player is
// told as a failed run save is, and a window closed on a changed option stays up under the box.
TEST_F(OptionsFlow, AFailedSettingsOrProfileWriteIsToldAndKeepsAClosedWindow) {
    ASSERT_EQ(mkdir(saves.path("settings.dat").c_str(), 0700), 0);
    settings.share_stats = 1;
    cursor_to(OPT_SHARE_STATS);
    tap(BTN_A);
    EXPECT_EQ(settings.share_stats, 0);
    EXPECT_EQ(message_box_open, 1);
    EXPECT_STREQ(message_box_text, "SAVE FAILED!");
    tap(BTN_A);  // dismissed with a press, and the press goes no further
    EXPECT_EQ(message_box_open, 0);
    EXPECT_EQ(settings.share_stats, 0);

    cursor_to(OPT_PAGE_SOUND);
    tap(BTN_A);
    tap(BTN_RIGHT);
    EXPECT_FALSE(save_on_close());
    EXPECT_EQ(message_box_open, 1);
    for (int i = 0; i < 60; i++) EXPECT_TRUE(game_tick(0));
    EXPECT_TRUE(save_on_close());  // a second close ends it
    quit_after_box = message_box_open = 0;

    // A profile write failing on a disk that stays full is told once, not at every change.
    ASSERT_TRUE(profile_save());
    std::remove(saves.path("profile.dat").c_str());
    ASSERT_EQ(mkdir(saves.path("profile.dat").c_str(), 0700), 0);
    profile_add_souls(1);
    game_tick(0);
    EXPECT_EQ(message_box_open, 1);
    tap(BTN_A);
    profile_add_souls(1);
    game_tick(0);
    EXPECT_EQ(message_box_open, 0);
    // A profile refused at the start and kept in place was told on the title; its refused writes
    // are told neither in play nor at the close.
    ASSERT_EQ(profile_load(), PROFILE_REFUSED_IN_PLACE);
    ASSERT_EQ(rmdir(saves.path("settings.dat").c_str()), 0);
    profile_add_souls(1);
    game_tick(0);
    EXPECT_EQ(message_box_open, 0);
    EXPECT_TRUE(save_on_close());
}

TEST_F(OptionsFlow, CreditsScrollAndComeBack) {
    cursor_to(OPT_CREDITS);
    tap(BTN_A);
    EXPECT_EQ(game_state, STATE_CREDITS);
    tap(BTN_UP);
    EXPECT_EQ(credits_scroll, 0);
    for (int i = 0; i < 40; i++) tap(BTN_DOWN);
    draw_frame();  // the drawing clamps the scroll to the end
    const int32_t end = credits_scroll;
    EXPECT_GT(end, 0);
    EXPECT_LT(end, 400);
    tap(BTN_UP);
    EXPECT_EQ(credits_scroll, end - 10);
    tap(BTN_B);
    EXPECT_EQ(game_state, STATE_OPTIONS);
}

TEST_F(OptionsFlow, ControlsRebindSwapAndReset) {
    cursor_to(OPT_CONTROLS);
    tap(BTN_A);
    ASSERT_EQ(game_state, STATE_CONTROLS);
    EXPECT_EQ(controls_device, INPUT_KEYBOARD);
    EXPECT_EQ(controls_cursor, 0);  // the UP binding row

    // Rebind A to the comma key: the prompt takes the next key.
    ControlsRow list[CONTROLS_ROW_MAX];
    const int n = controls_list(controls_device, list);
    while (list[controls_cursor].action != 4) tap(BTN_DOWN);
    tap(BTN_A);
    int action = -1, kind = -1;
    ASSERT_TRUE(rebind_pending(&action, &kind));
    EXPECT_EQ(action, 4);
    EXPECT_EQ(kind, 0);
    const int SCANCODE_COMMA = 54;
    EXPECT_TRUE(rebind_key_input(SCANCODE_COMMA));
    EXPECT_EQ(settings.key_binds[4][0], SCANCODE_COMMA);
    char out[64];
    text_expand_glyphs("{A}: OK", out, sizeof out);
    EXPECT_STREQ(out, ",: OK");

    // SWAP A/B turns every "{A}" into the B key's name, and back.
    game_tick(0);  // the prompt waits for every button to be let go
    int swap_row = -1, reset_row = -1;
    for (int i = 0; i < n; i++) {
        if (list[i].kind == CONTROLS_SWAP) swap_row = i;
        if (list[i].kind == CONTROLS_RESET) reset_row = i;
    }
    ASSERT_GE(swap_row, 0);
    ASSERT_GE(reset_row, 0);
    controls_cursor = swap_row;
    tap(BTN_A);
    EXPECT_EQ(settings.swap_ab, 1);
    text_expand_glyphs("{A}", out, sizeof out);
    EXPECT_STREQ(out, "CTRL");
    // With the swap on, the button the player presses as A is the B binding: press B to answer.
    controls_cursor = reset_row;
    tap(BTN_B);
    EXPECT_EQ(settings.key_binds[4][0], 40);
    EXPECT_EQ(settings.swap_ab, 1);  // RESET restores the keys, not the swap
    EXPECT_TRUE(saves.exists("settings.dat"));

    tap(BTN_RIGHT);
    EXPECT_EQ(controls_device, INPUT_PAD);
    tap(BTN_START);
    EXPECT_EQ(game_state, STATE_OPTIONS);
}

}  // namespace
