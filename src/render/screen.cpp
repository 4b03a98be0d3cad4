// The framebuffer, the screen layout presets and the per-pixel draw pipeline.
// Used by every drawing routine, the composition and the pointer mapping.
#include "render/screen.h"

#include <cstring>

#include "render/row_spans.h"

uint8_t framebuffer[FB_BYTES];

namespace {

// The portrait preset; its second panel is whatever the layout held before.
constexpr ScreenLayout PORTRAIT = {
    .landscape = 0, .width = 144, .height = 312,
    .view = {0, 0, 143, 195},
    .panels = {{0, 196, 143, 311}, {0, 0, 0, 0}},
    .panel_count = 1,
    .dpad_x = 28, .dpad_y = 239, .dpad_arm = 16, .dpad_width = 16,
    .a_x = 100, .a_y = 250, .b_x = 124, .b_y = 226, .button_radius = 11,
    .select_x = 38, .start_x = 78, .pill_y = 280, .pill_w = 28, .pill_h = 8,
};

}  // namespace

// Before any preset: the portrait values with the second panel all zero.
ScreenLayout screen_layout = PORTRAIT;

int32_t draw_origin_x = 0, draw_origin_y = 0;
int32_t draw_color_override = -1;
const uint8_t* draw_column_mask = nullptr;
const int16_t* draw_column_clip = nullptr;
int32_t draw_dither_level = 0;


void layout_set_portrait() {
    const ScreenRect second = screen_layout.panels[1];
    screen_layout = PORTRAIT;
    screen_layout.panels[1] = second;
}

void layout_set_landscape() {
    screen_layout = {
        .landscape = 1, .width = 312, .height = 144,
        .view = {70, 0, 241, 143},
        .panels = {{0, 0, 69, 143}, {242, 0, 311, 143}},
        .panel_count = 2,
        .dpad_x = 35, .dpad_y = 72, .dpad_arm = 16, .dpad_width = 16,
        .a_x = 262, .a_y = 88, .b_x = 288, .b_y = 64, .button_radius = 11,
        .select_x = 21, .start_x = 263, .pill_y = 116, .pill_w = 28, .pill_h = 8,
    };
}

void layout_set_square() {
    ScreenRect first = screen_layout.panels[0];
    ScreenRect second = screen_layout.panels[1];
    screen_layout = {
        .landscape = 1, .width = 180, .height = 180,
        .view = {0, 0, 179, 179},
        .panels = {first, second},
        .panel_count = 0,
        .dpad_x = PAD_OFF, .dpad_y = PAD_OFF, .dpad_arm = 1, .dpad_width = 1,
        .a_x = PAD_OFF, .a_y = PAD_OFF, .b_x = PAD_OFF, .b_y = PAD_OFF, .button_radius = 1,
        .select_x = PAD_OFF, .start_x = PAD_OFF, .pill_y = PAD_OFF, .pill_w = 1, .pill_h = 1,
    };
}

bool layout_is_square() { return screen_layout.width == screen_layout.height; }

void screen_clear() {
    std::memset(framebuffer, 0, sizeof framebuffer);
    row_spans_reset();
}

void screen_set_offset(int32_t x, int32_t y, int32_t override_color) {
    draw_origin_x = x;
    draw_origin_y = y;
    draw_color_override = override_color;
}

void screen_set_dither(int32_t level) {
    if (level < 0) level = 0;
    if (level > DITHER_MAX) level = DITHER_MAX;
    draw_dither_level = level;
}

void screen_set_column_mask(const uint8_t* mask) { draw_column_mask = mask; }
void screen_set_column_clip(const int16_t* clip) { draw_column_clip = clip; }

void screen_reset_draw_state() {
    screen_set_offset(0, 0, -1);
    draw_column_mask = nullptr;
    draw_column_clip = nullptr;
    draw_dither_level = 0;
}

int screen_pixel(int x, int y, int color) {
    if (draw_color_override >= 0) color = draw_color_override;
    x += draw_origin_x;
    y += draw_origin_y;
    if (x < 0 || y < 0 || x >= screen_layout.width || y >= screen_layout.height) return color;
    if (draw_column_mask && draw_column_mask[x]) return color;
    if (draw_column_clip && y >= draw_column_clip[x]) return color;
    if (draw_dither_level != 0 && BAYER4[y & 3][x & 3] < draw_dither_level) return color;
    framebuffer[y * screen_layout.width + x] = (uint8_t)color;
    return color;
}

int screen_get(int x, int y) {
    if (x < 0 || y < 0 || x >= screen_layout.width || y >= screen_layout.height) return 0;
    return framebuffer[y * screen_layout.width + x];
}

int screen_test(int x, int y) { return screen_get(x, y) != 0 ? 1 : 0; }
