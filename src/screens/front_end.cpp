// The screens before a run: power-on, title, the options panel and the credits, with the text
// ring, the hint fitting and outlined text that many screens share. Called by the draw pass.
#include "screens/front_end.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "render/big_text.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/fxfield.h"
#include "render/particles.h"
#include "render/row_spans.h"
#include "render/screen.h"
#include "render/text_runs.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "services/button_names.h"
#include "telemetry/events.h"
#include "world/game_state.h"

const char* const OPTION_ROW_NAMES[OPTION_COUNT] = {
    "SCREEN",   "FULL SCREEN", "GHOSTING", "CASE",        "SHINE",    "PALETTE",    "FLASHES", "EFFECTS",
    "VIGNETTE", "TIMING BAR",  "PROMPTS",  "MONSTERS",    "VOLUME",   "MUSIC",      "RUMBLE",  "SHARE STATS",
    "TRAINING", "CREDITS",     "CONTROLS", "BACK",        "DISPLAY",  "APPEARANCE", "SOUND",   "GAMEPLAY",
};

namespace {
char text_ring[TEXT_RING_SLOTS][TEXT_RING_BYTES];
int text_ring_pos = 0;

const char* const EFFECT_NAMES[] = {"LCD", "CRT", "FLAT"};
const char* const GHOSTING_NAMES[] = {"OFF", "LOW", "MED", "HIGH"};
const char* const CASE_COLOR_NAMES[18] = {
    [0] = "", [1] = "", [2] = "", [3] = "", [4] = "", [5] = "", [6] = "", [7] = "", [8] = "",
    [9] = "BEIGE", [10] = "BLACK", [11] = "", [12] = "SOLID BLUE", [13] = "SOLID GREEN",
    [14] = "", [15] = "", [16] = "", [17] = "",
};
const char* const PALETTE_NAMES[8] = {"SLATE", "GB GREEN", "AMBER", "", "", "", "", ""};
const char* const RUMBLE_NAMES[] = {"OFF", "LIGHT", "MEDIUM", "STRONG"};

// A table's name when the value indexes it, else nothing.
template <int N>
const char* name_in(const char* const (&table)[N], int32_t value) {
    return value >= 0 && value < N ? table[value] : "";
}

struct CreditsRow {
    const char* text;
    int colour;
};
const CreditsRow CREDITS_ROWS[] = {
    {.text = "QUILLMARCH", .colour = 3},
    {.text = "", .colour = 2},
    {.text = "A GAME BY", .colour = 2},
    {.text = "THE QUILLMARCH TEAM", .colour = 2},
    {.text = "", .colour = 2},
    {.text = "DESIGN & CODE", .colour = 1},
    {.text = "THE QUILLMARCH TEAM", .colour = 2},
    {.text = "", .colour = 2},
    {.text = "ART & ANIMATION", .colour = 1},
    {.text = "THE QUILLMARCH TEAM", .colour = 2},
    {.text = "", .colour = 2},
    {.text = "NARRATIVE", .colour = 1},
    {.text = "THE QUILLMARCH TEAM", .colour = 2},
    {.text = "", .colour = 2},
    {.text = "SPECIAL THANKS", .colour = 1},
    {.text = "OUR PLAYTESTERS", .colour = 2},
    {.text = "OUR FAMILIES", .colour = 2},
    {.text = "OUR FRIENDS", .colour = 2},
    {.text = "THE SDL AUTHORS", .colour = 2},
    {.text = "YOU", .colour = 2},
    {.text = "", .colour = 2},
    {.text = "THANK YOU", .colour = 3},
    {.text = "FOR PLAYING!", .colour = 3},
};
static_assert(sizeof CREDITS_ROWS / sizeof CREDITS_ROWS[0] == 23);
constexpr int CREDITS_ROW_STEP = 10;
constexpr int CREDITS_LENGTH = 274;  // pixels the credits run to below the first row

constexpr int TITLE_MENU_ROWS = 7;
const char* const TITLE_MENU[TITLE_MENU_ROWS] = {"CONTINUE", "NEW GAME", "UNLOCKS", "SHRINE", "OPTIONS", "STATS", "EXIT"};
constexpr int TITLE_BLINK = 12;
constexpr int TITLE_ROW_CONTINUE = 0;
// The portrait hint stays inside the inner frame: its outline and a pixel of dark on each side.
constexpr int TITLE_HINT_INSET = 13;
constexpr const char* TITLE_HINTS[3] = {"{DPAD} + {A}: SELECT", "{DPAD}+{A}: SELECT", "{A}: SELECT"};

// Centred x of a text within [left, left + span].
int centred(int left, int span, const char* text) { return left + (span - text_width(text) + 1) / 2; }

// The two colour-2 frames of the title and the credits.
void double_frame(const ScreenRect& v) {
    const int w = v.x1 - v.x0, h = v.y1 - v.y0;
    screen_rect(v.x0 + 2, v.y0 + 2, w - 3, h - 3, 2);
    screen_rect(v.x0 + 4, v.y0 + 4, w - 7, h - 7, 2);
}

// A value right-aligned to xr, with "<" and ">" about it when selected.
void option_value(const char* value, int xr, int y, bool selected) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%s", value);
    if (!buf[0]) return;
    const int c = selected ? 3 : 2;
    const int x = xr - text_width(buf);
    text_draw(x, y, buf, c);
    if (selected) {
        text_draw(x - 8, y, "<", 3);
        text_draw(xr + 3, y, ">", 3);
    }
}

// Ten volume pips ending at xr.
void option_pips(int32_t level, int xr, int y, bool selected) {
    for (int k = 0; k < 10; k++) {
        const int x = xr - 49 + 5 * k;
        if (k < level)
            screen_fill_rect(x, y, 4, 7, selected ? 3 : 2);
        else
            screen_rect(x, y, 4, 7, 1);
    }
    if (selected) {
        text_draw(xr - 49 - 8, y, "<", 3);
        text_draw(xr + 3, y, ">", 3);
    }
}

// The value text of an option row; "" for rows without one.
const char* option_value_text(int32_t id, const OptionsView& view) {
    switch (id) {
    case OPT_SCREEN: return name_in(EFFECT_NAMES, settings.screen);
    case OPT_FULL_SCREEN: return settings.fullscreen ? "ON" : "OFF";
    case OPT_GHOSTING: return name_in(GHOSTING_NAMES, settings.ghosting);
    case OPT_CASE: return name_in(CASE_COLOR_NAMES, settings.case_color);
    case OPT_SHINE: return settings.shine ? "ON" : "OFF";
    case OPT_PALETTE: return name_in(PALETTE_NAMES, settings.palette);
    case OPT_FLASHES: return settings.flashes ? "ON" : "OFF";
    case OPT_EFFECTS: return settings.effects ? "FULL" : "LESS";
    case OPT_VIGNETTE: return settings.vignette ? "ON" : "OFF";
    case OPT_TIMING_BAR: return settings.timing_bar ? "ON" : "OFF";
    case OPT_PROMPTS: return settings.prompts ? "ON" : "OFF";
    case OPT_MONSTERS: return settings.monster_art == 1 ? "CODE" : "HAND-DRAWN";
    case OPT_RUMBLE: return settings.rumble ? name_in(RUMBLE_NAMES, settings.rumble_level) : "OFF";
    case OPT_SHARE_STATS: return settings.share_stats ? "ON" : "OFF";
    case OPT_TRAINING: return view.training_offer ? "OFFER" : "SKIP";
    default: return "";
    }
}
}  // namespace

const char* text_ring_expand(const char* text) {
    text_ring_pos = (text_ring_pos + 1) & (TEXT_RING_SLOTS - 1);
    char* slot = text_ring[text_ring_pos];
    text_expand_glyphs(text, slot, TEXT_RING_BYTES);
    return slot;
}

const char* text_fit(const char* text, int width) {
    char* s = (char*)text_ring_expand(text);
    if (text_width(s) <= width) return s;
    // Runs of three or more blanks become two.
    int w = 0;
    for (int r = 0; s[r];) {
        if (s[r] == ' ' && s[r + 1] == ' ' && s[r + 2] == ' ') {
            int run = r;
            while (s[run] == ' ') run++;
            s[w++] = ' ';
            s[w++] = ' ';
            r = run;
        } else {
            s[w++] = s[r++];
        }
    }
    s[w] = 0;
    // Drop the rightmost "  hint" segment until it fits.
    while (s[0] && text_width(s) > width) {
        char* cut = nullptr;
        for (char* p = s; p[0] && p[1]; p++)
            if (p[0] == ' ' && p[1] == ' ') cut = p;
        if (!cut) break;
        if (text_runs.on) text_runs_note_cut_hint(s);
        *cut = 0;
    }
    return s;
}

const char* text_fit_forms(const char* const* forms, int count, int width) {
    if (count < 1) return text_fit("", width);
    for (int i = 0; i + 1 < count; i++) {
        const char* s = text_ring_expand(forms[i]);
        if (text_width(s) <= width) return s;
    }
    return text_fit(forms[count - 1], width);
}

namespace {
// Tight: no blank after a colon and two between hints; tighter: one between hints.
void hints_tightened(const char* hints, char tight[TEXT_RING_BYTES], char tighter[TEXT_RING_BYTES]) {
    size_t n = 0, m = 0;
    for (const char* c = hints; *c && n + 1 < TEXT_RING_BYTES; c++) {
        const bool after_colon = c > hints && c[-1] == ':';
        const bool third_blank = c - hints >= 2 && c[-1] == ' ' && c[-2] == ' ';
        if (*c == ' ' && (after_colon || third_blank)) continue;
        tight[n++] = *c;
        if (!(*c == ' ' && m > 0 && tighter[m - 1] == ' ')) tighter[m++] = *c;
    }
    tight[n] = '\0';
    tighter[m] = '\0';
}
}  // namespace

const char* text_fit_hints_or(const char* hints, const char* fallback, int width) {
    char tight[TEXT_RING_BYTES], tighter[TEXT_RING_BYTES], short_tight[TEXT_RING_BYTES], short_tighter[TEXT_RING_BYTES];
    hints_tightened(hints, tight, tighter);
    hints_tightened(fallback, short_tight, short_tighter);
    const char* forms[] = {hints, tight, tighter, fallback, short_tight, short_tighter, short_tight};
    return text_fit_forms(forms, 7, width);
}

const char* text_fit_hints(const char* hints, int width) { return text_fit_hints_or(hints, hints, width); }

void draw_text_outlined(int x, int y, const char* text, int colour) {
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++)
            if (dx || dy) text_draw_under(x + dx, y + dy, text, 0);
    row_spans_note(x - 1, y - 1, text_width(text) + 2, FONT_CELL_H);  // the outline's row above the letters
    text_draw(x, y, text, colour);
}

int title_menu_row_y(int i) {
    const int top = screen_layout.view.y0;
    return screen_layout.landscape ? top + 52 + 11 * i : top + 80 + 14 * i;
}

namespace {

int title_name_y() { return screen_layout.view.y0 + (screen_layout.landscape ? 12 : 24); }

}  // namespace

void draw_title_toast() {
    // Over the two lines under the name, the menu rows and the hint stay in sight; the notices
    // there are padded like the title's other boxes.
    const int y0 = title_name_y();
    draw_toast_between(y0 + 17, y0 + 35, true);
}

void draw_power_on(int32_t counter) {
    const ScreenRect& v = screen_layout.view;
    const int w = v.x1 - v.x0;
    if (counter < 0) {
        const char* t = "TAP TO TURN ON";
        text_draw(centred(v.x0, w, t), v.y0 + (v.y1 - v.y0 + 1) / 2 - 3, t, 1);
        return;
    }
    const int c = counter < 80 ? counter : 80;
    const int y0 = v.y0 + c * ((v.y1 - v.y0 - 45) / 2 + 46) / 80;
    draw_big_text(v.x0 + (w - 93) / 2, y0 - 46, "SKELWICK", 2, 2);
    draw_big_text(v.x0 + (w - 67) / 2, y0 - 28, "BOY", 4, 4);
}

void draw_title(const TitleView& view) {
    const ScreenRect& v = screen_layout.view;
    const int L = v.x0, T = v.y0, R = v.x1, B = v.y1, W = R - L;
    fxfield_draw(0, L + 5, T + 5);
    flame_embers_draw(L + 5, T + 5);
    double_frame(v);
    // A box over the title clears whole lines inside the inner frame.
    row_spans_frame(BEHIND_ROWS, L + 5, T + 5, R - 5, B - 5);

    const int y0 = T + (screen_layout.landscape ? 12 : 24);
    const char* name = "QUILLMARCH";
    const int nx = centred(L, W, name);
    draw_text_outlined(nx, y0, name, 2);
    screen_hline(nx - 2, y0 + 9, text_width(name) + 4, 2);
    row_spans_note(nx - 2, y0 + 9, text_width(name) + 4, 1);
    draw_text_outlined(centred(L, W, "THE DEMO"), y0 + 18, "THE DEMO", 3);
    draw_text_outlined(centred(L, W, "IN YOUR POCKET"), y0 + 27, "IN YOUR POCKET", 1);

    // The bar slides from the old row to the new one, easing out.
    int bar_y = title_menu_row_y(view.cursor);
    if (view.slide_age < TITLE_SLIDE_TICKS && view.slide_from_row != view.cursor) {
        const int from = title_menu_row_y(view.slide_from_row);
        const int left = TITLE_SLIDE_TICKS - view.slide_age;
        bar_y = bar_y + (from - bar_y) * left * left / (TITLE_SLIDE_TICKS * TITLE_SLIDE_TICKS);
    }
    screen_fill_rect(L + 16, bar_y - 2, W - 31, 11, 2);
    row_spans_note(L + 16, bar_y - 2, W - 31, 11);  // a box over the bar clears it whole
    for (int i = 0; i < 7; i++) {
        const int y = title_menu_row_y(i);
        const char* t = TITLE_MENU[i];
        const bool dim = i == TITLE_ROW_CONTINUE && !view.has_run;
        if (i == view.cursor) {
            text_draw(centred(L, W, t), y, t, dim ? 1 : 0);
            if ((frame_counter / TITLE_BLINK) % 2 == 0) {
                text_draw(L + 19, y, ">", 0);
                text_draw(R - 24, y, "<", 0);
            }
        } else {
            draw_text_outlined(centred(L, W, t), y, t, dim ? 1 : 2);
        }
    }

    if (screen_layout.landscape) return;
    char line[32];
    const char* footer = line;
    if (view.cursor == TITLE_ROW_CONTINUE && view.has_run)
        std::snprintf(line, sizeof line, "%s %d, LVL %d", view.run_training ? "TRAINING" : "FLOOR", view.run_floor + 1,
                      view.run_level);
    else
        footer = text_fit_forms(TITLE_HINTS, (int)std::size(TITLE_HINTS), W - TITLE_HINT_INSET);
    draw_text_outlined(centred(L, W, footer), B - 13, footer, 1);
}

namespace {
// The options panel's height and top row.
int options_panel_h() { return screen_layout.landscape ? 140 : 190; }
int options_panel_top() {
    const ScreenRect& v = screen_layout.view;
    return v.y0 + (v.y1 - v.y0 - (options_panel_h() - 1)) / 2;
}
}  // namespace

ScreenRect options_area() {
    const ScreenRect& v = screen_layout.view;
    const int y0 = options_panel_top();
    return {v.x0 + 6, y0, v.x1 - 3, y0 + options_panel_h() + 2};
}

void draw_options(const OptionsView& view) {
    const ScreenRect& v = screen_layout.view;
    const int L = v.x0, R = v.x1, W = R - L;
    const int H = options_panel_h();
    const int y0 = options_panel_top();
    screen_fill_rect(L + 9, y0 + 3, W - 11, H, 1);
    screen_fill_rect(L + 6, y0, W - 11, H, 0);
    screen_rect(L + 6, y0, W - 11, H, 2);
    screen_rect(L + 8, y0 + 2, W - 15, H - 4, 2);
    screen_pixel(L + 7, y0 + 1, 3);
    screen_pixel(R - 7, y0 + 1, 3);
    screen_pixel(L + 7, y0 + H - 2, 3);
    screen_pixel(R - 7, y0 + H - 2, 3);
    // A box over the options clears whole rows inside the panel's inner outline.
    row_spans_frame(BEHIND_ROWS, L + 9, y0 + 3, R - 9, y0 + H - 4);

    const bool in_page = view.page >= OPT_PAGE_DISPLAY && view.page < OPTION_COUNT;
    const char* title = in_page ? OPTION_ROW_NAMES[view.page] : "OPTIONS";
    text_draw(centred(L + 6, W - 11, title), y0 + 8, title, 2);
    screen_hline(L + 14, y0 + 18, W - 27, 2);

    const int n = view.count < 0 ? 0 : view.count > OPTIONS_ROWS_MAX ? OPTIONS_ROWS_MAX : view.count;
    int sel = 0;
    for (int i = 0; i < n; i++)
        if (view.ids[i] == view.cursor) sel = i;
    // One row or none needs no spacing and never scrolls.
    int spacing = 15, first = 0, shown = n;
    bool footer = true;
    if (n > 1) {
        const int s = (H - 48) / (n - 1);
        const int s2 = (H - 37) / (n - 1);
        if (s >= 9) {
            spacing = s < 15 ? s : 15;
        } else {
            footer = false;
            if (s2 >= 9) {
                spacing = s2 < 15 ? s2 : 15;
            } else {
                spacing = 9;
                shown = (H - 37) / 9 + 1;
                first = sel - shown / 2;
                if (first > n - shown) first = n - shown;
                if (first < 0) first = 0;
                if (first > 0) text_draw(R - 17, y0 + 20, "^", 1);
                if (first + shown < n) text_draw(R - 17, y0 + H - 11, "v", 1);
            }
        }
    }
    for (int k = 0; k < shown && first + k < n; k++) {
        const int i = first + k;
        const int id = view.ids[i];
        if (id < 0 || id >= OPTION_COUNT) continue;
        const int y = y0 + 26 + spacing * k;
        const bool on = i == sel;
        if (on) text_draw(L + 13, y, ">", 3);
        text_draw(L + 22, y, OPTION_ROW_NAMES[id], on ? 3 : 2);
        if (id == OPT_CONTROLS || id >= OPT_PAGE_DISPLAY) {
            text_draw(R - 15 - text_width(">"), y, ">", on ? 3 : 1);
            continue;
        }
        const int xr = on ? R - 23 : R - 15;
        if (id == OPT_VOLUME || id == OPT_MUSIC) {
            option_pips(id == OPT_VOLUME ? settings.volume : settings.music, xr, y, on);
            continue;
        }
        // The hand-drawn art's word is cut to its first half where it would run into the row's name
        // or, on the cursor row, its "<" would.
        const char* value = option_value_text(id, view);
        const int name_end = L + 22 + text_width(OPTION_ROW_NAMES[id]);
        if (id == OPT_MONSTERS && xr - text_width(value) - (on ? 8 : 0) < name_end + 4) value = "HAND";
        option_value(value, xr, y, on);
    }

    if (!footer) return;
    char id_line[24];
    const char* hint;
    if (view.cursor == OPT_SHARE_STATS) {
        std::snprintf(id_line, sizeof id_line, "YOUR ID: %s", install_id_display());
        hint = id_line;
    } else {
        // A narrow panel keeps BACK before the other hint.
        hint = text_fit_hints_or(in_page ? "<>: CHANGE  {B}: BACK" : "{A}: OPEN  {B}: BACK", "{B}: BACK", W - 21);
    }
    text_draw(centred(L + 6, W - 11, hint), y0 + H - 13, hint, 1);
}

void draw_credits(int32_t* scroll) {
    const ScreenRect& v = screen_layout.view;
    const int L = v.x0, T = v.y0, R = v.x1, B = v.y1, W = R - L;
    double_frame(v);
    text_draw(centred(L, W, "CREDITS"), T + 10, "CREDITS", 2);
    screen_hline(L + 12, T + 20, W - 23, 2);

    int m = CREDITS_LENGTH - (B - T);
    if (m < 0) m = 0;
    if (*scroll > m) *scroll = m;
    if (*scroll < 0) *scroll = 0;
    int i = 0;
    for (const CreditsRow& row : CREDITS_ROWS) {
        const int y = T + 25 + CREDITS_ROW_STEP * i++ - *scroll;
        if (y >= T + 25 && y + 7 <= B - 19) text_draw(centred(L, W, row.text), y, row.text, row.colour);
    }
    if (*scroll > 0) text_draw(R - 14, T + 25, "^", 1);
    if (*scroll < m) text_draw(R - 14, B - 26, "v", 1);
    const char* back = text_ring_expand("{B}: BACK");
    text_draw(centred(L, W, back), B - 15, back, 1);
}
