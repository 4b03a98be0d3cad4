// The text record that the text-overlap test reads; see text_runs.h.
#include "render/text_runs.h"

#include <algorithm>

#include "render/font.h"
#include "render/screen.h"

TextRunRecord text_runs;

void text_runs_start() {
    text_runs.run_count = text_runs.frame_count = text_runs.cover_count = text_runs.band_count = 0;
    text_runs.rule_count = 0;
    text_runs.cut_hint_count = text_runs.spared_count = 0;
    text_runs.dropped = 0;
    text_runs.seq = 0;
    text_runs.on = 1;
}

void text_runs_stop() { text_runs.on = 0; }

static bool box_inside(const TextBox& inner, const TextBox& outer) {
    return inner.x0 >= outer.x0 && inner.x1 <= outer.x1 && inner.y0 >= outer.y0 && inner.y1 <= outer.y1;
}

static bool box_meets(const TextBox& a, const TextBox& b) {
    return a.x0 <= b.x1 && b.x0 <= a.x1 && a.y0 <= b.y1 && b.y0 <= a.y1;
}

// Where a dithered, masked or clipped draw is under way nothing is hidden for sure.
static bool draw_is_solid() {
    return draw_dither_level == 0 && !draw_column_mask && !draw_column_clip;
}

// The first row a column clip keeps from drawing between columns x0 and x1 (origin applied);
// past the screen's foot without one.
static int clip_row(int x0, int x1) {
    if (!draw_column_clip) return screen_layout.height;
    x0 = std::clamp(x0, 0, screen_layout.width - 1);
    x1 = std::clamp(x1, 0, screen_layout.width - 1);
    return std::max(draw_column_clip[x0], draw_column_clip[x1]);
}

static void note_line(int x, int y, const char* line, int n, int cell) {
    int first = 0, last = n - 1;
    while (first <= last && line[first] == ' ') first++;
    while (last >= first && line[last] == ' ') last--;
    if (first > last) return;
    // A text drawn a character at a time is one run: the next character starts at the last one's pen.
    const int fx = x + draw_origin_x, fy = y + draw_origin_y;
    if (text_runs.run_count > 0) {
        TextRun& p = text_runs.runs[text_runs.run_count - 1];
        if (p.box.y0 == fy && p.cell == cell && p.pen_x == fx + FONT_CELL_W * cell * first && !p.cut_by) {
            int k = 0;
            while (p.text[k]) k++;
            for (int i = first; i <= last && k < TEXT_RUN_CHARS - 1; i++) p.text[k++] = line[i];
            p.text[k] = 0;
            p.box.x1 = fx + FONT_CELL_W * cell * (last + 1) - cell - 1;
            p.pen_x = fx + FONT_CELL_W * cell * (last + 1);
            return;
        }
    }
    if (text_runs.run_count >= TEXT_RUN_MAX) {
        text_runs.dropped++;
        return;
    }
    // A text a column clip hides wholly is not on the screen; one it cuts shows down to the clip.
    const int bx0 = fx + FONT_CELL_W * cell * first, bx1 = fx + FONT_CELL_W * cell * (last + 1) - cell - 1;
    const int stop = clip_row(bx0, bx1);
    if (fy >= stop) return;
    TextRun& r = text_runs.runs[text_runs.run_count++];
    r.box.x0 = bx0;
    r.box.x1 = bx1;
    r.box.y0 = fy;
    r.box.y1 = std::min(r.box.y0 + (FONT_CELL_H - 1) * cell - 1, stop - 1);
    r.box.seq = ++text_runs.seq;
    r.cut_by = 0;
    r.cell = cell;
    // A label's plate: a box no more than a line high, filled since the last text, that holds it.
    r.plate = {0, 0, 0, 0, 0};
    if (text_runs.cover_count > 0) {
        const TextBox& c = text_runs.covers[text_runs.cover_count - 1];
        const int since = text_runs.run_count > 1 ? text_runs.runs[text_runs.run_count - 2].box.seq : 0;
        if (c.seq > since && box_inside(r.box, c) && c.y1 - c.y0 <= r.box.y1 - r.box.y0 + 6) r.plate = c;
    }
    r.pen_x = fx + FONT_CELL_W * cell * (last + 1);
    int k = 0;
    for (int i = first; i <= last && k < TEXT_RUN_CHARS - 1; i++) r.text[k++] = line[i];
    r.text[k] = 0;
}

void text_runs_note_text(int x, int y, const char* text) {
    if (!text) return;
    const char* line = text;
    int line_y = y;
    for (const char* p = text;; p++) {
        if (*p == '\n' || !*p) {
            note_line(x, line_y, line, (int)(p - line), 1);
            if (!*p) break;
            line = p + 1;
            line_y += FONT_CELL_H;
        }
    }
}

void text_runs_note_fill(int x, int y, int w, int h) {
    if (w < 1 || h < 1 || !draw_is_solid()) return;
    TextBox fill = {x + draw_origin_x, y + draw_origin_y, x + draw_origin_x + w - 1, y + draw_origin_y + h - 1,
                    ++text_runs.seq};
    // Hidden runs and frames leave the record; a run hidden in part keeps the box that cut it.
    int kept = 0;
    for (int i = 0; i < text_runs.run_count; i++) {
        TextRun& r = text_runs.runs[i];
        if (box_inside(r.box, fill)) continue;
        if (box_meets(r.box, fill) && !r.cut_by) r.cut_by = fill.seq;
        text_runs.runs[kept++] = r;
    }
    text_runs.run_count = kept;
    kept = 0;
    for (int i = 0; i < text_runs.frame_count; i++) {
        if (box_inside(text_runs.frames[i], fill)) continue;
        text_runs.frame_cut[kept] = text_runs.frame_cut[i];
        text_runs.frames[kept++] = text_runs.frames[i];
    }
    text_runs.frame_count = kept;
    kept = 0;
    for (int i = 0; i < text_runs.rule_count; i++)
        if (!box_inside(text_runs.rules[i], fill)) text_runs.rules[kept++] = text_runs.rules[i];
    text_runs.rule_count = kept;
    if (text_runs.cover_count >= TEXT_COVER_MAX) {
        text_runs.dropped++;
        return;
    }
    text_runs.covers[text_runs.cover_count++] = fill;
}

void text_runs_note_frame(int x, int y, int w, int h) {
    if (w < 3 || h < 3 || draw_dither_level != 0) return;
    if (text_runs.frame_count >= TEXT_FRAME_MAX) {
        text_runs.dropped++;
        return;
    }
    // A frame a column clip cuts has no bottom line: it is taken to end on the clip's row, where
    // nothing of it is drawn, so what lies below the clip never meets it.
    const int x0 = x + draw_origin_x, y0 = y + draw_origin_y, x1 = x0 + w - 1;
    const int stop = clip_row(x0, x1);
    if (y0 >= stop) return;
    text_runs.frame_cut[text_runs.frame_count] = y0 + h - 1 >= stop;
    text_runs.frames[text_runs.frame_count++] = {x0, y0, x1, std::min(y0 + h - 1, stop), ++text_runs.seq};
}

void text_runs_note_rule(int x, int y, int w, int h) {
    if (w < 1 || h < 1 || !draw_is_solid()) return;
    if (text_runs.rule_count >= TEXT_RULE_MAX) {
        text_runs.dropped++;
        return;
    }
    const int x0 = x + draw_origin_x, y0 = y + draw_origin_y;
    text_runs.rules[text_runs.rule_count++] = {x0, y0, x0 + w - 1, y0 + h - 1, ++text_runs.seq};
}

void text_runs_note_big_text(int x, int y, const char* text, int cell) {
    if (!text) return;
    int n = 0;
    while (text[n]) n++;
    note_line(x, y, text, n, cell);
}

void text_runs_note_band(const TextBand& band) {
    if (text_runs.band_count >= TEXT_BAND_MAX) {
        text_runs.dropped++;
        return;
    }
    TextBand& b = text_runs.bands[text_runs.band_count++];
    b = band;
    b.x0 += draw_origin_x;
    b.x1 += draw_origin_x;
    b.y0 += draw_origin_y;
    b.y1 += draw_origin_y;
    b.seq = ++text_runs.seq;
}

void text_runs_note_spared(int x0, int y0, int x1, int y1) {
    if (text_runs.spared_count >= TEXT_SPARE_MAX) {
        text_runs.dropped++;
        return;
    }
    TextBox& b = text_runs.spared[text_runs.spared_count++];
    b = {x0 + draw_origin_x, y0 + draw_origin_y, x1 + draw_origin_x, y1 + draw_origin_y, ++text_runs.seq};
}

void text_runs_note_cut_hint(const char* text) {
    if (text_runs.cut_hint_count >= TEXT_BAND_MAX) {
        text_runs.dropped++;
        return;
    }
    char* out = text_runs.cut_hints[text_runs.cut_hint_count++];
    int k = 0;
    for (; text[k] && k < TEXT_RUN_CHARS - 1; k++) out[k] = text[k];
    out[k] = 0;
}
