// A landscape framebuffer with neutral draw and blit state, and ways to inspect what was drawn.
#pragma once
#include <gtest/gtest.h>

#include <cstring>

#include "render/blit.h"
#include "render/icons.h"
#include "render/screen.h"
#include "render/view_frame.h"

struct RenderTest : ::testing::Test {
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        layout_set_landscape();
        screen_reset_draw_state();
        screen_clear();
        sprite_set_clip(0, 0, -1, -1);
        sprite_set_checker_dim(0);
        sprite_set_break_bands(0);
        icon_quarter_turn = 0;
        view_frame.scene = view_scene_empty();  // drawers called alone see no fight and no shrine
    }
    static void fill(int colour) { std::memset(framebuffer, colour, FB_BYTES); }
    static int count(int colour) {
        int n = 0;
        for (int y = 0; y < screen_layout.height; y++)
            for (int x = 0; x < screen_layout.width; x++) n += screen_get(x, y) == colour;
        return n;
    }
    static int drawn() { return screen_layout.width * screen_layout.height - count(0); }
    struct Box {
        int x0, y0, x1, y1;
    };
    // The smallest box holding every pixel that differs from `background`; x1 < x0 if none.
    static Box bounds(int background = 0) {
        Box b = {1 << 20, 1 << 20, -1, -1};
        for (int y = 0; y < screen_layout.height; y++)
            for (int x = 0; x < screen_layout.width; x++)
                if (screen_get(x, y) != background) {
                    if (x < b.x0) b.x0 = x;
                    if (y < b.y0) b.y0 = y;
                    if (x > b.x1) b.x1 = x;
                    if (y > b.y1) b.y1 = y;
                }
        return b;
    }
};
