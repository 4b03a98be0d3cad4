// The dungeon HUD over the first-person view, the toast box, the hidden-sequence caption, the camp
// pages' header and the stat rows' value texts. Called by the draw pass and the bag and camp pages.
#include "screens/hud.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "classes/gear_rules.h"
#include "combat/combat.h"
#include "combat/status.h"
#include "dungeon/view_pos.h"
#include "items/equip.h"
#include "levelup/levelup.h"
#include "profile/profile.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/particles.h"
#include "render/screen.h"
#include "screens/screens.h"
#include "services/toast.h"
#include "telemetry/perf.h"
#include "world/player.h"

int32_t caption_index = 0;
int32_t caption_timer = 0;

const CaptionPair CAPTION_PAIRS[CAPTION_COUNT] = {
    [0] = {.title = "THE SKELETON GETS", .line = "SPOOKIER."},
    [1] = {.title = "THE RATS", .line = "UNIONIZE."},
    [2] = {.title = "THE DRAGON", .line = "STUBS ITS TOE."},
    [3] = {.title = "THE SLIME", .line = "FEELS JUDGED."},
    [4] = {.title = "A GOBLIN", .line = "LEARNS TO READ."},
    [5] = {.title = "THE MIMIC PRACTICES", .line = "BEING A CHEST."},
    [6] = {.title = "THE ORC", .line = "SKIPS LEG DAY."},
    [7] = {.title = "THE BATS STAY UP", .line = "PAST BEDTIME."},
    [8] = {.title = "THE CULTISTS", .line = "START A PODCAST."},
    [9] = {.title = "THE DRAGON", .line = "SIGHS LOUDLY."},
    [10] = {.title = "30 LIVES?", .line = "NOT HERE."},
    [11] = {.title = "THE SKELETON", .line = "FORGETS ITS KEYS."},
    [12] = {.title = "THE SLIME", .line = "GOES TO THERAPY."},
    [13] = {.title = "A RAT FILES", .line = "A COMPLAINT."},
    [14] = {.title = "THE GOBLINS RAISE", .line = "THE PRICE OF GOLD."},
    [15] = {.title = "THE ORC LEARNS", .line = "A SECOND WORD."},
    [16] = {.title = "THE CULTISTS CHANT", .line = "SLIGHTLY OFF-KEY."},
    [17] = {.title = "THE MIMIC", .line = "IS JUST A CHEST TODAY."},
    [18] = {.title = "THE BAT FORGETS", .line = "WHY IT CAME IN."},
    [19] = {.title = "THE BATS", .line = "ARE JUST VIBING."},
    [20] = {.title = "THE DRAGON HOARDS", .line = "ONE MORE COUPON."},
    [21] = {.title = "THE FORGE", .line = "RAISES ITS PRICES."},
    [22] = {.title = "THE CAMPFIRE", .line = "IS A LITTLE SMOKY."},
    [23] = {.title = "THE VORN GETS", .line = "ONE FLOOR TALLER."},
    [24] = {.title = "YOUR SWORD", .line = "NEEDS A NAP."},
    [25] = {.title = "A SLIME", .line = "ABSORBS A SOCK."},
    [26] = {.title = "THE DRAGON IS", .line = "TOTALLY NOT SCARED."},
    [27] = {.title = "THE SKELWICK BOY", .line = "NEEDS NEW BATTERIES."},
    [28] = {.title = "THE SKELETON GETS", .line = "EVEN SPOOKIER."},
    [29] = {.title = "THE SKELETON IS NOW", .line = "AS SPOOKY AS IT GETS."},
};

namespace {

constexpr float PI_F = 3.14159265f;
constexpr float COMPASS_PX_PER_RADIAN = 40.0f;
constexpr float COMPASS_FACING = 0.35f;  // a letter this close to the view angle is lit
constexpr int HUD_BOX_H = 13;
constexpr int HUD_ROW2 = 17;  // the status and key boxes sit under the top row
constexpr int TOAST_PAD = 2;  // dark rows between a padded toast's lines and its outline
// The caption's phases, in ticks left of CAPTION_TICKS.
constexpr int CAPTION_SHAKE_UNTIL = 181;
constexpr int CAPTION_FLICKER_UNTIL = 176;
constexpr int CAPTION_TYPE_FROM = 170;
constexpr int CAPTION_FADE_BELOW = 31;

// Shorthand for the view rectangle every piece lays itself out in.
const ScreenRect& view() { return screen_layout.view; }

// A dark body with a mid-shade outline.
void hud_box(int x, int y, int w, int h) {
    screen_fill_rect(x, y, w, h, 0);
    screen_rect(x, y, w, h, 2);
}

// Lights the listed columns (x offsets) of one row.
void hud_row(int x, int y, std::initializer_list<int> columns, int colour) {
    for (int c : columns) screen_pixel(x + c, y, colour);
}

// Dims every view pixel of shades 1..3 by one; with checker only where x + y is even.
void dim_view(bool checker) {
    const ScreenRect& v = view();
    for (int y = v.y0; y <= v.y1; y++) {
        if (y < 0 || y >= screen_layout.height) continue;
        uint8_t* row = framebuffer + y * screen_layout.width;
        for (int x = v.x0; x <= v.x1; x++) {
            if (x < 0 || x >= screen_layout.width || (checker && ((x + y) & 1))) continue;
            if (row[x] >= 1 && row[x] <= 3) row[x]--;
        }
    }
}

// The heading minus the view angle, brought into -pi..pi by whole turns.
float compass_delta(float heading, float angle) {
    float d = heading - angle;
    d -= 2.0f * PI_F * std::floor((d + PI_F) / (2.0f * PI_F));
    return d;
}

void draw_compass() {
    const ScreenRect& v = view();
    const int top = v.y1 - COMPASS_STRIP_H + 1;
    hud_box(v.x0 + 1, top, v.x1 - v.x0 - 1, COMPASS_STRIP_H);
    // The status border's hatching and flames stop at the strip, so its letters stay readable.
    status_border_keep(v.x0 + 1, top, v.x1 - v.x0 - 1, COMPASS_STRIP_H);
    const int c = v.x0 + (v.x1 - v.x0 + 1) / 2;
    const float angle = view_pos.angle;
    static const char* const LETTERS[4] = {"N", "E", "S", "W"};
    static const float LETTER_HEADINGS[4] = {-PI_F / 2, 0.0f, PI_F / 2, PI_F};
    for (int i = 0; i < 4; i++) {
        const float d = compass_delta(LETTER_HEADINGS[i], angle);
        const int width = text_width(LETTERS[i]);
        const int x = c + (int)(COMPASS_PX_PER_RADIAN * d) - width / 2;
        if (x < v.x0 + 3 || x + width > v.x1 - 2) continue;
        text_draw(x, v.y1 - 7, LETTERS[i], std::fabs(d) < COMPASS_FACING ? 3 : 2);
    }
    static const float DIAGONALS[4] = {-PI_F / 4, PI_F / 4, 3 * PI_F / 4, -3 * PI_F / 4};
    for (float heading : DIAGONALS) {
        const int x = c + (int)(COMPASS_PX_PER_RADIAN * compass_delta(heading, angle));
        if (x >= v.x0 + 3 && x <= v.x1 - 3) screen_pixel(x, v.y1 - 1, 1);
    }
    screen_hline(c - 1, v.y1 - 9, 3, 3);
    screen_pixel(c, v.y1 - 8, 3);
}

void draw_status_box() {
    const int32_t counters[ST_COUNT] = {player.status[ST_POISON], player.status[ST_BURN], player.status[ST_REGEN]};
    char tags[STATUS_TAGS_BYTES];
    format_status_tags(counters, tags);
    if (!tags[0]) return;
    bool harmful = false;
    for (int i = 0; i < ST_COUNT; i++)
        if (counters[i] != 0 && STATUS_TICK[i].change < 0) harmful = true;
    const ScreenRect& v = view();
    hud_box(v.x0 + 2, v.y0 + HUD_ROW2, text_width(tags) + 8, HUD_BOX_H);
    text_draw(v.x0 + 6, v.y0 + 20, tags, harmful ? 3 : 2);
}

void draw_key_box() {
    if (player.keys < 1) return;
    char text[16];
    std::snprintf(text, sizeof text, "%d", player.keys);
    const int w = text_width(text);
    const int r = view().x1, t = view().y0;
    hud_box(r - w - 18, t + HUD_ROW2, w + 17, HUD_BOX_H);
    screen_rect(r - w - 14, t + 21, 3, 3, 3);
    screen_hline(r - w - 11, t + 22, 4, 3);
    screen_pixel(r - w - 8, t + 23, 3);
    text_draw(r - w - 5, t + 20, text, 2);
}

}  // namespace

const CaptionPair& caption_pair(int32_t index) { return CAPTION_PAIRS[(uint32_t)index % CAPTION_COUNT]; }

void format_status_tags(const int32_t counters[3], char* out) {
    out[0] = 0;
    int len = 0;
    for (int i = 0; i < ST_COUNT; i++) {
        if (counters[i] == 0) continue;
        const int n = std::snprintf(out + len, (size_t)(STATUS_TAGS_BYTES - len), "%s%s %d", len ? " " : "",
                                    STATUS_TICK[i].tag, (int)counters[i]);
        if (n > 0) len += n;
        if (len >= STATUS_TAGS_BYTES - 1) break;
    }
}

void draw_hp_box() {
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d", player.hp, player.max_hp);
    const int l = view().x0, t = view().y0;
    hud_box(l + 2, t + 2, text_width(text) + 15, HUD_BOX_H);
    // The heart.
    hud_row(l, t + 8, {6, 8, 10}, 3);
    hud_row(l, t + 7, {7, 9}, 3);
    screen_hline(l + 6, t + 9, 5, 3);
    screen_hline(l + 7, t + 10, 3, 3);
    screen_pixel(l + 8, t + 11, 3);
    text_draw(l + 13, t + 5, text, 2);
}

void draw_souls_counter(int x, int y) {
    // The flame, rows from y + 1 down.
    hud_row(x, y + 1, {2}, 3);
    hud_row(x, y + 2, {1, 2}, 3);
    hud_row(x, y + 3, {1, 2, 3}, 3);
    hud_row(x, y + 4, {0, 1, 3, 4}, 3);
    hud_row(x, y + 5, {1, 2, 3}, 3);
    char souls[16], floor[16];
    std::snprintf(souls, sizeof souls, "%d", souls_preview(0));
    std::snprintf(floor, sizeof floor, "F%d", current_floor + 1);
    const int w1 = text_width(souls);
    text_draw(x + 7, y, souls, 2);
    screen_vline(x + w1 + 11, y - 1, 9, 1);
    text_draw(x + w1 + 15, y, floor, 3);
}

void draw_souls_floor_box() {
    char souls[16], floor[16];
    std::snprintf(souls, sizeof souls, "%d", souls_preview(0));
    std::snprintf(floor, sizeof floor, "F%d", current_floor + 1);
    const int n = text_width(souls) + text_width(floor);
    const int r = view().x1, t = view().y0;
    hud_box(r - n - 24, t + 2, n + 23, HUD_BOX_H);
    draw_souls_counter(r - n - 20, t + 5);
    coin_fly_draw(r - n - 18, t + 8);
}

void draw_hud() {
    perf_begin(ZONE_UI);
    draw_hp_box();
    draw_status_box();
    draw_souls_floor_box();
    draw_key_box();
    draw_compass();
    perf_end(ZONE_UI);
}

namespace {

// The toast's box with its top row at `top` (-1: its usual place over the view's bottom), or
// centred in the rows top .. bottom - 1 when a bottom is given. A padded box (the title's notices)
// keeps two dark rows and columns about its lines, as the HUD's boxes do; a toast's lines stand
// against its outline.
void toast_box_at(int top, int bottom, bool padded) {
    if (toast_timer <= 0 || !toast_line1[0]) return;
    // Read through bounded copies: the lines are shared records anyone may write.
    char line1[TOAST_LINE_BYTES], line2[TOAST_LINE_BYTES];
    std::snprintf(line1, sizeof line1, "%.*s", TOAST_LINE_BYTES - 1, toast_line1);
    std::snprintf(line2, sizeof line2, "%.*s", TOAST_LINE_BYTES - 1, toast_line2);
    const ScreenRect& v = view();
    const bool two = line2[0] != 0;
    const int w1 = text_width(line1), w2 = two ? text_width(line2) : 0;
    const int w = w2 > w1 ? w2 : w1;
    const int pad = padded ? TOAST_PAD : 0;
    const int height = (two ? 18 : 9) + 2 * pad, offset = two ? 35 : 26;
    const int s = v.x1 - (w + v.x0 + 3);
    const int x = s < 2 ? v.x0 + 1 : v.x0 + s / 2;
    const int y = top < 0 ? v.y1 - offset - 1 : top + (bottom - top - height) / 2;
    hud_box(padded ? x - 2 : x - 1, y, w + 6, height);  // the same width, its lines centred when padded
    text_draw(x + (w - w1) / 2 + 1, y + 1 + pad, line1, 2);
    if (two) text_draw(x + (w - w2) / 2 + 1, y + 10 + pad, line2, 3);
}

}  // namespace

void draw_toast() { toast_box_at(-1, -1, false); }

void draw_toast_between(int top, int bottom, bool padded) { toast_box_at(top, bottom, padded); }

void draw_caption() {
    const int t = caption_timer;
    if (t <= 0) return;
    const CaptionPair& p = caption_pair(caption_index);
    const ScreenRect& v = view();
    const bool fading = t < CAPTION_FADE_BELOW;
    dim_view(fading);
    const int m = v.y0 + (v.y1 - v.y0 + 1) / 2;
    const int full_w = v.x1 - v.x0 + 1;
    screen_fill_rect(v.x0, m - 16, full_w, 32, 0);
    screen_hline(v.x0, m - 16, full_w, 1);
    screen_hline(v.x0, m + 15, full_w, 1);

    const int centre = v.x0 + (v.x1 - v.x0 + 1) / 2;
    int x = centre - text_width(p.title) / 2;
    if (t >= CAPTION_SHAKE_UNTIL) x += ((CAPTION_TICKS - t) & 2) - 1;
    int colour = 2;
    if (t >= CAPTION_FLICKER_UNTIL)
        colour = ((CAPTION_TICKS - t) / 3) % 3 == 1 ? 1 : 2;
    else if (fading)
        colour = 1;
    text_draw(x, m - 9, p.title, colour);

    if (t > CAPTION_TYPE_FROM) return;
    char typed[24];
    std::snprintf(typed, sizeof typed, "%.*s", (CAPTION_TYPE_FROM - t) / 3, p.line);
    text_draw(centre - text_width(p.line) / 2, m + 2, typed, fading ? 1 : 3);
}

int draw_gold_header(const char* title) {
    const ScreenRect& v = view();
    const int w = v.x1 - v.x0;
    char gold[32];
    if (screen_layout.landscape) {
        text_draw(v.x0 + 8, v.y0 + 5, title, 3);
        std::snprintf(gold, sizeof gold, "GOLD %d", player.gold);
        text_draw(v.x1 - text_width(gold) - 7, v.y0 + 5, gold, 1);
        screen_hline(v.x0 + 6, v.y0 + 15, w - 11, 1);
        return v.y0 + 20;
    }
    text_draw(v.x0 + (w - text_width(title) + 1) / 2, v.y0 + 8, title, 3);
    char line[48];
    std::snprintf(line, sizeof line, "FLOOR %d   GOLD %d", current_floor + 1, player.gold);
    text_draw(v.x0 + (w - text_width(line) + 1) / 2, v.y0 + 20, line, 1);
    screen_hline(v.x0 + 10, v.y0 + 31, w - 19, 1);
    return v.y0 + 38;
}

void format_stat_value(int kind, char* out) {
    const size_t n = STAT_VALUE_BYTES;
    switch (kind) {
    case STAT_HP: std::snprintf(out, n, "%d/%d", player.hp, player.max_hp); break;
    case STAT_XP: std::snprintf(out, n, "%d/%d", player.xp, xp_to_next(player.level)); break;
    case STAT_ATTACK: std::snprintf(out, n, "%d", player_attack_value()); break;
    case STAT_DEFENCE: std::snprintf(out, n, "%d", player_defence_value(gear_rules_now())); break;
    case STAT_EVADE: std::snprintf(out, n, "%d%%", evade_chance()); break;
    case STAT_GOLD: std::snprintf(out, n, "%d", player.gold); break;
    case STAT_KEYS: std::snprintf(out, n, "%d", player.keys); break;
    case STAT_SOULS: std::snprintf(out, n, "+%d", souls_preview(0)); break;
    case STAT_FLOOR: std::snprintf(out, n, "%d", current_floor + 1); break;
    case STAT_KILLS: std::snprintf(out, n, "%d", player.kills); break;
    default: out[0] = 0; break;
    }
}
