// Toasts, rumble requests, the settings clamp, full-screen decisions, the options rows' visibility
// and the application-event watch.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "game/state.h"
#include "platform/case_art.h"
#include "platform/compose.h"
#include "platform/fullscreen.h"
#include "services/toast.h"
#include "services/rumble.h"
#include "services/confirm.h"
#include "services/services.h"
#include "game/shell_calls.h"
#include "platform/shell.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "saves/save_path.h"
#include "saves/settings.h"
#include "support/temp_save_dir.h"

namespace {

TEST(Toast, LinesAreCutTo27CharactersAndTimed) {
    toast_show("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
    EXPECT_EQ(std::strlen(toast_line1), 27u);
    EXPECT_STREQ(toast_line2, "");
    EXPECT_EQ(toast_timer, 90);
    toast_show2("ONE", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123");
    EXPECT_STREQ(toast_line1, "ONE");
    EXPECT_EQ(std::strlen(toast_line2), 27u);
    EXPECT_EQ(toast_timer, 150);
    toast_show("SHORT");
    EXPECT_STREQ(toast_line2, "");
    toast_timer = 0;
}

struct RumbleTest : ::testing::Test {
    void SetUp() override {
        settings.rumble = 1;
        settings.rumble_level = 2;
        float l, h;
        int32_t ms;
        rumble_take(&l, &h, &ms);
    }
};

TEST_F(RumbleTest, TwoRequestsKeepTheStrongerOfEachMotorAndTheLongerTime) {
    rumble_add(0.3f, 0.9f, 100);
    rumble_add(0.6f, 0.2f, 250);
    float l, h;
    int32_t ms;
    ASSERT_TRUE(rumble_take(&l, &h, &ms));
    EXPECT_FLOAT_EQ(l, 0.6f);
    EXPECT_FLOAT_EQ(h, 0.9f);
    EXPECT_EQ(ms, 250);
    EXPECT_FALSE(rumble_take(&l, &h, &ms));
}

TEST_F(RumbleTest, LevelsScaleStrengthAndStrongLengthens) {
    settings.rumble_level = 3;
    EXPECT_FLOAT_EQ(rumble_add(0.6f, 0.1f, 100), 1.2f);
    float l, h;
    int32_t ms;
    ASSERT_TRUE(rumble_take(&l, &h, &ms));
    EXPECT_FLOAT_EQ(l, 1.0f);  // sent as full strength
    EXPECT_EQ(ms, 125);
    settings.rumble_level = 1;
    EXPECT_FLOAT_EQ(rumble_add(0.6f, 0.4f, 100), 0.3f);
    ASSERT_TRUE(rumble_take(&l, &h, &ms));
    EXPECT_FLOAT_EQ(h, 0.2f);
    EXPECT_EQ(ms, 100);
}

TEST_F(RumbleTest, OffRequestsNothingAndReturnsTheStrengthUnchanged) {
    settings.rumble = 0;
    EXPECT_FLOAT_EQ(rumble_add(0.6f, 0.4f, 100), 0.6f);
    float l, h;
    int32_t ms;
    EXPECT_FALSE(rumble_take(&l, &h, &ms));
    EXPECT_FALSE(rumble_enabled());
}

TEST(SettingsClamp, EveryRowOfTheTableAndTheApplication) {
    struct Row {
        const char* name;
        int32_t Settings::*field;
        int32_t bad, fixed;
    };
    const Row rows[] = {
        {"screen", &Settings::screen, 3, 0},          {"screen low", &Settings::screen, -1, 0},
        {"volume high", &Settings::volume, 15, 10},   {"volume low", &Settings::volume, -2, 0},
        {"music high", &Settings::music, 11, 10},     {"music low", &Settings::music, -1, 0},
        {"ghosting", &Settings::ghosting, 4, 1},      {"rumble level 0", &Settings::rumble_level, 0, 2},
        {"rumble level 4", &Settings::rumble_level, 4, 2}, {"case", &Settings::case_color, 30, 9},
        {"case 18", &Settings::case_color, 18, 9},    {"palette", &Settings::palette, 8, 0},
        {"monster art", &Settings::monster_art, 2, 0}, {"code monsters", &Settings::monster_art, 1, 0},
    };
    const Settings saved = settings;
    // Every colour and palette bought, so the locks leave the in-range values alone.
    const Profile kept = profile;
    profile.unlocks[0] = ~0u;
    for (const Row& r : rows) {
        Settings good = saved;
        good.screen = 1;
        good.volume = 7;
        good.music = 4;
        good.ghosting = 2;
        good.rumble_level = 3;
        good.case_color = 12;
        good.palette = 2;
        good.monster_art = 0;
        settings = good;
        settings.*r.field = r.bad;
        settings_clamp();
        EXPECT_EQ(settings.*r.field, r.fixed) << r.name;
        // In-range values are kept as they are.
        settings = good;
        settings_clamp();
        EXPECT_EQ(settings.*r.field, good.*r.field) << r.name;
    }
    settings.screen = 2;
    settings.palette = 1;
    settings.ghosting = 3;
    settings_clamp();
    EXPECT_EQ(screen_effect, 2);
    EXPECT_EQ(screen_palette, 1);
    EXPECT_EQ(ghosting_applied, 3);
    // Palettes without a row can never be bought, so the settings never keep them.
    settings.palette = 5;
    settings_clamp();
    EXPECT_EQ(screen_palette, 0);
    profile = kept;
    settings = saved;
    settings_clamp();
}

TEST(AutoPause, PausesTheDungeonOnlyOutsideTransitionsAndQuestions) {
    game_state = STATE_DUNGEON;
    pause_cursor = 2;
    confirm_open = 1;
    auto_pause();
    EXPECT_EQ(game_state, STATE_DUNGEON);
    confirm_open = 0;
    auto_pause();
    EXPECT_EQ(game_state, STATE_PAUSE);
    EXPECT_EQ(state_under_pause, STATE_DUNGEON);
    EXPECT_EQ(pause_cursor, 0);
    game_state = STATE_TITLE;
    auto_pause();
    EXPECT_EQ(game_state, STATE_TITLE);
}

TEST(ConfirmLoseFlow, AsksTheQuestionWithTheRestAction) {
    confirm_lose_flow();
    EXPECT_TRUE(confirm_is_open());
    EXPECT_STREQ(confirm_question, "Lose FLOW+THREAT?");
    EXPECT_EQ(confirm_action, CONFIRM_LOSE_FLOW);
    confirm_open = 0;
    confirm_action = 0;
}

}  // namespace

namespace {

struct FullscreenTest : ::testing::Test {
    TempSaveDir tmp;  // the save folder for the whole test
    Settings saved;
    void SetUp() override {
        saved = settings;
        layout_set_landscape();
        case_select_model(CASE_16_9);
        toast_timer = 0;
        toast_line1[0] = 0;
    }
    void TearDown() override {
        settings = saved;
        layout_set_landscape();
        case_select_model(CASE_16_9);
        toast_timer = 0;
    }
};

TEST_F(FullscreenTest, WantedFollowsTheSettingExceptOnPhoneAndSquare) {
    settings.fullscreen = 0;
    EXPECT_FALSE(fullscreen_wanted());
    settings.fullscreen = 1;
    EXPECT_TRUE(fullscreen_wanted());
    case_select_model(CASE_PHONE);
    EXPECT_FALSE(fullscreen_wanted());
    settings.fullscreen = 0;
    layout_set_square();
    EXPECT_TRUE(fullscreen_wanted());  // a square screen is always full
}

TEST_F(FullscreenTest, ToggleFlipsSavesAndToasts) {
    settings.fullscreen = 0;
    fullscreen_toggle_setting();
    EXPECT_EQ(settings.fullscreen, 1);
    EXPECT_STREQ(toast_line1, "FULL SCREEN: ON");
    EXPECT_EQ(toast_timer, 90);
    settings.fullscreen = 0;
    ASSERT_TRUE(settings_load());
    EXPECT_EQ(settings.fullscreen, 1);
    fullscreen_toggle_setting();
    EXPECT_STREQ(toast_line1, "FULL SCREEN: OFF");
    EXPECT_EQ(settings.fullscreen, 0);
}

TEST_F(FullscreenTest, ToggleDoesNothingOnPhoneOrSquare) {
    settings.fullscreen = 0;
    case_select_model(CASE_PHONE);
    fullscreen_toggle_setting();
    EXPECT_EQ(settings.fullscreen, 0);
    EXPECT_EQ(toast_timer, 0);
    EXPECT_FALSE(std::filesystem::exists(tmp.path("settings.dat")));
    case_select_model(CASE_16_9);
    layout_set_square();
    fullscreen_toggle_setting();
    EXPECT_EQ(settings.fullscreen, 0);
    EXPECT_EQ(toast_timer, 0);
}

TEST_F(FullscreenTest, OptionRowsFollowTheScreenAndCase) {
    settings.case_color = 9;
    EXPECT_TRUE(option_row_visible(1));
    EXPECT_TRUE(option_row_visible(3));
    EXPECT_FALSE(option_row_visible(4));  // shine only on the shiny cases
    settings.case_color = 6;
    EXPECT_TRUE(option_row_visible(4));
    settings.case_color = 7;
    EXPECT_TRUE(option_row_visible(4));
    case_select_model(CASE_PHONE);
    EXPECT_FALSE(option_row_visible(1));
    EXPECT_TRUE(option_row_visible(3));
    layout_set_square();
    for (int row : {1, 3, 4}) EXPECT_FALSE(option_row_visible(row)) << row;
    for (int row : {0, 2, 5, 6, 7, 8, 9, 10, 12}) EXPECT_TRUE(option_row_visible(row)) << row;
}

TEST_F(FullscreenTest, AppEventWatchWithoutAudioPausesTheDungeon) {
    ASSERT_EQ(audio_device, 0u);
    game_state = STATE_DUNGEON;
    confirm_open = 0;
    SDL_Event e = {};
    e.type = SDL_KEYDOWN;
    EXPECT_EQ(app_event_watch(nullptr, &e), 0);
    EXPECT_EQ(game_state, STATE_DUNGEON);
    e.type = SDL_APP_WILLENTERBACKGROUND;
    EXPECT_EQ(app_event_watch(nullptr, &e), 0);
    EXPECT_EQ(game_state, STATE_PAUSE);
    EXPECT_EQ(state_under_pause, STATE_DUNGEON);
    e.type = SDL_APP_DIDENTERFOREGROUND;
    EXPECT_EQ(app_event_watch(nullptr, &e), 0);
    EXPECT_EQ(game_state, STATE_PAUSE);  // coming back leaves the game paused
    game_state = STATE_TITLE;
}

}  // namespace
