// Light by distance, texture sampling, bricks, decal places, the vignette and the cell hash.
#include "render/view_shade.h"

#include "render/view.h"
#include "render_fixture.h"
#include "saves/settings.h"

namespace {

// The wall or see-through cell the drawers are told they draw.
ViewHit test_hit{};

struct ViewShadeTest : RenderTest {
    void TearDown() override {
        view_flicker = 0;
        view_in_shrine = 0;
        view_detail_look = 0;
        RenderTest::TearDown();
    }
};

TEST_F(ViewShadeTest, CellHashIsUnsignedAndStable) {
    EXPECT_EQ(cell_hash(0, 0), 0u);
    // (1 * 0x9E3779B1) -> xor-shift-multiply-xor-shift by hand.
    uint32_t h = 0x9E3779B1u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    EXPECT_EQ(cell_hash(1, 0), h);
    EXPECT_EQ(cell_hash(-1, -1), hash_mix(((uint32_t)-1 * 0x9E3779B1u) ^ ((uint32_t)-1 * 0x85EBCA77u)));
    EXPECT_NE(cell_hash(3, 4), cell_hash(4, 3));
}

TEST_F(ViewShadeTest, DistanceShadeInTheDungeonAndShrine) {
    view_flicker = 1;
    EXPECT_EQ(distance_shade_level(1.9f, 0), 0);
    EXPECT_EQ(distance_shade_level(2.0f, 0), 4);
    EXPECT_EQ(distance_shade_level(8.0f, 1), 12);
    view_flicker = 0;
    EXPECT_EQ(distance_shade_level(2.0f, 0), 3);
    EXPECT_EQ(distance_shade_level(1.0f, 1), 3);
    view_flicker = -1;
    EXPECT_EQ(distance_shade_level(6.0f, 0), 8);
    view_in_shrine = 1;
    view_flicker = 1;
    EXPECT_EQ(distance_shade_level(4.9f, 1), 0);
    EXPECT_EQ(distance_shade_level(5.0f, 1), 5);
    EXPECT_EQ(distance_shade_level(9.0f, 0), 6);
}

TEST_F(ViewShadeTest, SampleTextureClampsToTheLastColumn) {
    static const uint8_t px[6] = {1, 2, 3, 0, 1, 2};
    const Image im = {px, 3, 2, 1};
    EXPECT_EQ(sample_texture(&im, 1.0f, 0.0f), 3);
    EXPECT_EQ(sample_texture(&im, 1.0f, 1.0f), 2);
    EXPECT_EQ(sample_texture(&im, -0.5f, 0.6f), 0);
    EXPECT_EQ(sample_texture(nullptr, 0.5f, 0.5f), 0);
}

TEST_F(ViewShadeTest, BricksInBothLooks) {
    view_detail_look = 0;
    EXPECT_EQ(brick_pattern_at(test_hit, 0.001f, 0.07f, 0.01f, 0.01f), 1);  // a joint of an even course
    EXPECT_EQ(brick_pattern_at(test_hit, 0.17f, 0.07f, 0.01f, 0.01f), 0);
    EXPECT_EQ(brick_pattern_at(test_hit, 0.17f, 1.0f / 7.0f + 0.001f, 0.01f, 0.01f), 1);  // course line
    EXPECT_EQ(brick_pattern_at(test_hit, 0.17f, 0.2f, 0.01f, 0.01f), 1);  // odd course shifted by half
    view_detail_look = 1;
    test_hit.x = 3;
    test_hit.y = 5;
    test_hit.face = 2;
    EXPECT_EQ(brick_pattern_at(test_hit, 0.5f, 0.0f, 0.02f, 0.02f), 1);  // the top course line
    int mortar = 0, cracks = 0, stone = 0;
    for (int i = 0; i < 100; i++)
        for (int j = 0; j < 100; j++) {
            const int c = brick_pattern_at(test_hit, i / 100.0f, j / 100.0f, 0.02f, 0.02f);
            mortar += c == 1;
            cracks += c == 2;
            stone += c == 0;
        }
    EXPECT_GT(stone, mortar);
    EXPECT_GT(mortar, 0);
    (void)cracks;
}

TEST_F(ViewShadeTest, DecalAtlasRows) {
    DecalRect r;
    ASSERT_TRUE(decal_atlas_rect('K', 0, 0, &r));
    EXPECT_FLOAT_EQ(r.u, 32.0f / 64.0f);
    EXPECT_FLOAT_EQ(r.v, 1.0f - 13.5f / 64.0f);
    EXPECT_FLOAT_EQ(r.w, 48.0f / 64.0f);
    EXPECT_FLOAT_EQ(r.offset, 0.16f);
    EXPECT_FALSE(decal_atlas_rect('K', 0, 3, &r));
    ASSERT_TRUE(decal_atlas_rect('K', 5, 3, &r));  // any variant above 0 is variant 1
    EXPECT_FLOAT_EQ(r.u, 32.0f / 64.0f);
    ASSERT_TRUE(decal_atlas_rect('L', 0, 11, &r));
    EXPECT_FLOAT_EQ(r.u, (3 * 15 + 9.5f) / 64.0f);
    EXPECT_FLOAT_EQ(r.v, 1.0f - (2 * 20 + 11.5f) / 64.0f);
    EXPECT_FALSE(decal_atlas_rect('L', 0, 12, &r));
    ASSERT_TRUE(decal_atlas_rect('V', 0, 0, &r));
    EXPECT_FLOAT_EQ(r.h, 0.609375f);
    EXPECT_FALSE(decal_atlas_rect('#', 0, 0, &r));
}

TEST_F(ViewShadeTest, DecalBands) {
    EXPECT_EQ(wall_decal_texel(10, 0), -1);
    EXPECT_EQ(wall_decal_texel(10, 21), -1);
    EXPECT_EQ(wall_decal_texel(1, 10), -1);
    EXPECT_EQ(wall_decal_texel(16, 10), -1);  // the gap between compartments
    EXPECT_GE(wall_decal_texel(9, 12), 0);
}

TEST_F(ViewShadeTest, VignetteDarkensOnlyLitPixelsAndNeverBelowZero) {
    const uint8_t saved = settings.vignette;
    settings.vignette = 1;
    fill(1);
    const ScreenRect v = screen_layout.view;
    screen_pixel(v.x0, v.y0, 0);
    vignette_build();
    EXPECT_EQ(screen_get(v.x0, v.y0), 0);
    EXPECT_EQ(screen_get(v.x0 + 1, v.y0), 0);  // a corner loses its light
    EXPECT_EQ(screen_get((v.x0 + v.x1) / 2, (v.y0 + v.y1) / 2), 1);  // the centre keeps it
    fill(3);
    vignette_build();
    EXPECT_EQ(screen_get(v.x0, v.y0), 1);  // two steps at most
    settings.vignette = saved;
}

TEST_F(ViewShadeTest, FloorRowKeys) {
    FloorRecord rec[FB_LONG];
    const ScreenRect v = screen_layout.view;
    cast_floor_rows(rec, 100, false, 2.0f, 5.5f, 5.5f, 1.0f, 0.0f, 0.0f, 0.66f);
    const int mid = (v.x1 - v.x0) / 2;
    EXPECT_NEAR(rec[mid].x, 7.5f, 0.01f);
    EXPECT_EQ(rec[mid].key, (7 << 16) | 5);
    cast_floor_rows(rec, 100, true, 2.0f, 5.5f, 5.5f, 1.0f, 0.0f, 0.0f, 0.66f);
    EXPECT_EQ((uint32_t)rec[mid].key, cell_hash(7, 5));
    view_detail_look = 1;
    cast_floor_rows(rec, 100, true, 2.0f, 5.5f, 5.5f, 1.0f, 0.0f, 0.0f, 0.66f);
    EXPECT_EQ((uint32_t)rec[mid].key >> 2, cell_hash(7, 5) & 0x3FFFFFFFu);
    EXPECT_LE((uint32_t)rec[mid].key & 3u, 2u);
}

TEST_F(ViewShadeTest, WallStripIsOutlinedAndDarkerOnTheDarkAxis) {
    view_horizon = (screen_layout.view.y0 + screen_layout.view.y1) / 2;
    draw_wall_column(test_hit, 100, 1.0f, '#', 0, false, 0.3f, 1, 0);
    const Box b = bounds();
    EXPECT_EQ(b.x0, 100);
    EXPECT_EQ(screen_get(100, b.y0), 2);
    EXPECT_EQ(screen_get(100, b.y1), 2);
    draw_wall_column(test_hit, 102, 1.0f, '#', 0, true, 0.3f, 1, 0);
    int lit = 0;
    for (int y = b.y0; y <= b.y1; y++) lit += screen_get(102, y) == 2;
    EXPECT_EQ(lit, b.y1 - b.y0 + 1);
}

}  // namespace
