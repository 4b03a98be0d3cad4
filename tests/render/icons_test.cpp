// Icons: named sprites, fitting a picture into a box, block bitmaps and the 5 x 5 glyphs.
#include <vector>

#include "render/icons.h"
#include "render/pictures.h"
#include "render_fixture.h"

namespace {

using IconTest = RenderTest;

TEST_F(IconTest, NamedSpriteIsFoundWhateverTheCaseAndCentred) {
    const SpriteEntry* coin = sprite_find("boon_coin");
    ASSERT_NE(coin, nullptr);
    draw_named_sprite("BOON_Coin", 50, 40, 0);
    Box b = bounds();
    EXPECT_GE(b.x0, 50 - coin->still->w / 2);
    EXPECT_LE(b.x1, 50 - coin->still->w / 2 + coin->still->w - 1);
    EXPECT_GE(b.y0, 40 - coin->still->h / 2);
    EXPECT_LE(b.y1, 40 - coin->still->h / 2 + coin->still->h - 1);
    int opaque = 0;
    for (int i = 0; i < coin->still->w * coin->still->h; i++) opaque += coin->still->pixels[i] != 0;
    EXPECT_EQ(drawn(), opaque);  // stored size, one pixel a texel

    reset();
    draw_named_sprite("Rat", 150, 70, 1);  // density ignored: stored size, all colour 1
    EXPECT_GT(count(1), 0);
    EXPECT_EQ(count(2) + count(3), 0);

    reset();
    draw_named_sprite("rats", 150, 70, 0);
    draw_named_sprite("a_name_much_longer_than_the_table_allows_rat", 150, 70, 0);
    draw_named_sprite(nullptr, 150, 70, 0);
    EXPECT_EQ(drawn(), 0);
}

TEST_F(IconTest, NamedAnimationShowsTheCountersFrame) {
    const SpriteEntry* rat = sprite_find("rat");
    ASSERT_NE(rat, nullptr);
    const int32_t saved = frame_counter;
    const Image& f3 = rat->anim->frames[3];
    frame_counter = 3 * rat->anim->ticks_per_frame;
    draw_named_sprite("rat", 150, 70, 0);
    frame_counter = saved;
    const int left = 150 - f3.w / 2, top = 70 - f3.h / 2;
    for (int i = 0; i < f3.h; i++)
        for (int j = 0; j < f3.w; j++)
            ASSERT_EQ(screen_get(left + j, top + i), f3.pixels[i * f3.w + j]) << j << "," << i;
}

struct FitTest : RenderTest {
    std::vector<uint8_t> px;
    Image img{};
    void solid(int w, int h, int density) {
        px.assign((size_t)w * h, 2);
        img = {px.data(), w, h, density};
    }
};

TEST_F(FitTest, DoubleDensityShieldInASmallerBoxDrawsAtLogicalSize) {
    solid(40, 40, 2);
    draw_image_fitted(100, 50, 24, 24, &img);  // W = H = 20, k = 1, anchor (112, 71)
    Box b = bounds();
    EXPECT_EQ(b.x0, 102);
    EXPECT_EQ(b.x1, 121);
    EXPECT_EQ(b.y0, 52);
    EXPECT_EQ(b.y1, 71);
    EXPECT_EQ(drawn(), 400);
}

TEST_F(FitTest, WholeScaleIsTheSmallerFitAndAtLeastOne) {
    solid(10, 10, 1);
    draw_image_fitted(100, 50, 35, 24, &img);  // k = min(3, 2) = 2, anchor (117, 71)
    Box b = bounds();
    EXPECT_EQ(b.x0, 107);
    EXPECT_EQ(b.x1, 126);
    EXPECT_EQ(b.y1, 71);
    EXPECT_EQ(drawn(), 400);

    reset();
    draw_image_fitted(100, 50, 4, 4, &img);  // too small to fit: still scale 1
    EXPECT_EQ(drawn(), 100);
}

TEST_F(FitTest, QuarterTurnExchangesWidthAndHeight) {
    solid(20, 10, 1);
    icon_quarter_turn = 1;
    draw_image_fitted(100, 50, 30, 30, &img);  // W 10, H 20: k = 1, anchor (115, 74)
    Box b = bounds();
    EXPECT_EQ(b.x1 - b.x0 + 1, 10);
    EXPECT_EQ(b.y1 - b.y0 + 1, 20);
    EXPECT_EQ(b.y1, 74);
    EXPECT_EQ(b.x0, 110);
}

TEST_F(FitTest, ZeroSizedPictureDrawsNothing) {
    solid(1, 1, 2);  // half a texel of logical size
    draw_image_fitted(100, 50, 24, 24, &img);
    draw_image_fitted(100, 50, 24, 24, nullptr);
    EXPECT_EQ(drawn(), 0);
}

TEST_F(IconTest, OutlinedIconLeavesTheDrawStateNeutral) {
    screen_set_offset(3, 4, 2);
    draw_icon_outlined(10, 10, 20, 20, 1);
    EXPECT_EQ(draw_origin_x, 0);
    EXPECT_EQ(draw_origin_y, 0);
    EXPECT_EQ(draw_color_override, -1);
}

TEST_F(IconTest, BitmapIconDrawsBlocksFromTheTopLeft) {
    const uint8_t px[4] = {0, 3, 1, 0};
    const Image img = {px, 2, 2, 2};
    draw_bitmap_icon(&img, 10, 20, 3, 0);
    for (int y = 20; y < 26; y++)
        for (int x = 10; x < 16; x++) {
            int want = (x >= 13 && y < 23) ? 3 : (x < 13 && y >= 23) ? 1 : 0;
            EXPECT_EQ(screen_get(x, y), want) << x << "," << y;
        }
    reset();
    draw_bitmap_icon(&img, 10, 20, 2, 1);
    EXPECT_EQ(count(1), 8);
}

TEST_F(IconTest, PatternGlyphsSitOneRowDown) {
    draw_pattern_glyph(10, 10, 1, 3);  // the X mark
    EXPECT_EQ(screen_get(10, 10), 0);
    EXPECT_EQ(screen_get(10, 11), 3);
    EXPECT_EQ(screen_get(12, 13), 3);
    EXPECT_EQ(screen_get(14, 15), 3);
    EXPECT_EQ(drawn(), 9);
    Box b = bounds();
    EXPECT_EQ(b.y0, 11);
    EXPECT_EQ(b.y1, 15);

    reset();
    draw_pattern_glyph(10, 10, 4, 2);
    EXPECT_EQ(drawn(), 17);
    reset();
    draw_pattern_glyph(10, 10, 0, 3);
    draw_pattern_glyph(10, 10, 5, 3);
    draw_pattern_glyph(10, 10, -1, 3);
    EXPECT_EQ(drawn(), 0);
}

TEST_F(IconTest, Glyph5x5OutlinesEachLitCell) {
    fill(3);
    const uint8_t one[5] = {0, 0, 0x04, 0, 0};  // the centre cell
    draw_glyph5x5(20, 20, one, 2);
    EXPECT_EQ(screen_get(22, 22), 2);
    EXPECT_EQ(screen_get(21, 22), 0);
    EXPECT_EQ(screen_get(23, 22), 0);
    EXPECT_EQ(screen_get(22, 21), 0);
    EXPECT_EQ(screen_get(22, 23), 0);
    EXPECT_EQ(count(0), 4);
    EXPECT_EQ(count(2), 1);

    reset();
    const uint8_t left_edge[5] = {0x10, 0, 0, 0, 0};  // bit 4 is the leftmost column
    draw_glyph5x5(20, 20, left_edge, 3);
    EXPECT_EQ(screen_get(20, 20), 3);
    EXPECT_EQ(count(3), 1);
}

}  // namespace
