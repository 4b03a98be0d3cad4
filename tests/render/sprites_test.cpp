// The compiled-in sprite table against the sizes, densities, frame counts and tick rates the
// drawing code is laid out for, and frame selection.
#include <gtest/gtest.h>

#include <cstring>

#include "render/sprites.h"

namespace {

struct Expected {
    const char* name;
    int w, h, density;
    int frames;  // 0 for a still
    int ticks;
};

const Expected TABLE[SPRITE_COUNT] = {
    {"bat", 70, 58, 2, 30, 7},
    {"boon_blade", 10, 9, 1, 0, 0},
    {"boon_burst", 11, 9, 1, 0, 0},
    {"boon_coin", 7, 7, 1, 0, 0},
    {"boon_drop", 9, 10, 1, 0, 0},
    {"boon_flame", 8, 10, 1, 0, 0},
    {"boon_heart", 9, 8, 1, 0, 0},
    {"boon_key", 12, 6, 1, 0, 0},
    {"boon_shield", 9, 11, 1, 0, 0},
    {"boon_up", 9, 9, 1, 0, 0},
    {"camp_boon", 11, 11, 1, 0, 0},
    {"camp_forge", 11, 8, 1, 0, 0},
    {"camp_leave", 11, 7, 1, 0, 0},
    {"camp_sell", 7, 7, 1, 0, 0},
    {"camp_shop", 7, 10, 1, 0, 0},
    {"chest", 36, 34, 2, 6, 8},
    {"dragon", 158, 88, 2, 24, 15},
    {"goblin", 47, 40, 2, 30, 9},
    {"item_antidote", 14, 22, 2, 0, 0},
    {"item_battle_axe", 20, 60, 2, 0, 0},
    {"item_dagger", 20, 20, 2, 0, 0},
    {"item_enchanted_sword", 20, 60, 2, 0, 0},
    {"item_gold", 22, 16, 2, 0, 0},
    {"item_greater_potion", 20, 20, 2, 0, 0},
    {"item_iron_shield", 40, 40, 2, 0, 0},
    {"item_key", 30, 12, 2, 0, 0},
    {"item_long_sword", 20, 60, 2, 0, 0},
    {"item_potion", 14, 22, 2, 0, 0},
    {"item_shield", 30, 30, 2, 0, 0},
    {"item_short_sword", 20, 40, 2, 0, 0},
    {"item_spear", 20, 60, 2, 0, 0},
    {"item_superior_potion", 20, 20, 2, 0, 0},
    {"item_sword", 18, 38, 2, 0, 0},
    {"item_tower_shield", 40, 40, 2, 0, 0},
    {"item_venom_dagger", 20, 20, 2, 0, 0},
    {"item_wooden_shield", 40, 40, 2, 0, 0},
    {"mimic", 73, 40, 2, 26, 8},
    {"mimic_open", 73, 40, 2, 8, 6},
    {"orc", 59, 64, 2, 20, 8},
    {"rat", 73, 33, 2, 10, 6},
    {"shrine_banner", 64, 112, 1, 0, 0},
    {"shrine_bones", 64, 64, 1, 0, 0},
    {"shrine_case", 64, 64, 1, 0, 0},
    {"shrine_case_back", 64, 64, 1, 0, 0},
    {"shrine_cases", 64, 64, 1, 0, 0},
    {"shrine_door", 128, 112, 1, 0, 0},
    {"shrine_pedestal", 64, 23, 1, 0, 0},
    {"shrine_pillar", 64, 76, 1, 0, 0},
    {"shrine_skulls", 64, 32, 1, 0, 0},
    {"shrine_statue", 64, 64, 1, 0, 0},
    {"shrine_statue_fig", 64, 64, 1, 0, 0},
    {"skeleton", 48, 49, 2, 16, 10},
    {"skulls", 57, 20, 2, 10, 5},
    {"slime", 38, 36, 2, 9, 11},
    {"splash_logo", 172, 144, 1, 0, 0},
    {"splash_logo_portrait", 144, 196, 1, 0, 0},
    {"ui_attack", 9, 9, 1, 0, 0},
    {"ui_defend", 9, 9, 1, 0, 0},
    {"ui_item", 9, 9, 1, 0, 0},
    {"ui_run", 9, 9, 1, 0, 0},
    {"ui_smash", 9, 9, 1, 0, 0},
};

bool is_splash(const char* name) { return std::strncmp(name, "splash", 6) == 0; }

void check_image(const char* name, const Image& img, const Expected& e) {
    EXPECT_NE(img.pixels, nullptr) << name;
    EXPECT_EQ(img.w, e.w) << name;
    EXPECT_EQ(img.h, e.h) << name;
    EXPECT_EQ(img.density, e.density) << name;
    if (!img.pixels) return;
    const int top = is_splash(name) ? 6 : 3;
    for (int i = 0; i < img.w * img.h; i++)
        if (img.pixels[i] > top) {
            ADD_FAILURE() << name << " texel " << i << " is " << (int)img.pixels[i];
            return;
        }
}

TEST(SpriteTable, EveryRowMatchesItsSizeDensityFramesAndTicks) {
    for (int r = 0; r < SPRITE_COUNT; r++) {
        const SpriteEntry& s = SPRITES[r];
        const Expected& e = TABLE[r];
        ASSERT_STREQ(s.name, e.name);
        ASSERT_NE(s.still == nullptr, s.anim == nullptr) << s.name << ": exactly one of still/anim";
        if (e.frames == 0) {
            ASSERT_NE(s.still, nullptr) << s.name;
            check_image(s.name, *s.still, e);
        } else {
            ASSERT_NE(s.anim, nullptr) << s.name;
            EXPECT_EQ(s.anim->count, e.frames) << s.name;
            EXPECT_EQ(s.anim->ticks_per_frame, e.ticks) << s.name;
            for (int f = 0; f < s.anim->count; f++) check_image(s.name, s.anim->frames[f], e);
        }
    }
}

TEST(SpriteTable, RowsAreSortedAndFoundByExactName) {
    for (int r = 1; r < SPRITE_COUNT; r++)
        EXPECT_LT(std::strcmp(SPRITES[r - 1].name, SPRITES[r].name), 0) << SPRITES[r].name;
    for (const SpriteEntry& s : SPRITES) {
        EXPECT_LE(std::strlen(s.name), 23u) << s.name;  // the named look-up copies 23 characters
        EXPECT_EQ(sprite_find(s.name), &s);
    }
    EXPECT_EQ(sprite_find("Rat"), nullptr);
    EXPECT_EQ(sprite_find("rats"), nullptr);
    EXPECT_EQ(sprite_find(nullptr), nullptr);
}

TEST(SpriteTable, AnimationFrameFollowsTheCounterAndWrapsNonNegative) {
    static const uint8_t px[1] = {1};
    static const Image frames[3] = {{px, 1, 1, 1}, {px, 1, 1, 1}, {px, 1, 1, 1}};
    const Anim a = {frames, 3, 2};
    const int want[] = {0, 0, 1, 1, 2, 2, 0, 0};
    for (int c = 0; c < 8; c++) EXPECT_EQ(anim_frame(&a, c), &frames[want[c]]) << c;
    EXPECT_EQ(anim_frame(&a, -1), &frames[0]);  // -1 / 2 = 0
    EXPECT_EQ(anim_frame(&a, -3), &frames[2]);  // -1 mod 3 taken as 2
    const Anim broken = {frames, 3, 0};         // a zero tick rate must not divide by zero
    EXPECT_EQ(anim_frame(&broken, 5), &frames[2]);
    const Anim empty = {frames, 0, 4};
    EXPECT_EQ(anim_frame(&empty, 5), nullptr);
    EXPECT_EQ(anim_frame(nullptr, 5), nullptr);

    const SpriteEntry* rat = sprite_find("rat");
    ASSERT_NE(rat, nullptr);
    EXPECT_EQ(sprite_entry_image(rat, 6 * 3), &rat->anim->frames[3]);
    const SpriteEntry* coin = sprite_find("boon_coin");
    ASSERT_NE(coin, nullptr);
    EXPECT_EQ(sprite_entry_image(coin, 12345), coin->still);
}

}  // namespace
