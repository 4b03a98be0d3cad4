// The transition's picture: the dither levels of the wipes, the black card, the typed title held
// in place, and the sparks; review pictures of each moment over a real floor (PNGs into QM_PNG_DIR).
#include <gtest/gtest.h>

#include "render/pictures.h"
#include "render/render_fixture.h"
#include "saves/settings.h"
#include "screens/transition.h"
#include "screens/screens_fixture.h"

namespace {

struct TransitionDrawTest : RenderTest {
    void SetUp() override {
        RenderTest::SetUp();
        transition = Transition{};
    }
    void TearDown() override {
        transition = Transition{};
        RenderTest::TearDown();
    }
    static int view_count(int colour) {
        const ScreenRect& v = screen_layout.view;
        int n = 0;
        for (int y = v.y0; y <= v.y1; y++)
            for (int x = v.x0; x <= v.x1; x++) n += screen_get(x, y) == colour;
        return n;
    }
    static int view_area() { return screen_view_width() * screen_view_height(); }
    static void at(int phase, int frame) {
        transition.phase = phase;
        transition.frame = frame;
    }
    // Leftmost column of the title row holding a lit pixel, or -1.
    static int title_left(int y) {
        const ScreenRect& v = screen_layout.view;
        for (int x = v.x0; x <= v.x1; x++)
            for (int r = y; r < y + 7; r++)
                if (screen_get(x, r) != 0) return x;
        return -1;
    }
};

TEST_F(TransitionDrawTest, WipeInDarkensByTheDitherAndWipeOutLiftsIt) {
    transition_start(nullptr, "FLOOR 2", nullptr, false);
    fill(3);
    transition_draw();
    EXPECT_EQ(view_count(0), 0) << "frame 0 draws nothing";
    at(1, 12);
    fill(3);
    transition_draw();
    EXPECT_EQ(view_count(0) * 2, view_area()) << "level 8: half the view";
    EXPECT_EQ(count(0), view_count(0)) << "nothing outside the view";
    at(3, 0);
    fill(3);
    transition_draw();
    EXPECT_EQ(view_count(0), view_area());
    at(3, 15);
    fill(3);
    transition_draw();
    EXPECT_EQ(view_count(0) * 2, view_area());
    at(3, 29);
    fill(3);
    transition_draw();
    EXPECT_LT(view_count(0), view_area() / 8);
}

TEST_F(TransitionDrawTest, TheTypedTitleStandsWhereTheWholeTitleWill) {
    transition_start(nullptr, "FLOOR 3", nullptr, true);
    const ScreenRect& v = screen_layout.view;
    const int y = v.y0 + (v.y1 - v.y0 + 1) / 2 - 3;  // no subtitle: one line, centred
    at(2, 3);  // one letter
    fill(3);
    transition_draw();
    const int first = title_left(y);
    ASSERT_GE(first, 0);
    at(2, 21);  // all seven
    transition_draw();
    EXPECT_EQ(title_left(y), first);
    EXPECT_EQ(first, v.x0 + (v.x1 - v.x0 - 41 + 1) / 2);
    at(2, 0);
    fill(3);
    transition_draw();
    EXPECT_EQ(view_count(0), view_area()) << "no letter before the third step";
}

TEST_F(TransitionDrawTest, SparksStayInTheViewAndFlickerNearTheTop) {
    transition_start(nullptr, "THE TRAINING IS DONE...", "...CAN YOU ESCAPE?", true);
    transition_sparks();
    for (int frame = 0; frame < 200; frame++) {
        at(2, frame);
        screen_clear();
        transition_draw();
        ASSERT_EQ(count(3), view_count(3)) << frame;
    }
}

// Each moment over the first floor, in both layouts.
TEST_F(TransitionDrawTest, ReviewPictures) {
    screens_run_begin();
    PngSheet sheet(5 * 316, 146 + 314);
    const auto moment = [&](int i, int phase, int frame) {
        at(phase, frame);
        layout_set_landscape();
        draw_frame();
        sheet.paste(0, 0, 312, 144, i * 316, 0, 1);
        layout_set_portrait();
        draw_frame();
        sheet.paste(0, 0, 144, 312, i * 316, 146, 1);
        layout_set_landscape();
    };
    transition_start(nullptr, "FLOOR 3", nullptr, true);
    moment(0, 1, 12);  // the wipe, half way
    moment(1, 2, 10);  // typing
    moment(2, 2, 40);  // held
    transition_start(nullptr, "THE TRAINING IS DONE...", "...CAN YOU ESCAPE?", true);
    transition_sparks();
    moment(3, 2, 200);  // two lines with sparks
    moment(4, 3, 18);  // the wipe out
    sheet.write("transition_moments.png");
    screens_run_end();
}

}  // namespace
