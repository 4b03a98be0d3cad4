// Timing of one composed and presented frame on the CPU path. Disabled: it measures, it does not
// judge; run with --gtest_also_run_disabled_tests --gtest_filter='*ComposeTiming*'.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "platform/case_art.h"
#include "platform/compose.h"
#include "platform/compose_paths.h"
#include "platform/frame_loop.h"
#include "render/screen.h"

TEST(ComposeTiming, DISABLED_CpuPathFrame) {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    layout_set_landscape();
    case_select_model(CASE_16_9);
    std::vector<uint32_t> pixels(WINDOW_PIXELS_MAX);
    FrameLoop fl = {};
    fl.window = SDL_CreateWindow("t", 0, 0, case_picture_width(), case_picture_height(), SDL_WINDOW_HIDDEN);
    fl.renderer = SDL_CreateRenderer(fl.window, -1, SDL_RENDERER_TARGETTEXTURE);
    fl.texture = SDL_CreateTexture(fl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                   case_picture_width(), case_picture_height());
    fl.window_pixels = pixels.data();
    fl.integer_scale = 1;
    for (int i = 0; i < FB_BYTES; i++) framebuffer[i] = (uint8_t)(i * 7 % 5);
    for (int ghost : {0, 3}) {
        ghosting_applied = ghost;
        const int frames = 300;
        uint64_t compose_ticks = 0, start = SDL_GetPerformanceCounter();
        for (int f = 0; f < frames; f++) {
            uint64_t t0 = SDL_GetPerformanceCounter();
            compose_frame(fl, 0);
            compose_ticks += SDL_GetPerformanceCounter() - t0;
            present_frame(fl);
        }
        double per_ms = 1000.0 / (double)SDL_GetPerformanceFrequency();
        std::printf("ghosting %d: compose+upload %.3f ms, with present %.3f ms per frame\n", ghost,
                    (double)compose_ticks * per_ms / frames,
                    (double)(SDL_GetPerformanceCounter() - start) * per_ms / frames);
    }
    ghosting_applied = 1;
    SDL_DestroyTexture(fl.texture);
    present_release();
    SDL_DestroyRenderer(fl.renderer);
    SDL_DestroyWindow(fl.window);
    SDL_Quit();
}

// The CPU compositor alone with the case art shown, ghosting HIGH, two buttons pressed and, in the
// second run, the spotlight darkening the whole case.
TEST(ComposeTiming, DISABLED_CpuPathWithCaseArt) {
    layout_set_landscape();
    case_select_model(CASE_16_9);
    case_set_color(CASE_COLOR_DEFAULT);
    std::vector<uint32_t> pixels(WINDOW_PIXELS_MAX);
    CaseArtView art;
    ASSERT_TRUE(case_art_view_current(&art));
    for (int i = 0; i < FB_BYTES; i++) framebuffer[i] = (uint8_t)(i * 7 % 5);
    ghosting_applied = 3;
    for (int glow : {0, 255}) {
        art.glow_level = glow;
        art.glow_which = 0x10;
        const int frames = 300;
        const uint64_t start = SDL_GetPerformanceCounter();
        for (int f = 0; f < frames; f++) {
            framebuffer[f % FB_BYTES] ^= 1;  // a changing frame keeps the ghosting at work
            compose_frame_begin();
            compose_window_cpu_with(pixels.data(), 0x11, &art);
        }
        const double ms = (double)(SDL_GetPerformanceCounter() - start) * 1000.0 /
                          (double)SDL_GetPerformanceFrequency() / frames;
        std::printf("case art, ghosting HIGH, spotlight %d: %.3f ms per composed frame\n", glow, ms);
    }
    ghosting_applied = 1;
}
