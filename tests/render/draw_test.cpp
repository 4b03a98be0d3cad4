// Shape primitives through the draw pipeline, and the sharp-rectangle list.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>

#include "render/draw.h"
#include "render/screen.h"

namespace {

using Points = std::set<std::pair<int, int>>;

struct DrawTest : ::testing::Test {
    void SetUp() override {
        layout_set_landscape();
        screen_reset_draw_state();
        screen_clear();
        sharp_rects_clear();
    }
    void TearDown() override {
        screen_reset_draw_state();
        sharp_rects_clear();
    }
    static Points lit() {
        Points p;
        for (int y = 0; y < screen_layout.height; y++)
            for (int x = 0; x < screen_layout.width; x++)
                if (screen_test(x, y)) p.insert({x, y});
        return p;
    }
};

TEST_F(DrawTest, LineFollowsTheBresenhamWalk) {
    screen_line(10, 10, 15, 12, 3);
    EXPECT_EQ(lit(), (Points{{10, 10}, {11, 10}, {12, 11}, {13, 11}, {14, 12}, {15, 12}}));
    screen_clear();
    screen_line(40, 40, 40, 40, 2);
    EXPECT_EQ(lit(), (Points{{40, 40}}));
}

TEST_F(DrawTest, LinesInEveryOctantReachTheirEndsInConnectedSteps) {
    const int ends[8][2] = {{20, 7}, {7, 20}, {-7, 20}, {-20, 7}, {-20, -7}, {-7, -20}, {7, -20}, {20, -7}};
    for (const auto& e : ends) {
        screen_clear();
        int x1 = 60 + e[0], y1 = 60 + e[1];
        screen_line(60, 60, x1, y1, 1);
        Points p = lit();
        EXPECT_EQ((int)p.size(), std::max(std::abs(e[0]), std::abs(e[1])) + 1) << e[0] << "," << e[1];
        EXPECT_TRUE(p.count({60, 60}) && p.count({x1, y1}));
        // Exactly one pixel per step along the major axis.
        bool x_major = std::abs(e[0]) > std::abs(e[1]);
        std::set<int> majors;
        for (auto [x, y] : p) majors.insert(x_major ? x : y);
        EXPECT_EQ(majors.size(), p.size());
    }
}

TEST_F(DrawTest, RectanglesAndDegenerateSizes) {
    screen_rect(10, 10, 5, 4, 2);
    EXPECT_EQ(lit().size(), 14u);
    EXPECT_EQ(screen_get(12, 12), 0);
    screen_clear();
    screen_rect(10, 10, 1, 6, 2);
    EXPECT_EQ(lit().size(), 6u);
    screen_clear();
    screen_rect(10, 10, 6, 1, 2);
    EXPECT_EQ(lit().size(), 6u);
    screen_clear();
    screen_rect(10, 10, 0, 6, 2);
    screen_fill_rect(10, 10, 4, -1, 2);
    screen_hline(10, 10, 0, 2);
    screen_vline(10, 10, -3, 2);
    EXPECT_TRUE(lit().empty());
}

TEST_F(DrawTest, FilledRectanglePartlyOffTheFramebuffer) {
    screen_fill_rect(-3, -2, 6, 5, 1);
    EXPECT_EQ(lit().size(), 9u);  // columns 0..2, rows 0..2
    screen_clear();
    screen_fill_rect(FB_LONG - 2, FB_SHORT - 1, 10, 10, 1);
    EXPECT_EQ(lit().size(), 2u);
}

TEST_F(DrawTest, CirclesAtSmallRadii) {
    screen_circle(50, 50, -1, 3);
    screen_fill_circle(50, 50, -1, 3);
    EXPECT_TRUE(lit().empty());
    screen_circle(50, 50, 0, 3);
    EXPECT_EQ(lit(), (Points{{50, 50}}));
    screen_clear();
    screen_circle(50, 50, 1, 3);
    EXPECT_EQ(lit().size(), 8u);
    EXPECT_EQ(screen_get(50, 50), 0);
    screen_clear();
    screen_circle(50, 50, 2, 3);
    Points ring = lit();
    EXPECT_EQ(ring.size(), 12u);
    EXPECT_FALSE(ring.count({52, 52}));
    EXPECT_FALSE(ring.count({51, 51}));
    screen_clear();
    screen_fill_circle(50, 50, 0, 3);
    EXPECT_EQ(lit(), (Points{{50, 50}}));
    screen_clear();
    screen_fill_circle(50, 50, 1, 3);
    EXPECT_EQ(lit().size(), 9u);
    screen_clear();
    screen_fill_circle(50, 50, 2, 3);
    Points disc = lit();
    EXPECT_EQ(disc.size(), 21u);
    for (const auto& p : ring) EXPECT_TRUE(disc.count(p));
}

// Spans take a fast path without mask, clip or dither; an all-zero mask forces the per-pixel
// pipeline, which must give the same bytes.
TEST_F(DrawTest, SpanFastPathMatchesThePipeline) {
    static uint8_t slow[FB_BYTES];
    uint8_t zero_mask[FB_LONG] = {};
    const int spans[][4] = {{-5, 3, 20, 1}, {300, 143, 40, 2}, {0, -1, 10, 3}, {100, 50, 1, 1}, {-50, 10, 400, 2}};
    for (int override_color : {-1, 0}) {
        for (int origin : {0, -7, 9}) {
            screen_clear();
            screen_set_offset(origin, origin / 2, override_color);
            screen_set_column_mask(zero_mask);
            for (const auto& s : spans) screen_hline(s[0], s[1], s[2], s[3]);
            screen_fill_circle(20, 20, 9, 2);
            std::memcpy(slow, framebuffer, FB_BYTES);
            screen_clear();
            screen_set_column_mask(nullptr);
            for (const auto& s : spans) screen_hline(s[0], s[1], s[2], s[3]);
            screen_fill_circle(20, 20, 9, 2);
            EXPECT_EQ(std::memcmp(slow, framebuffer, FB_BYTES), 0) << override_color << " " << origin;
        }
    }
}

TEST_F(DrawTest, FillsAreDitheredInFramebufferCoordinates) {
    screen_set_offset(1, 2, -1);
    screen_set_dither(8);
    screen_fill_rect(0, 0, 8, 8, 2);
    screen_reset_draw_state();
    for (int y = 2; y < 10; y++)
        for (int x = 1; x < 9; x++) EXPECT_EQ(screen_get(x, y), BAYER4[y & 3][x & 3] >= 8 ? 2 : 0) << x << "," << y;
}

TEST_F(DrawTest, PrimitivesHonourMaskAndClip) {
    uint8_t mask[FB_LONG] = {};
    int16_t clip[FB_LONG];
    for (int16_t& c : clip) c = 5;
    mask[11] = 1;
    screen_set_column_mask(mask);
    screen_set_column_clip(clip);
    screen_fill_rect(10, 0, 3, 10, 1);
    screen_reset_draw_state();
    EXPECT_EQ(lit().size(), 10u);  // columns 10 and 12, rows 0..4
    EXPECT_EQ(screen_get(11, 0), 0);
}

TEST_F(DrawTest, SharpRectangles) {
    sharp_rect_add(10, 20, 5, 3);
    EXPECT_EQ(sharp_rect_test(10, 20), 1);
    EXPECT_EQ(sharp_rect_test(14, 22), 1);
    EXPECT_EQ(sharp_rect_test(15, 22), 0);
    EXPECT_EQ(sharp_rect_test(14, 23), 0);
    sharp_rect_add(0, 0, 0, 5);
    sharp_rect_add(0, 0, 5, -1);
    EXPECT_EQ(sharp_rects.count, 1);
    for (int i = 1; i < SHARP_RECT_MAX; i++) sharp_rect_add(100 + i, 0, 1, 1);
    EXPECT_EQ(sharp_rects.count, SHARP_RECT_MAX);
    sharp_rect_add(200, 100, 4, 4);
    EXPECT_EQ(sharp_rects.count, SHARP_RECT_MAX);
    EXPECT_EQ(sharp_rect_test(201, 101), 0);
    sharp_rects_clear();
    EXPECT_EQ(sharp_rect_test(10, 20), 0);
}

}  // namespace
