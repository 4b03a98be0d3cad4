// Layout presets and the draw pipeline's order of tests.
#include <gtest/gtest.h>

#include "render/screen.h"

namespace {

struct ScreenTest : ::testing::Test {
    void SetUp() override {
        layout_set_landscape();
        screen_reset_draw_state();
        screen_clear();
    }
    void TearDown() override { screen_reset_draw_state(); }
};

TEST_F(ScreenTest, LandscapePresetSetsAllThirtyFields) {
    layout_set_square();
    layout_set_landscape();
    const int32_t expected[30] = {1, 312, 144, 70, 0, 241, 143, 0, 0, 69, 143, 242, 0, 311, 143,
                                  2, 35, 72, 16, 16, 262, 88, 288, 64, 11, 21, 263, 116, 28, 8};
    const int32_t* fields = reinterpret_cast<const int32_t*>(&screen_layout);
    for (int i = 0; i < 30; i++) EXPECT_EQ(fields[i], expected[i]) << "field " << i + 1;
}

TEST_F(ScreenTest, PortraitAfterLandscapeKeepsTheSecondPanel) {
    layout_set_portrait();
    EXPECT_EQ(screen_layout.width, 144);
    EXPECT_EQ(screen_layout.height, 312);
    EXPECT_EQ(screen_layout.panel_count, 1);
    EXPECT_EQ(screen_layout.panels[1].x0, 242);
    EXPECT_EQ(screen_layout.panels[1].y0, 0);
    EXPECT_EQ(screen_layout.panels[1].x1, 311);
    EXPECT_EQ(screen_layout.panels[1].y1, 143);
}

TEST_F(ScreenTest, SquarePresetPutsThePadOffScreen) {
    layout_set_square();
    EXPECT_TRUE(layout_is_square());
    EXPECT_EQ(screen_layout.panel_count, 0);
    EXPECT_EQ(screen_layout.dpad_x, PAD_OFF);
    EXPECT_EQ(screen_layout.panels[0].x1, 69);  // kept from landscape
    layout_set_landscape();
    EXPECT_FALSE(layout_is_square());
}

TEST_F(ScreenTest, DitherLevelIsClamped) {
    screen_set_dither(-5);
    EXPECT_EQ(draw_dither_level, 0);
    screen_set_dither(40);
    EXPECT_EQ(draw_dither_level, 16);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) screen_pixel(x, y, 3);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 8; x++) EXPECT_EQ(screen_get(x, y), 0);
}

TEST_F(ScreenTest, DitherLevelDropsThatManyPixelsOfSixteen) {
    for (int level : {1, 8, 15}) {
        screen_clear();
        screen_set_dither(level);
        for (int y = 0; y < 4; y++)
            for (int x = 0; x < 4; x++) screen_pixel(x, y, 2);
        int drawn = 0;
        for (int y = 0; y < 4; y++)
            for (int x = 0; x < 4; x++) drawn += screen_test(x, y);
        EXPECT_EQ(drawn, 16 - level) << "level " << level;
    }
}

TEST_F(ScreenTest, OriginShiftedPixelsOutsideAreDropped) {
    screen_set_offset(-5, 0, -1);
    screen_pixel(4, 0, 3);   // lands at x = -1
    screen_pixel(5, 0, 3);   // lands at x = 0
    screen_set_offset(10, 10, -1);
    screen_pixel(FB_LONG - 10, 0, 3);  // x = width
    screen_pixel(0, 134, 3);           // y = height
    screen_reset_draw_state();
    int lit = 0;
    for (int i = 0; i < FB_BYTES; i++) lit += framebuffer[i] != 0;
    EXPECT_EQ(lit, 1);
    EXPECT_EQ(screen_get(0, 0), 3);
}

TEST_F(ScreenTest, GetAndTestIgnoreTheOrigin) {
    framebuffer[0] = 2;
    screen_set_offset(3, 3, -1);
    EXPECT_EQ(screen_get(0, 0), 2);
    EXPECT_EQ(screen_test(0, 0), 1);
    EXPECT_EQ(screen_get(-1, 0), 0);
    EXPECT_EQ(screen_test(400, 0), 0);
}

TEST_F(ScreenTest, OverrideReplacesEveryColour) {
    screen_set_offset(0, 0, 0);
    framebuffer[1] = 3;
    EXPECT_EQ(screen_pixel(1, 0, 3), 0);
    EXPECT_EQ(screen_get(1, 0), 0);
}

TEST_F(ScreenTest, ColumnMaskAndClip) {
    uint8_t mask[FB_LONG] = {};
    int16_t clip[FB_LONG];
    for (int i = 0; i < FB_LONG; i++) clip[i] = 10;
    mask[2] = 1;
    screen_set_column_mask(mask);
    screen_set_column_clip(clip);
    screen_pixel(2, 0, 3);
    screen_pixel(3, 9, 3);
    screen_pixel(3, 10, 3);
    screen_reset_draw_state();
    EXPECT_EQ(screen_get(2, 0), 0);
    EXPECT_EQ(screen_get(3, 9), 3);
    EXPECT_EQ(screen_get(3, 10), 0);
}

}  // namespace
