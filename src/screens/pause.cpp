// The pause menu drawn over the dimmed scene: RESUME, OPTIONS and SAVE & QUIT in a dialog box.
// Called by the draw pass in the pause state.
#include "render/draw.h"
#include "render/font.h"
#include "render/screen.h"
#include "screens/screens.h"

namespace {

constexpr int PAUSE_BOX_H = 72;
constexpr int PAUSE_BOX_WIDTH_PERCENT = 70;
const char* const PAUSE_ROW_NAMES[3] = {"RESUME", "OPTIONS", "SAVE & QUIT"};
constexpr int PAUSE_ROW_Y[3] = {26, 40, 54};

}  // namespace

void draw_pause(int32_t cursor) {
    const ScreenRect& v = screen_layout.view;
    const int w = v.x1 - v.x0, h = v.y1 - v.y0;
    const int bw = (w + 1) * PAUSE_BOX_WIDTH_PERCENT / 100, bh = PAUSE_BOX_H;
    const int x = v.x0 + (w - bw + 1) / 2, y = v.y0 + (h - (bh - 1)) / 2;
    // The dialog box, with its corners lit.
    screen_fill_rect(x + 3, y + 3, bw, bh, 1);
    screen_fill_rect(x, y, bw, bh, 0);
    screen_rect(x, y, bw, bh, 2);
    screen_rect(x + 2, y + 2, bw - 4, bh - 4, 2);
    screen_pixel(x + 1, y + 1, 3);
    screen_pixel(x + bw - 2, y + 1, 3);
    screen_pixel(x + 1, y + bh - 2, 3);
    screen_pixel(x + bw - 2, y + bh - 2, 3);

    text_draw(x + (bw - text_width("PAUSED")) / 2, y + 8, "PAUSED", 2);
    screen_hline(x + 8, y + 18, bw - 16, 2);
    for (int r = 0; r < 3; r++) {
        if (r == cursor) {
            text_draw(x + 10, y + PAUSE_ROW_Y[r], ">", 2);
            text_draw_boxed(x + 20, y + PAUSE_ROW_Y[r], PAUSE_ROW_NAMES[r]);
        } else {
            text_draw(x + 20, y + PAUSE_ROW_Y[r], PAUSE_ROW_NAMES[r], 2);
        }
    }
}
