// Review pictures: every monster, item and floor object at several depths, the held items, the
// shrine's boxes and the effect fields, written as PNGs into QM_PNG_DIR when it is set.
#include <cstring>

#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "world/player.h"
#include "items/floor_items.h"
#include "items/item.h"
#include "render/fxfield.h"
#include "render/objects.h"
#include "render/pictures.h"
#include "render/view.h"
#include "render_fixture.h"
#include "support/png_out.h"

namespace {

// The wall or see-through cell the drawers are told they draw.
ViewHit test_hit{};

constexpr float DEPTHS[4] = {0.6f, 1.2f, 2.5f, 5.0f};

struct ObjectPictures : RenderTest {
    void SetUp() override {
        RenderTest::SetUp();
        floor_items_clear();
        monsters_clear();
        frame_counter = 40;
    }
    // One row of a sheet: the same object at the four depths, each in its own framebuffer frame.
    template <typename Draw>
    static int row(PngSheet& sheet, int r, Draw draw) {
        int total = 0;
        for (int i = 0; i < 4; i++) {
            screen_clear();
            draw(ViewObject{156, 120, DEPTHS[i]});
            total += drawn();
            sheet.paste(0, 0, 312, 144, i * 314, r * 146, 1);
        }
        return total;
    }
};

TEST_F(ObjectPictures, MonstersAtFourDepths) {
    PngSheet sheet(4 * 314, 2 * (M_COUNT - 1) * 146);
    for (int k = 1; k < M_COUNT; k++) {
        for (int elite = 0; elite < 2; elite++) {
            const int n = row(sheet, (k - 1) * 2 + elite, [&](ViewObject o) {
                for (int p = 0; p < 5; p++) {
                    static const int OX[5] = {-1, 1, 0, 0, 0}, OY[5] = {0, 0, -1, 1, 0};
                    screen_set_offset(OX[p], OY[p], p < 4 ? 0 : -1);
                    draw_monster(k, o, elite != 0);
                }
                screen_set_offset(0, 0, -1);
            });
            EXPECT_GT(n, 0) << k;
        }
    }
    sheet.write("objects_monsters.png");
}

TEST_F(ObjectPictures, FloorObjectsAtFourDepths) {
    const char* letters = "agkpswbCc";
    const int extra = ITEM_COUNT - 1;
    PngSheet sheet(4 * 314, (9 + extra + 1) * 146);
    PngSheet held(2 * 626, 3 * 290);
    int r = 0;
    for (const char* p = letters; *p; p++, r++)
        EXPECT_GT(row(sheet, r, [&](ViewObject o) { draw_floor_object(*p, o, 0, 0); }), 0) << *p;
    for (int id = 1; id < ITEM_COUNT; id++, r++) {
        floor_items_clear();
        floor_item_add_new(1, 1, item_make((uint32_t)id));
        EXPECT_GT(row(sheet, r, [&](ViewObject o) { draw_floor_object('w', o, 1, 1); }), 0) << id;
    }
    ASSERT_TRUE(monster_add(M_MIMIC, 2, 2));
    monsters.list[0].kind_state = 1;
    EXPECT_GT(row(sheet, r++, [&](ViewObject o) { draw_mimic(o, 0, 2, 2); }), 0);
    // Held items: sword and shield, a two-handed axe, two daggers, empty hands, a broken long sword.
    for (int i = 0; i < 5; i++) {
        screen_clear();
        player = Player{};
        view_pos.x = view_pos.y = 0.5f;
        view_pos.angle = view_pos.angle_target = 0.0f;
        if (i == 0) {
            player.main_hand = item_make(ITEM_SHORT_SWORD);
            player.off_hand = item_make(ITEM_WOODEN_SHIELD);
        } else if (i == 1) {
            player.main_hand = item_make(ITEM_BATTLE_AXE);
        } else if (i == 2) {
            player.main_hand = item_make(ITEM_DAGGER);
            player.off_hand = item_make(ITEM_VENOM_DAGGER);
        } else if (i == 4) {
            player.main_hand = item_make(ITEM_LONG_SWORD);
            player.main_hand.wear = (uint8_t)item_wear_max(player.main_hand);
        }
        draw_held_items();
        EXPECT_GT(drawn(), 0);
        held.paste(0, 0, 312, 144, (i % 2) * 626, (i / 2) * 290, 2);
    }
    sheet.write("objects_floor.png");
    held.write("objects_held.png");
}

TEST_F(ObjectPictures, ShrineBoxesAndEffectFields) {
    PngSheet sheet(4 * 314, 2 * 146);
    view_in_shrine = 1;
    view_horizon = 72;
    view_eye_height = 0.5f;
    const char glyphs[4] = {'P', 'Q', 'H', 'q'};
    for (int i = 0; i < 4; i++) {
        screen_clear();
        std::memset(&billboard_clips.count, 0, sizeof billboard_clips.count);
        test_hit.face = 0;
        const float a = 1.6f;
        for (int X = 100; X <= 212; X++) {
            const float u = (float)(X - 100) / 113.0f;
            draw_billboard(test_hit, X, a, a + 1.0f, glyphs[i], 0, u, 1.0f, (float)(X - 156) / 156.0f);
        }
        EXPECT_GT(drawn(), 0) << glyphs[i];
        sheet.paste(0, 0, 312, 144, i * 314, 0, 1);
    }
    view_in_shrine = 0;
    // Effect fields: each slot stepped at a size that suits it, drawn side by side.
    static const int SIZES[FXFIELD_COUNT][2] = {{120, 60}, {150, 20}, {80, 60}, {80, 70}, {32, 40}, {100, 40}, {32, 48}};
    fxfield_set_slot0(0.8f);
    for (int s = 0; s < FXFIELD_COUNT; s++) fxfield_set_level(s, 0.85f);
    for (int t = 0; t < 90; t++)
        for (int s = 0; s < FXFIELD_COUNT; s++) fxfield_update(s, SIZES[s][0], SIZES[s][1]);
    screen_clear();
    int x = 0;
    for (int s = 0; s < 4; s++) {
        fxfield_draw(s, x, 144 - SIZES[s][1]);
        x += SIZES[s][0] / 2 + 4;
    }
    sheet.paste(0, 0, 312, 144, 0, 146, 1);
    screen_clear();
    fxfield_draw(4, 10, 60);
    fxfield_draw(5, 60, 60);
    fxfield_draw_columns(6, 220, 140, 2.5f);
    EXPECT_GT(drawn(), 0);
    sheet.paste(0, 0, 312, 144, 314, 146, 1);
    for (int s = 0; s < FXFIELD_COUNT; s++) fxfield_clear(s);
    sheet.write("objects_shrine_fields.png");
}

}  // namespace
