// The framebuffer, the screen layout record and the shared draw state.
// Every primitive, blit and text routine writes its pixels through screen_pixel's pipeline.
#pragma once
#include <cstdint>

#include "world/dither.h"

constexpr int FB_LONG = 312;
constexpr int FB_SHORT = 144;
constexpr int FB_BYTES = FB_LONG * FB_SHORT;  // 44,928
constexpr int DITHER_MAX = 16;
constexpr int PAD_OFF = -1000;

struct ScreenRect {
    int32_t x0, y0, x1, y1;  // inclusive corners
};

// Thirty signed 32-bit fields, in this order.
struct ScreenLayout {
    int32_t landscape;
    int32_t width, height;
    ScreenRect view;
    ScreenRect panels[2];
    int32_t panel_count;
    int32_t dpad_x, dpad_y, dpad_arm, dpad_width;
    int32_t a_x, a_y, b_x, b_y, button_radius;
    int32_t select_x, start_x, pill_y, pill_w, pill_h;
};
static_assert(sizeof(ScreenLayout) == 30 * 4);

extern ScreenLayout screen_layout;

// The view rectangle's size in pixels.
inline int screen_view_width() { return screen_layout.view.x1 - screen_layout.view.x0 + 1; }
inline int screen_view_height() { return screen_layout.view.y1 - screen_layout.view.y0 + 1; }
extern uint8_t framebuffer[FB_BYTES];

extern int32_t draw_origin_x, draw_origin_y;
extern int32_t draw_color_override;
extern const uint8_t* draw_column_mask;
extern const int16_t* draw_column_clip;
extern int32_t draw_dither_level;


void layout_set_portrait();
void layout_set_landscape();
void layout_set_square();
bool layout_is_square();

void screen_clear();
void screen_set_offset(int32_t x, int32_t y, int32_t override_color);
void screen_set_dither(int32_t level);
void screen_set_column_mask(const uint8_t* mask);
void screen_set_column_clip(const int16_t* clip);
int screen_pixel(int x, int y, int color);
// Whether the box (x0, y0)-(x1, y1) lies inside the framebuffer with no offset and no colour
// override in force: its pixels may then be written straight into the framebuffer by a drawer
// that makes the column mask, clip and dither tests it still needs itself.
inline bool screen_box_direct(int x0, int y0, int x1, int y1) {
    return draw_origin_x == 0 && draw_origin_y == 0 && draw_color_override < 0 && x0 >= 0 && y0 >= 0 &&
           x1 < screen_layout.width && y1 < screen_layout.height;
}
int screen_get(int x, int y);
int screen_test(int x, int y);
// Puts every draw-state switch back to its neutral value.
void screen_reset_draw_state();
