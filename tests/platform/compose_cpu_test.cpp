// The CPU compositor's output words: palettes, effects, the plain pad, ghosting and guarded indices.
#include <gtest/gtest.h>

#include <vector>

#include "platform/case_art.h"
#include "platform/compose.h"
#include "platform/compose_paths.h"
#include "platform/ghost.h"
#include "platform/palette.h"
#include "render/draw.h"
#include "render/screen.h"

namespace {

struct CpuCompose : ::testing::Test {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(640 * 1024);
    int32_t saved_palette = screen_palette, saved_effect = screen_effect, saved_ghost = ghosting_applied;

    void SetUp() override {
        layout_set_landscape();
        case_select_model(CASE_16_9);
        screen_reset_draw_state();
        screen_clear();
        sharp_rects_clear();
        screen_palette = PAL_SLATE;
        screen_effect = EFFECT_LCD;
        ghosting_applied = 0;
    }
    void TearDown() override {
        screen_palette = saved_palette;
        screen_effect = saved_effect;
        ghosting_applied = saved_ghost;
        sharp_rects_clear();
        screen_clear();
    }
    void compose() {
        compose_frame_begin();
        compose_window_cpu_with(pixels.data(), 0, nullptr);
    }
    // Sub-pixel k (0..8, row by row) of framebuffer pixel (x, y).
    uint32_t sub(int x, int y, int k) {
        CaseMargins m = case_margins();
        int px = 3 * (m.left + x) + k % 3, py = 3 * (m.top + y) + k / 3;
        return pixels[(size_t)py * case_picture_width() + px];
    }
};

TEST_F(CpuCompose, LcdBrightensAndDarkensSlateShadeTwo) {
    framebuffer[10 * FB_LONG + 100] = 2;
    compose();
    EXPECT_EQ(sub(100, 10, 0), 0xFFFDFFFFu);  // x 110 / 100, capped
    EXPECT_EQ(sub(100, 10, 2), 0xFFAAB1BCu);  // right column x 74 / 100
    EXPECT_EQ(sub(100, 10, 8), 0xFF80868Eu);  // bottom-right x 56 / 100
}

TEST_F(CpuCompose, FlatKeepsThePaletteColourInAllNineSubpixels) {
    screen_effect = EFFECT_FLAT;
    const uint32_t shades[3][4] = {
        {0xFF0B1018, 0xFF394A66, 0xFFE6F0FF, 0xFFFFC857},
        {0xFF0F380F, 0xFF306230, 0xFF8BAC0F, 0xFFE0F8D0},
        {0xFF140A00, 0xFF5A3200, 0xFFD98A1C, 0xFFFFE0A0},
    };
    for (int pal = 0; pal < 3; pal++) {
        screen_palette = pal;
        for (int s = 0; s < 4; s++) framebuffer[5 * FB_LONG + 80 + s] = (uint8_t)s;
        compose();
        for (int s = 0; s < 4; s++)
            for (int k = 0; k < 9; k++) EXPECT_EQ(sub(80 + s, 5, k), shades[pal][s]) << pal << " " << s << " " << k;
    }
}

TEST_F(CpuCompose, CrtDarkensTheBottomRowAndExtraColoursStayFixed) {
    screen_effect = EFFECT_CRT;
    screen_palette = PAL_AMBER;
    framebuffer[0 * FB_LONG + 70] = 3;
    framebuffer[0 * FB_LONG + 71] = 4;
    compose();
    EXPECT_EQ(sub(70, 0, 6), 0xFF93815Cu);  // FFE0A0 x 58 / 100
    EXPECT_EQ(sub(70, 0, 4), 0xFFFFE8A6u);  // x 104 / 100, red capped
    EXPECT_EQ(sub(71, 0, 0), 0xFF7FDCF9u);  // light blue 7BD4F0 x 104 / 100
}

TEST_F(CpuCompose, ValuesAboveSixShowAsShadeThree) {
    framebuffer[3 * FB_LONG + 90] = 9;
    framebuffer[3 * FB_LONG + 91] = 3;
    framebuffer[3 * FB_LONG + 5] = 200;  // pad panel
    compose();
    for (int k = 0; k < 9; k++) EXPECT_EQ(sub(90, 3, k), sub(91, 3, k));
    EXPECT_EQ(sub(5, 3, 4), PAD_COLORS[3]);
}

TEST_F(CpuCompose, PlainPadFillsTheCaseAndShowsThePadPanels) {
    for (int y = 0; y < FB_SHORT; y++) framebuffer[y * FB_LONG + 20] = 1;
    framebuffer[50 * FB_LONG + 300] = 2;
    screen_effect = EFFECT_LCD;  // no effect outside the screen area
    compose();
    int w = case_picture_width(), h = case_picture_height();
    EXPECT_EQ(pixels[0], PAD_COLORS[0]);
    EXPECT_EQ(pixels[(size_t)h * w - 1], PAD_COLORS[0]);
    for (int k = 0; k < 9; k++) {
        EXPECT_EQ(sub(20, 77, k), PAD_COLORS[1]);
        EXPECT_EQ(sub(300, 50, k), PAD_COLORS[2]);
        EXPECT_EQ(sub(21, 77, k), PAD_COLORS[0]);
    }
}

TEST_F(CpuCompose, PortraitAndEveryModelPlaceTheScreenAreaInsideTheMargins) {
    for (int orientation = 0; orientation < 2; orientation++)
        for (int model = 0; model < CASE_MODEL_COUNT; model++) {
            if (orientation) layout_set_landscape(); else layout_set_portrait();
            case_select_model(model);
            screen_clear();
            const ScreenRect& v = screen_layout.view;
            framebuffer[v.y1 * screen_layout.width + v.x1] = 2;
            compose();
            EXPECT_EQ(sub(v.x1, v.y1, 0), 0xFFFDFFFFu) << orientation << " " << model;
            EXPECT_EQ(sub(v.x1, v.y1, 8), 0xFF80868Eu);
        }
}

TEST_F(CpuCompose, RainbowPaletteRunsInDiagonalBands) {
    screen_palette = PAL_RAINBOW;
    screen_effect = EFFECT_FLAT;
    framebuffer[70 * FB_LONG + 74] = 2;   // (x + y) mod 144 = 0: hue 0
    framebuffer[71 * FB_LONG + 73] = 2;   // same band
    framebuffer[10 * FB_LONG + 182] = 1;  // row 48: hue 120
    framebuffer[10 * FB_LONG + 183] = 0;
    framebuffer[10 * FB_LONG + 184] = 6;
    compose();
    EXPECT_EQ(sub(74, 70, 0), 0xFFFF3838u);
    EXPECT_EQ(sub(73, 71, 0), 0xFFFF3838u);
    EXPECT_EQ(sub(182, 10, 0), 0xFF156B15u);
    EXPECT_EQ(sub(183, 10, 0), 0xFF0A0812u);
    EXPECT_EQ(sub(184, 10, 0), 0xFFFFFFFFu);
}

TEST_F(CpuCompose, NegativeSettingsFallBackInsteadOfIndexing) {
    framebuffer[20 * FB_LONG + 100] = 2;
    compose();
    uint32_t expected = sub(100, 20, 8);
    screen_palette = -1;
    screen_effect = -3;
    ghosting_applied = -2;  // shown as LOW, which leaves an unchanged pixel unchanged
    compose();
    EXPECT_EQ(sub(100, 20, 8), expected);
    screen_palette = 99;
    screen_effect = 7;
    compose();
    EXPECT_EQ(sub(100, 20, 8), expected);
}

struct Ghosting : CpuCompose {
    void SetUp() override {
        CpuCompose::SetUp();
        screen_palette = 4;  // shade 0 black, shade 2 white
        screen_effect = EFFECT_FLAT;
        compose();  // with ghosting off: forgets earlier tests' history
        ghosting_applied = 3;
    }
    int red(int x, int y) { return (int)(sub(x, y, 4) >> 16 & 0xFF); }
};

TEST_F(Ghosting, HighMovesBlackToWhiteBy96Of256AndSnapsNearTheTarget) {
    compose();  // first frame: taken as it is
    framebuffer[30 * FB_LONG + 100] = 2;
    int expected = 0;
    for (int frame = 0; frame < 20; frame++) {
        compose();
        int diff = 255 - expected;
        expected = (diff >= -2 && diff <= 2) ? 255 : expected + diff * 96 / 256;
        EXPECT_EQ(red(100, 30), expected) << "frame " << frame;
    }
    EXPECT_EQ(red(100, 30), 255);
    EXPECT_EQ(ghost_channel(0, 255, 160), 95);
    EXPECT_EQ(ghost_channel(255, 0, 160), 160);  // truncated toward zero, not down
    EXPECT_EQ(ghost_channel(100, 102, 160), 102);
}

TEST_F(Ghosting, SharpRectanglesChangeAtOnce) {
    compose();
    sharp_rect_add(100, 30, 2, 1);
    framebuffer[30 * FB_LONG + 101] = 2;
    framebuffer[30 * FB_LONG + 102] = 2;
    compose();
    EXPECT_EQ(red(101, 30), 255);
    EXPECT_EQ(red(102, 30), 95);
}

TEST_F(Ghosting, ResetBySizeChangeAndBySwitchingOff) {
    compose();
    framebuffer[30 * FB_LONG + 100] = 2;
    ghosting_applied = 0;
    compose();
    EXPECT_EQ(red(100, 30), 255);
    framebuffer[30 * FB_LONG + 100] = 0;
    ghosting_applied = 3;
    compose();  // first frame after switching on: unblended
    EXPECT_EQ(red(100, 30), 0);
    layout_set_portrait();
    framebuffer[30 * FB_SHORT + 100] = 2;
    compose();
    EXPECT_EQ(red(100, 30), 255);  // new size: history reset to the new frame
}

TEST_F(Ghosting, OneFrameAdvancesOnceWhateverComposesIt) {
    compose();
    framebuffer[30 * FB_LONG + 100] = 2;
    compose_frame_begin();
    compose_window_cpu_with(pixels.data(), 0, nullptr);
    compose_window_cpu_with(pixels.data(), 0, nullptr);
    EXPECT_EQ(red(100, 30), 95);
}

// A second composition in the same frame after the layout turned (a debugging hold between ticks)
// must not read the history laid out for the other orientation.
TEST_F(Ghosting, SameFrameAfterARotationStartsAFreshHistory) {
    compose();
    layout_set_portrait();
    screen_clear();
    framebuffer[195 * FB_SHORT + 143] = 2;  // the view's bottom-right pixel
    compose_window_cpu_with(pixels.data(), 0, nullptr);
    EXPECT_EQ(red(143, 195), 255);
    EXPECT_EQ(red(0, 0), 0);
}

}  // namespace
