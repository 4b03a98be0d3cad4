// The level-up cards, the unlocks list and the class select: full-view list screens that show what
// their updates keep (the level-up record, the unlocks list, the class cursor). Called by the draw pass.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "boons/boons.h"
#include "classes/class_select.h"
#include "classes/classes.h"
#include "combat/fx.h"
#include "combat/training.h"
#include "levelup/levelup.h"
#include "profile/profile.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/row_spans.h"
#include "render/screen.h"
#include "screens/screens.h"
#include "screens/unlocks_list.h"
#include "screens/widgets.h"
#include "services/toast.h"
#include "world/dither.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

constexpr int HIT_KIND_LEVELUP_CARD = 5;
constexpr float PI_F = 3.14159265f;
constexpr int BURST_RAYS = 12;

struct View {
    int x0, y0, x1, y1, w, h;
    bool landscape;
};

View view_now() {
    const ScreenRect& r = screen_layout.view;
    return View{r.x0, r.y0, r.x1, r.y1, r.x1 - r.x0, r.y1 - r.y0, screen_layout.landscape != 0};
}

// Every list screen starts the same: the view cleared and a thin frame inside it.
void clear_view(const View& v) { screen_fill_rect(v.x0, v.y0, v.w + 1, v.h + 1, 0); }
// The frame line; a box over the screen clears whole cards and lines inside it.
void frame_view(const View& v) {
    screen_rect(v.x0 + 1, v.y0 + 1, v.w - 1, v.h - 1, 1);
    row_spans_frame(BEHIND_ROWS, v.x0 + 2, v.y0 + 2, v.x1 - 2, v.y1 - 2);
}

void text_right(int right, int y, const char* text, int colour) { text_draw(right - text_width(text), y, text, colour); }

void text_centre(const View& v, int y, const char* text, int colour) {
    text_draw(v.x0 + (v.w + 1 - text_width(text)) / 2, y, text, colour);
}

// Twelve rays grow out of the view's centre and thin out as the level-up flash runs down.
void draw_burst(const View& v, int c) {
    const float cx = (float)(v.x0 + v.x1) / 2.0f, cy = (float)(v.y0 + v.y1) / 2.0f;
    const float d = (float)((22 - c) * 7 + 10);
    const int threshold = (15 * c - 330) / 22 + 16;
    for (int y = v.y0; y <= v.y1; y++)
        for (int x = v.x0; x <= v.x1; x++) {
            const float dx = (float)x - cx, dy = (float)y - cy;
            const float r = std::sqrt(dx * dx + dy * dy);
            if (r < 0.35f * d || r > d) continue;
            const float a = std::atan2(dy, dx) * (float)BURST_RAYS / (2.0f * PI_F);
            if (std::fabs(a - std::round(a)) > 0.1f) continue;
            if (BAYER4[y & 3][x & 3] >= threshold) continue;
            screen_pixel(x, y, r > 0.88f * d ? 3 : 1);
        }
}

struct CardLayout {
    int top, height, gap, name_dy, desc_dy, pips_dy;
};

CardLayout card_layout(const View& v) {
    if (v.landscape) return CardLayout{v.y0 + 19, 30, 3, 5, 16, 24};
    return CardLayout{v.y0 + 38, 38, 5, 6, 19, 30};
}

// The first row below the third card.
int cards_end(const CardLayout& l) { return l.top + 3 * l.height + 2 * l.gap; }

// The footer's y.
int levelup_footer_y(const View& v) { return v.landscape ? v.y1 - 9 : v.y1 - 12; }

// On the level-up itself (not under the bag) a toast, two lines at most, stands in the footer's
// place while it shows: between the cards and the frame line there is no room for both.
bool toast_takes_footer() { return game_state == STATE_LEVELUP && toast_timer > 0 && toast_line1[0]; }

// Both hints, the short form where the long one is too wide (portrait with the keyboard's names).
constexpr const char* LEVELUP_HINTS[2] = {"{A}: TAKE  {SELECT}: BAG", "{A}:TAKE  {SELECT}:BAG"};

// "EVOLVE", "RANK UP" or "NEW"; "UP" when the card is too narrow for the long word.
const char* boon_tag(const BoonDef& b, int id, int card_w) {
    const char* tag = b.evolution ? "EVOLVE" : boon_level(id) > 0 ? "RANK UP" : "NEW";
    if (card_w < text_width(b.name) + text_width(tag) + 18) tag = "UP";
    return tag;
}

// `mark`: the cursor's ">" beside the card, when it is the cursor's.
void draw_card(const View& v, const CardLayout& l, int i, bool locked, bool mark) {
    const int id = levelup.picks[i];
    const int x = v.x0 + 8, y = l.top + i * (l.height + l.gap), w = v.w - 15;
    const bool cursor = levelup.cursor == i;
    hit_region_add(HIT_KIND_LEVELUP_CARD, i, x, y, w, l.height);
    screen_fill_rect(x, y, w, l.height, 0);
    const int outline = locked ? 1 : cursor ? 3 : 2;
    screen_rect(x, y, w, l.height, outline);
    if (cursor) {
        screen_rect(v.x0 + 10, y + 2, v.w - 19, l.height - 4, 3);
        if (mark) text_draw(v.x0 + 2, y + l.height / 2 - 3, ">", 3);  // between the view's frame and the card
    }
    const BoonDef* boon = id == PICK_BOON ? boon_def(levelup.boon_offer) : nullptr;
    const char* name = boon ? boon->name : levelup_pick_name(id);
    text_draw(v.x0 + 14, y + l.name_dy, name, outline);

    char desc[32];
    std::snprintf(desc, sizeof desc, "%s", levelup_pick_desc(id));
    if (id == PICK_CATCH_BREATH) {
        const int healed = player.hp + player.max_hp / 2;
        if (player.hp < player.max_hp)
            std::snprintf(desc, sizeof desc, "HP %d -> %d", player.hp, healed < player.max_hp ? healed : player.max_hp);
        else
            std::snprintf(desc, sizeof desc, "YOU'RE AT FULL HP");
    } else if (id == PICK_PURSE && !gold_fits(player.gold, LEVELUP_PURSE_GOLD)) {
        // Near the bound the card offers what the purse can still take.
        const int32_t room = RUN_GOLD_MAX - player.gold;
        if (room > 0) std::snprintf(desc, sizeof desc, "+%d GOLD", (int)room);
        else std::snprintf(desc, sizeof desc, "%s", PURSE_FULL_TEXT);
    } else if (id == PICK_SPARE_KEY && !keys_fit(player.keys, 1)) {
        std::snprintf(desc, sizeof desc, "%s", KEYRING_FULL_TEXT);
    } else if (boon) {
        const char* line = "";
        boon_label(levelup.boon_offer, nullptr, 0, &line);
        std::snprintf(desc, sizeof desc, "%s", line);
    }
    text_draw(v.x0 + 14, y + l.desc_dy, desc, locked ? 1 : 2);

    if (!boon) return;
    text_right(v.x1 - 13, y + l.name_dy, boon_tag(*boon, levelup.boon_offer, w), 3);
    if (boon->max_level <= 1) return;
    const int held = boon_level(levelup.boon_offer);
    for (int j = 0; j < boon->max_level; j++) {
        const int px = v.x0 + 14 + 6 * j, py = y + l.pips_dy;
        if (j < held) screen_fill_rect(px, py, 4, 3, 2);
        else if (j == held) screen_fill_rect(px, py, 4, 3, 3);
        else screen_rect(px, py, 4, 3, 1);
    }
}

}  // namespace

void draw_levelup() {
    const View v = view_now();
    clear_view(v);
    if (fx_state.flash_levelup > 0) draw_burst(v, fx_state.flash_levelup);
    frame_view(v);

    const int level = player.level - levelup.pending + 1;
    char header[32];
    std::snprintf(header, sizeof header, "LEVEL %d  HP %d/%d", level, player.hp, player.max_hp);
    const CardLayout l = card_layout(v);
    if (v.landscape) {
        text_draw(v.x0 + 8, v.y0 + 5, "LEVEL UP!", 3);
        const int room = v.w - text_width("LEVEL UP!") - 23;
        if (text_width(header) > room) std::snprintf(header, sizeof header, "LV %d HP %d/%d", level, player.hp, player.max_hp);
        if (text_width(header) > room) std::snprintf(header, sizeof header, "HP %d/%d", player.hp, player.max_hp);
        text_right(v.x1 - 7, v.y0 + 5, header, 1);
        screen_hline(v.x0 + 6, v.y0 + 15, v.w - 11, 1);
    } else {
        text_centre(v, v.y0 + 8, "LEVEL UP!", 3);
        text_centre(v, v.y0 + 20, header, 1);
        screen_hline(v.x0 + 10, v.y0 + 31, v.w - 19, 1);
    }
    // In the training's fixed pick only the first card may be taken.
    const bool forced = levelup_pick_forced(LevelupMode{training_active()});
    // The ">" stands where the bag's panel drawn over the level-up would cut it in half, and where
    // the training's spotlight frames the fixed card: both times it is left out.
    const bool mark = !forced && game_state != STATE_BAG;
    for (int i = 0; i < 3; i++) draw_card(v, l, i, forced && i > 0, mark);
    if (!input_locked() && !toast_takes_footer())
        text_centre(v, levelup_footer_y(v), text_fit_forms(LEVELUP_HINTS, (int)std::size(LEVELUP_HINTS), v.w - 7), 1);
}

void draw_levelup_toast() {
    if (!toast_takes_footer()) return;
    const View v = view_now();
    // Below the cards and above the frame line, with room for two padded lines.
    draw_toast_between(cards_end(card_layout(v)), v.y1 - 1, true);
}

void draw_class_select() {
    const View v = view_now();
    clear_view(v);
    frame_view(v);
    int row_y, row_step;
    if (v.landscape) {
        text_draw(v.x0 + 8, v.y0 + 5, "CHOOSE A CLASS", 3);
        screen_hline(v.x0 + 6, v.y0 + 15, v.w - 11, 1);
        row_y = v.y0 + 20;
        row_step = 11;
    } else {
        text_centre(v, v.y0 + 8, "CHOOSE A CLASS", 3);
        screen_hline(v.x0 + 10, v.y0 + 19, v.w - 19, 1);
        row_y = v.y0 + 26;
        row_step = 14;
    }
    const int cursor = class_cursor >= 0 && class_cursor < CLASS_COUNT ? class_cursor : CLASS_KNIGHT;
    for (int c = 0; c < CLASS_COUNT; c++) {
        const int y = row_y + c * row_step;
        const bool locked = class_locked(c);
        if (c == cursor) text_draw(v.x0 + 5, y, ">", 3);
        text_draw(v.x0 + 14, y, class_info(c).name, locked ? 1 : c == cursor ? 3 : 2);
        if (locked) text_right(v.x1 - 7, y, "LOCKED", 1);
    }
    const int box_y = row_y + row_step + row_step + 4 - 3 * (v.landscape ? 1 : 0);
    screen_rect(v.x0 + 6, box_y, v.w - 11, 43, 2);
    const ClassInfo& info = class_info(cursor);
    const char* lines[4] = {info.weapon, info.perk, info.bonus, info.restriction};
    for (int i = 0; i < 4; i++)
        if (lines[i] && lines[i][0]) text_draw(v.x0 + 11, box_y + 5 + 9 * i, lines[i], i == 0 ? 3 : 2);
    // The footer may take the frame's whole inside, less a pixel each side, before it drops BACK.
    text_centre(v, v.y1 - 12, text_fit_hints("{A}: BEGIN   {B}: BACK", v.w - 5), 1);
}

namespace {

// The detail lines and footer of the row under the unlocks cursor.
struct UnlockDetail {
    char line1[40];
    const char* line2;
    const char* footer;
};

UnlockDetail unlock_detail(int32_t id, int room) {
    UnlockDetail d{};
    if (id < 0) {
        const int section = -1 - id;
        int total = 0;
        const int owned = unlock_section_owned(section, &total);
        std::snprintf(d.line1, sizeof d.line1, "%s  %d OF %d OWNED", unlock_section_title(section), owned, total);
        if (text_width(d.line1) > room)
            std::snprintf(d.line1, sizeof d.line1, "%s  %d/%d OWNED", unlock_section_title(section), owned, total);
        const bool folded = unlock_section_collapsed(section) != 0;
        d.line2 = folded ? "{A}: SHOW THEM" : "{A}: HIDE THEM";
        d.footer = folded ? "{A}: OPEN   {B}: BACK" : "{A}: FOLD   {B}: BACK";
    } else if (id >= UNLOCK_UPGRADE_ROW) {
        const int u = id - UNLOCK_UPGRADE_ROW;
        const bool off = upgrade_rank(u) > 0 && !upgrade_enabled(u);
        std::snprintf(d.line1, sizeof d.line1, "PERK  RANK %d OF %d%s", upgrade_rank(u), upgrade_max_rank(u),
                      off ? "  OFF" : "");
        d.line2 = upgrade_desc(u);
        d.footer = upgrade_rank(u) > 0 ? "{SELECT}: ON/OFF" : "{A}: BUY   {B}: BACK";
    } else {
        // The row's place within its section, counting the rows of that section up to it.
        const int section = unlock_section_of(id);
        int place = 0, total = 0;
        for (int r = 0; r < UNLOCK_ROWS; r++) {
            if (unlock_section_of(r) != section) continue;
            total++;
            if (r <= id) place++;
        }
        std::snprintf(d.line1, sizeof d.line1, "%s  %d/%d", unlock_kind_name(id), place, total);
        d.line2 = unlock_row_description(id);
        d.footer = "{A}: BUY   {B}: BACK";
    }
    return d;
}

// The row's name, its last words dropped while it would run into the value at its right.
void draw_row_name(int x, int y, const char* name, int value_left, int colour) {
    char shown[40];
    std::snprintf(shown, sizeof shown, "%s", name);
    while (x + text_width(shown) + 4 > value_left) {
        char* blank = std::strrchr(shown, ' ');
        if (!blank) break;
        *blank = '\0';
    }
    text_draw(x, y, shown, colour);
}

// The detail block's rise in portrait, where the description may take a second line.
constexpr int DETAIL_WRAP_RISE = 9;

}  // namespace

void draw_unlocks() {
    const View v = view_now();
    clear_view(v);
    frame_view(v);
    char souls[24];
    std::snprintf(souls, sizeof souls, "SOULS %d", profile.souls);
    int t;
    if (v.landscape) {
        text_draw(v.x0 + 8, v.y0 + 5, "UNLOCKS", 3);
        text_right(v.x1 - 7, v.y0 + 5, souls, 2);
        screen_hline(v.x0 + 6, v.y0 + 15, v.w - 11, 1);
        t = v.y0 + 19;
    } else {
        text_centre(v, v.y0 + 8, "UNLOCKS", 3);
        text_centre(v, v.y0 + 20, souls, 2);
        screen_hline(v.x0 + 10, v.y0 + 31, v.w - 19, 1);
        t = v.y0 + 36;
    }

    int32_t rows[UNLOCK_LIST_MAX];
    const int count = unlock_rows_build(rows);
    const int rise = v.landscape ? 0 : DETAIL_WRAP_RISE;
    int n = (v.h - (t - v.y0) - 34 - rise) / 10;
    if (n > count) n = count;
    if (n < 0) n = 0;
    const int cursor = unlocks_cursor >= 0 && unlocks_cursor < count ? unlocks_cursor : 0;
    int first = cursor - n / 2;
    if (first > count - n) first = count - n;
    if (first < 0) first = 0;
    for (int i = 0; i < n; i++) {
        const int index = first + i;
        const int32_t id = rows[index];
        const int y = t + 10 * i;
        const bool on = index == cursor;
        const int c = on ? 3 : 2;
        if (on) text_draw(v.x0 + 5, y, ">", 3);
        if (id < 0) {
            const int section = -1 - id;
            char title[40];
            std::snprintf(title, sizeof title, "%c %s", unlock_section_collapsed(section) ? '+' : '-',
                          unlock_section_title(section));
            text_draw(v.x0 + 13, y, title, c);
            int total = 0;
            const int owned = unlock_section_owned(section, &total);
            char tally[16];
            std::snprintf(tally, sizeof tally, "%d/%d", owned, total);
            text_right(v.x1 - 7, y, tally, 1);
            const int from = v.x0 + 13 + text_width(title) + 4, to = v.x1 - 7 - text_width(tally) - 4;
            if (to > from) screen_hline(from, y + 3, to - from, 1);
        } else if (id >= UNLOCK_UPGRADE_ROW) {
            const int u = id - UNLOCK_UPGRADE_ROW;
            const int ranks = upgrade_rank(u);
            const bool off = ranks > 0 && !upgrade_enabled(u);
            text_draw(v.x0 + 19, y, upgrade_name(u), c);
            const int px = v.x0 + 23 + text_width(upgrade_name(u));
            for (int k = 0; k < upgrade_max_rank(u); k++) {
                if (k < ranks) screen_fill_rect(px + 5 * k, y + 1, 3, 4, off ? 1 : 3);
                else screen_rect(px + 5 * k, y + 1, 3, 4, 1);
            }
            char value[16];
            const int cost = upgrade_next_cost(u);
            if (off) std::snprintf(value, sizeof value, "OFF");
            else if (cost <= 0) std::snprintf(value, sizeof value, "MAX");
            else std::snprintf(value, sizeof value, "%d", cost);
            text_right(v.x1 - 7, y, value, !off && cost > 0 && profile.souls >= cost ? 3 : 1);
        } else {
            const bool owned = unlock_owned(id);
            char value[16];
            if (cosmetic_equipped(id)) std::snprintf(value, sizeof value, "ON");
            else if (owned) std::snprintf(value, sizeof value, "OWNED");
            else std::snprintf(value, sizeof value, "%d", unlock_price(id));
            draw_row_name(v.x0 + 19, y, unlock_row_name(id), v.x1 - 7 - text_width(value), owned ? 1 : c);
            text_right(v.x1 - 7, y, value, !owned && profile.souls >= unlock_price(id) ? 3 : 1);
        }
    }

    screen_hline(v.x0 + 6, v.y1 - 35 - rise, v.w - 11, 1);
    if (count > 0) {
        // Detail lines end 7 pixels inside the view's right edge, clear of the frame.
        const int room = v.w - 15;
        const UnlockDetail d = unlock_detail(rows[cursor], room);
        text_draw(v.x0 + 8, v.y1 - 32 - rise, d.line1, 1);
        const int y2 = v.y1 - 22 - rise;
        if (unlocks_message.timer > 0) text_draw(v.x0 + 8, y2, unlocks_message.text, 3);
        else if (rise) draw_wrapped_lines(v.x0 + 8, y2, room, text_ring_expand(d.line2), 2);
        else text_draw(v.x0 + 8, y2, text_fit(d.line2, v.w - 16), 2);
        text_centre(v, v.y1 - 10, text_fit_hints(d.footer, v.w - 7), 1);
    }
}
