// The 5x7 font: measuring, folding, blank glyphs, line breaks and the boxed label.
#include <set>
#include <vector>

#include "render/font.h"
#include "render_fixture.h"

namespace {

using FontTest = RenderTest;

std::vector<uint8_t> snapshot() { return std::vector<uint8_t>(framebuffer, framebuffer + FB_BYTES); }

TEST(Font, WidthCountsEveryCharacterOfEveryLine) {
    EXPECT_EQ(text_width(""), -1);
    EXPECT_EQ(text_width("AB"), 11);
    EXPECT_EQ(text_width("AB\nCD"), 23);  // not the widest line
    EXPECT_EQ(text_width("\n\n"), -1);
    EXPECT_EQ(text_width(nullptr), -1);
}

TEST(Font, DrawnGlyphsFitTheirCellAndAreAllDifferent) {
    std::set<std::vector<uint8_t>> seen;
    for (int c = 33; c <= 95; c++) {
        const uint8_t* g = font_glyph((unsigned char)c);
        std::vector<uint8_t> cols(g, g + 5);
        int lit = 0;
        for (uint8_t b : cols) {
            EXPECT_EQ(b & 0x80, 0) << (char)c;
            lit += b != 0;
        }
        EXPECT_GT(lit, 0) << (char)c << " is blank";
        EXPECT_TRUE(seen.insert(cols).second) << (char)c << " repeats another glyph";
    }
    for (int c : {32, 96, 123, 124, 125, 126, 127, 128, 200, 255, 0, 10})
        for (int i = 0; i < 5; i++) EXPECT_EQ(font_glyph((unsigned char)c)[i], 0) << c;
    EXPECT_EQ(font_glyph('q'), font_glyph('Q'));
}

TEST_F(FontTest, LowerCaseDrawsAsUpperCase) {
    text_draw(10, 10, "abc xyz", 3);
    auto lower = snapshot();
    reset();
    text_draw(10, 10, "ABC XYZ", 3);
    EXPECT_EQ(lower, snapshot());
    EXPECT_GT(count(3), 0);
}

TEST_F(FontTest, BlankGlyphsStillAdvanceThePen) {
    text_draw(10, 10, "{A", 2);
    auto brace = snapshot();
    reset();
    text_draw(16, 10, "A", 2);
    EXPECT_EQ(brace, snapshot());
    reset();
    const char high[] = {(char)200, 'A', 0};
    text_draw(10, 10, high, 2);
    EXPECT_EQ(brace, snapshot());
}

TEST_F(FontTest, GlyphBitsMapToColumnsAndRows) {
    text_draw(20, 30, "L", 1);  // a vertical stroke in column 0, a full bottom row
    for (int r = 0; r < 7; r++) EXPECT_EQ(screen_get(20, 30 + r), 1) << r;
    for (int c = 0; c < 5; c++) EXPECT_EQ(screen_get(20 + c, 36), 1) << c;
    EXPECT_EQ(drawn(), 11);
    Box b = bounds();
    EXPECT_EQ(b.x1, 24);  // the sixth column and eighth row stay empty
    EXPECT_EQ(b.y1, 36);
}

TEST_F(FontTest, NewlineReturnsToTheStartColumnEightRowsDown) {
    text_draw(10, 10, "AB\nC", 3);
    auto both = snapshot();
    reset();
    text_draw(10, 10, "AB", 3);
    text_draw(10, 18, "C", 3);
    EXPECT_EQ(both, snapshot());
}

TEST_F(FontTest, TextFollowsTheOverrideAndOrigin) {
    screen_set_offset(5, 7, 1);
    text_draw(10, 10, "I", 3);
    screen_set_offset(0, 0, -1);
    Box b = bounds();
    EXPECT_EQ(b.x0, 16);  // "I" starts in column 1 of its cell
    EXPECT_EQ(b.y0, 17);
    EXPECT_EQ(count(3), 0);
    EXPECT_GT(count(1), 0);
}

TEST_F(FontTest, BoxedTextSitsOnAColourTwoBox) {
    fill(1);
    text_draw_boxed(10, 20, "HI");
    for (int y = 18; y <= 28; y++)
        for (int x = 8; x <= 22; x++) {
            bool in_box = x >= 9 && x <= 21 && y >= 19 && y <= 27;
            int v = screen_get(x, y);
            if (!in_box) {
                EXPECT_EQ(v, 1) << x << "," << y;
                continue;
            }
            int cx = x - 10, cy = y - 20;
            bool lit = false;
            if (cy >= 0 && cy < 7 && cx >= 0 && cx < 12 && cx % 6 < 5)
                lit = (font_glyph("HI"[cx / 6])[cx % 6] >> cy) & 1;
            EXPECT_EQ(v, lit ? 0 : 2) << x << "," << y;
        }
}

}  // namespace
