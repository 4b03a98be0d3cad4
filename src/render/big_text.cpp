// Block letters: each set bit of a 5x7 glyph becomes a cell x cell square. Used by the power-on
// logo and the fight's big marks.
#include "render/big_text.h"

#include <cstring>

#include "render/draw.h"
#include "render/font.h"
#include "render/row_spans.h"
#include "render/text_runs.h"

void draw_big_text_under(int x, int y, const char* text, int cell, int colour) {
    // The dots are boxes of their own: they take nothing out of the text record.
    const uint8_t recording = text_runs.on;
    text_runs.on = 0;
    for (const char* p = text; *p; p++, x += 6 * cell) {
        const uint8_t* cols = font_glyph((unsigned char)*p);
        for (int i = 0; i < 5; i++)
            for (int r = 0; r < 7; r++)
                if (cols[i] & (1u << r)) screen_fill_rect(x + i * cell, y + r * cell, cell, cell, colour);
    }
    text_runs.on = recording;
}

void draw_big_text(int x, int y, const char* text, int cell, int colour) {
    if (text && text_runs.on) text_runs_note_big_text(x, y, text, cell);
    if (text) row_spans_note(x, y, 6 * cell * (int)std::strlen(text), 7 * cell);
    draw_big_text_under(x, y, text, cell, colour);
}
