// Presentation of the composed picture and the mapping of window points back onto it, windowed
// and full screen, at integer and fractional scales, and the sharp scaling's target kept to the
// renderer that made it.
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/case_art.h"
#include "platform/compose.h"
#include "platform/compose_paths.h"
#include "platform/frame_loop.h"
#include "platform/palette.h"
#include "render/screen.h"
#include "saves/settings.h"

namespace {

struct Present : ::testing::Test {
    FrameLoop fl = {};
    std::vector<uint32_t> pixels = std::vector<uint32_t>(WINDOW_PIXELS_MAX);

    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        layout_set_landscape();
        case_select_model(CASE_16_9);
        case_set_color(CASE_PLAIN_PAD_COLOUR);  // these pictures are of the plain pad
        settings.fullscreen = 0;
        screen_clear();
    }
    // A window of w x h with the frame loop's renderer and streaming texture, one frame presented.
    void open(int w, int h, bool integer) {
        fl.window = SDL_CreateWindow("t", 0, 0, w, h, SDL_WINDOW_HIDDEN);
        ASSERT_NE(fl.window, nullptr) << SDL_GetError();
        fl.renderer = SDL_CreateRenderer(fl.window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
        ASSERT_NE(fl.renderer, nullptr) << SDL_GetError();
        fl.texture = SDL_CreateTexture(fl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                       case_picture_width(), case_picture_height());
        ASSERT_NE(fl.texture, nullptr) << SDL_GetError();
        fl.window_pixels = pixels.data();
        fl.integer_scale = integer;
        frame();
    }
    void frame() {
        compose_frame(fl, 0);
        present_frame(fl);
    }
    void TearDown() override {
        settings.fullscreen = 0;
        case_set_color(CASE_COLOR_DEFAULT);
        compose_source = nullptr;
        if (fl.texture) SDL_DestroyTexture(fl.texture);
        present_release();  // the next test's renderer may take this one's address
        if (fl.renderer) SDL_DestroyRenderer(fl.renderer);
        if (fl.window) SDL_DestroyWindow(fl.window);
        SDL_Quit();
    }
    std::pair<int, int> map(int x, int y) {
        int ox = -1, oy = -1;
        window_to_screen(fl.renderer, x, y, &ox, &oy);
        return {ox, oy};
    }
    uint32_t window_pixel(int x, int y) {
        uint32_t p = 0;
        SDL_Rect r = {x, y, 1, 1};
        SDL_RenderReadPixels(fl.renderer, &r, SDL_PIXELFORMAT_ARGB8888, &p, 4);
        return p | 0xFF000000u;
    }
};

TEST_F(Present, WindowedAtTwiceTheSizeWithLetterbox) {
    open(2016, 1234, false);  // 1008 x 567 at 2x, 50 pixels of bar above and below
    int lw = 0, lh = 0;
    SDL_RenderGetLogicalSize(fl.renderer, &lw, &lh);
    EXPECT_EQ(compose_source, fl.texture);  // no case art: the CPU path
    EXPECT_EQ(lw, 1008);
    EXPECT_EQ(lh, 567);
    EXPECT_EQ(map(1000, 550), std::make_pair(500, 250));
    EXPECT_EQ(map(0, 50), std::make_pair(0, 0));
    EXPECT_EQ(window_pixel(0, 60), PAD_COLORS[0]);
    EXPECT_EQ(window_pixel(0, 10), 0xFF000000u);
}

TEST_F(Present, IntegerScaleTruncatesAndCentres) {
    open(1500, 900, true);
    EXPECT_TRUE(SDL_RenderGetIntegerScale(fl.renderer));
    EXPECT_EQ(map(246, 166), std::make_pair(0, 0));  // offsets (1500 - 1008) / 2 and (900 - 567) / 2 = 166.5 = 166.5
    EXPECT_EQ(map(846, 467), std::make_pair(600, 300));
    // A window smaller than the picture turns integer scaling off rather than showing nothing.
    SDL_SetWindowSize(fl.window, 800, 450);
    frame();
    EXPECT_FALSE(SDL_RenderGetIntegerScale(fl.renderer));
}

TEST_F(Present, SharpScaleMapsThroughTheFractionalFactor) {
    open(2520, 1418, false);  // 2.5 x
    auto [x, y] = map(1260, 709);
    EXPECT_EQ(x, 504);
    EXPECT_EQ(y, 283);
    // The sharp path still shows flat areas in their own colour.
    EXPECT_EQ(window_pixel(10, 10), PAD_COLORS[0]);
}

TEST_F(Present, SharpTargetFollowsItsRenderer) {
    open(2520, 1418, false);  // 2.5 x: the sharp path
    ASSERT_NE(sharp_texture, nullptr);
    // A device reset takes the target's device: the frame loop drops it, the next frame makes another.
    SDL_Event e = {};
    e.type = SDL_RENDER_DEVICE_RESET;
    SDL_PushEvent(&e);
    run_frame(fl);
    EXPECT_EQ(sharp_texture, nullptr);
    frame();
    ASSERT_NE(sharp_texture, nullptr);
    // Another renderer at the same scale draws through a target of its own, not the first one's.
    FrameLoop other = fl;
    other.window = SDL_CreateWindow("t2", 0, 0, 2520, 1418, SDL_WINDOW_HIDDEN);
    other.renderer = SDL_CreateRenderer(other.window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    other.texture = SDL_CreateTexture(other.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                      case_picture_width(), case_picture_height());
    compose_frame(other, 0);
    present_frame(other);
    EXPECT_EQ(SDL_SetRenderTarget(other.renderer, sharp_texture), 0) << SDL_GetError();
    SDL_SetRenderTarget(other.renderer, nullptr);
    present_release();
    SDL_DestroyRenderer(other.renderer);
    SDL_DestroyWindow(other.window);
}

TEST_F(Present, FullScreenShowsOnlyTheScreenAreaAndMapsBackOntoTheCase) {
    settings.fullscreen = 1;
    framebuffer[70] = 3;  // top-left pixel of the view
    open(1032, 864, false);  // 516 x 432 screen area at 2x
    int lw = 0, lh = 0;
    SDL_RenderGetLogicalSize(fl.renderer, &lw, &lh);
    EXPECT_EQ(lw, 516);
    EXPECT_EQ(lh, 432);
    EXPECT_EQ(window_pixel(0, 0), pixels[(size_t)3 * 18 * 1008 + 3 * 82]);
    EXPECT_NE(window_pixel(0, 0), PAD_COLORS[0]);
    // A click on the picture's top-left lands on the view's top-left pixel, not on the pad.
    auto [x, y] = map(0, 0);
    int fx = 0, fy = 0;
    case_point_from_window(x, y, &fx, &fy);
    EXPECT_EQ(fx, 70);
    EXPECT_EQ(fy, 0);
    case_point_from_window(map(1031, 863).first, map(1031, 863).second, &fx, &fy);
    EXPECT_EQ(fx, 241);
    EXPECT_EQ(fy, 143);
    // The Phone case never goes full screen.
    case_select_model(CASE_PHONE);
    frame();
    SDL_RenderGetLogicalSize(fl.renderer, &lw, &lh);
    EXPECT_EQ(lw, case_picture_width());
}

}  // namespace
