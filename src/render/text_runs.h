// A record of what one drawn frame shows as text: each run of text drawn (its box), each box
// outline drawn (a frame line), each rule line drawn on its own and each solid box filled. A solid
// box takes the runs, frames and rules it hides wholly out of the record and marks the runs it
// hides in part. Tests read the record to find text that runs over text, over a frame line or off
// the view. It is off unless a test turns it on; then every text, fill, outline and rule costs one
// test of a flag.
#pragma once
#include <cstdint>

constexpr int TEXT_RUN_MAX = 256;
constexpr int TEXT_RUN_CHARS = 40;  // what a finding quotes of a run's text
constexpr int TEXT_FRAME_MAX = 128;
constexpr int TEXT_RULE_MAX = 256;
constexpr int TEXT_COVER_MAX = 192;
constexpr int TEXT_BAND_MAX = 8;
constexpr int TEXT_SPARE_MAX = 8;

struct TextBox {
    int32_t x0, y0, x1, y1;  // inclusive, framebuffer coordinates
    int32_t seq;             // drawing order within the frame
};

struct TextRun {
    TextBox box;             // the cells' ink: first to last drawn character, rows 0..6
    int32_t cut_by;          // seq of a later box that hides part of the run, or 0
    int32_t pen_x, cell;     // where the next character would go, and the dot size
    TextBox plate;           // the box filled just before under this run alone (seq 0: none)
    char text[TEXT_RUN_CHARS];
};

// A border drawn pixel by pixel along the inside of a rectangle (a status border, a vignette):
// no text may lie in it, except, when `spare_sharp` is set, inside the sharp rectangles and the
// spared rectangles (rows the border puts back or keeps off) that it leaves alone.
struct TextBand {
    int32_t x0, y0, x1, y1;
    int32_t left, top, right, bottom;  // depth of each side, 0 when the side has none
    int32_t spare_sharp;
    int32_t seq;
};

struct TextRunRecord {
    uint8_t on;
    int32_t seq;
    TextRun runs[TEXT_RUN_MAX];
    int32_t run_count;
    TextBox frames[TEXT_FRAME_MAX];
    int32_t frame_cut[TEXT_FRAME_MAX];  // 1 where a column clip (a list's edge) cut the frame's foot off
    int32_t frame_count;
    TextBox rules[TEXT_RULE_MAX];  // lines a pixel wide drawn by screen_hline or screen_vline
    int32_t rule_count;
    TextBox covers[TEXT_COVER_MAX];
    int32_t cover_count;
    TextBand bands[TEXT_BAND_MAX];
    int32_t band_count;
    TextBox spared[TEXT_SPARE_MAX];
    int32_t spared_count;
    char cut_hints[TEXT_BAND_MAX][TEXT_RUN_CHARS];  // footers that lost a hint for want of room
    int32_t cut_hint_count;
    int32_t dropped;  // entries refused because a list was full
};
extern TextRunRecord text_runs;

// Empties the record and starts recording; text_runs_stop ends it (the record stays readable).
void text_runs_start();
void text_runs_stop();

// Called by the drawers while the record is on (origin applied here).
void text_runs_note_text(int x, int y, const char* text);
void text_runs_note_fill(int x, int y, int w, int h);
void text_runs_note_frame(int x, int y, int w, int h);
// A line a pixel wide, w x h with w or h 1.
void text_runs_note_rule(int x, int y, int w, int h);
// A text drawn in block letters `cell` pixels a dot.
void text_runs_note_big_text(int x, int y, const char* text, int cell);
void text_runs_note_band(const TextBand& band);
// A rectangle (inclusive corners) that the borders leave alone.
void text_runs_note_spared(int x0, int y0, int x1, int y1);
// A footer whose last hint had to be left out to fit.
void text_runs_note_cut_hint(const char* text);
