// The on-screen pad: what a pointer press hits on each kind of screen, with the margins and ties,
// and the drawn pad lighting the held buttons.
#include <gtest/gtest.h>

#include "render/screen.h"
#include "screens/pad.h"
#include "support/png_out.h"
#include "world/buttons.h"

namespace {

struct PadHit : ::testing::TestWithParam<int> {
    void SetUp() override {
        if (GetParam()) layout_set_landscape();
        else layout_set_portrait();
    }
    void TearDown() override { layout_set_landscape(); }
    const ScreenLayout& l = screen_layout;
    uint8_t hit(int x, int y, PadHitContext c = PAD_HIT_ELSEWHERE) { return pad_hit_test(x, y, c); }
};

}  // namespace

TEST_P(PadHit, OutsideTheFramebufferAndInsideTheViewNothingIsPressed) {
    EXPECT_EQ(hit(-1, l.dpad_y), 0);
    EXPECT_EQ(hit(l.width, l.a_y), 0);
    EXPECT_EQ(hit(l.a_x, l.height), 0);
    EXPECT_EQ(hit((l.view.x0 + l.view.x1) / 2, (l.view.y0 + l.view.y1) / 2), 0);
    EXPECT_EQ(hit(l.view.x1, l.view.y1), 0);
    EXPECT_EQ(hit((l.view.x0 + l.view.x1) / 2, l.view.y0, PAD_HIT_REAL_TIME_FIGHT), 0);
}

TEST_P(PadHit, BeforeSwitchingOnEveryTouchIsA) {
    EXPECT_EQ(hit(l.view.x0 + 5, l.view.y0 + 5, PAD_HIT_POWER_ON), BTN_A);
    EXPECT_EQ(hit(l.select_x + 2, l.pill_y + 2, PAD_HIT_POWER_ON), BTN_A);
    EXPECT_EQ(hit(-1, 0, PAD_HIT_POWER_ON), 0);
}

TEST_P(PadHit, SelectAndStartAnswerFourPixelsOutside) {
    EXPECT_EQ(hit(l.select_x - 4, l.pill_y - 4), BTN_SELECT);
    EXPECT_EQ(hit(l.select_x + l.pill_w + 3, l.pill_y + l.pill_h + 3), BTN_SELECT);
    EXPECT_NE(hit(l.select_x + l.pill_w + 4, l.pill_y), BTN_SELECT);
    EXPECT_NE(hit(l.select_x, l.pill_y - 5), BTN_SELECT);
    EXPECT_EQ(hit(l.start_x - 4, l.pill_y + 1), BTN_START);
    EXPECT_EQ(hit(l.start_x + l.pill_w + 3, l.pill_y + 1, PAD_HIT_REAL_TIME_FIGHT), BTN_START);
}

TEST_P(PadHit, TheDpadSplitsAlongItsDiagonalsWithTiesGoingUpOrDown) {
    const int cx = l.dpad_x, cy = l.dpad_y, r = l.dpad_width / 2 + l.dpad_arm;
    EXPECT_EQ(hit(cx, cy - 10), BTN_UP);
    EXPECT_EQ(hit(cx, cy), BTN_DOWN);  // the centre itself: dy = 0 counts as down
    EXPECT_EQ(hit(cx + 10, cy), BTN_RIGHT);
    EXPECT_EQ(hit(cx - 10, cy + 3), BTN_LEFT);
    EXPECT_EQ(hit(cx + 7, cy - 7), BTN_UP);
    EXPECT_EQ(hit(cx - 7, cy + 7), BTN_DOWN);
    EXPECT_EQ(hit(cx + 7, cy + 7), BTN_DOWN);
    // Eight pixels past the arms, and not one more.
    EXPECT_EQ(hit(cx, cy - r - 8), BTN_UP);
    EXPECT_EQ(hit(cx, cy + r + 7), BTN_DOWN);
    EXPECT_NE(hit(cx, cy + r + 8), BTN_DOWN);
    EXPECT_EQ(hit(cx + r + 7, cy), BTN_RIGHT);
    EXPECT_NE(hit(cx + r + 8, cy), BTN_RIGHT);
}

TEST_P(PadHit, FacesAnswerWithinTwentyPixelsAndTiesGoToA) {
    EXPECT_EQ(hit(l.a_x, l.a_y), BTN_A);
    EXPECT_EQ(hit(l.b_x, l.b_y), BTN_B);
    EXPECT_EQ(hit(l.a_x, l.a_y + 20), BTN_A);  // 400 < 401
    EXPECT_EQ(hit(l.a_x, l.a_y + 21), 0);
    // Halfway between the two centres (they lie 24 pixels apart on both axes).
    const int mx = (l.a_x + l.b_x) / 2, my = (l.a_y + l.b_y) / 2;
    EXPECT_EQ(hit(mx, my), BTN_A);
    EXPECT_EQ(hit(mx + 1, my - 1), BTN_B);
}

TEST_P(PadHit, InARealTimeFightTheDpadGivesOnlyLeftAndRight) {
    const int cx = l.dpad_x, cy = l.dpad_y, r = l.dpad_width / 2 + l.dpad_arm;
    const PadHitContext f = PAD_HIT_REAL_TIME_FIGHT;
    EXPECT_EQ(hit(cx - 2, cy - r + 2, f), BTN_LEFT);  // the upper arm, left of the centre
    EXPECT_EQ(hit(cx, cy + r - 2, f), BTN_RIGHT);     // the lower arm on the centre line
    // Twelve pixels past the arms sideways (where that is still on the pad), eight up and down.
    if (cx + r + 12 < l.view.x0 || l.view.x0 == 0) {
        EXPECT_EQ(hit(cx + r + 11, cy, f), BTN_RIGHT);
        EXPECT_NE(hit(cx + r + 12, cy, f), BTN_RIGHT);
    }
    EXPECT_EQ(hit(cx - 1, cy + r + 7, f), BTN_LEFT);
    EXPECT_NE(hit(cx - 1, cy + r + 8, f), BTN_LEFT);
    EXPECT_EQ(hit(cx + 3, cy - r - 8, f), BTN_RIGHT);
    EXPECT_NE(hit(cx + 3, cy - r - 9, f), BTN_RIGHT);
}

TEST_P(PadHit, InARealTimeFightTheFacesAnswerThreePixelsFarther) {
    const PadHitContext f = PAD_HIT_REAL_TIME_FIGHT;
    const int far = l.button_radius + 12;  // 23 with the presets
    // Straight down from A, away from B.
    EXPECT_EQ(hit(l.a_x, l.a_y + far, f), BTN_A);
    EXPECT_NE(hit(l.a_x, l.a_y + far + 1, f), BTN_A);
    EXPECT_EQ(hit(l.a_x, l.a_y + 21), 0);  // elsewhere 21 is already too far
    const int mx = (l.a_x + l.b_x) / 2, my = (l.a_y + l.b_y) / 2;
    EXPECT_EQ(hit(mx, my, f), BTN_A);
}

INSTANTIATE_TEST_SUITE_P(Layouts, PadHit, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param ? "Landscape" : "Portrait"; });

TEST(PadDraw, HeldButtonsAreLitAndTheRestAreNot) {
    for (int land = 0; land < 2; land++) {
        if (land) layout_set_landscape();
        else layout_set_portrait();
        const ScreenLayout& l = screen_layout;
        const int f = l.dpad_width / 2;
        screen_clear();
        draw_pad(BTN_A | BTN_UP | BTN_START);
        EXPECT_EQ(screen_get(l.a_x, l.a_y + 7), 3);
        EXPECT_EQ(screen_get(l.b_x, l.b_y + 7), 1);
        EXPECT_EQ(screen_get(l.dpad_x - f + 2, l.dpad_y - f - 2), 3);  // the up arm
        EXPECT_EQ(screen_get(l.dpad_x - f + 2, l.dpad_y + f + 2), 1);  // the down arm
        EXPECT_EQ(screen_get(l.start_x + 3, l.pill_y + 3), 3);
        EXPECT_EQ(screen_get(l.select_x + 3, l.pill_y + 3), 1);
        EXPECT_EQ(screen_get(l.start_x, l.pill_y), 0);  // the keys' corners are cut
        // Nothing of the pad lands in the view.
        for (int y = l.view.y0; y <= l.view.y1; y++)
            for (int x = l.view.x0; x <= l.view.x1; x++) ASSERT_EQ(screen_get(x, y), 0) << x << "," << y;
    }
    // Review pictures: landscape above, portrait below.
    PngSheet sheet(3 * FB_LONG, 3 * (FB_SHORT + FB_LONG) + 6);
    layout_set_landscape();
    screen_clear();
    draw_pad(BTN_A | BTN_LEFT | BTN_SELECT);
    sheet.paste(0, 0, FB_LONG, FB_SHORT, 0, 0, 3);
    layout_set_portrait();
    screen_clear();
    draw_pad(BTN_B | BTN_DOWN | BTN_START);
    sheet.paste(0, 0, FB_SHORT, FB_LONG, 0, 3 * FB_SHORT + 6, 3);
    layout_set_landscape();
    sheet.write("pad_plain.png");
}
