// The shrine screen: the room in first person under a header with the souls, and at the bottom
// what the player faces (an open card, the soul fire's offer, a named object or the way out).
// Called by the draw pass in the shrine's state; reads the shrine hub and the profile.
#include <cstdio>
#include <cstring>

#include "profile/profile.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/screen.h"
#include "render/view.h"
#include "screens/screens.h"
#include "shrine/shrine.h"

namespace {

constexpr const char* RANK_SUFFIX[6] = {"", " I", " II", " III", " IV", " V"};

struct Area {
    int L, T, R, B, W;
    bool landscape;
};

Area area_now() {
    const ScreenRect& v = screen_layout.view;
    return Area{v.x0, v.y0, v.x1, v.y1, v.x1 - v.x0, screen_layout.landscape != 0};
}

int centred_x(const Area& a, const char* text) { return a.L + (a.W + 1 - text_width(text)) / 2; }

// A filled box of colour 0 with a one-pixel outline of colour 2.
void box(int x, int y, int w, int h) {
    screen_fill_rect(x, y, w, h, 0);
    screen_rect(x, y, w, h, 2);
}

// The card's lines as drawn: a line too wide for the card first loses its double blanks, then
// breaks at the last blank that fits and goes on in the row below, so no word is cut.
constexpr int CARD_ROWS_MAX = 3 * SHRINE_CARD_LINES;
constexpr int CARD_ROW_BYTES = 64;
struct CardRows {
    char text[CARD_ROWS_MAX][CARD_ROW_BYTES];
    uint8_t colour[CARD_ROWS_MAX];
    int count;
};

void card_row_add(CardRows& rows, const char* text, int length, uint8_t colour) {
    if (rows.count >= CARD_ROWS_MAX) return;
    std::snprintf(rows.text[rows.count], CARD_ROW_BYTES, "%.*s", length, text);
    rows.colour[rows.count++] = colour;
}

void card_line_rows(CardRows& rows, const char* line, uint8_t colour, int width) {
    char s[CARD_ROW_BYTES];
    std::snprintf(s, sizeof s, "%s", text_ring_expand(line));
    if (text_width(s) > width) {
        int w = 0;
        for (int r = 0; s[r]; r++)
            if (s[r] != ' ' || s[r + 1] != ' ') s[w++] = s[r];
        s[w] = 0;
    }
    const char* p = s;
    while (*p) {
        const int n = (int)std::strlen(p);
        int cut = n;
        if (text_width(p) > width) {
            // The last blank that leaves the row within the width (6 pixels a character, the
            // last one's spacing not counted); a word wider than the card stays whole on its row.
            int fit = (width + 1) / 6;
            while (fit > 0 && p[fit] != ' ') fit--;
            if (fit == 0)
                while (fit < n && p[fit] != ' ') fit++;
            cut = fit;
        }
        card_row_add(rows, p, cut, colour);
        p += cut;
        while (*p == ' ') p++;
    }
}

void draw_card(const Area& a) {
    ShrineCard card;
    if (!shrine_inspect_card(&card)) return;
    const int width = a.W - 8;
    CardRows rows;
    rows.count = 0;
    for (int i = 0; i < card.count; i++) card_line_rows(rows, card.lines[i], card.colours[i], width);
    // The card's height for the rows drawn: one line broken in two makes it a row taller.
    ShrineCard drawn = card;
    drawn.count = rows.count;
    const int h = inspect_card_height(drawn);
    const int y = (card.pinned || a.T + h + 15 >= a.B) ? a.B - h - 1 : a.T + 15;
    box(a.L + 1, y, a.W - 1, h);
    for (int i = 0; i < rows.count; i++) text_draw(a.L + 5, y + 4 + 9 * i, rows.text[i], rows.colour[i]);
    if (card.pages >= 2) {
        char pages[32];
        std::snprintf(pages, sizeof pages, "< %d/%d >", card.page + 1, card.pages);
        text_draw(a.R - text_width(pages) - 4, y + h - 10, pages, 1);
    }
}

void draw_fire_offer(const Area& a, int u) {
    const int ph = a.landscape ? 31 : 40;
    const int g = a.landscape ? a.B - 33 : a.B - 44;
    box(a.L + 6, g, a.W - 11, ph);
    const int ranks = upgrade_max_rank(u), bought = upgrade_rank(u);
    char title[32];
    std::snprintf(title, sizeof title, "%s%s", upgrade_name(u), RANK_SUFFIX[bought < 5 ? bought : 5]);
    int pip_x, pip_y;
    if (a.landscape) {
        const int x = a.L + (a.W - text_width(title) - 8 * ranks - 4) / 2;
        text_draw(x, g + 4, title, 3);
        pip_x = x + text_width(title) + 5;
        pip_y = g + 6;
    } else {
        text_draw(centred_x(a, title), g + 4, title, 3);
        pip_x = a.L + a.W / 2 - 4 * ranks + 1;
        pip_y = g + 13;
    }
    for (int k = 0; k < ranks; k++) {
        if (k < bought) screen_fill_rect(pip_x + 8 * k, pip_y, 5, 3, upgrade_enabled(u) ? 3 : 1);
        else screen_rect(pip_x + 8 * k, pip_y, 5, 3, 1);
    }
    const char* desc = upgrade_desc(u);
    const int dy = a.landscape ? g + 13 : g + 19;
    text_draw(centred_x(a, desc), dy, desc, 2);
    char action[40];
    int colour;
    const int cost = upgrade_next_cost(u);
    if (shrine.banner_timer > 0) {
        std::snprintf(action, sizeof action, "%s", shrine.banner);
        colour = 3;
    } else if (cost <= 0) {
        std::snprintf(action, sizeof action, "FULLY LIT");
        colour = 1;
    } else {
        std::snprintf(action, sizeof action, "{A}: OFFER %d SOULS", cost);
        colour = profile.souls >= cost ? 3 : 1;
    }
    const char* fitted = text_fit(action, a.W - 15);
    // The landscape box is a line shorter: its last line keeps a dark row above the frame.
    text_draw(centred_x(a, fitted), dy + (a.landscape ? 9 : 10), fitted, colour);
}

// The line at the bottom of the view, on a dark band so the room's candles cannot run through it.
void draw_bottom_line(const Area& a, const char* text, int colour) {
    screen_fill_rect(a.L + 2, a.B - 12, a.W - 3, 11, 0);
    text_draw(centred_x(a, text), a.B - 10, text, colour);
}

// "{A}: name", without the blank (or, with a very long key name, the name alone) where the
// portrait view is too narrow; it may use the band's width less a pixel on each side.
const char* object_line(const Area& a, const char* name) {
    char forms[3][40];
    std::snprintf(forms[0], sizeof forms[0], "{A}: %s", name);
    std::snprintf(forms[1], sizeof forms[1], "{A}:%s", name);
    std::snprintf(forms[2], sizeof forms[2], "%s", name);
    const char* const list[3] = {forms[0], forms[1], forms[2]};
    return text_fit_forms(list, 3, a.W - 5);
}

void draw_facing(const Area& a) {
    const char* name = shrine_object_name();
    if (shrine.banner_timer > 0) {
        const int x = centred_x(a, shrine.banner);
        box(x - 4, a.T + 16, text_width(shrine.banner) + 8, 12);
        text_draw(x, a.T + 19, shrine.banner, 3);
    }
    if (name) draw_bottom_line(a, object_line(a, name), 3);
    else if (shrine.banner_timer <= 0) draw_bottom_line(a, text_fit("{B}: LEAVE", a.W - 7), 1);
}

}  // namespace

void draw_shrine() {
    const Area a = area_now();
    screen_fill_rect(a.L, a.T, a.W + 1, 12, 0);
    screen_hline(a.L, a.T + 12, a.W + 1, 1);
    text_draw(a.L + 4, a.T + 3, "THE SHRINE", 3);
    char souls[24];
    std::snprintf(souls, sizeof souls, "SOULS %d", profile.souls);
    text_draw(a.R - text_width(souls) - 3, a.T + 3, souls, 2);
    if (shrine.mode == 1) {
        draw_card(a);
        return;
    }
    const int u = shrine_fire_choice();
    if (u >= 0) draw_fire_offer(a, u);
    else draw_facing(a);
}
