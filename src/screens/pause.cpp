// The pause menu drawn over the dimmed scene: RESUME, OPTIONS and SAVE & QUIT in a dialog box.
// Called by the draw pass in the pause state.
#include "render/draw.h"
#include "render/font.h"
#include "render/row_spans.h"
#include "render/screen.h"
#include "screens/screens.h"

namespace {

constexpr int PAUSE_BOX_H = 72;
constexpr int PAUSE_BOX_WIDTH_PERCENT = 70;
const char* const PAUSE_ROW_NAMES[3] = {"RESUME", "OPTIONS", "SAVE & QUIT"};
constexpr int PAUSE_ROW_Y[3] = {26, 40, 54};
constexpr int PAUSE_TITLE_Y = 8;
constexpr int PAUSE_RULE_Y = 18;  // the line under the title

struct PauseBox {
    int x, y, bw, bh;
};

PauseBox pause_box() {
    const ScreenRect& v = screen_layout.view;
    const int w = v.x1 - v.x0, h = v.y1 - v.y0;
    const int bw = (w + 1) * PAUSE_BOX_WIDTH_PERCENT / 100, bh = PAUSE_BOX_H;
    return {v.x0 + (w - bw + 1) / 2, v.y0 + (h - (bh - 1)) / 2, bw, bh};
}

constexpr int PAUSE_SHADOW = 3;  // the shadow's offset below and right of the box

}  // namespace

ScreenRect pause_area() {
    const PauseBox p = pause_box();
    return {p.x, p.y, p.x + p.bw - 1 + PAUSE_SHADOW, p.y + p.bh - 1 + PAUSE_SHADOW};
}

int pause_width() { return pause_box().bw; }

void draw_pause(int32_t cursor) {
    const PauseBox p = pause_box();
    const int x = p.x, y = p.y, bw = p.bw, bh = p.bh;
    // The dialog box, with its corners lit.
    screen_fill_rect(x + PAUSE_SHADOW, y + PAUSE_SHADOW, bw, bh, 1);
    screen_fill_rect(x, y, bw, bh, 0);
    screen_rect(x, y, bw, bh, 2);
    screen_rect(x + 2, y + 2, bw - 4, bh - 4, 2);
    screen_pixel(x + 1, y + 1, 3);
    screen_pixel(x + bw - 2, y + 1, 3);
    screen_pixel(x + 1, y + bh - 2, 3);
    screen_pixel(x + bw - 2, y + bh - 2, 3);

    text_draw(x + (bw - text_width("PAUSED")) / 2, y + PAUSE_TITLE_Y, "PAUSED", 2);
    screen_hline(x + 8, y + PAUSE_RULE_Y, bw - 16, 2);
    row_spans_note(x + 8, y + PAUSE_RULE_Y, bw - 16, 1);  // the title and its rule clear as one line
    for (int r = 0; r < 3; r++) {
        if (r == cursor) {
            text_draw(x + 10, y + PAUSE_ROW_Y[r], ">", 2);
            text_draw_boxed(x + 20, y + PAUSE_ROW_Y[r], PAUSE_ROW_NAMES[r]);
        } else {
            text_draw(x + 20, y + PAUSE_ROW_Y[r], PAUSE_ROW_NAMES[r], 2);
        }
    }
    // A box over the menu clears whole lines inside the inner outline, so the menu's box stays whole.
    row_spans_frame(BEHIND_ROWS, x + 3, y + 3, x + bw - 4, y + bh - 4);
}
