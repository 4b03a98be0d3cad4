// The wall strips: every special face reads differently from stone and from the others, doors
// are inset between their frames, strips are outlined, the dark axis and the exit's flames.
#include <set>
#include <vector>

#include "dungeon/map.h"
#include "render/fxfield.h"
#include "render/view.h"
#include "render/view_shade.h"
#include "render_fixture.h"

namespace {

// The wall or see-through cell the drawers are told they draw.
ViewHit test_hit{};

struct WallTexTest : RenderTest {
    void SetUp() override {
        RenderTest::SetUp();
        view_in_shrine = 0;
        view_detail_look = 0;
        view_flicker = 0;
        view_horizon = 72;
        view_eye_height = 0.5f;
        for (auto& row : gmap)
            for (char& c : row) c = '.';
    }
    void TearDown() override {
        view_in_shrine = 0;
        view_detail_look = 0;
        RenderTest::TearDown();
    }
    // One whole face across the view at this depth; the picture of the view rectangle.
    static std::vector<uint8_t> face(int glyph, float depth, int axis = 0, int cell_x = 3, int cell_y = 0) {
        screen_clear();
        test_hit.x = cell_x;
        test_hit.y = cell_y;
        test_hit.face = axis ? 2 : 0;
        const ScreenRect& v = screen_layout.view;
        for (int X = v.x0; X <= v.x1; X++) {
            const float u = ((float)(X - v.x0) + 0.5f) / (float)(v.x1 - v.x0 + 1);
            draw_wall_column(test_hit, X, depth, glyph, axis, false, u, 1.0f, 0.0f);
        }
        std::vector<uint8_t> out;
        for (int y = v.y0; y <= v.y1; y++)
            for (int x = v.x0; x <= v.x1; x++) out.push_back((uint8_t)screen_get(x, y));
        return out;
    }
};

TEST_F(WallTexTest, SpecialFacesAreDistinctFromStoneAndEachOther) {
    // Cell (3, 0), face 0 carries no torch or ornament, so its stone is plain bricks.
    std::set<std::vector<uint8_t>> seen;
    for (int g : {'#', '+', '>', '&', '%', 'N', 'W', 'K', 'T', 'E'}) {
        gmap[0][3] = (char)g;
        const auto f = face(g, 1.0f);
        EXPECT_GT(drawn(), 1000) << (char)g;
        EXPECT_TRUE(seen.insert(f).second) << (char)g << " looks like another face";
    }
}

TEST_F(WallTexTest, StripsAreOutlinedAndDoorsInset) {
    test_hit.x = 3;
    test_hit.y = 0;
    test_hit.face = 0;
    const int h = 144 / 2;  // depth 2
    const int bottom = 72 + h / 2, top = bottom - h;
    draw_wall_column(test_hit, 100, 2.0f, '#', 0, true, 0.3f, 1.0f, 0.0f);
    for (int y = top; y <= bottom; y++) EXPECT_EQ(screen_get(100, y), 2) << y;
    EXPECT_EQ(screen_get(100, top - 1), 0);
    EXPECT_EQ(screen_get(100, bottom + 1), 0);
    // A door's leaf is inset by h / 16 at the top; its frame is not.
    draw_wall_column(test_hit, 110, 2.0f, '+', 0, false, 0.5f, 1.0f, 0.0f);
    draw_wall_column(test_hit, 111, 2.0f, '+', 0, false, 0.05f, 1.0f, 0.0f);
    EXPECT_EQ(screen_get(110, top + 1), 0);
    EXPECT_NE(screen_get(111, top + 1), 0);
    EXPECT_NE(screen_get(110, top + h / 16 + 1), 0);
    // Outside the view nothing is drawn.
    screen_clear();
    draw_wall_column(test_hit, screen_layout.view.x0 - 1, 1.0f, '#', 0, true, 0.5f, 1.0f, 0.0f);
    EXPECT_EQ(drawn(), 0);
}

TEST_F(WallTexTest, NorthSouthFacesAreDarker) {
    gmap[0][3] = '#';
    face('#', 3.0f, 0);
    const int lit_x = drawn();
    face('#', 3.0f, 1);
    const int lit_y = drawn();
    EXPECT_LT(lit_y, lit_x);
}

TEST_F(WallTexTest, ExitFaceBurnsWithTheFieldAndShrineFacesUseTheirPictures) {
    gmap[0][3] = 'X';
    fxfield_clear(4);
    const auto cold = face('X', 1.0f);
    for (int i = 0; i < 60; i++) fxfield_update(4, 32, 40);
    const auto burning = face('X', 1.0f);
    EXPECT_NE(cold, burning);
    fxfield_clear(4);

    // "L" and "V" are plain stone in the dungeon and pictures in the shrine.
    gmap[0][3] = 'L';
    const auto stone = face('#', 1.0f);
    EXPECT_EQ(face('L', 1.0f), stone);
    EXPECT_EQ(face('V', 1.0f), stone);
    view_in_shrine = 1;
    EXPECT_NE(face('L', 1.0f), face('V', 1.0f));
}

TEST_F(WallTexTest, TorchFacesGlow) {
    // Find a stone face that carries a torch by the decoration hash, and one that does not.
    int torch_x = -1;
    for (int x = 0; x < 64 && torch_x < 0; x++) {
        const uint32_t h = hash_mix((0u * 0xA9728941u + 0x91C35F65u) ^ ((4u * (uint32_t)x) * 0x9E3779B1u));
        if (h % 9u == 0) torch_x = x;
    }
    ASSERT_GE(torch_x, 0);
    face('#', 1.0f, 0, torch_x, 0);
    const int lit3 = count(3);
    face('#', 1.0f, 0, 3, 0);
    EXPECT_GT(lit3, count(3));  // the torch's flame
}

TEST_F(WallTexTest, LongFaceReadsTheSameFromBothSides) {
    // A run of two "E" cells along y at x = 5, seen from the west (face 0, rays moving +x: the
    // cell at y = 3 stands on the left) and from the east (face 1: the cell at y = 4 stands on
    // the left). The picture across the run must read left to right either way.
    gmap[3][5] = 'E';
    gmap[4][5] = 'E';
    view_in_shrine = 1;
    const ScreenRect& v = screen_layout.view;
    auto strip = [&](int cell_y, int face, float u_raw) {
        screen_clear();
        test_hit.x = 5;
        test_hit.y = cell_y;
        test_hit.face = face;
        draw_wall_column(test_hit, v.x0 + 40, 0.6f, 'E', 0, false, u_raw, face ? -1.0f : 1.0f, 0.0f);
        std::vector<uint8_t> out;
        for (int y = v.y0; y <= v.y1; y++) out.push_back((uint8_t)screen_get(v.x0 + 40, y));
        return out;
    };
    for (float u : {0.1f, 0.3f, 0.62f, 0.85f}) {
        EXPECT_EQ(strip(3, 0, u), strip(4, 1, 1.0f - u)) << "left cell, u " << u;
        EXPECT_EQ(strip(4, 0, u), strip(3, 1, 1.0f - u)) << "right cell, u " << u;
    }
    EXPECT_NE(strip(3, 0, 0.3f), strip(4, 0, 0.3f));
}

}  // namespace

namespace {

// Joints never thin below a pixel: each course line shows in every column, and a wall seen at a
// slant still shows its vertical joints although each column spans a wide slice of the face.
TEST_F(WallTexTest, JointsAreAtLeastAPixelWide) {
    gmap[0][3] = '#';
    test_hit = {3, 0, 0};
    const ScreenRect& v = screen_layout.view;
    const int W = v.x1 - v.x0 + 1, H = v.y1 - v.y0 + 1;
    for (float depth = 1.0f; depth < 1.97f; depth += 0.05f) {  // nearer than the first shade step
        face('#', depth);
        const float h = (float)H / depth;
        const int bottom = std::min(v.y1, view_horizon + (int)(view_eye_height * h));
        const int top = bottom - (int)h;
        for (int X = v.x0; X <= v.x1; X++) {
            const float u = ((float)(X - v.x0) + 0.5f) / (float)W;
            if (u < 0.2f || u > 0.3f) continue;  // between the vertical joints of both course kinds
            int lines = 0;
            for (int y = std::max(top + 1, v.y0); y < bottom; y++)
                if (screen_get(X, y) == 1 && screen_get(X, y - 1) != 1) lines++;
            EXPECT_GE(lines, 6) << "depth " << depth << " column " << X;  // 7 with the top row cut off
        }
    }

    // Slanted: the ray meets the face's grid line at a shallow angle.
    const float depth = 1.5f, ray_x = 0.35f, ray_y = 0.94f;
    const float column_u = 2.0f * depth / ((float)W * ray_x);
    const float h = (float)H / depth;
    const int bottom = std::min(v.y1, view_horizon + (int)(view_eye_height * h));
    const int top = bottom - (int)h;
    const int row = top + (int)(h * 0.5f / 7.0f);  // inside the first course
    ASSERT_GE(row, v.y0);
    screen_clear();
    int joints = 0, X = v.x0;
    for (float u = 0.02f; u < 0.98f && X <= v.x1; u += column_u, X++) {
        draw_wall_column(test_hit, X, depth, '#', 0, false, u, ray_x, ray_y);
        joints += screen_get(X, row) == 1;
    }
    EXPECT_GE(joints, 2);  // the joints at a third and two thirds across
}

}  // namespace
