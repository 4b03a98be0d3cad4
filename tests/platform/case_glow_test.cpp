// Spotlight distances and hint-outline bars around a case button.
#include <gtest/gtest.h>

#include "platform/case_layers.h"

TEST(CaseGlow, ProximityGrowsWithDistanceAndSaturatesAt24) {
    CaseRect r = {100, 50, 10, 20};  // columns 100..109, rows 50..69
    EXPECT_EQ(rect_proximity(100, 50, r), 0);
    EXPECT_EQ(rect_proximity(109, 69, r), 0);
    EXPECT_EQ(rect_proximity(110, 60, r), 6);   // 1 to the right: 150 / 24 + 0.5
    EXPECT_EQ(rect_proximity(99, 60, r), 6);    // 1 to the left
    EXPECT_EQ(rect_proximity(112, 73, r), 31);  // 3 and 4 away: distance 5
    EXPECT_EQ(rect_proximity(132, 60, r), 144);
    EXPECT_EQ(rect_proximity(133, 60, r), 150);
    EXPECT_EQ(rect_proximity(126, 86, r), 150);  // 17 and 17: over 24 diagonally
    EXPECT_EQ(glow_rect(r).x, 91);
    EXPECT_EQ(glow_rect(r).h, 38);
}

TEST(CaseGlow, OutlineBarsSurroundTheButton) {
    CaseRect bars[4];
    case_outline_rect({10, 20, 58, 58}, bars);
    EXPECT_EQ(bars[0].x, 7);
    EXPECT_EQ(bars[0].y, 14);
    EXPECT_EQ(bars[0].w, 64);
    EXPECT_EQ(bars[0].h, 3);
    EXPECT_EQ(bars[1].y, 81);
    EXPECT_EQ(bars[2].x, 4);
    EXPECT_EQ(bars[2].h, 64);
    EXPECT_EQ(bars[3].x, 71);
}
