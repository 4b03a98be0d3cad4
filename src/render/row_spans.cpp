// The rows the frame's pieces take; see row_spans.h.
#include "render/row_spans.h"

#include <algorithm>

#include "render/draw.h"
#include "render/screen.h"

RowSpanRecord row_spans;

void row_spans_reset() { row_spans.count = 0; }

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

void clear_rows_behind(int top, int bottom, int x0, int x1) {
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
    if (bottom >= top && x1 >= x0) screen_fill_rect(x0, top, x1 - x0 + 1, bottom - top + 1, 0);
}

void clear_pieces_cut(int x0, int y0, int x1, int y1) {
    for (int i = 0; i < row_spans.count; i++) {
        const RowSpan& s = row_spans.spans[i];
        const bool meets = s.x0 <= x1 && s.x1 >= x0 && s.y0 <= y1 && s.y1 >= y0;
        const bool inside = s.x0 >= x0 && s.x1 <= x1 && s.y0 >= y0 && s.y1 <= y1;
        if (meets && !inside) screen_fill_rect(s.x0, s.y0, s.x1 - s.x0 + 1, s.y1 - s.y0 + 1, 0);
    }
}
