// The training's overlay, drawn every frame after the screen: the hint line, the typed tip box,
// the training-over prompt and the spotlight on what to press. Called by the draw pass.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "combat/combat.h"
#include "combat/training.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/row_spans.h"
#include "render/screen.h"
#include "screens/bag_draw.h"
#include "screens/hud.h"
#include "screens/screens.h"
#include "screens/tips_draw.h"
#include "services/services.h"
#include "world/game_state.h"

namespace {

constexpr const char* PROMPT_TEXT =
    "THE TRAINING IS OVER. CARRY ON INTO THE DUNGEON, OR GO BACK TO THE MENU?";
constexpr int ANSWER_BYTES = 40;
constexpr int REVEAL_ALL = 1 << 20;
constexpr int SPOT_MARGIN = 3;       // the frame stands this far outside the target
constexpr int SPOT_PULSE_TICKS = 15; // the outer frame shows every other period of this length
constexpr int CAPTION_H = 11;
constexpr int SPOT_CAPTION_GAP = 2;  // dark rows between the pulsing outer frame and the caption's box
constexpr int BAG_FRAME_INSET = 4;  // a dark column inside the bag panel's inner frame line
constexpr int TIP_BAG_GAP = 2;      // landscape: the tip box's left edge this far left of the bag grid
constexpr int TIP_BOX_LEFT = 6;     // the tip box's left edge this far right of its columns' first
constexpr int TIP_SHADOW_RIGHT = 4; // its shadow's last column this far left of their last
constexpr int TIP_SHADOW_FOOT = 7;  // its shadow's last row this far above the row it stands on
constexpr int CAPTION_BYTES = 128;

// The two alternating expansion buffers of the overlay's texts.
char expand_buffers[2][TIP_TEXT_BYTES];
int expand_next = 0;

const char* expand(const char* text) {
    expand_next ^= 1;
    text_expand_glyphs(text, expand_buffers[expand_next], TIP_TEXT_BYTES);
    return expand_buffers[expand_next];
}

void draw_hint_line(int x0, int y1, int d) {
    const char* text = expand(training.hint);
    int h = draw_wrapped_text(x0 + 10, 0, d - 19, text, REVEAL_ALL, 2, false);
    screen_fill_rect(x0 + 6, y1 - h - 20, d - 11, h + 6, 0);
    screen_rect(x0 + 6, y1 - h - 20, d - 11, h + 6, 1);
    draw_wrapped_text(x0 + 10, y1 - h - 17, d - 19, text, REVEAL_ALL, 2, true);
}

// The tip box's or the prompt's text and size, for the view's width d.
struct TipBox {
    const char* text;  // nullptr when neither is up
    int shown;         // characters typed so far
    bool prompt;
    int h, e;          // the text's height, and 10 when the answers take a second line
    int box_h;         // the box's height, outline included
    char yes[ANSWER_BYTES], no[ANSWER_BYTES];
};

TipBox tip_box(int d) {
    TipBox b{};
    b.prompt = training.over_prompt != 0;
    b.shown = REVEAL_ALL;
    b.text = b.prompt ? expand(PROMPT_TEXT) : tip_shown_text(&b.shown);
    if (!b.text) return b;
    b.h = draw_wrapped_text(0, 0, d - 23, b.text, REVEAL_ALL, 2, false);
    if (b.prompt) {
        text_expand_glyphs("{A}: CARRY ON", b.yes, sizeof b.yes);
        text_expand_glyphs("{B}: MENU", b.no, sizeof b.no);
        if (text_width(b.yes) + text_width("   ") + text_width(b.no) > d - 23) b.e = 10;
    }
    b.box_h = b.h + b.e + 22;
    return b;
}

// Where the tip box stands: the columns x0..x1 it is laid out in (the box from x0 + 6, its shadow
// to x1 - 4) and the row it stands on. On the view's foot, or in the dungeon on the row above the
// compass strip, so that the box's shadow never cuts the strip's letters. Over the bag it stands,
// shadow and all, a dark column inside the panel's inner frame, and in landscape right of the hand
// slots, so the shield the tip speaks of stays in sight.
struct TipPlace {
    int x0, x1, foot;
};

TipPlace tip_place() {
    const ScreenRect& v = screen_layout.view;
    if (game_state != STATE_BAG || !bag_layout.valid)
        return {v.x0, v.x1, game_state == STATE_DUNGEON ? v.y1 - COMPASS_STRIP_H : v.y1};
    const BagLayout& b = bag_layout;
    const int left = screen_layout.landscape ? b.grid_x - TIP_BAG_GAP : b.px + BAG_FRAME_INSET;
    const int shadow_right = b.px + b.pw - 1 - BAG_FRAME_INSET;
    const int shadow_bottom = b.py + b.ph - 1 - BAG_FRAME_INSET;
    return {left - TIP_BOX_LEFT, shadow_right + TIP_SHADOW_RIGHT, std::min(v.y1, shadow_bottom + TIP_SHADOW_FOOT)};
}

void draw_tip_box(int x0, int x1, int y1, int d) {
    const TipBox b = tip_box(d);
    if (!b.text) return;
    const int box_h = b.box_h;
    screen_fill_rect(x0 + 8, y1 - box_h - 6, d - 11, box_h, 1);
    screen_fill_rect(x0 + 6, y1 - box_h - 8, d - 11, box_h, 0);
    screen_rect(x0 + 6, y1 - box_h - 8, d - 11, box_h, 2);
    screen_rect(x0 + 8, y1 - box_h - 6, d - 15, box_h - 4, 2);
    draw_wrapped_text(x0 + 12, y1 - box_h - 2, d - 23, b.text, b.shown, 2, true);
    if (!b.prompt) {
        if (b.shown >= (int)std::strlen(b.text)) draw_button_chip(x1 - 17, y1 - 19);
        return;
    }
    auto centred = [&](const char* s, int y) { text_draw(x0 + 6 + (d - 11 - text_width(s)) / 2, y, s, 3); };
    if (b.e == 0) {
        char both[2 * ANSWER_BYTES + 4];
        std::snprintf(both, sizeof both, "%s   %s", b.yes, b.no);
        centred(both, y1 - 19);
    } else {
        centred(b.yes, y1 - 29);
        centred(b.no, y1 - 19);
    }
}

}  // namespace

void draw_spotlight(int x, int y, int w, int h, const char* caption, bool clear_behind) {
    const ScreenRect& v = screen_layout.view;
    const int lx = x - SPOT_MARGIN, ly = y - SPOT_MARGIN;
    const int rx = x + w - 1 + SPOT_MARGIN, ry = y + h - 1 + SPOT_MARGIN;
    // The caption's box, placed first so that what it clears is cleared before the frame is drawn.
    char words[CAPTION_BYTES] = "";
    if (caption && caption[0]) text_expand_glyphs(caption, words, sizeof words);
    const int bw = text_width(words) + 6;
    // In the bag the caption stays inside the panel's inner frame when it is narrow enough.
    int left = v.x0, right = v.x1, bottom = v.y1;
    const BagLayout& b = bag_layout;
    if (game_state == STATE_BAG && b.valid && bw <= b.pw - 2 * BAG_FRAME_INSET) {
        left = b.px + BAG_FRAME_INSET;
        right = b.px + b.pw - 1 - BAG_FRAME_INSET;
        bottom = b.py + b.ph - 1 - BAG_FRAME_INSET;
    }
    int bx = x + w / 2 - bw / 2;
    bx = std::max(left, std::min(bx, right - bw + 1));
    int by = ry + 1 + SPOT_CAPTION_GAP + 1;
    if (by + CAPTION_H - 1 > bottom) by = ly - 1 - SPOT_CAPTION_GAP - CAPTION_H;
    // Inside the outline of the card it lies on: in the bag the card's, which stands on the bounds'
    // first and last columns; on the level-up the next card's, in the target's columns.
    if (words[0] && clear_behind) {
        const bool bag = game_state == STATE_BAG;
        const ScreenRect caption_box{bx, by, bx + bw - 1, by + CAPTION_H - 1};
        row_spans_clear_within(caption_box, {bag ? left + 1 : x + 1, v.y0, bag ? right - 1 : x + w - 2, v.y1});
    }

    // Darken everything else with a checkerboard of colour 0.
    for (int py = v.y0; py <= v.y1; py++)
        for (int px = v.x0; px <= v.x1; px++) {
            if (px >= lx && px <= rx && py >= ly && py <= ry) continue;
            if (((px + py) & 1) == 0) screen_pixel(px, py, 0);
        }
    screen_rect(lx, ly, w + 2 * SPOT_MARGIN, h + 2 * SPOT_MARGIN, 3);
    if ((frame_counter / SPOT_PULSE_TICKS) & 1)
        screen_rect(lx - 1, ly - 1, w + 2 * SPOT_MARGIN + 2, h + 2 * SPOT_MARGIN + 2, 3);
    if (!words[0]) return;
    screen_fill_rect(bx, by, bw, CAPTION_H, 0);
    screen_rect(bx, by, bw, CAPTION_H, 2);
    text_draw(bx + 3, by + 2, words, 3);
}

bool tip_box_area(ScreenRect* area) {
    const TipPlace p = tip_place();
    const TipBox b = tip_box(p.x1 - p.x0);
    if (!b.text) return false;
    // From the box's top left to its shadow's bottom right.
    *area = {p.x0 + TIP_BOX_LEFT, p.foot - b.box_h - 8, p.x1 - TIP_SHADOW_RIGHT, p.foot - TIP_SHADOW_FOOT};
    return true;
}

void tip_clear_behind() {
    ScreenRect area;
    if (!tip_box_area(&area)) return;
    // Over the bag the tip stands in its own columns of the panel: what lies left of them stays.
    if (game_state == STATE_BAG && bag_layout.valid && row_spans.behind == BEHIND_ROWS)
        row_spans_frame(BEHIND_ROWS, area.x0 - 1, row_spans.frame.y0, row_spans.frame.x1, row_spans.frame.y1);
    row_spans_clear_behind(area);
}

void draw_tips_overlay(const BagCursorView& bag) {
    const ScreenRect& v = screen_layout.view;
    const int x0 = v.x0, x1 = v.x1, y1 = v.y1, d = x1 - x0;
    const bool box_up = tip_or_prompt_showing();
    if (game_state == STATE_DUNGEON && training_active() && !box_up && training.hint[0])
        draw_hint_line(x0, y1, d);
    if (box_up) {
        const TipPlace p = tip_place();
        draw_tip_box(p.x0, p.x1, p.foot, p.x1 - p.x0);
        return;
    }
    SpotlightTarget target{};
    int x, y, w, h;
    if (training_spotlight_target(bag, &target) && hit_region_find(target.kind, target.index, &x, &y, &w, &h))
        draw_spotlight(x, y, w, h, target.caption, target.kind != SPOT_BAG_ITEM);
}
