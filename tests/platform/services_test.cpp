// Toasts, rumble requests, the settings clamp and the options rows' visibility.
#include <gtest/gtest.h>

#include <cstring>

#include "game/state.h"
#include "platform/compose.h"
#include "platform/services.h"
#include "saves/settings.h"

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
        {"monster art", &Settings::monster_art, 2, 0},
    };
    for (const Row& r : rows) {
        Settings good = {};
        good.screen = 1;
        good.volume = 7;
        good.music = 4;
        good.ghosting = 2;
        good.rumble_level = 3;
        good.case_color = 12;
        good.palette = 2;
        good.monster_art = 1;
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
    settings.palette = 5;
    settings.ghosting = 3;
    settings_clamp();
    EXPECT_EQ(screen_effect, 2);
    EXPECT_EQ(screen_palette, 5);
    EXPECT_EQ(ghosting_applied, 3);
    settings = Settings{};
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
