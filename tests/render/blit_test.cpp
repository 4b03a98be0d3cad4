// The blits: box-filtered reduction, density, the quarter turn, the rotated blit's clip, cracks
// and checker-dim, and the direct path against the per-pixel pipeline.
#include <cmath>
#include <vector>

#include "render/blit.h"
#include "render_fixture.h"

namespace {

using BlitTest = RenderTest;

// One reduced pixel from a 2 x 2 box at scale 0.5 lands at (x, y).
int reduce_2x2(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    RenderTest::reset();
    const uint8_t px[4] = {a, b, c, d};
    const Image img = {px, 2, 2, 1};
    sprite_draw_scaled(&img, 100, 50, 0.5f);
    EXPECT_LE(RenderTest::drawn(), 1);
    return screen_get(100, 50);
}

TEST_F(BlitTest, BoxFilterNeedsThirtyPercentAndVotesByWeight) {
    EXPECT_EQ(reduce_2x2(3, 0, 0, 0), 0);  // 25 % opaque
    EXPECT_EQ(reduce_2x2(2, 2, 0, 0), 2);  // 50 %
    EXPECT_EQ(reduce_2x2(1, 2, 0, 0), 2);  // 16 > 10
    EXPECT_EQ(reduce_2x2(3, 1, 1, 0), 3);  // 30 > 20
    EXPECT_EQ(reduce_2x2(1, 1, 1, 3), 1);  // 30 = 30: the tie keeps the lower colour
    EXPECT_EQ(reduce_2x2(2, 2, 3, 0), 2);  // 32 > 30
    EXPECT_EQ(reduce_2x2(4, 1, 0, 0), 1);  // extra colours weigh 10; tie keeps 1
    EXPECT_EQ(reduce_2x2(5, 5, 3, 0), 3);  // 30 > 20
}

TEST_F(BlitTest, BoxFilterThresholdIsExactlyThirtyPercent) {
    for (int opaque : {29, 30}) {
        reset();
        std::vector<uint8_t> px(100, 0);
        for (int i = 0; i < opaque; i++) px[i * 3 % 100] = 2;
        const Image img = {px.data(), 10, 10, 1};
        sprite_draw_scaled(&img, 60, 60, 0.1f);  // one pixel from a 10 x 10 box
        EXPECT_EQ(screen_get(60, 60), opaque == 30 ? 2 : 0) << opaque;
        EXPECT_LE(drawn(), 1);
    }
}

TEST_F(BlitTest, EnlargingSamplesTheNearestTexelAndAnchorsBottomCentre) {
    const uint8_t px[2] = {1, 3};
    const Image img = {px, 2, 1, 1};
    sprite_draw_scaled(&img, 50, 40, 2.0f);  // 4 x 2, left 48, top 39
    for (int y = 39; y <= 40; y++) {
        EXPECT_EQ(screen_get(48, y), 1);
        EXPECT_EQ(screen_get(49, y), 1);
        EXPECT_EQ(screen_get(50, y), 3);
        EXPECT_EQ(screen_get(51, y), 3);
    }
    EXPECT_EQ(drawn(), 8);
}

TEST_F(BlitTest, DensityHalvesTheScaleOfTheUsualEntry) {
    std::vector<uint8_t> px(16, 2);
    const Image d2 = {px.data(), 4, 4, 2};
    const Image d1 = {px.data(), 4, 4, 1};

    sprite_draw_at_scale(&d2, 100, 60, 1.0f);  // box filter at 0.5: 2 x 2
    EXPECT_EQ(drawn(), 4);
    Box b = bounds();
    EXPECT_EQ(b.x0, 99);
    EXPECT_EQ(b.y0, 59);

    reset();
    sprite_draw_at_scale(&d2, 100, 60, 2.0f);  // stored size
    EXPECT_EQ(drawn(), 16);

    reset();
    sprite_draw_at_scale(&d1, 100, 60, 2.0f);  // whole scale, density 1: 2 x 2 blocks
    EXPECT_EQ(drawn(), 64);
    b = bounds();
    EXPECT_EQ(b.x0, 96);
    EXPECT_EQ(b.y1, 60);

    reset();
    sprite_draw_at_scale(&d1, 100, 60, 1.5f);  // 6 x 6 through the scaled blit
    EXPECT_EQ(drawn(), 36);
}

// 1 2 3       4 1
// 4 5 6  ->   5 2
//             6 3
TEST_F(BlitTest, QuarterTurnIsClockwise) {
    const uint8_t px[6] = {1, 2, 3, 4, 5, 6};
    const Image img = {px, 3, 2, 1};
    sprite_draw_alt(&img, 100, 60, 1);  // 2 wide, 3 tall: left 99, top 58
    const int want[3][2] = {{4, 1}, {5, 2}, {6, 3}};
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 2; c++) EXPECT_EQ(screen_get(99 + c, 58 + r), want[r][c]) << r << c;
    EXPECT_EQ(drawn(), 6);

    // The scratch copy of the scaled path turns the same way: density 2 at scale 2 is stored size.
    reset();
    const Image d2 = {px, 3, 2, 2};
    sprite_draw_at_scale_alt(&d2, 100, 60, 2.0f);
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 2; c++) EXPECT_EQ(screen_get(99 + c, 58 + r), want[r][c]) << r << c;
    EXPECT_EQ(drawn(), 6);
}

TEST_F(BlitTest, QuarterTurnScratchHoldsAtMost9216Texels) {
    std::vector<uint8_t> fits(96 * 96, 1), too_big(97 * 96, 1);
    const Image a = {fits.data(), 96, 96, 1}, b = {too_big.data(), 97, 96, 1};
    sprite_draw_at_scale_alt(&a, 150, 100, 0.5f);
    EXPECT_EQ(drawn(), 48 * 48);
    reset();
    sprite_draw_at_scale_alt(&b, 150, 100, 0.5f);
    EXPECT_EQ(drawn(), 0);
    sprite_draw_at_scale_alt(&b, 150, 100, 1.0f);  // whole scale at density 1 needs no copy
    EXPECT_GT(drawn(), 0);
}

TEST_F(BlitTest, TransparentTexelsStayTransparentUnderTheOverride) {
    fill(3);
    const uint8_t px[2] = {0, 2};
    const Image img = {px, 2, 1, 1};
    screen_set_offset(0, 0, 1);
    sprite_draw(&img, 10, 10, 3);  // left 7, top 8
    sprite_draw_scaled(&img, 40, 10, 1.5f);
    screen_set_offset(0, 0, -1);
    EXPECT_EQ(screen_get(7, 8), 3);
    EXPECT_EQ(screen_get(10, 8), 1);
    EXPECT_EQ(count(1), 9 + 2);  // the scaled copy: 3 x 2 of which one column is opaque
}

TEST_F(BlitTest, DirectPathMatchesThePerPixelPipeline) {
    static const uint8_t px[12] = {1, 1, 0, 2, 3, 3, 3, 0, 0, 2, 2, 1};
    const Image img = {px, 4, 3, 1};
    static uint8_t no_mask[FB_LONG];  // all zero: forces the per-pixel path, drops nothing
    const int cases[][4] = {{-5, 0, 2, 3}, {300, 140, 3, 2}, {0, -4, 4, 1}, {20, 30, 1, 7}};
    for (const auto& c : cases) {
        std::vector<uint8_t> direct(FB_BYTES), piped(FB_BYTES);
        for (int pass = 0; pass < 2; pass++) {
            reset();
            screen_set_column_mask(pass ? no_mask : nullptr);
            screen_set_offset(c[0], c[1], c[3] == 7 ? 2 : -1);
            sprite_draw(&img, 3, 3, c[2]);
            sprite_draw_alt(&img, 9, 9, c[2]);
            std::memcpy(pass ? piped.data() : direct.data(), framebuffer, FB_BYTES);
        }
        EXPECT_EQ(direct, piped) << c[0] << "," << c[1];
    }
}

// The rotated blit at angle 0 with pivot (0, 0) puts texel (col, row) at (x + col, y + row).
struct RotatedTest : RenderTest {
    std::vector<uint8_t> px;
    Image img{};
    void solid(int w, int h, int density, uint8_t colour) {
        px.assign((size_t)w * h, colour);
        img = {px.data(), w, h, density};
    }
};

TEST_F(RotatedTest, UprightAndQuarterTurnedPlacement) {
    solid(4, 4, 1, 2);
    sprite_draw_rotated(&img, 100, 60, 1.0f, 0.0f, 0.5f, 1.0f);
    Box b = bounds();
    EXPECT_EQ(b.x0, 98);
    EXPECT_EQ(b.x1, 101);
    EXPECT_EQ(b.y0, 56);
    EXPECT_EQ(b.y1, 59);
    EXPECT_EQ(drawn(), 16);

    reset();
    const uint8_t bar[8] = {1, 2, 3, 1, 0, 0, 0, 0};  // the top row of a 4 x 2 picture
    const Image h = {bar, 4, 2, 1};
    sprite_draw_rotated(&h, 100, 60, 1.0f, 90.0f, 0.5f, 0.5f);  // right turns to down
    EXPECT_EQ(screen_get(100, 58), 1);
    EXPECT_EQ(screen_get(100, 59), 2);
    EXPECT_EQ(screen_get(100, 60), 3);
    EXPECT_EQ(screen_get(100, 61), 1);
    EXPECT_EQ(drawn(), 4);
}

TEST_F(RotatedTest, NonPositiveOrNanScaleDrawsNothing) {
    solid(4, 4, 1, 2);
    sprite_draw_rotated(&img, 100, 60, 0.0f, 30.0f, 0.5f, 0.5f);
    sprite_draw_rotated(&img, 100, 60, -2.0f, 30.0f, 0.5f, 0.5f);
    sprite_draw_rotated(&img, 100, 60, std::nanf(""), 30.0f, 0.5f, 0.5f);
    sprite_draw_scaled(&img, 100, 60, std::nanf(""));
    EXPECT_EQ(drawn(), 0);
}

TEST_F(RotatedTest, ClipIsInclusiveBeforeTheOriginAndOffWhenX1BelowX0) {
    solid(10, 10, 1, 3);
    sprite_set_clip(52, 22, 54, 23);
    screen_set_offset(100, 0, -1);
    sprite_draw_rotated(&img, 50, 20, 1.0f, 0.0f, 0.0f, 0.0f);
    screen_set_offset(0, 0, -1);
    EXPECT_EQ(drawn(), 6);
    Box b = bounds();
    EXPECT_EQ(b.x0, 152);
    EXPECT_EQ(b.x1, 154);
    EXPECT_EQ(b.y0, 22);
    EXPECT_EQ(b.y1, 23);

    reset();
    sprite_set_clip(60, 0, 59, 200);
    sprite_draw_rotated(&img, 50, 20, 1.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(drawn(), 100);
}

TEST_F(RotatedTest, BreakBandsCrackAtThirtyPercentAndTheMiddle) {
    solid(4, 10, 1, 2);
    sprite_set_break_bands(1);
    sprite_draw_rotated(&img, 50, 20, 1.0f, 0.0f, 0.0f, 0.0f);
    // Row 3 in columns 0-1, row 4 in columns 2-3 (the zigzag flips every two columns).
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 10; row++) {
            bool gone = row == (col < 2 ? 3 : 4);
            EXPECT_EQ(screen_get(50 + col, 20 + row), gone ? 0 : 2) << col << "," << row;
        }

    reset();
    sprite_set_break_bands(2);
    sprite_draw_rotated(&img, 50, 20, 1.0f, 0.0f, 0.0f, 0.0f);
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 10; row++) {
            bool gone = col < 2 ? (row == 3 || row == 5) : row == 4;
            EXPECT_EQ(screen_get(50 + col, 20 + row), gone ? 0 : 2) << col << "," << row;
        }
}

TEST_F(RotatedTest, BreakBandsAreOneLogicalPixelAtDensityTwo) {
    solid(8, 20, 2, 2);
    sprite_set_break_bands(1);
    sprite_draw_rotated(&img, 50, 20, 2.0f, 0.0f, 0.0f, 0.0f);  // stored size
    for (int col = 0; col < 8; col++)
        for (int row = 0; row < 20; row++) {
            bool gone = col < 4 ? (row == 6 || row == 7) : (row == 8 || row == 9);
            EXPECT_EQ(screen_get(50 + col, 20 + row), gone ? 0 : 2) << col << "," << row;
        }
}

TEST_F(RotatedTest, CheckerDimUsesCoordinatesBeforeTheOrigin) {
    solid(6, 6, 1, 3);
    sprite_set_checker_dim(1);
    screen_set_offset(1, 0, -1);
    sprite_draw_rotated(&img, 50, 20, 1.0f, 0.0f, 0.0f, 0.0f);
    screen_set_offset(0, 0, -1);
    EXPECT_EQ(drawn(), 18);
    EXPECT_EQ(count(2), 18);  // 3 drawn one step darker
    for (int y = 20; y < 26; y++)
        for (int x = 51; x < 57; x++)
            EXPECT_EQ(screen_get(x, y), (((x - 1) ^ y) & 1) ? 0 : 2) << x << "," << y;

    reset();
    solid(2, 1, 1, 1);
    sprite_set_checker_dim(1);
    sprite_draw_rotated(&img, 50, 20, 1.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(screen_get(50, 20), 1);  // colour 1 is not darkened
}

}  // namespace
