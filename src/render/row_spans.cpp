// The rows the frame's pieces take; see row_spans.h.
#include "render/row_spans.h"

#include <algorithm>

#include "render/draw.h"
#include "render/screen.h"

RowSpanRecord row_spans;

void row_spans_reset() {
    row_spans.count = 0;
    row_spans.behind = BEHIND_NOTHING;
}

void row_spans_frame(int behind, int x0, int y0, int x1, int y1) {
    row_spans.behind = behind;
    row_spans.frame = {x0, y0, x1, y1};
}

void row_spans_note(int x, int y, int w, int h) {
    if (w < 1 || h < 1 || row_spans.count >= ROW_SPAN_MAX) return;
    // Only what shows is a piece: the columns a mask hides and the rows a clip cuts off are not.
    int x0 = std::max(x + draw_origin_x, 0), x1 = std::min(x + draw_origin_x + w - 1, screen_layout.width - 1);
    int y0 = y + draw_origin_y, y1 = y0 + h - 1;
    if (draw_column_mask) {
        while (x0 <= x1 && draw_column_mask[x0]) x0++;
        while (x1 >= x0 && draw_column_mask[x1]) x1--;
    }
    if (x0 > x1) return;
    if (draw_column_clip) {
        const int stop = std::max(draw_column_clip[x0], draw_column_clip[x1]);
        if (y0 >= stop) return;
        y1 = std::min(y1, stop - 1);
    }
    row_spans.spans[row_spans.count++] = {(int16_t)x0, (int16_t)x1, (int16_t)y0, (int16_t)y1};
}

void row_spans_hide_under(int x, int y, int w, int h) {
    const int x0 = x + draw_origin_x, y0 = y + draw_origin_y, x1 = x0 + w - 1, y1 = y0 + h - 1;
    int kept = 0;
    for (int i = 0; i < row_spans.count; i++) {
        const RowSpan& s = row_spans.spans[i];
        if (s.x0 >= x0 && s.x1 <= x1 && s.y0 >= y0 && s.y1 <= y1) continue;
        row_spans.spans[kept++] = s;
    }
    row_spans.count = kept;
}

void row_spans_clear_within(const ScreenRect& box, const ScreenRect& frame) {
    const int x0 = frame.x0, x1 = frame.x1;
    int top = std::max(box.y0, frame.y0), bottom = std::min(box.y1, frame.y1);
    if (bottom < top || x1 < x0) return;
    // Widening may bring the band's new edge across another piece: go on until none is cut.
    for (bool widened = true; widened;) {
        widened = false;
        for (int i = 0; i < row_spans.count; i++) {
            const RowSpan& s = row_spans.spans[i];
            if (s.x0 < x0 || s.x1 > x1) continue;
            const bool across_top = s.y0 < top && s.y1 >= top;
            const bool across_bottom = s.y0 <= bottom && s.y1 > bottom;
            // A piece around the whole band (a screen's frame) stays.
            if (across_top && across_bottom) continue;
            if (across_top) top = s.y0, widened = true;
            if (across_bottom) bottom = s.y1, widened = true;
        }
    }
    top = std::max(top, frame.y0);
    bottom = std::min(bottom, frame.y1);
    screen_fill_rect(x0, top, x1 - x0 + 1, bottom - top + 1, 0);
}

namespace {
// Clears the outline's lines from (x0, y0) to (x1, y1); each line goes as a fill of its own, so
// no fill reaches over the outline's edge.
void clear_outline_lines(const RowSpan& s, int y0, int y1, bool left, bool right, bool top, bool bottom) {
    const int h = y1 - y0 + 1, w = s.x1 - s.x0 + 1;
    if (left) screen_fill_rect(s.x0, y0, 1, h, 0);
    if (right) screen_fill_rect(s.x1, y0, 1, h, 0);
    if (top) screen_fill_rect(s.x0, s.y0, w, 1, 0);
    if (bottom) screen_fill_rect(s.x0, s.y1, w, 1, 0);
}

// The screen's own outlines around the frame that the box reaches across. A box across both side
// lines and neither the top nor the bottom (a dialog wider than the frame) takes the side lines
// out along its rows, so they pass behind it rather than through its shadow. Any other box hides
// the outline whole: over the top or bottom line (a panel in the screen's place) its band of rows
// would leave the outline without an end; across one side line only (a dialog as wide as the view
// allows, its shadow over that line) the line would show cut beside the box's corner if taken out
// along the rows, and would run into the shadow if left.
void clear_outlines_crossed(const ScreenRect& box, const ScreenRect& frame) {
    int kept = 0;
    for (int i = 0; i < row_spans.count; i++) {
        const RowSpan s = row_spans.spans[i];
        const bool around = s.x0 < frame.x0 && s.x1 > frame.x1 && s.y0 < frame.y0 && s.y1 > frame.y1;
        const bool meets = s.x0 <= box.x1 && s.x1 >= box.x0 && s.y0 <= box.y1 && s.y1 >= box.y0;
        const bool within = box.x0 > s.x0 && box.x1 < s.x1 && box.y0 > s.y0 && box.y1 < s.y1;
        if (!around || !meets || within) {
            row_spans.spans[kept++] = s;
            continue;
        }
        if (box.y0 <= s.y0 || box.y1 >= s.y1 || box.x0 > s.x0 || box.x1 < s.x1) {
            clear_outline_lines(s, s.y0, s.y1, true, true, true, true);
            continue;  // gone: no later box clears it again
        }
        clear_outline_lines(s, box.y0, box.y1, true, true, false, false);
        row_spans.spans[kept++] = s;
    }
    row_spans.count = kept;
}
}  // namespace

void row_spans_clear_behind(const ScreenRect& box) {
    if (row_spans.behind == BEHIND_ROWS) {
        clear_outlines_crossed(box, row_spans.frame);
        row_spans_clear_within(box, row_spans.frame);
        return;
    }
    if (row_spans.behind != BEHIND_PIECES) return;
    // Over a picture only the pieces the box covers in part go, each whole.
    for (int i = 0; i < row_spans.count; i++) {
        const RowSpan& s = row_spans.spans[i];
        const bool meets = s.x0 <= box.x1 && s.x1 >= box.x0 && s.y0 <= box.y1 && s.y1 >= box.y0;
        const bool inside = s.x0 >= box.x0 && s.x1 <= box.x1 && s.y0 >= box.y0 && s.y1 <= box.y1;
        const bool around = s.x0 <= box.x0 && s.x1 >= box.x1 && s.y0 <= box.y0 && s.y1 >= box.y1;
        if (meets && !inside && !around) screen_fill_rect(s.x0, s.y0, s.x1 - s.x0 + 1, s.y1 - s.y0 + 1, 0);
    }
}
