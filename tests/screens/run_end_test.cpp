// The death snapshot's age rules, the replay's phases, the run-end screens' layout rules, and
// review pictures of the replay, the death and escape screens, the demo end and the splash
// (PNGs into QM_PNG_DIR).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "combat/combat.h"
#include "dungeon/fxfield.h"
#include "dungeon/monsters.h"
#include "profile/profile.h"
#include "render/pictures.h"
#include "render/render_fixture.h"
#include "saves/settings.h"
#include "screens/run_end.h"
#include "screens/screens.h"
#include "screens/screens_fixture.h"
#include "world/player.h"

namespace {

struct RunEndTest : RenderTest {
    Settings saved_settings;
    int32_t saved_counter;
    void SetUp() override {
        RenderTest::SetUp();
        saved_settings = settings;
        saved_counter = frame_counter;
        settings.effects = 1;
        settings.flashes = 1;
        settings.monster_art = 0;
        screen_snapshot.stamp = -1;
        screen_snapshot.used = 0;
        frame_counter = 1000;
    }
    void TearDown() override {
        settings = saved_settings;
        frame_counter = saved_counter;
        screen_snapshot.stamp = -1;
        killer_type = 0;
        run_end_new_best = 0;
        RenderTest::TearDown();
    }
    static void age_to(int frames) { frame_counter = screen_snapshot.stamp + frames; }
};

TEST_F(RunEndTest, NoSnapshotMeansNoReplay) {
    EXPECT_EQ(screen_snapshot_age(), SNAPSHOT_NONE_AGE);
    EXPECT_FALSE(screen_snapshot_get());
}

TEST_F(RunEndTest, TheReplayLastsAsLongAsTheEffectsSettingSays) {
    fill(2);
    screen_snapshot_take();
    EXPECT_EQ(screen_snapshot.width, screen_view_width());
    EXPECT_EQ(screen_snapshot.height, screen_view_height());
    EXPECT_EQ(screen_snapshot.pixels[0], 2);
    age_to(REPLAY_FULL_FRAMES - 1);
    EXPECT_TRUE(screen_snapshot_get());
    age_to(REPLAY_FULL_FRAMES);
    EXPECT_FALSE(screen_snapshot_get());
    settings.effects = 0;
    age_to(REPLAY_LESS_FRAMES - 1);
    EXPECT_TRUE(screen_snapshot_get());
    age_to(REPLAY_LESS_FRAMES);
    EXPECT_FALSE(screen_snapshot_get());
}

TEST_F(RunEndTest, ALayoutChangeOrACutEndsTheReplay) {
    screen_snapshot_take();
    age_to(30);
    ASSERT_TRUE(screen_snapshot_get());
    layout_set_portrait();
    EXPECT_FALSE(screen_snapshot_get());
    layout_set_landscape();
    EXPECT_TRUE(screen_snapshot_get());
    screen_snapshot_drop();
    EXPECT_FALSE(screen_snapshot_get());
    EXPECT_EQ(screen_snapshot_age(), 30) << "the age still counts";
    screen_snapshot_take();
    EXPECT_TRUE(screen_snapshot_get()) << "a new snapshot starts afresh";
}

TEST_F(RunEndTest, AnEmptyViewStampsButCopiesNothing) {
    fill(3);
    screen_snapshot.pixels[0] = 1;
    screen_layout.view.y1 = screen_layout.view.y0 - 1;
    screen_snapshot_take();
    EXPECT_EQ(screen_snapshot.stamp, frame_counter);
    EXPECT_EQ(screen_snapshot.height, 0);
    EXPECT_EQ(screen_snapshot.pixels[0], 1);
}

TEST(ReplayPose, FullEffectsShakeTiltFallAndDissolve) {
    ReplayPose p = death_replay_pose(0, true);
    EXPECT_FLOAT_EQ(p.shift, -18.0f / 5.0f);
    EXPECT_EQ(p.angle, 0.0f);
    EXPECT_FLOAT_EQ(death_replay_pose(2, true).shift, 16.0f / 5.0f);
    p = death_replay_pose(30, true);  // tilt, half way through its ease
    EXPECT_FLOAT_EQ(p.angle, -9.0f * 0.75f);
    EXPECT_FLOAT_EQ(p.zoom, 1.0f + 0.12f * 0.75f);
    p = death_replay_pose(65, true);
    EXPECT_NEAR(p.angle, -18.0f, 0.1f);
    EXPECT_EQ(p.dissolve, 0);
    p = death_replay_pose(66, true);
    EXPECT_FLOAT_EQ(p.angle, -18.0f);
    EXPECT_FLOAT_EQ(p.zoom, 1.35f);
    EXPECT_EQ(death_replay_pose(101, true).dissolve, 16);
}

TEST(ReplayPose, FewerEffectsOnlyShakeAndDissolve) {
    for (int f = 18; f < REPLAY_LESS_FRAMES; f++) {
        const ReplayPose p = death_replay_pose(f, false);
        EXPECT_EQ(p.angle, 0.0f);
        EXPECT_EQ(p.zoom, 1.0f);
        EXPECT_EQ(p.shift, 0.0f);
        EXPECT_EQ(p.dissolve, (int)(17.0f * (float)(f - 18) / 36.0f));
    }
    EXPECT_EQ(death_replay_pose(53, false).dissolve, 16);
}

TEST_F(RunEndTest, TheReplayFlashesFirstAndFadesToBlack) {
    fill(1);
    screen_snapshot_take();
    screen_clear();
    death_replay_draw(0);
    const ScreenRect v = screen_layout.view;
    const int cx = v.x0 + screen_view_width() / 2, cy = v.y0 + screen_view_height() / 2;
    EXPECT_EQ(screen_get(cx, cy), 2) << "the flash lifts a shade";
    settings.flashes = 0;
    death_replay_draw(0);
    EXPECT_EQ(screen_get(cx, cy), 1);
    death_replay_draw(REPLAY_FULL_FRAMES);  // the dissolve's end
    EXPECT_EQ(count(1), 0);
    EXPECT_EQ(count(2), 0);
}

TEST_F(RunEndTest, AnUnknownKillerLeavesThePortraitEmpty) {
    for (uint32_t killer : {0u, 9u, 0xFFFFFFFFu}) {
        screen_clear();
        killer_type = killer;
        draw_run_end(0, false, 0);
        const int t = screen_layout.view.y0 + 8;
        for (int y = t + 16; y < t + 40; y++)
            for (int x = screen_layout.view.x0 + 13; x < screen_layout.view.x0 + 37; x++)
                ASSERT_EQ(screen_get(x, y), 0) << killer;
    }
    screen_clear();
    killer_type = M_GOBLIN;
    draw_run_end(0, false, 0);
    const int t = screen_layout.view.y0 + 8;
    int lit = 0;
    for (int y = t + 16; y < t + 40; y++)
        for (int x = screen_layout.view.x0 + 13; x < screen_layout.view.x0 + 37; x++) lit += screen_get(x, y) != 0;
    EXPECT_GT(lit, 40);
}

TEST_F(RunEndTest, HintsHideWhileTheInputGuardIsOn) {
    // The hints' rows at the bottom: one line at y1 - 15 in landscape.
    const ScreenRect v = screen_layout.view;
    const auto hint_pixels = [&] {
        int n = 0;
        for (int y = v.y1 - 25; y < v.y1 - 7; y++)
            for (int x = v.x0 + 6; x < v.x1 - 5; x++) n += screen_get(x, y) != 0;
        return n;
    };
    frame_counter = 0;  // (frame / 20) even: the hints show
    draw_run_end(1, false, 0);
    EXPECT_GT(hint_pixels(), 0);
    screen_clear();
    draw_run_end(1, true, 0);
    EXPECT_EQ(hint_pixels(), 0);
    screen_clear();
    frame_counter = 20;
    draw_run_end(1, false, 0);
    EXPECT_EQ(hint_pixels(), 0) << "the blink's dark half";
}

// The screens over a real run, both layouts side by side.
struct RunEndPictures : RunEndTest {
    void SetUp() override {
        RunEndTest::SetUp();
        screens_run_begin();
        player.level = 4;
        player.kills = 17;
        current_floor = 6;
        run_end_souls = 23;
        run_end_best_floor = 9;
    }
    void TearDown() override {
        screens_run_end();
        RunEndTest::TearDown();
    }
    static void shot(const char* name) { screens_shot(name); }
};

TEST_F(RunEndPictures, DeathReplayPhases) {
    PngSheet sheet(6 * 316, 146 + 314);
    const int FRAMES[6] = {2, 12, 30, 54, 76, 92};
    for (int layout = 0; layout < 2; layout++) {
        if (layout) layout_set_portrait(); else layout_set_landscape();
        game_state = STATE_DUNGEON;
        frame_counter = 1000;
        draw_frame();
        screen_snapshot_take();
        game_state = STATE_DEATH;
        for (int i = 0; i < 6; i++) {
            frame_counter = 1000 + FRAMES[i];
            draw_frame();
            if (layout)
                sheet.paste(0, 0, 144, 312, i * 316, 146, 1);
            else
                sheet.paste(0, 0, 312, 144, i * 316, 0, 1);
        }
    }
    layout_set_landscape();
    sheet.write("death_replay_phases.png");
}

TEST_F(RunEndPictures, DeathAndEscapeScreens) {
    game_state = STATE_DEATH;
    frame_counter = 1000;  // even blink phases: hints shown
    killer_type = M_SKELETON;
    shot("death_skeleton.png");
    killer_type = M_DRAGON;
    run_end_new_best = 1;
    frame_counter = 1015;  // (frame / 15) odd: NEW BEST! shows
    shot("death_dragon_new_best.png");
    game_state = STATE_ESCAPED;
    shot("escape_new_best.png");
    run_end_new_best = 0;
    frame_counter = 1000;
    shot("escape.png");
}

TEST_F(RunEndPictures, SplashAndDemoEnd) {
    game_state = STATE_SPLASH;
    frame_counter = 0;
    shot("splash.png");
    game_state = STATE_DEMO_END;
    // The fire is simulated at the size of the layout it is drawn in, as the tick does.
    PngSheet sheet(2 * (312 + 146) + 4, 2 * 312);
    for (int layout = 0; layout < 2; layout++) {
        if (layout) layout_set_portrait(); else layout_set_landscape();
        fxfield_clear(0);
        for (int i = 0; i < 160; i++) {
            fxfield_set_slot0(1.0f);
            if (i & 1) fxfield_update(0, screen_view_width() - 9, screen_view_height() - 9);
        }
        draw_frame();
        EXPECT_GT(drawn(), 2000);
        if (layout)
            sheet.paste(0, 0, 144, 312, 2 * 312 + 4, 0, 2);
        else
            sheet.paste(0, 0, 312, 144, 0, 0, 2);
    }
    layout_set_landscape();
    sheet.write("demo_end.png");
    fxfield_clear(0);
}

}  // namespace
