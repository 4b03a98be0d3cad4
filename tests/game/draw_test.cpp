// The draw pass with a message up: the level-up screen's toast and the camp's messages, as the
// frame shows them, in both layouts.
#include <gtest/gtest.h>

#include <algorithm>
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

namespace {

constexpr int BAG_PAGE_INSET = 3;  // the pages are drawn in the panel's columns this far in

// A piece of the bag's inventory page that a box over the bag clears whole: an outline, with the
// rows above it that hold its label or heading (none for a cell of the grid).
struct BagPiece {
    ScreenRect outline;
    int above;
};

// The hand slots with their labels, the grid with its heading and rule, and each cell, with the
// page shifted t pixels; a piece the slide takes past the panel's inner outline ends there.
std::vector<BagPiece> bag_pieces(int t) {
    const BagLayout& l = bag_layout;
    const int left = l.px + BAG_PAGE_INSET, right = l.px + l.pw - 1 - BAG_PAGE_INSET;
    std::vector<BagPiece> pieces = {
        {{l.main_x + t, l.main_y, l.main_x + t + BAG_HAND_SLOT_W - 1, l.main_y + BAG_HAND_SLOT_H - 1},
         BAG_LABEL_ABOVE},
        {{l.off_x + t, l.off_y, l.off_x + t + BAG_HAND_SLOT_W - 1, l.off_y + BAG_HAND_SLOT_H - 1}, BAG_LABEL_ABOVE},
        {{l.grid_x + t, l.grid_y, l.grid_x + t + BAG_COLS * l.cell, l.grid_y + BAG_ROWS * l.cell},
         BAG_GRID_HEAD_ABOVE}};
    for (int r = 0; r < BAG_ROWS; r++)
        for (int c = 0; c < BAG_COLS; c++) {
            const int x = l.grid_x + t + c * l.cell, y = l.grid_y + r * l.cell;
            pieces.push_back({{x, y, x + l.cell, y + l.cell}, 0});
        }
    std::vector<BagPiece> shown;
    for (BagPiece p : pieces) {
        p.outline.x0 = std::max(p.outline.x0, left);
        p.outline.x1 = std::min(p.outline.x1, right);
        if (p.outline.x0 <= p.outline.x1) shown.push_back(p);
    }
    return shown;
}

// Of the pixels that the frame without the box lit on a piece's outline and in the rows of its
// label, those outside the box: none still shows on a piece the box lies across, and on the others
// all show or none.
void expect_pieces_whole(const std::vector<uint8_t>& bare, const ScreenRect& box, int t, const char* where) {
    for (const BagPiece& piece : bag_pieces(t)) {
        const ScreenRect& p = piece.outline;
        const int top = p.y0 - piece.above;
        int lit = 0, dark = 0;
        for (int y = top; y <= p.y1; y++)
            for (int x = p.x0; x <= p.x1; x++) {
                const bool edge = x == p.x0 || x == p.x1 || y <= p.y0 || y == p.y1;
                const bool under = x >= box.x0 && x <= box.x1 && y >= box.y0 && y <= box.y1;
                if (!edge || under || !bare[(size_t)y * screen_layout.width + x]) continue;
                (screen_get(x, y) ? lit : dark)++;
            }
        const bool met = p.x0 <= box.x1 && p.x1 >= box.x0 && top <= box.y1 && p.y1 >= box.y0;
        EXPECT_TRUE(met ? lit == 0 : lit == 0 || dark == 0)
            << "the piece at " << p.x0 << "," << p.y0 << " shows " << lit
            << " of its outline's and label's pixels and hides " << dark << " " << where;
    }
}

}  // namespace

// The training's tip over the bag on its second floor, the shield just put on, in both layouts:
// a hand slot or a cell of the grid that the tip's box lies across is cleared whole, the grid with
// its heading and rule, and the others show whole or not at all; the shield's slot shows whole.
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
        expect_pieces_whole(bare, tip, 0, portrait ? "(portrait)" : "(landscape)");
        // The shield the tip speaks of stays in sight: its slot shows as it does without the tip.
        const BagLayout& l = bag_layout;
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

// A stat's pop-up opened while the stats page still slides in over the inventory, in both
// layouts: the hand slots and the grid it lies across go whole, each with its label or heading.
TEST(DrawPass, AStatPopUpOverTheSlidingInventoryTakesEachSlotWithItsLabel) {
    constexpr float SHOWN = 0.7f;  // the page shown, on its way from the inventory back to the stats
    constexpr int POPUP_H_LANDSCAPE = 96, POPUP_H_PORTRAIT = 104;  // a stat row's pop-up
    constexpr int POPUP_LEFT = 6, POPUP_SHADOW_RIGHT = 5, POPUP_SHADOW_FOOT = 1;
    for (int portrait = 0; portrait < 2; portrait++) {
        tick_globals_reset(STATE_DUNGEON);
        portrait ? layout_set_portrait() : layout_set_landscape();
        player_start();
        state_under_pause = STATE_DUNGEON;
        game_state = STATE_BAG;
        bag_view_reset();
        bag_view.page = BAG_PAGE_STATS;
        bag_view.shown_page = SHOWN;
        bag_view.stats_cursor = 1;
        draw_frame();
        const std::vector<uint8_t> bare(framebuffer, framebuffer + FB_BYTES);
        bag_view.stats_popup = 1;
        draw_frame();
        const BagLayout& l = bag_layout;
        const int h = portrait ? POPUP_H_PORTRAIT : POPUP_H_LANDSCAPE, y = l.py + (l.ph - h) / 2;
        const ScreenRect popup{l.px + POPUP_LEFT, y, l.px + l.pw - POPUP_SHADOW_RIGHT, y + h + POPUP_SHADOW_FOOT};
        // The inventory page's shift, as the slide draws it.
        const int t = (int)(((float)BAG_PAGE_INVENTORY - SHOWN) * (float)(l.pw - 2 * BAG_PAGE_INSET));
        expect_pieces_whole(bare, popup, t, portrait ? "(portrait)" : "(landscape)");
    }
    layout_set_landscape();
}
