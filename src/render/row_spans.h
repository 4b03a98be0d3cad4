// The rows each piece of the frame takes: every outline, every line of text. A box drawn over a
// text screen clears, behind itself, the whole of each piece it touches, so no card, row or line
// shows cut in half beside the box. Emptied by screen_clear; notes past the capacity are dropped.
#pragma once
#include <cstdint>

constexpr int ROW_SPAN_MAX = 512;

struct RowSpan {
    int16_t x0, x1, y0, y1;  // inclusive, framebuffer coordinates
};

struct RowSpanRecord {
    RowSpan spans[ROW_SPAN_MAX];
    int32_t count;
};
extern RowSpanRecord row_spans;

void row_spans_reset();
// A piece from (x, y), w x h pixels, in draw coordinates (the draw origin is applied here).
void row_spans_note(int x, int y, int w, int h);
// A panel drawn over the screen from (x, y), w x h: the pieces wholly under it are hidden, and
// leave the record.
void row_spans_hide_under(int x, int y, int w, int h);
// Fills rows top..bottom of columns x0..x1 with colour 0, first widened to the whole of every
// piece within those columns that lies across the band's top or bottom row. Coordinates are the
// framebuffer's (no draw origin).
void clear_rows_behind(int top, int bottom, int x0, int x1);
// Fills with colour 0 the whole of every piece that the rectangle x0..x1, y0..y1 covers in part,
// so that none shows cut beside a box drawn there over a picture (framebuffer coordinates).
void clear_pieces_cut(int x0, int y0, int x1, int y1);
