// The draw pass with a message up: the level-up screen's toast and the camp's messages, as the
// frame shows them, in both layouts.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "camp/camp.h"
#include "classes/classes.h"
#include "explore_fixture.h"
#include "game/game.h"
#include "game/run_start.h"
#include "levelup/levelup.h"
#include "render/screen.h"
#include "screens/screens.h"
#include "screens/widgets.h"
#include "services/toast.h"
#include "support/fb_text.h"
#include "support/tick_reset.h"

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
