// The rows each piece of the frame takes: every outline, every line of text. A box drawn over a
// text screen clears, behind itself, the whole of each piece it touches, so no card, row or line
// shows cut in half beside the box. Emptied by screen_clear; notes past the capacity are dropped.
#pragma once
#include <cstdint>

#include "render/screen.h"

constexpr int ROW_SPAN_MAX = 512;

struct RowSpan {
    int16_t x0, x1, y0, y1;  // inclusive, framebuffer coordinates
};

struct RowSpanRecord {
    RowSpan spans[ROW_SPAN_MAX];
    int32_t count;
    int32_t behind;  // RowSpanBehind
    ScreenRect frame;
};
extern RowSpanRecord row_spans;

void row_spans_reset();
// A piece from (x, y), w x h pixels, in draw coordinates (the draw origin is applied here).
void row_spans_note(int x, int y, int w, int h);
// A panel drawn over the screen from (x, y), w x h: the pieces wholly under it are hidden, and
// leave the record.
void row_spans_hide_under(int x, int y, int w, int h);
// What a box drawn over the screen clears behind itself, set by the screen (or the box) it stands
// on: nothing (a first-person picture), the pieces it cuts (a picture with lines of text on it), or
// whole rows across a frame (a screen of text, a menu's box).
enum RowSpanBehind : int32_t { BEHIND_NOTHING, BEHIND_PIECES, BEHIND_ROWS };
// The frame of the screen drawn last, in framebuffer coordinates (inclusive); reset by screen_clear.
void row_spans_frame(int behind, int x0, int y0, int x1, int y1);
// Clears behind a box (framebuffer coordinates, its shadow included) within the frame last set:
// the box's rows across the frame are filled with colour 0, first widened to the whole of every
// piece within the frame's columns that lies across the band's top or bottom row (a piece around
// the whole band, the frame's own outline, stays). The screen's outlines around the frame that the
// box reaches across go: along the box's rows under one across both their sides only, whole under
// any other. Over a picture the frame is the box itself, and a piece reaching out of it that the
// box cuts is cleared whole.
void row_spans_clear_behind(const ScreenRect& box);
// The rows behind a box within a frame given here: a call-out standing on one card of the screen.
void row_spans_clear_within(const ScreenRect& box, const ScreenRect& frame);
