// The draw pass with a message up: the level-up screen's toast and the camp's messages, as the
// frame shows them, in both layouts.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "camp/camp.h"
#include "classes/classes.h"
#include "combat/training.h"
#include "dungeon/floor.h"
#include "explore_fixture.h"
#include "game/bag_screen.h"
#include "game/game.h"
#include "game/load_floor.h"
#include "game/run_start.h"
#include "items/item.h"
#include "levelup/levelup.h"
#include "platform/input.h"
#include "render/screen.h"
#include "screens/bag_draw.h"
#include "screens/screens.h"
#include "screens/tips_draw.h"
#include "screens/widgets.h"
#include "services/toast.h"
#include "support/fb_text.h"
#include "support/fresh_game.h"
#include "support/tick_reset.h"
#include "world/bag_view.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

constexpr int GLYPH_ROWS = FONT_CELL_H - 1;  // a box's outline may run under the cell's blank row

// Whether `text` in `colour` stands anywhere in the view, whole, as text_draw puts it.
bool view_shows(const char* text, int colour) {
    const int w = text_width(text), h = GLYPH_ROWS;
    std::vector<uint8_t> saved(framebuffer, framebuffer + FB_BYTES);
    const ScreenRect v = screen_layout.view;
    screen_fill_rect(v.x0, v.y0, w, h, 0);
    text_draw(v.x0, v.y0, text, colour);
    const std::vector<int> pattern = fb_grab(v.x0, v.y0, w, h);
    std::memcpy(framebuffer, saved.data(), FB_BYTES);
    for (int y = v.y0; y + h - 1 <= v.y1; y++)
        for (int x = v.x0; x + w - 1 <= v.x1; x++)
            if (fb_grab(x, y, w, h) == pattern) return true;
    return false;
}

TEST(DrawPass, TheLevelUpToastStandsWhereTheCardsLeaveItRoom) {
    const char* rows[MAP_H] = {
        "################", "#..............#", "#..............#", "#..............#", "#..............#",
        "#..@...........#", "#..............#", "#..............#", "#..............#", "#..............#",
        "#..............#", "################",
    };
    for (int portrait = 0; portrait < 2; portrait++) {
        tick_globals_reset(STATE_LEVELUP);
        explore_world(rows, 1);
        portrait ? layout_set_portrait() : layout_set_landscape();
        levelup_clear();
        levelup.pending = 1;
        levelup.picks[0] = PICK_TOUGHNESS;
        levelup.picks[1] = PICK_PURSE;
        levelup.picks[2] = PICK_SPARE_KEY;
        game_state = STATE_LEVELUP;
        draw_frame();
        const std::vector<uint8_t> plain(framebuffer, framebuffer + FB_BYTES);
        // The cards where the level-up screen drew them.
        ScreenRect cards[3];
        for (int i = 0; i < 3; i++) {
            int x, y, w, h;
            ASSERT_TRUE(hit_region_find(HIT_LEVELUP_CARD, i, &x, &y, &w, &h)) << "portrait " << portrait;
            cards[i] = ScreenRect{x, y, x + w - 1, y + h - 1};
        }
        // The draw pass with the toast up shows it whole and changes no pixel of a card.
        toast_show2("LEVEL UP! NOW LVL 2", "GOT A KEY");
        draw_frame();
        EXPECT_TRUE(view_shows("LEVEL UP! NOW LVL 2", 2)) << "portrait " << portrait;
        EXPECT_TRUE(view_shows("GOT A KEY", 3)) << "portrait " << portrait;
        int on_cards = 0;
        for (int y = 0; y < screen_layout.height; y++)
            for (int x = 0; x < screen_layout.width; x++) {
                if (screen_get(x, y) == plain[(size_t)y * screen_layout.width + x]) continue;
                for (const ScreenRect& c : cards) on_cards += x >= c.x0 && x <= c.x1 && y >= c.y0 && y <= c.y1;
            }
        EXPECT_EQ(on_cards, 0) << "portrait " << portrait;
        toast_timer = 0;
    }
    layout_set_landscape();
}

TEST(DrawPass, TheCampShowsItsMessages) {
    for (int portrait = 0; portrait < 2; portrait++) {
        tick_globals_reset(STATE_CAMP);
        portrait ? layout_set_portrait() : layout_set_landscape();
        player_start();
        class_apply(CLASS_KNIGHT);
        current_floor = 6;
        camp_enter();
        ASSERT_EQ(game_state, STATE_CAMP);
        toast_show("SOLD SHRTSWD +8G");
        draw_frame();
        EXPECT_TRUE(view_shows("SOLD SHRTSWD +8G", 2)) << "portrait " << portrait;
        // A second line joins the first on the footer's line, brighter.
        toast_show2("BOON TAKEN", "IRON SKIN");
        draw_frame();
        EXPECT_TRUE(view_shows("BOON TAKEN", 2)) << "portrait " << portrait;
        EXPECT_TRUE(view_shows("IRON SKIN", 3)) << "portrait " << portrait;
        toast_timer = 0;
    }
    layout_set_landscape();
}

}  // namespace

// The failed save's box over the pause menu, with the keyboard's and a controller's names in both
// layouts: the box and its shadow keep inside the menu's inner outline, so the menu's double
// outline runs whole down both sides.
TEST(DrawPass, TheFailedSaveKeepsInsideThePauseBox) {
    for (int device : {INPUT_KEYBOARD, INPUT_PAD})
        for (int portrait = 0; portrait < 2; portrait++) {
            tick_globals_reset(STATE_DUNGEON);
            portrait ? layout_set_portrait() : layout_set_landscape();
            player_start();
            input_device_set(device);
            pad_glyph_style_set(PAD_PS5);
            state_under_pause = STATE_DUNGEON;
            game_state = STATE_PAUSE;
            std::snprintf(message_box_text, sizeof message_box_text, "SAVE FAILED!");
            message_box_open = 1;
            draw_frame();
            const ScreenRect p = pause_area();  // the menu's box with its shadow
            const int x0 = p.x0, x1 = p.x1 - 3, y0 = p.y0, y1 = p.y1 - 3;
            for (int y = y0 + 2; y <= y1 - 2; y++)
                for (int x : {x0, x0 + 2, x1 - 2, x1})
                    ASSERT_EQ(screen_get(x, y), 2) << "at " << x << "," << y << (portrait ? " portrait" : " landscape")
                                                   << " device " << device;
            message_box_open = 0;
        }
    input_device_set(INPUT_KEYBOARD);
    pad_glyph_style_set(PAD_XBOX);
    layout_set_landscape();
}

// The training's tip over the bag on its second floor, the shield just put on, in both layouts:
// a hand slot or a cell of the grid that the tip's box lies across is cleared whole, and the others
// show whole or not at all; the shield's slot shows whole.
TEST(DrawPass, ATipOverTheBagCutsNoSlotNorTheGrid) {
    for (int portrait = 0; portrait < 2; portrait++) {
        game_records_reset();
        tick_globals_reset(STATE_DUNGEON);
        portrait ? layout_set_portrait() : layout_set_landscape();
        knight_run_start(0x5EED1234u);
        training_start();
        floor_begin(1);
        load_training_map(1);
        run_active = 1;
        tips.shown = ((1u << TIP_COUNT) - 1u) & ~(1u << TIP_SHIELD_ON);
        player.off_hand = item_make(ITEM_WOODEN_SHIELD);
        state_under_pause = STATE_DUNGEON;
        bag_view_reset();
        game_state = STATE_BAG;
        ASSERT_TRUE(show_tip_once(TIP_SHIELD_ON));
        while (tips.typed < (int)std::strlen(tips.expanded[tips.buffer])) tips_update(TipsWorld{});
        ScreenRect tip;
        ASSERT_TRUE(tip_box_area(&tip));
        const char* text = tips.text;
        tips.text = nullptr;
        draw_frame();
        const std::vector<uint8_t> bare(framebuffer, framebuffer + FB_BYTES);
        tips.text = text;
        draw_frame();
        const BagLayout& l = bag_layout;
        std::vector<ScreenRect> pieces = {
            {l.main_x, l.main_y, l.main_x + BAG_HAND_SLOT_W - 1, l.main_y + BAG_HAND_SLOT_H - 1},
            {l.off_x, l.off_y, l.off_x + BAG_HAND_SLOT_W - 1, l.off_y + BAG_HAND_SLOT_H - 1}};
        for (int r = 0; r < BAG_ROWS; r++)
            for (int c = 0; c < BAG_COLS; c++) {
                const int x = l.grid_x + c * l.cell, y = l.grid_y + r * l.cell;
                pieces.push_back({x, y, x + l.cell, y + l.cell});
            }
        for (const ScreenRect& p : pieces) {
            int lit = 0, dark = 0;
            for (int y = p.y0; y <= p.y1; y++)
                for (int x = p.x0; x <= p.x1; x++) {
                    const bool edge = x == p.x0 || x == p.x1 || y == p.y0 || y == p.y1;
                    const bool under = x >= tip.x0 && x <= tip.x1 && y >= tip.y0 && y <= tip.y1;
                    if (!edge || under || !bare[(size_t)y * screen_layout.width + x]) continue;
                    (screen_get(x, y) ? lit : dark)++;
                }
            const bool met = p.x0 <= tip.x1 && p.x1 >= tip.x0 && p.y0 <= tip.y1 && p.y1 >= tip.y0;
            EXPECT_TRUE(met ? lit == 0 : lit == 0 || dark == 0)
                << "the piece at " << p.x0 << "," << p.y0 << " shows " << lit << " of its outline's pixels and hides "
                << dark << (portrait ? " (portrait)" : " (landscape)");
        }
        // The shield the tip speaks of stays in sight: its slot shows as it does without the tip.
        int changed = 0;
        for (int y = l.off_y; y < l.off_y + BAG_HAND_SLOT_H; y++)
            for (int x = l.off_x; x < l.off_x + BAG_HAND_SLOT_W; x++)
                changed += screen_get(x, y) != bare[(size_t)y * screen_layout.width + x];
        EXPECT_EQ(changed, 0) << "the tip changes " << changed << " pixels of the shield's slot"
                              << (portrait ? " (portrait)" : " (landscape)");
        training_stop();
    }
    layout_set_landscape();
}
