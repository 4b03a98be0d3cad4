// The object drawers: the held-item pose cache, floor objects and their pictures, monsters, the
// mimic and the shrine's see-through boxes with their clip records and soul-fire niches.
#include <cstring>

#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "world/player.h"
#include "items/floor_items.h"
#include "items/item.h"
#include "render/blit.h"
#include "render/objects.h"
#include "render/pictures.h"
#include "render/view.h"
#include "render/view_frame.h"
#include "render_fixture.h"
#include "saves/settings.h"

namespace {

// The wall or see-through cell the drawers are told they draw.
ViewHit test_hit{};

struct ObjectsTest : RenderTest {
    void SetUp() override {
        RenderTest::SetUp();
        frame_counter = 0;
        floor_items_clear();
        monsters_clear();
        view_in_shrine = 0;
        view_eye_height = 0.5f;
        view_horizon = 72;
        test_hit.face = 0;
    }
    static std::vector<uint8_t> snapshot() { return std::vector<uint8_t>(framebuffer, framebuffer + FB_BYTES); }
};

TEST_F(ObjectsTest, RotatedCacheRendersOncePerKeyAndLeavesFrameAndStateAlone) {
    for (int i = 0; i < FB_BYTES; i++) framebuffer[i] = (uint8_t)(i % 3 + 1);
    const auto before = snapshot();
    static uint8_t mask[FB_LONG];
    screen_set_offset(5, -3, 3);
    screen_set_column_mask(mask);
    screen_set_dither(7);
    sprite_set_checker_dim(1);
    const Image* sword = item_sprite(ITEM_LONG_SWORD);
    ASSERT_NE(sword, nullptr);
    rot_sprite_cache[0].valid = 0;
    const int32_t start = rot_sprite_renders;
    const RotSprite* a = cached_rotated_sprite(0, sword, 2.9f, 35.0f, 0.86f, 0);
    const RotSprite* b = cached_rotated_sprite(0, sword, 2.9f, 35.0f, 0.86f, 0);
    EXPECT_EQ(a, b);
    EXPECT_EQ(rot_sprite_renders, start + 1);
    cached_rotated_sprite(0, sword, 2.9f, 35.0f, 0.86f, 1);
    EXPECT_EQ(rot_sprite_renders, start + 2);
    cached_rotated_sprite(0, sword, 2.9f, 36.0f, 0.86f, 1);
    EXPECT_EQ(rot_sprite_renders, start + 3);

    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(draw_origin_x, 5);
    EXPECT_EQ(draw_origin_y, -3);
    EXPECT_EQ(draw_color_override, 3);
    EXPECT_EQ(draw_column_mask, mask);
    EXPECT_EQ(draw_dither_level, 7);
    EXPECT_EQ(sprite_clip.checker_dim, 1);
    EXPECT_EQ(sprite_clip.x1, -1);

    // The leftover colour override and dither were not baked into the picture.
    const RotSprite* c = cached_rotated_sprite(0, sword, 2.9f, 35.0f, 0.86f, 0);
    int shades[256] = {};
    for (int i = 0; i < ROT_SIDE * ROT_SIDE; i++) shades[c->pixels[i]]++;
    EXPECT_GT(shades[255], 0);
    EXPECT_GT(shades[1] + shades[2], 0);
    EXPECT_GT(shades[2] + shades[3] + shades[1], 200);
    EXPECT_EQ(c->anchor_x, 56);
    EXPECT_EQ(c->anchor_y, 56);
}

TEST_F(ObjectsTest, OutlinedBlitStaysInsideTheView) {
    const RotSprite* s = cached_rotated_sprite(1, item_sprite(ITEM_IRON_SHIELD), 3.0f, 8.0f, 0.5f, 0);
    fill(1);
    blit_outlined(s, screen_layout.view.x0, screen_layout.view.y1);
    for (int y = 0; y < screen_layout.height; y++)
        for (int x = 0; x < screen_layout.width; x++)
            if (x < screen_layout.view.x0 || x > screen_layout.view.x1) {
                ASSERT_EQ(screen_get(x, y), 1);
            }
    EXPECT_GT(count(0), 0);  // the outline
}

TEST_F(ObjectsTest, ItemLetterPictures) {
    for (char c : std::string("agkpswb")) EXPECT_NE(item_sprite_for_glyph(c), nullptr) << c;
    EXPECT_EQ(item_sprite_for_glyph('x'), nullptr);
    EXPECT_EQ(item_sprite_for_glyph('C'), nullptr);
    const Image* first = item_sprite_for_glyph('b');
    frame_counter = 1234;
    EXPECT_EQ(item_sprite_for_glyph('b'), first);
    EXPECT_EQ(first, &sprite_find("skulls")->anim->frames[0]);
}

TEST_F(ObjectsTest, AnchorIsZeroOutsideTheKindsAndSmallInside) {
    EXPECT_EQ(sprite_anchor_x(0), 0);
    EXPECT_EQ(sprite_anchor_x(M_COUNT), 0);
    for (int k = 1; k < M_COUNT; k++) {
        const Image* im = monster_sprite(k);
        ASSERT_NE(im, nullptr);
        EXPECT_LT(std::abs(sprite_anchor_x(k)) * 4, im->w / 2) << k;  // mass near the middle
    }
}

// Draws `glyph` at depth and returns the frame; a second draw of the expected picture must match.
TEST_F(ObjectsTest, FloorObjectPictures) {
    const ViewObject at1 = {150, 100, 1.0f};
    draw_floor_object('s', at1, 3, 3);  // no floor item on that cell
    const auto shield = snapshot();
    screen_clear();
    sprite_draw_at_scale(item_sprite_for_glyph('s'), 150, 100, 2.0f);
    EXPECT_EQ(snapshot(), shield);

    // A dagger lying under a "w" shows the dagger, not the letter's sword.
    screen_clear();
    floor_item_add_new(4, 5, item_make(ITEM_DAGGER));
    draw_floor_object('w', at1, 4, 5);
    const auto dagger = snapshot();
    screen_clear();
    sprite_draw_at_scale(item_sprite(ITEM_DAGGER), 150, 100, 2.0f);
    EXPECT_EQ(snapshot(), dagger);

    // Near objects stop growing at 2.5.
    screen_clear();
    draw_floor_object('g', {150, 100, 0.2f}, 0, 0);
    const auto near = snapshot();
    screen_clear();
    sprite_draw_at_scale(item_sprite_for_glyph('g'), 150, 100, 2.5f);
    EXPECT_EQ(snapshot(), near);

    // An opened chest whose opening time is unknown shows the last frame, 2.5 times larger.
    screen_clear();
    draw_floor_object('c', at1, 7, 7);
    const auto open = snapshot();
    screen_clear();
    const Anim* chest = sprite_find("chest")->anim;
    sprite_draw_at_scale(&chest->frames[chest->count - 1], 150, 100, 5.0f);
    EXPECT_EQ(snapshot(), open);

    screen_clear();
    draw_floor_object('z', at1, 0, 0);
    EXPECT_EQ(drawn(), 0);
}

TEST_F(ObjectsTest, HiddenMimicIsAClosedChest) {
    ASSERT_TRUE(monster_add(M_MIMIC, 2, 2));
    draw_mimic({150, 110, 1.5f}, 0, 2, 2);
    const auto mimic = snapshot();
    screen_clear();
    draw_floor_object('C', {150, 110, 1.5f}, 2, 2);
    EXPECT_EQ(snapshot(), mimic);
    monsters.list[0].kind_state = 2;  // any state but revealed still poses as a chest
    screen_clear();
    draw_mimic({150, 110, 1.5f}, 0, 2, 2);
    EXPECT_EQ(snapshot(), mimic);
    monsters.list[0].kind_state = MIMIC_REVEALED;  // revealed: its own picture
    screen_clear();
    draw_mimic({150, 110, 1.5f}, 0, 2, 2);
    EXPECT_NE(snapshot(), mimic);
    screen_clear();
    draw_mimic({150, 110, 1.5f}, 5, 2, 2);  // no such monster
    EXPECT_EQ(drawn(), 0);
}

TEST_F(ObjectsTest, MonsterScaleCrownAndBat) {
    draw_monster(M_GOBLIN, {150, 120, 0.1f}, false);
    const auto close = snapshot();
    screen_clear();
    draw_monster(M_GOBLIN, {150, 120, 0.4f}, false);
    EXPECT_EQ(snapshot(), close);  // nearer than 0.4 draws as at 0.4
    const Box plain = bounds();

    screen_clear();
    draw_monster(M_GOBLIN, {150, 120, 0.4f}, true);
    const Box crowned = bounds();
    EXPECT_LT(crowned.y0, plain.y0);  // the crown rises above the head

    screen_clear();
    draw_monster(M_BAT, {150, 130, 2.0f}, false);
    const Box bat = bounds();
    screen_clear();
    const Image* im = monster_sprite(M_BAT);
    int32_t bottom = 0, top = 0;
    monster_sprite_extents(M_BAT, &bottom, &top);
    EXPECT_LE(bat.y1, 130 - (int)(0.25f * 144 / 2.0f) + 1);  // lifted off the floor
    EXPECT_NE(im, nullptr);
}

TEST_F(ObjectsTest, FiguresOfCodeMonstersStandOnTheirFloorRow) {
    // With the monsters drawn from primitives, a figure is centred on its column and stands on
    // its floor row instead of hanging below and to the right of it.
    const int32_t saved = settings.monster_art;
    settings.monster_art = 1;
    for (int kind : {M_GOBLIN, M_SKELETON, M_ORC, M_SLIME}) {
        screen_clear();
        draw_monster(kind, {190, 110, 2.0f}, false);
        const Box b = bounds();
        EXPECT_LE(b.y1, 110 + 6) << kind;  // the slime's drips hang lowest
        EXPECT_LT(b.y0, 110 - 10) << kind;
        EXPECT_NEAR((b.x0 + b.x1) / 2, 190, 6) << kind;
    }
    settings.monster_art = saved;
}

TEST_F(ObjectsTest, BillboardRecordsAndDepthFloor) {
    view_in_shrine = 1;
    std::memset(&billboard_clips.count, 0, sizeof billboard_clips.count);
    draw_billboard(test_hit, 100, 0.01f, 0.5f, 'h', 0, 0.5f, 1.0f, 0.0f);
    ASSERT_EQ(billboard_clips.count[100], 1);
    EXPECT_FLOAT_EQ(billboard_clips.depth[100][0], 0.05f);
    for (int i = 0; i < 6; i++) draw_billboard(test_hit, 101, 2.0f + (float)i, 3.0f + (float)i, 'h', 0, 0.5f, 1.0f, 0.0f);
    const int16_t sixth_top = billboard_clips.top[101][5];
    draw_billboard(test_hit, 101, 1.0f, 2.0f, 'h', 0, 0.5f, 1.0f, 0.0f);
    EXPECT_EQ(billboard_clips.count[101], 6);
    EXPECT_EQ(billboard_clips.top[101][5], sixth_top);
    // A glyph without a height draws and records nothing.
    screen_clear();
    draw_billboard(test_hit, 102, 1.0f, 2.0f, '.', 0, 0.5f, 1.0f, 0.0f);
    EXPECT_EQ(billboard_clips.count[102], 0);
    EXPECT_EQ(drawn(), 0);
}

TEST_F(ObjectsTest, BrazierShowsItsLidAndThePillarNone) {
    view_in_shrine = 1;
    std::memset(&billboard_clips.count, 0, sizeof billboard_clips.count);
    fill(3);
    // Brazier 2 cells away, leaving 3 cells away: eye above it, so its lid is seen.
    draw_billboard(test_hit, 120, 2.0f, 3.0f, 'P', 0, 0.5f, 1.0f, 0.0f);
    const int T = 144 / 2, T2 = 144 / 3;
    const int bottom = 72 + T / 2, top = bottom - (int)(0.35f * T);
    const int far_row = 72 + T2 / 2 - (int)(0.35f * T2);
    ASSERT_LT(far_row, top);
    EXPECT_EQ(screen_get(120, far_row), 2);
    for (int y = far_row + 1; y < top; y++) EXPECT_EQ(screen_get(120, y), 1) << y;
    EXPECT_EQ(screen_get(120, far_row - 1), 3);  // untouched above
    EXPECT_EQ(billboard_clips.top[120][0], far_row);

    fill(3);
    draw_billboard(test_hit, 130, 2.0f, 3.0f, 'Q', 0, 0.2f, 1.0f, 0.0f);
    const int qtop = bottom - (int)(1.3f * T);
    EXPECT_EQ(screen_get(130, qtop - 1), 3);  // no lid above the pillar's face
    EXPECT_EQ(billboard_clips.top[130][0], qtop);
}

// An object behind two see-through boxes is cut at the nearer box's top, whichever is taller.
TEST_F(ObjectsTest, ObjectClipsAtTheNearestBoxInFront) {
    view_in_shrine = 1;
    std::memset(&billboard_clips.count, 0, sizeof billboard_clips.count);
    const ViewFrame saved = view_frame;
    view_frame.x0 = 0;
    view_frame.x1 = 200;
    view_frame.y1 = 143;
    for (int X = 0; X < FB_LONG; X++) depth_buffer[X] = 1e30f;
    // Kept farthest first, as the ray caster draws them: a tall pillar behind a short brazier...
    draw_billboard(test_hit, 140, 3.0f, 4.0f, 'Q', 0, 0.5f, 1.0f, 0.0f);
    draw_billboard(test_hit, 140, 2.0f, 3.0f, 'P', 0, 0.5f, 1.0f, 0.0f);
    // ...and a short brazier behind a tall pillar.
    draw_billboard(test_hit, 141, 3.0f, 4.0f, 'P', 0, 0.5f, 1.0f, 0.0f);
    draw_billboard(test_hit, 141, 2.0f, 3.0f, 'Q', 0, 0.5f, 1.0f, 0.0f);
    ASSERT_EQ(billboard_clips.count[140], 2);
    ASSERT_EQ(billboard_clips.count[141], 2);
    ASSERT_LT(billboard_clips.top[140][0], billboard_clips.top[140][1]);
    ASSERT_GT(billboard_clips.top[141][0], billboard_clips.top[141][1]);

    view_object_clip_set(5.0f);
    ASSERT_NE(draw_column_clip, nullptr);
    EXPECT_EQ(draw_column_clip[140], billboard_clips.top[140][1]);
    EXPECT_EQ(draw_column_clip[141], billboard_clips.top[141][1]);
    // Between the two boxes only the nearer one is in front.
    view_object_clip_set(2.5f);
    EXPECT_EQ(draw_column_clip[140], billboard_clips.top[140][1]);
    EXPECT_EQ(draw_column_clip[141], billboard_clips.top[141][1]);
    // In front of both, nothing cuts it.
    view_object_clip_set(1.5f);
    EXPECT_EQ(draw_column_clip[140], view_frame.y1 + 1);
    screen_set_column_mask(nullptr);
    screen_set_column_clip(nullptr);
    view_frame = saved;
}

TEST_F(ObjectsTest, UnlitNicheShowsOnlyEmbersAtItsFoot) {
    view_in_shrine = 1;
    test_hit.face = 0;
    std::memset(&billboard_clips.count, 0, sizeof billboard_clips.count);
    const float a = 1.0f;
    const int T = 144, bottom = 72 + T / 2;
    for (int f = 0; f < 8; f++) {
        frame_counter = f * 8;
        fill(3);
        draw_billboard(test_hit, 150, a, a + 1.0f, 'Q', 0, 0.5f, 1.0f, 0.0f);
        int lit_rows = 0;
        for (int y = 0; y < 144; y++) {
            const float K = (float)(bottom - y) / (float)T;
            if (K < 0.6f || K > 1.0f) continue;
            const int c = screen_get(150, y);
            EXPECT_TRUE(c == 0 || c == 3) << y;
            if (c == 3) {
                lit_rows++;
                EXPECT_LT(K, 0.62f) << y;  // embers only at the foot of the back wall
            }
        }
        EXPECT_EQ(lit_rows > 0, (frame_counter / 8 + 150) % 4 == 0);
    }
}

TEST_F(ObjectsTest, HeldItemsBrokenTwoHandedAndClipped) {
    player = Player{};
    view_pos.x = 0.5f;
    view_pos.y = 0.5f;
    view_pos.angle = view_pos.angle_target = 0.0f;
    player.main_hand = Item{};
    player.off_hand = Item{};
    draw_held_items();
    const auto empty = snapshot();
    EXPECT_GT(drawn(), 0);

    screen_clear();
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    player.main_hand.wear = (uint8_t)item_wear_max(player.main_hand);
    ASSERT_TRUE(item_is_broken(player.main_hand));
    draw_held_items();
    EXPECT_EQ(snapshot(), empty);

    // A broken two-handed weapon still takes both hands: one empty-hand block, on the main side.
    screen_clear();
    player.main_hand = item_make(ITEM_LONG_SWORD);
    player.main_hand.wear = (uint8_t)item_wear_max(player.main_hand);
    ASSERT_TRUE(item_is_broken(player.main_hand));
    draw_held_items();
    const auto broken_two = snapshot();
    EXPECT_TRUE(broken_two != empty);
    const ScreenRect& view = screen_layout.view;
    const int centre = view.x0 + (view.x1 - view.x0 + 1) / 2;
    int left = 0, right = 0;
    for (int y = view.y0; y <= view.y1; y++)
        for (int x = view.x0; x <= view.x1; x++)
            if (screen_get(x, y)) (x < centre ? left : right)++;
    EXPECT_EQ(left, 0);
    EXPECT_GT(right, 0);

    screen_clear();
    player.main_hand = item_make(ITEM_LONG_SWORD);
    draw_held_items();
    const auto two_alone = snapshot();
    screen_clear();
    player.off_hand = item_make(ITEM_IRON_SHIELD);
    draw_held_items();
    EXPECT_EQ(snapshot(), two_alone);

    // Portrait: nothing spills below the view onto the console panel.
    layout_set_portrait();
    screen_clear();
    player.main_hand = item_make(ITEM_SPEAR);
    player.off_hand = item_make(ITEM_TOWER_SHIELD);
    draw_held_items();
    const ScreenRect& v = screen_layout.view;
    EXPECT_GT(drawn(), 0);
    for (int y = v.y1 + 1; y < screen_layout.height; y++)
        for (int x = 0; x < screen_layout.width; x++) ASSERT_EQ(screen_get(x, y), 0) << x << "," << y;
    EXPECT_EQ(draw_column_mask, nullptr);
    EXPECT_EQ(draw_column_clip, nullptr);
}

}  // namespace

namespace {

// The outline passes reuse the votes of a reduced picture: the result equals a fresh draw.
TEST_F(ObjectsTest, ReusedVotesMatchAFreshDraw) {
    const Image* im = monster_sprite(M_ORC);
    ASSERT_NE(im, nullptr);
    sprite_draw_scaled(im, 150, 100, 0.37f);
    screen_clear();
    screen_set_offset(2, 1, -1);
    sprite_scaled_reuse = 1;
    sprite_draw_scaled(im, 150, 100, 0.37f);
    sprite_scaled_reuse = 0;
    const auto reused = snapshot();
    screen_clear();
    sprite_draw_scaled(im, 150, 100, 0.37f);
    EXPECT_EQ(snapshot(), reused);
    EXPECT_GT(drawn(), 20);
}

}  // namespace
