// The modal dialogs (message box, yes/no question, play-stats question, the way-out dialog) and the
// dimming behind overlays. Drawn by the draw pass; the tick and the dungeon take their input.
#include <cstdio>

#include "render/draw.h"
#include "render/font.h"
#include "render/screen.h"
#include "screens/front_end.h"
#include "screens/screens.h"
#include "services/confirm.h"
#include "world/game_state.h"
#include "world/player.h"

uint8_t message_box_open = 0;
uint8_t consent_open = 0;
uint8_t way_out_open = 0;
int32_t way_out_cursor = 0;
char message_box_text[64] = "";

namespace {
constexpr int LAST_FLOOR = 19;  // nothing lies above this floor index
constexpr int DIALOG_H = 46;
constexpr int DIALOG_SHADOW = 3;  // the shadow's offset below and right of a box
constexpr int HINT_BOX_MARGIN = 10;  // a centred hint keeps two dark columns inside the inner outline
// Over the pause menu the message box and its shadow keep a dark column inside the menu's inner
// outline on both sides.
constexpr int PAUSE_BOX_INSET = 14;

struct Box {
    int x, y, w, h;
};

// Shadow, body, outline and inner outline; corner lights for the message and yes/no boxes.
void dialog_box(const Box& b, bool corners) {
    screen_fill_rect(b.x + DIALOG_SHADOW, b.y + DIALOG_SHADOW, b.w, b.h, 1);
    screen_fill_rect(b.x, b.y, b.w, b.h, 0);
    screen_rect(b.x, b.y, b.w, b.h, 2);
    screen_rect(b.x + 2, b.y + 2, b.w - 4, b.h - 4, 2);
    if (!corners) return;
    screen_pixel(b.x + 1, b.y + 1, 3);
    screen_pixel(b.x + b.w - 2, b.y + 1, 3);
    screen_pixel(b.x + 1, b.y + b.h - 2, 3);
    screen_pixel(b.x + b.w - 2, b.y + b.h - 2, 3);
}

void box_text(const Box& b, int dy, const char* text, int colour) {
    text_draw(b.x + (b.w - text_width(text)) / 2, b.y + dy, text, colour);
}

int view_w() { return screen_layout.view.x1 - screen_layout.view.x0; }
int view_h() { return screen_layout.view.y1 - screen_layout.view.y0; }
int cap_width(int bw) { return bw > view_w() - 3 ? view_w() - 3 : bw; }

struct ConsentLine {
    int dy;
    const char* text;
    int colour;
};
const ConsentLine CONSENT_LINES[] = {
    {.dy = 9, .text = "SHARE PLAY STATS?", .colour = 3},
    {.dy = 18, .text = "", .colour = 2},
    {.dy = 27, .text = "HELP TUNE THE GAME:", .colour = 2},
    {.dy = 36, .text = "YOUR RUNS, FIGHTS,", .colour = 2},
    {.dy = 45, .text = "CRASHES. NO NAME,", .colour = 2},
    {.dy = 54, .text = "NO ACCOUNT, NO ADS.", .colour = 2},
    {.dy = 63, .text = "", .colour = 2},
    {.dy = 72, .text = "YOU CAN CHANGE IT", .colour = 2},
    {.dy = 81, .text = "IN OPTIONS.", .colour = 2},
};
constexpr int CONSENT_HINT_DY = 99;
constexpr int CONSENT_H = 111;

// The message box and the yes/no box stand in the same rows.
int confirm_top() { return screen_layout.view.y0 + (view_h() - 45) / 2; }
int consent_top() { return screen_layout.view.y0 + (view_h() - 110) / 2; }
}  // namespace

namespace {
// The message box and its hint (the box's width depends on the hint).
Box message_box(const char** hint) {
    // Over the pause menu the box keeps within the menu's inner outline, so the menu's box stays
    // whole; where long button names would not fit there, the A button's name alone is given.
    const int room = game_state == STATE_PAUSE ? pause_width() - PAUSE_BOX_INSET : view_w() - 3;
    *hint = text_ring_expand("{A}/{B}: OK");
    if (text_width(*hint) + HINT_BOX_MARGIN > room) *hint = text_ring_expand("{A}: OK");
    const int tw = text_width(message_box_text);
    const int inner = tw < 67 ? 66 : tw;
    // A pad's long button names widen the box, so the hint never runs over the inner outline.
    int bw = inner + 24;
    if (text_width(*hint) + HINT_BOX_MARGIN > bw) bw = text_width(*hint) + HINT_BOX_MARGIN;
    if (bw > room) bw = room;
    return {screen_layout.view.x0 + (view_w() - bw + 1) / 2, confirm_top(), bw, DIALOG_H};
}

Box confirm_box(const char** hint) {
    *hint = text_ring_expand("{A}: YES  {B}: NO");
    int m = text_width(*hint);
    if (text_width(confirm_question) > m) m = text_width(confirm_question);
    const int bw = cap_width(m < 85 ? 100 : m + 16);
    return {screen_layout.view.x0 + (view_w() - bw + 1) / 2, confirm_top(), bw, DIALOG_H};
}

Box consent_box(const char** hint) {
    *hint = text_ring_expand("{A}: YES  {B}: NO");
    int widest = text_width(*hint);
    for (const ConsentLine& l : CONSENT_LINES)
        if (text_width(l.text) > widest) widest = text_width(l.text);
    const int bw = cap_width(widest + 16);
    return {screen_layout.view.x0 + (view_w() - bw + 1) / 2, consent_top(), bw, CONSENT_H};
}

// What a box covers, its shadow included.
ScreenRect area_of(const Box& b) { return {b.x, b.y, b.x + b.w - 1 + DIALOG_SHADOW, b.y + b.h - 1 + DIALOG_SHADOW}; }
}  // namespace

void draw_message_box() {
    const char* hint;
    const Box b = message_box(&hint);
    dialog_box(b, true);
    box_text(b, 13, message_box_text, 2);
    box_text(b, 35, hint, 1);
}

void draw_confirm_dialog() {
    const char* hint;
    const Box b = confirm_box(&hint);
    dialog_box(b, true);
    box_text(b, 13, confirm_question, 2);
    box_text(b, 35, hint, 3);
}

void draw_consent_dialog() {
    const char* hint;
    const Box b = consent_box(&hint);
    dialog_box(b, false);
    for (const ConsentLine& l : CONSENT_LINES) box_text(b, l.dy, l.text, l.colour);
    box_text(b, CONSENT_HINT_DY, hint, 3);
}

ScreenRect message_box_area() {
    const char* hint;
    return area_of(message_box(&hint));
}

ScreenRect confirm_dialog_area() {
    const char* hint;
    return area_of(confirm_box(&hint));
}

ScreenRect consent_dialog_area() {
    const char* hint;
    return area_of(consent_box(&hint));
}

void draw_way_out_dialog() {
    const Box b{screen_layout.view.x0 + (view_w() - 131) / 2, screen_layout.view.y0 + (view_h() - 83) / 2, 132, 84};
    dialog_box(b, false);
    char line[32];
    box_text(b, 7, "THE WAY OUT", 3);
    std::snprintf(line, sizeof line, "FLOOR %d CLEARED", current_floor + 1);
    box_text(b, 17, line, 1);
    const bool top = current_floor >= LAST_FLOOR;
    char first[24];
    if (top)
        std::snprintf(first, sizeof first, "NOTHING ABOVE");
    else
        std::snprintf(first, sizeof first, "CONTINUE TO %d", current_floor + 2);
    const char* rows[4] = {first, "ESCAPE (END RUN)", "SAVE & QUIT", "NOT YET"};
    for (int i = 0; i < 4; i++) {
        const int y = b.y + 31 + 12 * i;
        const bool on = i == way_out_cursor;
        if (on) text_draw(b.x + 8, y, ">", 3);
        const int colour = (i == 0 && top) ? 1 : on ? 3 : 2;
        text_draw(b.x + 17, y, rows[i], colour);
    }
}

void dim_screen() {
    const ScreenRect& v = screen_layout.view;
    for (int y = v.y0; y <= v.y1; y++)
        for (int x = v.x0; x <= v.x1; x++) {
            const int c = screen_get(x, y);
            if (c == 2 || c == 3) screen_pixel(x, y, c - 1);
        }
}
