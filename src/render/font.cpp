// Text drawing and measuring with the 5x7 font. Used by every screen, the HUD and the overlays.
#include "render/font.h"

#include "render/pixel_run.h"
#include "render/screen.h"
#include "render/row_spans.h"
#include "render/text_runs.h"

static const uint8_t BLANK_GLYPH[5] = {0, 0, 0, 0, 0};

const uint8_t* font_glyph(unsigned char c) {
    if (c >= 'a' && c <= 'z') c = (unsigned char)(c - 'a' + 'A');
    if (c < 32 || c > 127) return BLANK_GLYPH;
    return FONT5X7[c - 32];
}

void text_draw_under(int x, int y, const char* text, int colour) {
    if (!text) return;
    int pen_x = x, pen_y = y;
    for (const char* p = text; *p; p++) {
        if (*p == '\n') {
            pen_x = x;
            pen_y += FONT_CELL_H;
            continue;
        }
        const uint8_t* g = font_glyph((unsigned char)*p);
        for (int c = 0; c < 5; c++)
            for (int r = 0; r < 7; r++)
                if (g[c] & (1u << r)) screen_pixel(pen_x + c, pen_y + r, colour);
        pen_x += FONT_CELL_W;
    }
}

static int text_chars(const char* text) {
    int n = 0;
    if (text)
        for (const char* p = text; *p; p++)
            if (*p != '\n') n++;
    return n;
}

static int text_lines(const char* text) {
    int n = 1;
    for (const char* p = text; *p; p++)
        if (*p == '\n') n++;
    return n;
}

void text_draw(int x, int y, const char* text, int colour) {
    if (text && text_runs.on) text_runs_note_text(x, y, text);
    if (text && text[0]) row_spans_note(x, y, text_width(text), text_lines(text) * FONT_CELL_H);
    text_draw_under(x, y, text, colour);
}

int text_width(const char* text) { return FONT_CELL_W * text_chars(text) - 1; }

void text_draw_boxed(int x, int y, const char* text) {
    // A local box fill; the shared rectangle primitive draws the same pixels.
    if (text_runs.on) text_runs_note_fill(x - 1, y - 1, FONT_CELL_W * text_chars(text) + 1, 9);
    pixel_fill(x - 1, y - 1, FONT_CELL_W * text_chars(text) + 1, 9, 2);
    row_spans_note(x - 1, y - 1, FONT_CELL_W * text_chars(text) + 1, 9);  // the plate clears with its line
    text_draw(x, y, text, 0);
}
