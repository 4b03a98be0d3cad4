// Monster and item picture look-ups, the code-drawn figures and the fight marks.
#include "render/pictures.h"

#include <algorithm>
#include <vector>

#include "dungeon/monsters.h"
#include "render_fixture.h"
#include "saves/settings.h"

namespace {

struct PicturesTest : RenderTest {
    void SetUp() override {
        RenderTest::SetUp();
        saved_art = settings.monster_art;
        frame_counter = 0;
    }
    void TearDown() override {
        settings.monster_art = saved_art;
        frame_counter = 0;
        RenderTest::TearDown();
    }
    int32_t saved_art = 0;
};

TEST_F(PicturesTest, LookUpsCoverOnlyKnownKindsAndIds) {
    settings.monster_art = 0;
    for (int k = 1; k < M_COUNT; k++) EXPECT_NE(monster_sprite(k), nullptr) << k;
    EXPECT_EQ(monster_sprite(0), nullptr);
    EXPECT_EQ(monster_sprite(M_COUNT), nullptr);
    EXPECT_EQ(monster_sprite(-3), nullptr);
    for (int id = 1; id <= 14; id++) EXPECT_NE(item_sprite(id), nullptr) << id;
    EXPECT_EQ(item_sprite(0), nullptr);
    EXPECT_EQ(item_sprite(15), nullptr);
    // The goblin is the "goblin" row, on the frame the counter selects.
    const SpriteEntry* row = sprite_find("goblin");
    ASSERT_TRUE(row && row->anim);
    frame_counter = row->anim->ticks_per_frame * 3;
    EXPECT_EQ(monster_sprite(M_GOBLIN), &row->anim->frames[3 % row->anim->count]);
}

TEST_F(PicturesTest, CodeOptionHidesEveryMonsterPicture) {
    settings.monster_art = 1;
    for (int k = 1; k < M_COUNT; k++) EXPECT_EQ(monster_sprite(k), nullptr) << k;
    // Items keep their pictures.
    EXPECT_NE(item_sprite(1), nullptr);
}

TEST_F(PicturesTest, ExtentsMatchABruteForceCount) {
    const SpriteEntry* row = sprite_find("orc");
    ASSERT_TRUE(row && row->anim);
    // Every frame's own count, then the middle of the sorted list.
    std::vector<int> bottoms, tops;
    for (int i = 0; i < row->anim->count && i < 64; i++) {
        const Image& im = row->anim->frames[i];
        auto blank = [&](int r) {
            for (int c = 0; c < im.w; c++)
                if (im.pixels[r * im.w + c]) return false;
            return true;
        };
        int b = 0, t = 0;
        while (b < im.h && blank(im.h - 1 - b)) b++;
        while (t < im.h && blank(t)) t++;
        bottoms.push_back(b);
        tops.push_back(t);
    }
    std::sort(bottoms.begin(), bottoms.end());
    std::sort(tops.begin(), tops.end());
    int32_t b = -1, t = -1;
    monster_sprite_extents(M_ORC, &b, &t);
    EXPECT_EQ(b, bottoms[bottoms.size() / 2]);
    EXPECT_EQ(t, tops[tops.size() / 2]);
    b = t = 7;
    monster_sprite_extents(0, &b, &t);
    EXPECT_EQ(b + t, 0);
    monster_sprite_extents(99, &b, &t);
    EXPECT_EQ(b + t, 0);
}

TEST_F(PicturesTest, PrimitiveFiguresHaveTheirSizes) {
    settings.monster_art = 1;
    struct Want {
        int kind, x0, y0, x1, y1;
    };
    // Bounds relative to the anchor, bob frame 0.
    const Want wants[] = {
        {M_GOBLIN, 0, -8, 28, 12},   {M_RAT, -13, -2, 33, 15},   {M_SKELETON, -3, -10, 26, 19},
        {M_DRAGON, -10, -10, 37, 18}, {M_SLIME, -1, -2, 31, 22},  {M_ORC, -2, -24, 41, 19},
        {M_MIMIC, -2, -10, 32, 19},
    };
    for (const Want& w : wants) {
        screen_clear();
        draw_monster_primitive(w.kind, 120, 70);
        const Box b = bounds();
        EXPECT_EQ(b.x0 - 120, w.x0) << w.kind;
        EXPECT_EQ(b.y0 - 70, w.y0) << w.kind;
        EXPECT_EQ(b.x1 - 120, w.x1) << w.kind;
        EXPECT_EQ(b.y1 - 70, w.y1) << w.kind;
    }
    // The bat's wings rise on bob frame 1.
    screen_clear();
    draw_monster_primitive(M_BAT, 120, 70);
    const Box low = bounds();
    screen_clear();
    frame_counter = 6;
    draw_monster_primitive(M_BAT, 120, 70);
    const Box high = bounds();
    EXPECT_LT(high.y0, low.y0);
}

TEST_F(PicturesTest, CriticalPopupFallsBackToSizeOne) {
    // "-12!" is 4 characters: 46 pixels at size 2, 23 at size 1.
    fill(3);
    draw_damage_popup(50, 50, 1, 12, 40, 46, false);
    Box b = bounds(3);
    EXPECT_EQ(b.x1 - b.x0 + 1, 46 + 4);
    EXPECT_EQ(b.y1 - b.y0 + 1, 14 + 4);
    fill(3);
    draw_damage_popup(50, 50, 1, 12, 40, 45, false);
    b = bounds(3);
    EXPECT_EQ(b.x1 - b.x0 + 1, 23 + 4);
    EXPECT_EQ(b.y1 - b.y0 + 1, 7 + 4);
    // An inverted popup's box is colour 2, dimmed to 1 late in its life.
    screen_clear();
    draw_damage_popup(50, 50, 0, 3, 40, 100, true);
    EXPECT_EQ(screen_get(49, 49), 2);
    draw_damage_popup(50, 50, 0, 3, 10, 100, true);
    EXPECT_EQ(screen_get(49, 49), 1);
}

TEST_F(PicturesTest, AttackTrailGrowsAndEnds) {
    draw_attack_trail(10, 50, 110, 50, 100, 100, 3);
    EXPECT_EQ(drawn(), 0);
    draw_attack_trail(10, 50, 10, 50, 0, 100, 3);
    EXPECT_EQ(drawn(), 0);
    // At age 10 half of the line is drawn: a core of 3 between two dark pixels.
    draw_attack_trail(10, 50, 110, 50, 10, 100, 3);
    const Box b = bounds();
    EXPECT_EQ(b.x0, 10);
    EXPECT_EQ(b.x1, 60);
    EXPECT_EQ(count(3), 51 * 3);
}

TEST_F(PicturesTest, CrownMark) {
    draw_crown_mark(10, 10);
    EXPECT_EQ(count(3), 3 + 5 + 14);
    EXPECT_EQ(screen_get(11, 10), 0);
    EXPECT_EQ(screen_get(11, 11), 3);
}

}  // namespace
