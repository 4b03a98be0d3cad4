// Word wrapping widths and reveal, the hold ring's timing and the hit-region list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "render/render_fixture.h"
#include "screens/widgets.h"
#include "platform/input.h"
#include "saves/settings.h"
#include "support/png_out.h"
#include "world/game_state.h"

namespace {

struct WidgetsTest : RenderTest {
    void TearDown() override {
        hit_regions_clear();
        RenderTest::TearDown();
    }
    // Columns holding drawn pixels on the row band [y, y + 7).
    static int band_width(int y) {
        int x0 = 1 << 20, x1 = -1;
        for (int yy = y; yy < y + 7; yy++)
            for (int x = 0; x < screen_layout.width; x++)
                if (screen_get(x, yy)) {
                    if (x < x0) x0 = x;
                    if (x > x1) x1 = x;
                }
        return x1 < x0 ? 0 : x1 - x0 + 1;
    }
};

TEST_F(WidgetsTest, WrapBreaksAtBlanksWithinTheWidth) {
    EXPECT_EQ(draw_wrapped_text(0, 0, 100, "", 999, 2, true), 0);
    EXPECT_EQ(drawn(), 0);
    // "AAAA BBBB" is 53 pixels: it fits 53 and breaks at 52.
    EXPECT_EQ(draw_wrapped_text(0, 0, 53, "AAAA BBBB", 999, 2, false), 9);
    EXPECT_EQ(draw_wrapped_text(0, 0, 52, "AAAA BBBB", 999, 2, false), 18);
    // Several blanks count as one; leading and trailing blanks make no line.
    EXPECT_EQ(draw_wrapped_text(0, 0, 53, "  AAAA    BBBB  ", 999, 2, false), 9);
    // A word wider than the width stands alone and overflows.
    EXPECT_EQ(draw_wrapped_text(10, 10, 20, "HI ENORMOUSWORD HI", 999, 2, true), 27);
    EXPECT_EQ(band_width(19), 6 * 12 - 1);
    EXPECT_EQ(draw_wrapped_lines(0, 40, 60, "ONE TWO THREE FOUR", 2), 40 + 18);
    EXPECT_EQ(draw_wrapped_lines(0, 40, 60, "", 2), 40);
}

TEST_F(WidgetsTest, RevealShowsOnlyTheFirstCharacters) {
    // reveal 0 draws nothing but measures the full height.
    EXPECT_EQ(draw_wrapped_text(0, 0, 53, "AAAA BBBB CCCC", 0, 2, true), 18);
    EXPECT_EQ(drawn(), 0);
    // Five characters: the first line's word and its blank count, the second line is empty.
    draw_wrapped_text(0, 0, 53, "AAAA BBBB CCCC", 3, 2, true);
    EXPECT_EQ(band_width(0), 6 * 3 - 1);
    EXPECT_EQ(band_width(9), 0);
}

TEST_F(WidgetsTest, LongTextsAreNeverCutShort) {
    // A 300-character text of short words on a wide line: every word is drawn.
    std::string text;
    for (int i = 0; i < 60; i++) text += "WORD ";
    const int h = draw_wrapped_text(0, 0, 299, text.c_str(), 9999, 2, true);
    EXPECT_EQ(h, 9 * 6);  // ten words a line
    EXPECT_EQ(band_width(45), 6 * 49 - 1);
    // A tip record's text is read only within its 512 bytes.
    char record[600];
    std::memset(record, 'X', sizeof record);
    EXPECT_EQ(measure_wrapped_record(record, 100), 9);
}

TEST_F(WidgetsTest, HoldRingFillsWhenTheBagPicksUp) {
    draw_hold_ring(150, 70, HOLD_RING_START);
    EXPECT_EQ(drawn(), 0);
    draw_hold_ring(150, 70, HOLD_RING_START + 1);
    const int lit_early = count(3);
    EXPECT_GT(lit_early, 0);
    EXPECT_GT(count(1), 0);
    screen_clear();
    draw_hold_ring(150, 70, HOLD_PICKUP_TICKS - 1);
    EXPECT_GT(count(1), 0);
    screen_clear();
    draw_hold_ring(150, 70, HOLD_PICKUP_TICKS);
    EXPECT_EQ(count(1), 0);
    EXPECT_GT(count(3), lit_early);
}

TEST_F(WidgetsTest, HitRegionsKeepTheFirstAndDropPastTheCap) {
    int x = -1, y = -1, w = -1, h = -1;
    EXPECT_FALSE(hit_region_find(HIT_BAG_ITEM, 3, &x, &y, &w, &h));
    EXPECT_EQ(x, -1);
    hit_region_add(HIT_BAG_ITEM, 3, 10, 20, 30, 40);
    hit_region_add(HIT_BAG_ITEM, 3, 99, 99, 99, 99);
    hit_region_add(HIT_LEVELUP_CARD, 3, 1, 2, 3, 4);
    ASSERT_TRUE(hit_region_find(HIT_BAG_ITEM, 3, &x, &y, &w, &h));
    EXPECT_EQ(x, 10);
    EXPECT_EQ(h, 40);
    ASSERT_TRUE(hit_region_find(HIT_LEVELUP_CARD, 3, &x, &y, &w, &h));
    EXPECT_EQ(x, 1);
    for (int i = 3; i < HIT_REGION_MAX; i++) hit_region_add(HIT_FIGHT_ACTION, i, i, 0, 1, 1);
    hit_region_add(HIT_FIGHT_ITEM, 0, 5, 5, 5, 5);  // the 49th
    EXPECT_EQ(hit_regions.count, HIT_REGION_MAX);
    EXPECT_FALSE(hit_region_find(HIT_FIGHT_ITEM, 0, &x, &y, &w, &h));
    hit_regions_clear();
    EXPECT_FALSE(hit_region_find(HIT_BAG_ITEM, 3, &x, &y, &w, &h));
}

}  // namespace

namespace {
// The chip in its two forms and both phases, the ring filling, and a wrapped paragraph.
TEST_F(WidgetsTest, ReviewPicture) {
    settings = Settings{};
    bindings_default();
    input_device_set(INPUT_KEYBOARD);  // "ENTER" in a box
    frame_counter = 0;                 // released
    draw_button_chip(110, 20);
    frame_counter = 45;  // pressed
    draw_button_chip(150, 20);
    input_device_set(INPUT_TOUCH);  // "A" in a circle
    draw_button_chip(190, 20);
    frame_counter = 0;
    draw_button_chip(210, 20);
    input_device_set(INPUT_KEYBOARD);
    for (int i = 0; i < 4; i++) draw_hold_ring(100.0f + 25.0f * (float)i, 50.0f, 12 + 8 * i);
    draw_hold_ring(200.0f, 50.0f, HOLD_PICKUP_TICKS);
    const int h = draw_wrapped_text(80, 70, 150, "HOLD A TO LIFT AN ITEM,   THEN DROP IT WHERE IT FITS. A VERYLONGWORDTHATOVERFLOWS STANDS ALONE.",
                                    999, 2, true);
    EXPECT_GT(h, 18);
    frame_counter = 0;
    png_write_framebuffer("widgets.png", 3);
}
}  // namespace
