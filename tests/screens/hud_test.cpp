// The dungeon HUD, toasts and the caption: the texts of the status tags and stat rows at their
// limits, which boxes show when, the compass margins, the caption's phases, and review pictures
// of the HUD over real floors (PNGs into QM_PNG_DIR). A hand-run timing of draw_hud is disabled.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "dungeon/view_pos.h"
#include "render/font.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "render/view.h"
#include "render/render_fixture.h"
#include "saves/settings.h"
#include "screens/hud.h"
#include "screens/screens.h"
#include "services/toast.h"
#include "screens/screens_fixture.h"
#include "world/player.h"

namespace {

// A buffer of exactly n bytes followed by a guard that must stay untouched.
template <int N>
struct Guarded {
    char text[N];
    char guard[16];
    Guarded() {
        std::memset(text, 'x', sizeof text);
        std::memset(guard, 0x5A, sizeof guard);
    }
    bool guard_intact() const {
        for (char c : guard)
            if (c != 0x5A) return false;
        return true;
    }
};

TEST(StatusTags, ListsTheSetCountersInOrderWithSingleBlanks) {
    char out[STATUS_TAGS_BYTES];
    const int32_t none[3] = {0, 0, 0};
    format_status_tags(none, out);
    EXPECT_STREQ(out, "");
    const int32_t poison_regen[3] = {3, 0, 2};
    format_status_tags(poison_regen, out);
    EXPECT_STREQ(out, "PSN 3 RGN 2");
    const int32_t burn[3] = {0, 7, 0};
    format_status_tags(burn, out);
    EXPECT_STREQ(out, "BRN 7");
}

TEST(StatusTags, TheWidestCountersFillTheWholeBuffer) {
    Guarded<STATUS_TAGS_BYTES> out;
    const int32_t widest[3] = {INT_MIN, INT_MIN, INT_MIN};
    format_status_tags(widest, out.text);
    EXPECT_STREQ(out.text, "PSN -2147483648 BRN -2147483648 RGN -2147483648");
    EXPECT_EQ(std::strlen(out.text), 47u);
    EXPECT_TRUE(out.guard_intact());
    const int32_t big[3] = {INT_MAX, INT_MAX, INT_MAX};
    format_status_tags(big, out.text);
    EXPECT_STREQ(out.text, "PSN 2147483647 BRN 2147483647 RGN 2147483647");
    EXPECT_TRUE(out.guard_intact());
}

struct HudTest : RenderTest {
    Player saved_player;
    int32_t saved_floor;
    void SetUp() override {
        RenderTest::SetUp();
        saved_player = player;
        saved_floor = current_floor;
        player = Player{};
        toast_timer = 0;
        toast_line1[0] = toast_line2[0] = 0;
        caption_timer = 0;
        view_pos = ViewPos{};
    }
    void TearDown() override {
        player = saved_player;
        current_floor = saved_floor;
        toast_timer = 0;
        caption_timer = 0;
        RenderTest::TearDown();
    }
    // Pixels of `colour` in the framebuffer rectangle (x, y, w, h).
    static int count_in(int x, int y, int w, int h, int colour) {
        int n = 0;
        for (int j = y; j < y + h; j++)
            for (int i = x; i < x + w; i++) n += screen_get(i, j) == colour;
        return n;
    }
};

TEST_F(HudTest, StatValuesAtTheirLimitsFitTheBuffer) {
    player.hp = INT_MIN;
    player.max_hp = INT_MIN;
    player.gold = INT_MAX;
    player.keys = INT_MIN;
    player.kills = 123;
    current_floor = 4;
    Guarded<STAT_VALUE_BYTES> out;
    format_stat_value(STAT_HP, out.text);
    EXPECT_STREQ(out.text, "-2147483648/-2147483648");
    EXPECT_TRUE(out.guard_intact());
    format_stat_value(STAT_GOLD, out.text);
    EXPECT_STREQ(out.text, "2147483647");
    format_stat_value(STAT_KEYS, out.text);
    EXPECT_STREQ(out.text, "-2147483648");
    format_stat_value(STAT_FLOOR, out.text);
    EXPECT_STREQ(out.text, "5");
    format_stat_value(STAT_KILLS, out.text);
    EXPECT_STREQ(out.text, "123");
    format_stat_value(STAT_SOULS, out.text);
    EXPECT_EQ(out.text[0], '+');
    format_stat_value(STAT_EVADE, out.text);
    EXPECT_EQ(out.text[std::strlen(out.text) - 1], '%');
    for (int kind : {-1, 10, INT_MAX}) {
        format_stat_value(kind, out.text);
        EXPECT_STREQ(out.text, "") << kind;
    }
    EXPECT_TRUE(out.guard_intact());
}

TEST_F(HudTest, StatusAndKeyBoxesShowOnlyWhenThereIsSomethingToShow) {
    player.hp = player.max_hp = 12;
    const ScreenRect v = screen_layout.view;
    // The second row of boxes: status on the left, keys on the right.
    const auto left_row = [&] { return count_in(v.x0 + 2, v.y0 + 17, 60, 13, 2); };
    const auto right_row = [&] { return count_in(v.x1 - 40, v.y0 + 17, 41, 13, 2); };
    draw_hud();
    EXPECT_EQ(left_row(), 0);
    EXPECT_EQ(right_row(), 0);
    screen_clear();
    player.status[ST_REGEN] = 4;
    player.keys = 2;
    draw_hud();
    EXPECT_GT(left_row(), 0);
    EXPECT_GT(right_row(), 0);
    EXPECT_EQ(count_in(v.x0 + 6, v.y0 + 20, 40, 7, 3), 0) << "regeneration alone is not bright";
    screen_clear();
    player.status[ST_BURN] = 1;
    draw_hud();
    EXPECT_GT(count_in(v.x0 + 6, v.y0 + 20, 40, 7, 3), 0) << "a burn lights the tags";
}

TEST_F(HudTest, CompassLettersNearTheMarginsAreLeftOutWhole) {
    // Sweep the view angle: a letter at the ends is drawn whole or not at all.
    const ScreenRect v = screen_layout.view;
    for (int step = 0; step < 200; step++) {
        screen_clear();
        view_pos.angle = -3.2f + step * 0.032f;
        draw_hud();
        // Inside the outline, one column at each end stays dark on the letters' rows.
        for (int y = v.y1 - 7; y < v.y1 - 1; y++) {
            ASSERT_EQ(screen_get(v.x0 + 2, y), 0) << step;
            ASSERT_EQ(screen_get(v.x1 - 2, y), 0) << step;
        }
    }
    // Facing east, "E" is lit at the centre.
    screen_clear();
    view_pos.angle = 0.0f;
    draw_hud();
    const int c = v.x0 + (v.x1 - v.x0 + 1) / 2;
    EXPECT_GT(count_in(c - 2, v.y1 - 7, 5, 7, 3), 5);
}

TEST_F(HudTest, AToastWithAnEmptyFirstLineDrawsNothing) {
    toast_timer = 50;
    std::snprintf(toast_line2, sizeof toast_line2, "SECOND");
    draw_toast();
    EXPECT_EQ(drawn(), 0);
    toast_show("SAVE FAILED!");
    draw_toast();
    EXPECT_GT(drawn(), 0);
    screen_clear();
    toast_timer = 0;
    draw_toast();
    EXPECT_EQ(drawn(), 0);
    // A line written without its terminator is read as its first 27 characters.
    toast_timer = 10;
    std::memset(toast_line1, 'W', sizeof toast_line1);
    toast_line2[0] = 0;
    draw_toast();
    const Box b = bounds();
    EXPECT_EQ(b.x1 - b.x0 + 1, text_width(std::string(27, 'W').c_str()) + 6);
    toast_line1[0] = 0;
}

TEST_F(HudTest, CaptionShakesTypesAndFadesToTheCheckerboard) {
    fill(3);
    caption_index = -1;  // a wrapped counter still picks a row
    const ScreenRect v = screen_layout.view;
    const int m = v.y0 + (v.y1 - v.y0 + 1) / 2;
    const auto title_left = [&] {
        for (int x = v.x0; x <= v.x1; x++)
            for (int y = m - 9; y < m - 2; y++)
                if (screen_get(x, y) == 2 || screen_get(x, y) == 1) return x;
        return -1;
    };
    const auto second_line_lit = [&] { return count_in(v.x0, m + 2, v.x1 - v.x0 + 1, 7, 3); };
    caption_timer = 199;  // (200 - t) & 2 is 0: one pixel left
    draw_caption();
    const int left_a = title_left();
    fill(3);
    caption_timer = 198;  // 2: one pixel right
    draw_caption();
    EXPECT_EQ(title_left(), left_a + 2);
    EXPECT_EQ(second_line_lit(), 0);
    EXPECT_EQ(screen_get(v.x0, v.y0), 2) << "every pixel dimmed";
    EXPECT_EQ(screen_get(v.x0 + 1, v.y0), 2);

    fill(3);
    caption_timer = 170;
    draw_caption();
    EXPECT_EQ(second_line_lit(), 0) << "typing starts after t = 170";
    fill(3);
    caption_timer = 140;
    draw_caption();
    EXPECT_GT(second_line_lit(), 0);

    fill(3);
    caption_timer = 20;
    draw_caption();
    EXPECT_EQ(second_line_lit(), 0) << "the fading line is dim";
    const int x = v.x0, y = v.y0;
    EXPECT_EQ(screen_get(x + ((x + y) & 1), y), 2);
    EXPECT_EQ(screen_get(x + 1 - ((x + y) & 1), y), 3);
}

TEST(CaptionTable, AnyCounterValuePicksARow) {
    EXPECT_STREQ(caption_pair(0).title, "THE SKELETON GETS");
    EXPECT_STREQ(caption_pair(29).line, "AS SPOOKY AS IT GETS.");
    EXPECT_EQ(&caption_pair(31), &CAPTION_PAIRS[1]);
    EXPECT_EQ(&caption_pair(-1), &CAPTION_PAIRS[4294967295u % 30]);
    EXPECT_EQ(&caption_pair(INT_MIN), &CAPTION_PAIRS[2147483648u % 30]);
    for (const CaptionPair& p : CAPTION_PAIRS) EXPECT_LT(std::strlen(p.line), 24u);
}

TEST_F(HudTest, GoldHeaderReturnsWhereThePageStarts) {
    player.gold = 77;
    EXPECT_EQ(draw_gold_header("SHOP"), screen_layout.view.y0 + 20);
    layout_set_portrait();
    EXPECT_EQ(draw_gold_header("SHOP"), screen_layout.view.y0 + 38);
}

// The HUD over a real floor through the draw pass.
struct HudFloorTest : HudTest {
    Settings saved_settings;
    void SetUp() override {
        HudTest::SetUp();
        saved_settings = settings;
        settings.effects = 1;
        screens_run_begin();
    }
    void TearDown() override {
        settings = saved_settings;
        screens_run_end();
        HudTest::TearDown();
    }
    static void shot(const char* name) { screens_shot(name); }
};

TEST_F(HudFloorTest, ReviewPictures) {
    draw_frame();
    EXPECT_GT(drawn(), 1500);
    shot("hud_normal.png");
    player.status[ST_POISON] = 5;
    player.status[ST_BURN] = 3;
    shot("hud_poison_burn.png");
    player.status[ST_POISON] = player.status[ST_BURN] = 0;
    player.hp = 2;
    player.status[ST_REGEN] = 3;
    view_pos.angle += 0.6f;
    shot("hud_low_hp.png");
    player.hp = player.max_hp;
    player.status[ST_REGEN] = 0;
    player.keys = 3;
    current_floor = 11;
    toast_show2("FOUND A KEY", "IT OPENS A LOCKED DOOR");
    shot("hud_key_toast2.png");
    toast_timer = 0;
    player.keys = 0;
    caption_index = 7;
    caption_timer = 188;
    shot("caption_shake.png");
    caption_timer = 130;
    shot("caption_typed.png");
    caption_timer = 18;
    shot("caption_fade.png");
    caption_timer = 0;
}

// By hand: --gtest_also_run_disabled_tests --gtest_filter='*HudTiming*'.
TEST_F(HudFloorTest, DISABLED_HudTiming) {
    player.status[ST_POISON] = 5;
    player.keys = 3;
    constexpr int N = 20000;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < N; i++) {
        view_pos.angle = i * 0.001f;
        draw_hud();
    }
    const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    std::printf("draw_hud: %.2f us per call\n", us / N);
}

}  // namespace
