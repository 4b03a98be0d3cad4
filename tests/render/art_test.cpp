// The drawn art itself: animations move and loop without a jump, the mimic's reveal ends in the
// pose its fight loop starts from, pictures fill their boxes, the logos keep their extra colours
// and the room the splash screen needs, and the window icon is a clean cut-out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/icon.h"
#include "render/sprites.h"

namespace {

const char* const MONSTERS[] = {"rat", "goblin", "skeleton", "slime", "bat", "orc", "dragon", "mimic"};

int texel_diff(const Image& a, const Image& b) {
    int n = 0;
    for (int i = 0; i < a.w * a.h; i++) n += a.pixels[i] != b.pixels[i];
    return n;
}

const SpriteEntry& row(const char* name) {
    const SpriteEntry* e = sprite_find(name);
    EXPECT_NE(e, nullptr) << name;
    static const SpriteEntry none = {"", nullptr, nullptr};
    return e ? *e : none;
}

TEST(Art, MonsterLoopsMoveAndWrapWithoutAJump) {
    for (const char* name : MONSTERS) {
        const Anim* a = row(name).anim;
        ASSERT_NE(a, nullptr) << name;
        int biggest_step = 0;
        for (int f = 1; f < a->count; f++)
            biggest_step = std::max(biggest_step, texel_diff(a->frames[f - 1], a->frames[f]));
        EXPECT_GT(biggest_step, 0) << name << " never moves";
        // the wrap from the last frame to the first is an ordinary step, not a cut
        const int wrap = texel_diff(a->frames[a->count - 1], a->frames[0]);
        EXPECT_LE(wrap, biggest_step + biggest_step / 4) << name;
    }
}

TEST(Art, ChestOpensAndTheMimicRevealEndsInItsFightPose) {
    const Anim* chest = row("chest").anim;
    ASSERT_NE(chest, nullptr);
    EXPECT_GT(texel_diff(chest->frames[0], chest->frames[chest->count - 1]), 0);
    const Anim* open = row("mimic_open").anim;
    const Anim* awake = row("mimic").anim;
    ASSERT_NE(open, nullptr);
    ASSERT_NE(awake, nullptr);
    // the reveal starts from a shut chest and hands over to the fight loop without a jump
    EXPECT_GT(texel_diff(open->frames[0], open->frames[open->count - 1]), 0);
    EXPECT_EQ(texel_diff(open->frames[open->count - 1], awake->frames[0]), 0);
}

// A picture uses its stored box: over all frames its opaque texels reach across at least
// 70 % of the width or of the height, so that drawn scales match the sizes the table promises.
TEST(Art, PicturesFillTheirBoxes) {
    for (const SpriteEntry& e : SPRITES) {
        const int count = e.anim ? e.anim->count : 1;
        const Image& first = e.still ? *e.still : e.anim->frames[0];
        int x0 = first.w, x1 = -1, y0 = first.h, y1 = -1;
        for (int f = 0; f < count; f++) {
            const Image& img = e.still ? *e.still : e.anim->frames[f];
            for (int y = 0; y < img.h; y++)
                for (int x = 0; x < img.w; x++)
                    if (img.pixels[y * img.w + x]) {
                        x0 = std::min(x0, x), x1 = std::max(x1, x);
                        y0 = std::min(y0, y), y1 = std::max(y1, y);
                    }
        }
        ASSERT_GE(x1, 0) << e.name << " is empty";
        const bool wide = (x1 - x0 + 1) * 10 >= first.w * 7, tall = (y1 - y0 + 1) * 10 >= first.h * 7;
        EXPECT_TRUE(wide || tall) << e.name;
    }
}

TEST(Art, LogosUseTheExtraColoursAndLeaveRoomForThePrompt) {
    for (const char* name : {"splash_logo", "splash_logo_portrait"}) {
        const Image* img = row(name).still;
        ASSERT_NE(img, nullptr) << name;
        bool used[8] = {};
        for (int i = 0; i < img->w * img->h; i++) used[img->pixels[i] & 7] = true;
        EXPECT_TRUE(used[4] && used[5] && used[6]) << name;
    }
    // the portrait splash prints its prompt over the bottom rows (y1 - 9 .. y1 - 2)
    const Image* portrait = row("splash_logo_portrait").still;
    ASSERT_NE(portrait, nullptr);
    for (int y = portrait->h - 10; y < portrait->h; y++)
        for (int x = 0; x < portrait->w; x++)
            ASSERT_EQ(portrait->pixels[y * portrait->w + x], 0) << x << "," << y;
}

TEST(Art, WindowIconIsAnOpaqueCrestWithClearCorners) {
    const uint8_t* px = icon_pixels();
    ASSERT_NE(px, nullptr);
    auto alpha = [&](int x, int y) { return px[(y * ICON_SIZE + x) * 4 + 3]; };
    int opaque = 0;
    for (int y = 0; y < ICON_SIZE; y++)
        for (int x = 0; x < ICON_SIZE; x++) {
            const int a = alpha(x, y);
            EXPECT_TRUE(a == 0 || a == 255) << x << "," << y;  // a clean cut-out, no half-alpha fringe
            opaque += a == 255;
        }
    EXPECT_EQ(alpha(0, ICON_SIZE - 1), 0);  // the shield's point leaves the bottom corners clear
    EXPECT_EQ(alpha(ICON_SIZE - 1, ICON_SIZE - 1), 0);
    EXPECT_EQ(alpha(ICON_SIZE / 2, ICON_SIZE / 2), 255);
    EXPECT_GT(opaque, ICON_SIZE * ICON_SIZE / 2);
    // transparent pixels carry no colour
    for (int i = 0; i < ICON_SIZE * ICON_SIZE; i++) {
        if (px[i * 4 + 3] == 0) {
            ASSERT_EQ(px[i * 4] | px[i * 4 + 1] | px[i * 4 + 2], 0);
        }
    }
}

}  // namespace

namespace {

// The brazier drum's windows sit clear of the box's rims: the front reads the same mirrored, so
// no window is cut at either end.
TEST(Art, BrazierFrontIsSymmetric) {
    const Image* p = sprite_entry_image(sprite_find("shrine_pedestal"), 0);
    ASSERT_NE(p, nullptr);
    for (int y = 0; y < p->h; y++)
        for (int x = 0; x < p->w / 2; x++)
            ASSERT_EQ(p->pixels[(size_t)y * p->w + x], p->pixels[(size_t)y * p->w + (p->w - 1 - x)]) << x << "," << y;
}

}  // namespace
