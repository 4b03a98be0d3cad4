// The training overlay on screen: the spotlight's checkerboard, frames and caption placement, the
// tip box while typing and once typed, the hint line and the training-over prompt, with a review
// sheet of each in both layouts.
#include <gtest/gtest.h>

#include <cstring>

#include "combat/combat.h"
#include "combat/training.h"
#include "render/draw.h"
#include "levelup/levelup.h"
#include "render/font.h"
#include "render/screen.h"
#include "screens/hud.h"
#include "screens/tips_draw.h"
#include "screens_fixture.h"
#include "support/png_out.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"

namespace {

// A picture per row: landscape on the left, portrait on the right, at scale 1.
struct TipsSheet {
    static constexpr int ROW_H = FB_LONG + 4;
    static constexpr int ROWS = 6;
    PngSheet sheet{FB_LONG + FB_SHORT + 8, ROWS * ROW_H};
    int row = 0;
    template <class Draw>
    void add(const char* what, Draw draw) {
        layout_set_landscape();
        draw();
        sheet.paste(0, 0, FB_LONG, FB_SHORT, 0, row * ROW_H, 1);
        sheet.label(0, row * ROW_H + FB_SHORT + 4, what);
        layout_set_portrait();
        draw();
        sheet.paste(0, 0, FB_SHORT, FB_LONG, FB_LONG + 8, row * ROW_H, 1);
        layout_set_landscape();
        row++;
    }
};

void training_on_floor0() {
    tick_globals_reset(STATE_DUNGEON);
    screens_run_begin();
    training_start();
    tips.shown = 0;
}

// The cursor card's outline: the longest run of colour 3 down the column the cards start at.
bool find_cursor_card(int* x, int* y, int* w, int* h) {
    const ScreenRect& v = screen_layout.view;
    const int cx = v.x0 + 8;
    int best_top = -1, best_len = 0, top = -1;
    for (int yy = v.y0; yy <= v.y1 + 1; yy++) {
        const bool lit = yy <= v.y1 && screen_get(cx, yy) == 3;
        if (lit && top < 0) top = yy;
        if (!lit && top >= 0) {
            if (yy - top > best_len) best_len = yy - top, best_top = top;
            top = -1;
        }
    }
    if (best_len < 5) return false;
    *x = cx;
    *y = best_top;
    *w = v.x1 - v.x0 + 1 - 15;
    *h = best_len;
    return true;
}

TEST(SpotlightDraw, DarkensAChequerOutsideFramesTheTargetAndPlacesTheCaption) {
    layout_set_landscape();
    const ScreenRect& v = screen_layout.view;
    screen_clear();
    screen_fill_rect(v.x0, v.y0, v.x1 - v.x0 + 1, v.y1 - v.y0 + 1, 2);
    frame_counter = 0;
    const int x = 100, y = 30, w = 40, h = 20;
    draw_spotlight(x, y, w, h, "PRESS {A}");
    // Inside the widened rectangle nothing is darkened; outside every other pixel is.
    EXPECT_EQ(screen_get(x + 5, y + 5), 2);
    EXPECT_EQ(screen_get(x - 2, y - 2), 2);
    EXPECT_EQ(screen_get(v.x0 + 10, v.y0 + 10), 0);
    EXPECT_EQ(screen_get(v.x0 + 11, v.y0 + 10), 2);
    // The frame 3 pixels out; the pulse frame only in odd periods.
    EXPECT_EQ(screen_get(x - 3, y + 5), 3);
    EXPECT_NE(screen_get(x - 4, y + 4), 3);
    frame_counter = 15;
    draw_spotlight(x, y, w, h, "");
    EXPECT_EQ(screen_get(x - 4, y + 4), 3);
    // The caption box below the target: its top edge 3 pixels under the frame, outlined in 2.
    EXPECT_EQ(screen_get(x + w / 2, y + h + 5), 2);
    // A target at the bottom puts the caption above it.
    screen_clear();
    frame_counter = 0;
    const int by = v.y1 - 14;
    draw_spotlight(x, by, w, 10, "PRESS {A}");
    EXPECT_EQ(screen_get(x + w / 2, by - 7), 2);  // the caption box's bottom edge
}

TEST(TipsOverlayDraw, TheBoxGrowsWithTheTipAndThePromptAndTheHintSitsAboveTheBottom) {
    TempSaveDir tmp;
    training_on_floor0();
    layout_set_landscape();
    const ScreenRect& v = screen_layout.view;
    // No tip, no hint: nothing over the view's bottom strip.
    training.hint[0] = '\0';
    screen_clear();
    draw_tips_overlay(BagCursorView{0, -1, 0});
    for (int x = v.x0; x <= v.x1; x++) ASSERT_EQ(screen_get(x, v.y1 - 10), 0);
    // The hint line's outline in colour 1 ends 14 pixels above the view's bottom.
    std::strcpy(training.hint, "GO UP THE STAIRS");
    screen_clear();
    draw_tips_overlay(BagCursorView{0, -1, 0});
    EXPECT_EQ(screen_get(v.x0 + 6, v.y1 - 15), 1);
    // A tip hides the hint and draws its box: outline 2 at x0 + 6, shadow 1 beyond it; in the
    // dungeon it stands on the compass strip's top as elsewhere on the view's bottom.
    const int foot = v.y1 - COMPASS_STRIP_H;
    ASSERT_TRUE(show_tip_once(0));
    screen_clear();
    draw_tips_overlay(BagCursorView{0, -1, 0});
    EXPECT_EQ(screen_get(v.x0 + 6, foot - 10), 2);
    EXPECT_EQ(screen_get(v.x1 - 4, foot - 10), 1);
    // Typing: one more character each tick until the whole text shows.
    TipsWorld world{};
    int reveal = -1;
    ASSERT_NE(tip_shown_text(&reveal), nullptr);
    EXPECT_EQ(reveal, 0);
    for (int i = 0; i < 5; i++) tips_update(world);
    tip_shown_text(&reveal);
    EXPECT_EQ(reveal, 5);
    const int len = (int)std::strlen(tip_shown_text(nullptr));
    for (int i = 0; i < 400; i++) tips_update(world);
    tip_shown_text(&reveal);
    EXPECT_EQ(reveal, len);
    tips.text = nullptr;
    // The prompt takes the tip's place.
    training_offer_end();
    EXPECT_TRUE(tip_or_prompt_showing());
    screen_clear();
    draw_tips_overlay(BagCursorView{0, -1, 0});
    EXPECT_EQ(screen_get(v.x0 + 6, foot - 10), 2);
    training_stop();
    screens_run_end();
}

TEST(TipsOverlayDraw, ReviewSheet) {
    TempSaveDir tmp;
    TipsSheet s;
    training_on_floor0();
    // 1: the first tip, typed in full, over the first floor.
    show_tip_once(0);
    tips.typed = 1000;
    s.add("the first tip, typed", [] { draw_frame(); });
    // 2: a tip half typed.
    tips.typed = 40;
    s.add("a tip half typed", [] { draw_frame(); });
    tips.text = nullptr;
    // 3: the hint line.
    std::strcpy(training.hint, "A RAT BLOCKS THE WAY. WALK INTO IT TO FIGHT");
    s.add("the hint line", [] { draw_frame(); });
    training.hint[0] = '\0';
    // 4: the training-over prompt.
    training_offer_end();
    s.add("the training-over prompt", [] { draw_frame(); });
    training.over_prompt = 0;
    // 5: the fixed level-up card under the spotlight.
    player.level = 2;
    player.xp = 0;
    levelup.pending = 1;
    ASSERT_TRUE(levelup_open(LevelupMode{true}));
    game_state = STATE_LEVELUP;
    tips.shown = (1u << TIP_COUNT) - 1u;
    s.add("the level-up card, spotlit", [] {
        draw_frame();
        int x, y, w, h;
        if (find_cursor_card(&x, &y, &w, &h)) draw_spotlight(x, y, w, h, "PRESS {A}");
    });
    // 6: the bag's spotlight on an item cell near the bottom, its caption above.
    game_state = STATE_DUNGEON;
    s.add("the bag's spotlight, caption above", [] {
        draw_frame();
        const ScreenRect& v = screen_layout.view;
        draw_spotlight(v.x0 + 30, v.y1 - 30, 21, 21, "MOVE THE CURSOR HERE");
    });
    s.sheet.write("training_tips.png");
    {
        PngSheet close(3 * FB_LONG, 3 * FB_SHORT);
        game_state = STATE_LEVELUP;
        layout_set_landscape();
        draw_frame();
        int x, y, w, h;
        EXPECT_TRUE(find_cursor_card(&x, &y, &w, &h));
        draw_spotlight(x, y, w, h, "PRESS {A}");
        close.paste(0, 0, FB_LONG, FB_SHORT, 0, 0, 3);
        close.write("training_levelup_spotlight.png");
    }
    training_stop();
    levelup.pending = 0;
    screens_run_end();
}

}  // namespace
