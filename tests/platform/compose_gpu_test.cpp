// The GPU compositor against the CPU compositor on the software renderer, with a small synthetic
// case picture (the game has no case art yet, so this is the only way to exercise the GPU path).
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/case_art.h"
#include "platform/compose.h"
#include "platform/compose_paths.h"
#include "platform/palette.h"
#include "render/draw.h"
#include "render/screen.h"

namespace {

struct SyntheticArt {
    std::vector<uint32_t> sheet, mask, band, layer_pictures[3];
    CaseArtView view;
};

// A blue gradient case, three buttons (A pressed, B glowing, START outlined) and a sheen.
void synthetic_art_make(SyntheticArt& a, uint32_t generation) {
    int w = case_picture_width(), h = case_picture_height();
    a.sheet.resize((size_t)w * h);
    a.mask.resize((size_t)w * h);
    a.band.resize((size_t)2 * w * h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            a.sheet[(size_t)y * w + x] =
                0xFF000000u | (uint32_t)(x * 255 / w) << 16 | (uint32_t)(y * 255 / h) << 8 | 0xC8;
            uint32_t m = ((x / 7 + y / 5) % 3 == 0) ? (uint32_t)((x * 3 + y) % 256) : 0;
            a.mask[(size_t)y * w + x] = 0xFF000000u | m << 16 | m << 8 | m;
        }
    for (int y = 0; y < h; y++)
        for (int x = 0; x < 2 * w; x++) {
            uint32_t v = (uint32_t)((x + y) % 200);
            a.band[(size_t)y * 2 * w + x] = 0xFF000000u | v << 16 | (v * 236 / 255) << 8 | (v * 186 / 255);
        }
    CaseArtView& v = a.view;
    v = {};
    v.sheet = a.sheet.data();
    v.width = w;
    v.height = h;
    const int sizes[3][2] = {{79, 79}, {79, 79}, {100, 40}};
    const int places[3][2] = {{20, 30}, {w - 120, h - 100}, {w / 2, 4}};  // START partly off the top
    const uint8_t keys[3] = {16, 32, 64};
    for (int i = 0; i < 3; i++) {
        int lw = sizes[i][0], lh = sizes[i][1];
        a.layer_pictures[i].assign((size_t)lw * lh, 0);
        for (int k = 0; k < lw * lh; k++) a.layer_pictures[i][k] = 0xFF202020u + (uint32_t)(k % lw) * 0x010203u;
        v.layers[i] = {a.layer_pictures[i].data(), lw, lh, places[i][0], places[i][1], keys[i]};
    }
    v.layers[2].y = 2;
    v.layer_count = 3;
    v.generation = generation;
    v.glow_mask = a.mask.data();
    v.mask_width = w;
    v.mask_height = h;
    v.band = a.band.data();
    v.band_width = 2 * w;
    v.band_height = h;
    v.sheen_offset = -w / 3;
    v.glow_level = 200;
    v.glow_which = 32;
    v.outline_mask = 64;
}

void framebuffer_pattern(int seed) {
    for (int y = 0; y < screen_layout.height; y++)
        for (int x = 0; x < screen_layout.width; x++) {
            int v = x / 3 + y / 2 + seed;
            framebuffer[y * screen_layout.width + x] = (uint8_t)(v % 8 == 7 ? 9 : v % 7);
        }
}

struct GpuCompose : ::testing::Test {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::vector<uint32_t> cpu, gpu;
    int32_t saved_palette = screen_palette, saved_effect = screen_effect, saved_ghost = ghosting_applied;

    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        layout_set_landscape();
        case_select_model(CASE_16_9);
        window = SDL_CreateWindow("t", 0, 0, 640, 360, SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
        ASSERT_NE(renderer, nullptr) << SDL_GetError();
        sharp_rects_clear();
    }
    void TearDown() override {
        gpu_path_release();
        if (renderer) SDL_DestroyRenderer(renderer);
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
        screen_palette = saved_palette;
        screen_effect = saved_effect;
        ghosting_applied = saved_ghost;
        sharp_rects_clear();
    }

    // Composes the current frame both ways; returns the largest channel difference.
    int compose_both(const CaseArtView& art, uint8_t pressed) {
        int w = case_picture_width(), h = case_picture_height();
        cpu.assign((size_t)w * h, 0);
        gpu.assign((size_t)w * h, 0);
        compose_frame_begin();
        EXPECT_TRUE(gpu_path_prepare(renderer, art));
        SDL_Texture* picture = compose_window_gpu_with(renderer, pressed, art);
        EXPECT_NE(picture, nullptr) << SDL_GetError();
        if (!picture) return 999;
        SDL_SetRenderTarget(renderer, picture);
        EXPECT_EQ(SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, gpu.data(), w * 4), 0);
        SDL_SetRenderTarget(renderer, nullptr);
        compose_window_cpu_with(cpu.data(), pressed, &art);
        int worst = 0;
        for (size_t i = 0; i < cpu.size(); i++)
            for (int s = 0; s <= 16; s += 8) {
                int d = std::abs((int)(cpu[i] >> s & 0xFF) - (int)(gpu[i] >> s & 0xFF));
                if (d > worst) worst = d;
            }
        return worst;
    }

    // The screen area must match exactly: both paths expand it through the same blocks.
    void expect_screen_area_equal() {
        ComposeGeometry g = compose_geometry();
        int wrong = 0;
        for (int y = 0; y < g.screen_height; y++)
            for (int x = 0; x < g.screen_width; x++) {
                size_t i = (size_t)(g.screen_y + y) * g.width + g.screen_x + x;
                wrong += (cpu[i] & 0xFFFFFF) != (gpu[i] & 0xFFFFFF);
            }
        EXPECT_EQ(wrong, 0);
    }
};

TEST_F(GpuCompose, EqualsCpuForEveryEffectAndPalette) {
    SyntheticArt art;
    synthetic_art_make(art, 1);
    ghosting_applied = 0;
    framebuffer_pattern(0);
    for (int pal = 0; pal < PALETTE_COUNT; pal++)
        for (int fx = 0; fx < EFFECT_COUNT; fx++) {
            screen_palette = pal;
            screen_effect = fx;
            EXPECT_LE(compose_both(art.view, 16), 2) << "palette " << pal << " effect " << fx;
            expect_screen_area_equal();
        }
}

TEST_F(GpuCompose, EqualsCpuWithGhostingOverSeveralFrames) {
    SyntheticArt art;
    synthetic_art_make(art, 1);
    screen_palette = PAL_SLATE;
    screen_effect = EFFECT_LCD;
    sharp_rect_add(80, 10, 40, 20);
    for (int level = 1; level < 4; level++) {
        ghosting_applied = level;
        for (int frame = 0; frame < 4; frame++) {
            framebuffer_pattern(frame * 5);
            EXPECT_LE(compose_both(art.view, (uint8_t)(frame & 1 ? 0 : 16)), 2) << "level " << level;
            expect_screen_area_equal();
        }
    }
}

TEST_F(GpuCompose, EqualsCpuInPortraitAndAfterTheArtChanges) {
    SyntheticArt art;
    ghosting_applied = 1;
    for (int model = 0; model < CASE_MODEL_COUNT; model++) {
        layout_set_portrait();
        case_select_model(model);
        synthetic_art_make(art, 10 + model);
        framebuffer_pattern(model);
        EXPECT_LE(compose_both(art.view, 0), 2) << "model " << model;
        expect_screen_area_equal();
        // A recoloured picture of the same size is uploaded again.
        for (uint32_t& p : art.sheet) p ^= 0x00300000;
        art.view.generation++;
        art.view.glow_level = 0;
        EXPECT_LE(compose_both(art.view, 32), 2) << "model " << model;
    }
}

TEST_F(GpuCompose, RefusedWhenTheArtIsNotTheWindowSize) {
    SyntheticArt art;
    synthetic_art_make(art, 1);
    art.view.width -= 3;
    EXPECT_FALSE(gpu_path_prepare(renderer, art.view));
    EXPECT_FALSE(gpu_path_failed);
}

// A renderer that refuses the window target (here: one that did not make it) after drawing the
// sheen must be left drawing to the window, or the CPU frame that follows is never seen.
TEST_F(GpuCompose, RefusedWindowTargetLeavesTheWindowSelected) {
    SyntheticArt art;
    synthetic_art_make(art, 1);
    ASSERT_TRUE(gpu_path_prepare(renderer, art.view));
    SDL_Window* other_window = SDL_CreateWindow("u", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
    ASSERT_NE(other_window, nullptr) << SDL_GetError();
    SDL_Renderer* other = SDL_CreateRenderer(other_window, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    ASSERT_NE(other, nullptr) << SDL_GetError();
    compose_frame_begin();
    EXPECT_EQ(compose_window_gpu_with(other, 0, art.view), nullptr);
    EXPECT_TRUE(gpu_path_failed);
    EXPECT_EQ(SDL_GetRenderTarget(other), nullptr);
    gpu_path_release();  // its sheen textures belong to the other renderer
    gpu_path_failed = false;
    SDL_DestroyRenderer(other);
    SDL_DestroyWindow(other_window);
}

}  // namespace
