// Effect fields: set-up, rates, levels, the ramp, stepping and sampling edges.
#include "render/fxfield.h"

#include <cstring>

#include "render_fixture.h"

namespace {

struct FxFieldTest : RenderTest {
    void SetUp() override {
        RenderTest::SetUp();
        for (int s = 0; s < FXFIELD_COUNT; s++) fxfield_clear(s);
    }
};

TEST_F(FxFieldTest, RatesLevelsAndSlot0) {
    fxfield_set_rate(4, 50);
    EXPECT_EQ(fxfields[4].layers[0].decay, 50);
    fxfield_set_rate(2, 50);
    EXPECT_EQ(fxfields[2].layers[0].decay, 62);
    EXPECT_EQ(fxfields[2].layers[1].decay, 50);
    fxfield_set_level(3, 1.7f);
    EXPECT_FLOAT_EQ(fxfields[3].layers[1].level, 1.0f);
    fxfield_set_slot0(1.0f);
    EXPECT_FLOAT_EQ(fxfields[0].layers[0].level, 0.9f);
    EXPECT_EQ(fxfields[0].layers[2].decay, 52);
    EXPECT_EQ(fxfields[2].zigzag, 1);
    EXPECT_EQ(fxfields[1].zigzag, 0);
}

TEST_F(FxFieldTest, TooNarrowOnlyStoresTheSize) {
    fxfield_set_level(4, 1.0f);
    fxfield_update(4, 2, 40);
    EXPECT_EQ(fxfields[4].width, 2);
    EXPECT_FALSE(fxfield_active(4));
    fxfield_update(4, 32, 40);
    EXPECT_TRUE(fxfield_active(4));
    // A new width clears the grids.
    fxfield_set_level(4, 0.0f);
    fxfield_update(4, 30, 40);
    EXPECT_FALSE(fxfield_active(4));
    EXPECT_EQ(fxfield_update(99, 10, 10), 0);
}

TEST_F(FxFieldTest, FullHeatIsColourThreeAndEdgesSampleZero) {
    fxfield_set_level(4, 1.0f);
    for (int i = 0; i < 60; i++) fxfield_update(4, 32, 40);
    EXPECT_EQ(fxfield_sample(4, 0.5f, 0.999f), 3);
    EXPECT_EQ(fxfield_sample(4, 1.0f, 0.5f), 0);
    EXPECT_EQ(fxfield_sample(4, 0.5f, 1.0f), 0);
    EXPECT_EQ(fxfield_sample(4, -0.1f, 0.5f), 0);
    // A draw height larger than the grid reads no row outside it.
    fxfield_update(6, 32, 48);
    fxfield_update(6, 32, 400);
    EXPECT_EQ(fxfield_sample(6, 0.5f, 0.01f), 0);
}

TEST_F(FxFieldTest, GustFramesCountDown) {
    fxfield_set_params(2, 10, 5, 0, 0, 4, 2);
    EXPECT_EQ(fxfields[2].gust_rx, 1);
    EXPECT_EQ(fxfield_update(2, 40, 30), 1);
    EXPECT_EQ(fxfield_update(2, 40, 30), 0);
    EXPECT_EQ(fxfield_update(2, 40, 30), 0);
}

TEST_F(FxFieldTest, ProfileCopiesAtMostTheStride) {
    uint8_t big[1000];
    for (int i = 0; i < 1000; i++) big[i] = 7;
    fxfield_set_profile(4, big, 1000);
    EXPECT_EQ(fxfields[4].profile[31], 7);
    EXPECT_EQ(fxfields[4].profile_on, 1);
    fxfield_set_profile(4, nullptr, 20);
    EXPECT_EQ(fxfields[4].profile_on, 0);
    EXPECT_EQ(fxfields[4].profile[0], 0);
}

TEST_F(FxFieldTest, RampPeaksAtTheEnds) {
    fxfield_update(1, 10, 12);
    fxfield_set_ramp(1, 20, 10, 5, 40);
    const FxField& f = fxfields[1];
    EXPECT_EQ(f.width, 40);
    EXPECT_EQ(f.profile[0], 36);
    EXPECT_EQ(f.profile[5], 20);
    EXPECT_EQ(f.profile[15], 5);
    EXPECT_EQ(f.profile[39], 4);
    EXPECT_EQ(f.profile[40], 0);
    fxfield_set_ramp(1, 20, 0, 5, 40);  // refused
    EXPECT_EQ(f.width, 40);
    fxfield_set_ramp(5, 8, 4, 10, 30);
    EXPECT_EQ(fxfields[5].width, 16);
}

TEST_F(FxFieldTest, DrawsStayInTheirRectangles) {
    fxfield_set_level(2, 1.0f);
    for (int i = 0; i < 80; i++) fxfield_update(2, 60, 40);
    fxfield_draw(2, 20, 30);
    Box b = bounds();
    EXPECT_GE(b.x0, 20);
    EXPECT_LE(b.x1, 79);
    EXPECT_GE(b.y0, 30);
    EXPECT_LE(b.y1, 69);
    EXPECT_GT(drawn(), 0);
    screen_clear();
    fxfield_draw_columns(2, 100, 100, 0.05f);
    EXPECT_EQ(drawn(), 0);
    fxfield_draw_columns(2, 100, 100, 0.5f);
    b = bounds();
    EXPECT_LE(b.y1, 99);
    EXPECT_GE(b.x0, 85);
}

TEST_F(FxFieldTest, GustHitsTheRowsWhereALiftedLayerIsDrawn) {
    // Slot 0's first layer is drawn raised by 14 % of the height; the third is not raised. A
    // strong gust three rows high, across every column, must burn the rows each layer shows
    // there: grid row r of the first layer is drawn at r - 17 (height 128), of the third at r.
    FxField& f = fxfields[0];
    const FxField saved = f;
    FxLayer saved_layers[3];
    for (int k = 0; k < 3; k++) saved_layers[k] = f.layers[k];
    fxfield_update(0, 64, 128);
    for (int k = 0; k < 3; k++) {
        FxLayer& L = f.layers[k];
        L.decay = 0;
        L.level = 1.0f;
        std::memset(L.offsets, 0, (size_t)f.stride);
        std::memset(L.grid, FXFIELD_HOT, (size_t)f.rows * f.stride);
    }
    fxfield_set_params(0, 0, 40, 1000, 2, 1000, 1);
    fxfield_update(0, 64, 128);
    auto zeros = [&](int k, int row) {
        int n = 0;
        for (int c = 0; c < 64; c++) n += f.layers[k].grid[row * f.stride + c] == 0;
        return n;
    };
    EXPECT_GT(zeros(0, 57), 32);
    EXPECT_EQ(zeros(0, 40), 0);
    EXPECT_GT(zeros(2, 40), 32);
    EXPECT_EQ(zeros(2, 57), 0);
    fxfield_clear(0);
    for (int k = 0; k < 3; k++) {
        std::memset(f.layers[k].offsets, 0, (size_t)f.stride);
        f.layers[k].decay = saved_layers[k].decay;
        f.layers[k].level = saved_layers[k].level;
    }
    f.width = saved.width;
    f.height = saved.height;
}

}  // namespace
