// The front-end screens and dialogs: hint fitting, option rows in and out of range, the options
// spacing rules, the credits clamp and the dialog boxes' widths; review pictures of each screen in
// landscape and portrait, gathered on one contact sheet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/buttons.h"
#include "platform/input.h"
#include "render/fxfield.h"
#include "render/font.h"
#include "render/render_fixture.h"
#include "render/text_runs.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "services/confirm.h"
#include "services/toast.h"
#include "support/png_out.h"
#include "telemetry/events.h"
#include "world/player.h"

namespace {

struct FrontEndTest : RenderTest {
    void SetUp() override {
        RenderTest::SetUp();
        settings = Settings{};
        bindings_default();
        input_device_set(INPUT_KEYBOARD);
        settings.volume = 7;
        settings.music = 4;
        settings.rumble = 1;
        settings.rumble_level = 2;
        settings.case_color = 9;
        settings.palette = 1;
    }
    void TearDown() override {
        settings = Settings{};
        bindings_default();
        message_box_open = consent_open = way_out_open = 0;
        confirm_question[0] = 0;
        current_floor = 0;
        RenderTest::TearDown();
    }
    static OptionsView options(int32_t page, int32_t cursor, std::initializer_list<int32_t> ids) {
        OptionsView v{};
        v.page = page;
        v.cursor = cursor;
        for (int32_t id : ids) v.ids[v.count++] = id;
        v.training_offer = 1;
        return v;
    }
    // Width of the drawn box: the outline along its top row (text may overflow below it).
    static int box_width() {
        const Box b = bounds();
        int n = 0;
        for (int x = 0; x < screen_layout.width; x++) n += screen_get(x, b.y0) == 2;
        return n;
    }
};

TEST_F(FrontEndTest, TextFitDropsHintsFromTheRight) {
    EXPECT_STREQ(text_fit("{A}: USE   {B}: BACK", 500), "ENTER: USE   CTRL: BACK");
    EXPECT_STREQ(text_fit("{A}: USE   {B}: BACK", 80), "ENTER: USE");
    EXPECT_STREQ(text_fit("A LONG LINE WITHOUT BREAKS", 20), "A LONG LINE WITHOUT BREAKS");
    EXPECT_STREQ(text_fit("ONE  TWO  THREE", 60), "ONE  TWO");
    // Eight texts live at once; the ninth reuses the first slot.
    const char* first = text_fit("{A}", 100);
    for (int i = 0; i < 7; i++) EXPECT_NE(text_fit("{B}", 100), first);
    EXPECT_EQ(text_fit("{B}", 100), first);
}

TEST_F(FrontEndTest, OptionsWithOneRowOrNoneDrawWithoutScrolling) {
    draw_options(options(OPT_PAGE_SOUND, OPT_BACK, {OPT_BACK}));
    // The single row stands at y0 + 26.
    const int H = 140, y0 = (143 - (H - 1)) / 2;
    bool found = false;
    for (int x = 70; x < 242; x++) found |= screen_get(x, y0 + 26) == 3;
    EXPECT_TRUE(found);
    screen_clear();
    draw_options(options(OPT_PAGE_SOUND, OPT_BACK, {}));
    EXPECT_GT(drawn(), 0);
}

TEST_F(FrontEndTest, ValuesOutOfTheirTablesDrawNothing) {
    const OptionsView v = options(OPT_PAGE_APPEARANCE, OPT_BACK, {OPT_PALETTE});
    settings.palette = 3;  // a palette without a name
    draw_options(v);
    const int without = drawn();
    screen_clear();
    settings.palette = 99;
    draw_options(v);
    EXPECT_EQ(drawn(), without);
    screen_clear();
    settings.palette = -5;
    draw_options(v);
    EXPECT_EQ(drawn(), without);
    screen_clear();
    settings.palette = 1;
    draw_options(v);
    EXPECT_GT(drawn(), without);
}

TEST_F(FrontEndTest, LongListsScrollAndLoseTheirFooter) {
    OptionsView v{};
    for (int i = 0; i < 20; i++) v.ids[v.count++] = i;
    v.cursor = 19;
    draw_options(v);
    const Box with_scroll = bounds();
    EXPECT_GT(with_scroll.x1, with_scroll.x0);
    // The first rows are scrolled away: "SCREEN" is not drawn at the first row's place.
    screen_clear();
    v.cursor = 0;
    draw_options(v);
    const int top = drawn();
    screen_clear();
    v.cursor = 19;
    draw_options(v);
    EXPECT_NE(drawn(), top);
}

TEST_F(FrontEndTest, CreditsClampTheScroll) {
    int32_t scroll = 5000;
    draw_credits(&scroll);
    EXPECT_EQ(scroll, 274 - 143);
    scroll = -20;
    draw_credits(&scroll);
    EXPECT_EQ(scroll, 0);
}

TEST_F(FrontEndTest, DialogBoxWidths) {
    std::strcpy(message_box_text, "OK");
    draw_message_box();
    // 90 pixels, or wider where the hint needs two dark columns inside each inner outline.
    EXPECT_EQ(box_width(), std::max(90, text_width(text_ring_expand("{A}/{B}: OK")) + 10));
    screen_clear();
    std::strcpy(message_box_text, "THIS MESSAGE IS FAR TOO LONG FOR THE VIEW");
    draw_message_box();
    EXPECT_EQ(box_width(), 171 - 3);

    screen_clear();
    input_device_set(INPUT_TOUCH);  // "A: YES  B: NO" is narrow enough for the smallest box
    std::strcpy(confirm_question, "Sure?");
    draw_confirm_dialog();
    EXPECT_EQ(box_width(), 100);
    screen_clear();
    input_device_set(INPUT_KEYBOARD);
    std::strcpy(confirm_question, "Abandon your run? Really?");
    draw_confirm_dialog();
    EXPECT_EQ(box_width(), text_width(confirm_question) + 16);

    layout_set_portrait();
    screen_clear();
    std::strcpy(confirm_question, "Abandon your run now, forever?");
    draw_confirm_dialog();
    EXPECT_EQ(box_width(), screen_layout.view.x1 - screen_layout.view.x0 - 3);
}

TEST_F(FrontEndTest, WayOutOnTheLastFloorDimsContinue) {
    current_floor = 19;
    way_out_cursor = 1;
    draw_way_out_dialog();
    const Box b = bounds();
    // Row 0 ("NOTHING ABOVE") is drawn in colour 1 only.
    const int x = b.x0 + 17, y = b.y0 + 31;
    int c1 = 0, c3 = 0;
    for (int dy = 0; dy < 7; dy++)
        for (int dx = 0; dx < 80; dx++) {
            c1 += screen_get(x + dx, y + dy) == 1;
            c3 += screen_get(x + dx, y + dy) == 3;
        }
    EXPECT_GT(c1, 0);
    EXPECT_EQ(c3, 0);
}

// A notice on the title keeps two dark rows and columns between its lines and its outline, as the
// HUD's boxes do, and lines of 20 characters still fit inside the title's inner frame.
TEST_F(FrontEndTest, TitleNoticesKeepADarkMarginInsideTheirBox) {
    for (int portrait = 0; portrait < 2; portrait++) {
        portrait ? layout_set_portrait() : layout_set_landscape();
        toast_show2("SAVED RUN UNREADABLE", "PROGRESS WON'T SAVE");
        text_runs_start();
        draw_title_toast();
        text_runs_stop();
        toast_timer = 0;
        ASSERT_EQ(text_runs.frame_count, 1);
        ASSERT_EQ(text_runs.run_count, 2);
        const TextBox& f = text_runs.frames[0];
        const TextBox &top = text_runs.runs[0].box, &bottom = text_runs.runs[1].box;
        const ScreenRect& v = screen_layout.view;
        EXPECT_GE(f.x0, v.x0 + 5);
        EXPECT_LE(f.x1, v.x1 - 5);
        EXPECT_EQ(top.y0 - f.y0, 3) << "portrait " << portrait;
        EXPECT_EQ(f.y1 - bottom.y1, 3) << "portrait " << portrait;
        EXPECT_EQ(top.x0 - f.x0, 3) << "portrait " << portrait;
        EXPECT_EQ(f.x1 - top.x1, 3) << "portrait " << portrait;
    }
}

// Every screen and dialog of the front end, landscape then portrait, on one sheet.
TEST_F(FrontEndTest, ReviewPictures) {
    struct Shot {
        const char* name;
        void (*draw)();
    };
    static const Shot SHOTS[] = {
        {"power_on_wait", [] { draw_power_on(-1); }},
        {"power_on_sliding", [] { draw_power_on(40); }},
        {"power_on_logo", [] { draw_power_on(120); }},
        {"title", [] {
             fxfield_set_slot0(0.8f);
             for (int i = 0; i < 60; i++) fxfield_update(0, screen_view_width() - 9, screen_view_height() - 9);
             draw_title(TitleView{.cursor = 1, .slide_from_row = 1, .slide_age = 99, .has_run = 0, .run_training = 0, .run_floor = 0, .run_level = 0});
         }},
        {"title_continue", [] {
             draw_title(TitleView{.cursor = 0, .slide_from_row = 0, .slide_age = 99, .has_run = 1, .run_training = 0,
                                  .run_floor = 6, .run_level = 4});
         }},
        {"options_top", [] {
             draw_options(options(0, OPT_PAGE_DISPLAY, {20, 21, 22, 23, 18, 15, 17, 19}));
         }},
        {"options_share", [] { draw_options(options(0, OPT_SHARE_STATS, {20, 21, 22, 23, 18, 15, 17, 19})); }},
        {"options_display", [] { draw_options(options(20, OPT_GHOSTING, {0, 1, 2, 6, 7, 8, 19})); }},
        {"options_appearance", [] { draw_options(options(21, OPT_CASE, {3, 5, 11, 19})); }},
        {"options_sound", [] { draw_options(options(22, OPT_VOLUME, {12, 13, 14, 19})); }},
        {"options_gameplay", [] { draw_options(options(23, OPT_TRAINING, {9, 10, 16, 19})); }},
        {"credits", [] {
             int32_t s = 0;
             draw_credits(&s);
         }},
        {"credits_end", [] {
             int32_t s = 999;
             draw_credits(&s);
         }},
        {"message_box", [] {
             std::strcpy(message_box_text, "NOTHING TO USE");
             draw_message_box();
         }},
        {"confirm", [] {
             std::strcpy(confirm_question, "Abandon your run?");
             draw_confirm_dialog();
         }},
        {"consent", [] { draw_consent_dialog(); }},
        {"way_out", [] {
             current_floor = 4;
             way_out_cursor = 2;
             draw_way_out_dialog();
         }},
        {"way_out_last", [] {
             current_floor = 19;
             way_out_cursor = 1;
             draw_way_out_dialog();
         }},
    };
    constexpr int N = sizeof SHOTS / sizeof SHOTS[0];
    // The options screen shows the install id: a fixed one keeps the sheet the same on every run.
    install_id_set("5eed5eed0123456789abcdef01234567");
    // Landscape pictures six to a row, then portrait ones nine to a row, each twice enlarged.
    constexpr int K = 2, GAP = 6, LAND_COLS = 6, PORT_COLS = 9, LABEL = PNG_LABEL_H * K;
    const int land_w = FB_LONG * K + GAP, land_h = FB_SHORT * K + LABEL + GAP;
    const int port_w = FB_SHORT * K + GAP, port_h = FB_LONG * K + LABEL + GAP;
    const int land_rows = (N + LAND_COLS - 1) / LAND_COLS, port_rows = (N + PORT_COLS - 1) / PORT_COLS;
    PngSheet sheet(LAND_COLS * land_w, land_rows * land_h + port_rows * port_h);
    for (int portrait = 0; portrait < 2; portrait++)
        for (int i = 0; i < N; i++) {
            const Shot& s = SHOTS[i];
            if (portrait)
                layout_set_portrait();
            else
                layout_set_landscape();
            screen_clear();
            s.draw();
            const std::string name = std::string(portrait ? "fe_portrait_" : "fe_landscape_") + s.name + ".png";
            png_write_framebuffer(name.c_str(), 3);
            EXPECT_GT(drawn(), 0) << name;
            const int x = portrait ? (i % PORT_COLS) * port_w : (i % LAND_COLS) * land_w;
            const int y = portrait ? land_rows * land_h + (i / PORT_COLS) * port_h : (i / LAND_COLS) * land_h;
            sheet.paste(0, 0, screen_layout.width, screen_layout.height, x, y, K);
            sheet.label(x, y + screen_layout.height * K + 3, s.name, K);
        }
    sheet.write("front_end_sheet.png");
}

}  // namespace
