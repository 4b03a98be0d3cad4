// The bag screen's panel and its three sliding pages: stats with the boons held, the inventory
// grid with both hands and the held item, and the bestiary. Called by the draw pass in STATE_BAG.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "boons/boons.h"
#include "classes/classes.h"
#include "combat/combat.h"
#include "combat/duel.h"
#include "dungeon/monsters.h"
#include "items/bag.h"
#include "items/item.h"
#include "profile/profile.h"
#include "render/blit.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/row_spans.h"
#include "render/icons.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "screens/bag_draw.h"
#include "screens/hud.h"
#include "screens/screens.h"
#include "telemetry/perf.h"
#include "world/bag_view.h"
#include "world/player.h"

namespace {

constexpr int HIT_BAG_ENTRY = 0;
constexpr float TWO_PI = 6.2831853f;
constexpr int ROW_H = 9;
constexpr int BAG_CLEAR_ROW_INSET = 4;  // a box over the bag clears from this row in, below the corner lights
constexpr int BOON_ROW_H = 8;
constexpr int BESTIARY_ROW_H = 10;
constexpr int MAX_BOON_PIPS = 5;
constexpr int BOON_LIST_MAX = BOON_SLOTS;
const char* const ROMAN[6] = {"", "I", "II", "III", "IV", "V"};

const char* const STAT_POPUP_LINES[STAT_ROW_COUNT] = {
    "HIT POINTS. AT 0 THE RUN ENDS. POTIONS HEAL, AND SO DO SOME BOONS.",
    "EARNED BY KILLS. FILL IT TO LEVEL UP, AND PICK 1 OF 3.",
    "HOW HARD YOU HIT: YOUR OWN STRENGTH PLUS YOUR WEAPONS.",
    "TAKEN OFF EVERY HIT YOU TAKE; A HIT STILL DOES AT LEAST 1. SHIELDS AND TWO-HANDERS ADD TO IT.",
    "THE CHANCE A HIT MISSES YOU OUTRIGHT: SIDESTEP. 75% AT MOST.",
    "SPENT AT THE CAMP (FLOORS 4, 7, 10...): POTIONS, THE FORGE, A BOON.",
    "EACH OPENS A LOCKED DOOR OR CHEST, AND IS USED UP.",
    "WHAT THIS RUN BANKS IF IT ENDS NOW: 1 A FLOOR, 5 A DRAGON. SPEND SOULS ON UNLOCKS AT THE TITLE.",
    "HOW HIGH YOU'VE CLIMBED. A DRAGON GUARDS EVERY TENTH FLOOR.",
    "MONSTERS KILLED THIS RUN. THE BESTIARY COUNTS EVERY RUN.",
};

const char* boon_name(int id) {
    const BoonDef* d = boon_def(id);
    return d && d->name ? d->name : "";
}

int boon_max_level(int id) {
    const BoonDef* d = boon_def(id);
    return d ? d->max_level : 0;
}

bool boon_is_evolution(int id) {
    const BoonDef* d = boon_def(id);
    return d && d->evolution;
}

// The line of a level: the base line for level 1, or when the level has none of its own.
const char* boon_level_line(int id, int level) {
    const BoonDef* d = boon_def(id);
    if (!d) return "";
    const char* line = level >= 2 && level <= BOON_LEVELS ? d->descs[level - 2] : nullptr;
    if (line && line[0]) return line;
    return d->desc ? d->desc : "";
}

struct Panel {
    int px, py, pw, ph;
};

// Only columns lo..hi are drawn while a page slides (a set byte skips its column).
uint8_t page_mask[FB_LONG];

void mask_columns(int lo, int hi) {
    for (int x = 0; x < FB_LONG; ++x) page_mask[x] = (x >= lo && x <= hi) ? 0 : 1;
    screen_set_column_mask(page_mask);
}

void text_right(int right, int y, const char* text, int colour) {
    text_draw(right - text_width(text), y, text, colour);
}

int centred_x(int left, int width, const char* text) { return left + (width - text_width(text) + 1) / 2; }

// --- Frame and title -----------------------------------------------------------------------------

void draw_frame(const Panel& p) {
    screen_fill_rect(p.px + 3, p.py + 3, p.pw, p.ph, 1);
    screen_fill_rect(p.px, p.py, p.pw, p.ph, 0);
    row_spans_hide_under(p.px, p.py, p.pw, p.ph);  // what the bag covers is not cleared behind its pop-up
    screen_rect(p.px, p.py, p.pw, p.ph, 2);
    screen_rect(p.px + 2, p.py + 2, p.pw - 4, p.ph - 4, 2);
    screen_pixel(p.px + 3, p.py + 3, 3);
    screen_pixel(p.px + p.pw - 4, p.py + 3, 3);
    screen_pixel(p.px + 3, p.py + p.ph - 4, 3);
    screen_pixel(p.px + p.pw - 4, p.py + p.ph - 4, 3);
    // A box over the bag clears whole rows inside the inner outline, in the rows clear of its
    // corner lights.
    row_spans_frame(BEHIND_ROWS, p.px + 3, p.py + BAG_CLEAR_ROW_INSET, p.px + p.pw - 4,
                    p.py + p.ph - 1 - BAG_CLEAR_ROW_INSET);
}

void draw_heart(int x, int y) {
    static const char* const ROWS[5] = {".X.X.", "X.X.X", "XXXXX", ".XXX.", "..X.."};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c)
            if (ROWS[r][c] == 'X') screen_pixel(x + c, y + r, 3);
}

void draw_title(const Panel& p, float shown) {
    int idx = (int)(shown + 0.5f);
    idx = idx < 0 ? 0 : (idx > 2 ? 2 : idx);
    const char* name = BAG_PAGE_NAMES[idx];
    const int y = p.py + 6;
    int x = centred_x(p.px, p.pw, name);
    if (screen_layout.landscape) {
        draw_heart(p.px + 6, p.py + 8);
        char hp[24];
        snprintf(hp, sizeof hp, "%d/%d", player.hp, player.max_hp);
        text_draw(p.px + 13, y, hp, 2);
        const int e = p.px + 13 + text_width(hp) + 6;
        char souls[16], floor[16];
        snprintf(souls, sizeof souls, "%d", souls_preview(0));
        snprintf(floor, sizeof floor, "F%d", current_floor + 1);
        const int w12 = text_width(souls) + text_width(floor);
        draw_souls_counter(p.px + p.pw - w12 - 21, y);
        const int limit = p.px + p.pw - w12 - 27;
        if (x < e) x = e;
        if (x + text_width(name) > limit) x = limit - text_width(name);
        if (x < e) return;
    }
    text_draw(x, y, name, 2);
}

// --- Stats page ----------------------------------------------------------------------------------

void draw_boons(const Panel& p, int bx, int bw, int hy, int rows) {
    int ids[BOON_LIST_MAX];
    const int n_boons = bag_page_flags_list(ids);
    char head[16];
    snprintf(head, sizeof head, "BOONS %d", n_boons);
    text_draw(bx, hy, head, 1);
    screen_hline(bx, hy + 8, bw, 1);
    if (n_boons == 0) {
        text_draw(bx, hy + 11, "NONE YET", 1);
        return;
    }
    const int fit = (p.py + p.ph - hy - 25) / BOON_ROW_H;
    const int sel = bag_view.stats_cursor - rows - 1;
    const int first = sel < fit ? 0 : sel - fit + 1;
    if (first > 0) text_draw(bx + bw - 12, hy, "^", 2);
    if (first + fit < n_boons) text_draw(bx + bw - 5, hy, "v", 2);
    for (int i = first; i < n_boons && i < first + fit; ++i) {
        const int id = ids[i];
        const int y = hy + 11 + (i - first) * BOON_ROW_H;
        const bool chosen = i == sel;
        if (chosen) screen_fill_rect(bx - 2, y - 1, bw + 4, 9, 1);
        text_draw(bx, y, boon_name(id), chosen || boon_is_evolution(id) ? 3 : 2);
        int m = boon_max_level(id);
        if (m > MAX_BOON_PIPS) m = MAX_BOON_PIPS;
        if (m < 2) continue;
        for (int j = 0; j < m; ++j) {
            const int colour = j < player.boon_ranks[id] ? 3 : (chosen ? 0 : 1);
            screen_vline(bx + bw + 1 - 2 * (m - j), y + 1, 5, colour);
        }
    }
}

void draw_stats_page(const Panel& p, int x) {
    const ClassInfo& ci = class_info(player.cls);
    char cls[40], rank[40], both[96];
    snprintf(cls, sizeof cls, "%s  LV %d", ci.name ? ci.name : "", player.level);
    snprintf(rank, sizeof rank, "REFLEX %s", skill_rank_name(skill_rating()));
    snprintf(both, sizeof both, "%s  %s", cls, rank);
    const bool one_line = text_width(both) <= p.pw - 12;
    int top;
    if (one_line) {
        const int bx = centred_x(x, p.pw, both);
        if (bag_view.stats_cursor == 0) screen_fill_rect(bx - 3, p.py + 17, text_width(both) + 6, 9, 1);
        text_draw(bx, p.py + 18, cls, 3);
        text_draw(bx + text_width(cls) + 12, p.py + 18, rank, 2);
        top = p.py + 30;
    } else {
        const int wide = text_width(cls) > text_width(rank) ? text_width(cls) : text_width(rank);
        if (bag_view.stats_cursor == 0)
            screen_fill_rect(x + (p.pw - wide + 1) / 2 - 3, p.py + 17, wide + 6, 18, 1);
        text_draw(centred_x(x, p.pw, cls), p.py + 18, cls, 3);
        text_draw(centred_x(x, p.pw, rank), p.py + 27, rank, 2);
        top = p.py + 39;
    }
    int ids[STAT_ROW_COUNT];
    const int rows = bag_tab_list(ids);
    const bool landscape = screen_layout.landscape != 0;
    const int u = (p.pw - 26) / 2;
    for (int r = 0; r < rows; ++r) {
        char value[24];
        format_stat_value(ids[r], value);
        const bool chosen = bag_view.stats_cursor == r + 1;
        int lx, right, y;
        if (landscape) {
            lx = x + 8;
            right = x + 72;
            y = top + r * ROW_H;
            if (chosen) screen_fill_rect(x + 6, y - 1, 68, 9, 1);
        } else {
            lx = r % 2 == 0 ? x + 8 : x + 18 + u;
            right = lx + u;
            y = top + (r / 2) * ROW_H;
            if (chosen) screen_fill_rect(lx - 2, y - 1, u + 4, 9, 1);
        }
        text_draw(lx, y, STAT_ROW_NAMES[ids[r]], chosen ? 2 : 1);
        text_right(right, y, value, chosen ? 3 : 2);
    }
    if (landscape) {
        screen_vline(x + 75, top, rows * ROW_H - 2, 1);
        draw_boons(p, x + 79, p.pw - 85, top, rows);
    } else {
        draw_boons(p, x + 8, p.pw - 16, top + ROW_H * ((rows + 1) / 2) + 4, rows);
    }
}

void draw_stats_popup(const Panel& p) {
    int ids[STAT_ROW_COUNT], boons[BOON_LIST_MAX];
    const int rows = bag_tab_list(ids);
    const int n_boons = bag_page_flags_list(boons);
    const int c = bag_view.stats_cursor;
    const bool landscape = screen_layout.landscape != 0;
    int h = landscape ? (c > 0 ? 96 : 112) : (c > 0 ? 104 : 136);
    if (h > p.ph - 4) h = p.ph - 4;
    const int y = p.py + (p.ph - h) / 2;
    // The page's lines the pop-up touches, its shadow's row included, are cleared whole.
    row_spans_clear_behind({p.px + 6, y, p.px + p.pw - 4, y + h + 1});
    screen_fill_rect(p.px + 8, y + 2, p.pw - 12, h, 1);
    screen_fill_rect(p.px + 6, y, p.pw - 12, h, 0);
    screen_rect(p.px + 6, y, p.pw - 12, h, 3);
    const int tx = p.px + 12, tw = p.pw - 24;
    char line[96];
    if (c <= 0 || c > rows + n_boons) {
        const ClassInfo& ci = class_info(player.cls);
        snprintf(line, sizeof line, "THE %s", ci.name ? ci.name : "");
        text_draw(tx, y + 6, line, 3);
        int ly = y + 18;
        const char* lines[4] = {ci.weapon, ci.perk, ci.bonus, ci.restriction};
        for (const char* l : lines) ly = bag_wrap_lines(tx, ly, tw, l ? l : "", 2);
        snprintf(line, sizeof line, "REFLEX %s", skill_rank_name(skill_rating()));
        text_draw(tx, ly + 4, line, 3);
        bag_wrap_lines(tx, ly + 4 + ROW_H, tw, "YOUR RANK, FROM HOW YOU FIGHT: THE SHARPER, THE FASTER THE VORN.", 2);
    } else if (c <= rows) {
        const int id = ids[c - 1];
        char value[24];
        format_stat_value(id, value);
        snprintf(line, sizeof line, "%s  %s", STAT_ROW_NAMES[id], value);
        text_draw(tx, y + 6, line, 3);
        bag_wrap_lines(tx, y + 18, tw, STAT_POPUP_LINES[id], 2);
    } else {
        const int id = boons[c - rows - 1];
        const int level = player.boon_ranks[id];
        const int shown = level > 5 ? 5 : level;
        const int max = boon_max_level(id);
        snprintf(line, sizeof line, "%s %s", boon_name(id), max > 1 ? ROMAN[shown] : "");
        text_draw(tx, y + 6, line, 3);
        int ly = y + 18;
        if (boon_is_evolution(id)) {
            text_draw(tx, ly, "EVOLUTION", 1);
            ly += 10;
        }
        ly = bag_wrap_lines(tx, ly, tw, boon_level_line(id, level), 2);
        if (level < max) {
            snprintf(line, sizeof line, "NEXT: %s", boon_level_line(id, level + 1));
            bag_wrap_lines(tx, ly + 3, tw, line, 1);
        }
    }
    const char* ok = text_fit("{A}: OK", p.pw - 12);
    text_draw(centred_x(p.px + 6, p.pw - 12, ok), y + h - 10, ok, 1);
}

// --- Inventory page ------------------------------------------------------------------------------

// The item centred in a hand slot at half a cell per bag cell, turned when it would stand too tall.
void draw_in_hand_slot(const Item& item, int sx, int sy, int cell) {
    const ItemDef& d = item_def(item.id);
    int w = d.w * cell / 2, h = d.h * cell / 2;
    const bool turn = h > BAG_HAND_SLOT_H - 2;
    if (turn) std::swap(w, h);
    icon_quarter_turn = turn ? 1 : 0;
    draw_item_card(sx + (BAG_HAND_SLOT_W - w) / 2, sy + (BAG_HAND_SLOT_H - h) / 2, w, h, item);
    icon_quarter_turn = 0;
}

void draw_hands(const BagLayout& l, int t) {
    const int mx = l.main_x + t, ox = l.off_x + t;
    text_draw(mx + (BAG_HAND_SLOT_W - text_width("MAIN") + 1) / 2, l.main_y - BAG_LABEL_ABOVE, "MAIN", 1);
    text_draw(ox + (BAG_HAND_SLOT_W - text_width("OFF") + 1) / 2, l.off_y - BAG_LABEL_ABOVE, "OFF", 1);
    screen_rect(mx, l.main_y, BAG_HAND_SLOT_W, BAG_HAND_SLOT_H, 2);
    screen_rect(ox, l.off_y, BAG_HAND_SLOT_W, BAG_HAND_SLOT_H, 2);
    // A box over the bag clears a slot with its label.
    row_spans_note(mx, l.main_y - BAG_LABEL_ABOVE, BAG_HAND_SLOT_W, BAG_HAND_SLOT_H + BAG_LABEL_ABOVE);
    row_spans_note(ox, l.off_y - BAG_LABEL_ABOVE, BAG_HAND_SLOT_W, BAG_HAND_SLOT_H + BAG_LABEL_ABOVE);
    item_card_compare = 0;
    if (player.main_hand.id != ITEM_NONE) draw_in_hand_slot(player.main_hand, mx, l.main_y, l.cell);
    if (player.off_hand.id != ITEM_NONE) {
        draw_in_hand_slot(player.off_hand, ox, l.off_y, l.cell);
    } else if (item_def(player.main_hand.id).two_handed) {
        for (int dy = 3; dy <= 18; dy += 3) screen_hline(ox + 2, l.off_y + dy, 36, 1);
    }
}

void draw_grid(const BagLayout& l, int t) {
    const int gx = l.grid_x + t, gy = l.grid_y, cell = l.cell;
    text_draw(gx, gy - BAG_GRID_HEAD_ABOVE, "BAG", 1);
    screen_hline(gx + 4, gy - 4, 6 * cell - 8, 1);
    for (int r = 0; r < BAG_ROWS; ++r)
        for (int c = 0; c < BAG_COLS; ++c) screen_rect(gx + c * cell, gy + r * cell, cell + 1, cell + 1, 1);
    // A box over the bag clears the grid whole, with its heading and rule.
    row_spans_note(gx, gy - BAG_GRID_HEAD_ABOVE, BAG_COLS * cell + 1, BAG_ROWS * cell + 1 + BAG_GRID_HEAD_ABOVE);
    for (int i = 0; i < player.bag.count && i < BAG_MAX_ITEMS; ++i) {
        const BagEntry& e = player.bag.entries[i];
        int w, h;
        bag_item_size(e, &w, &h);
        const int x = gx + e.col * cell, y = gy + e.row * cell;
        const int fw = w * cell, fh = h * cell;
        screen_fill_rect(x + 1, y + 1, fw - 1, fh - 1, 0);
        screen_rect(x, y, fw + 1, fh + 1, 2);
        icon_quarter_turn = e.rotated;
        item_card_compare = 1;
        draw_item_card(x + 1, y + 1, fw - 1, fh - 1, e.item);
        item_card_compare = 0;
        icon_quarter_turn = 0;
        const int bottom = y + fh;
        if (e.item.junk) {
            screen_line(x + 2, bottom - 8, x + 5, bottom - 5, 3);
            screen_line(x + 5, bottom - 8, x + 2, bottom - 5, 3);
        }
        if (e.count > 1) {
            char n[12];
            snprintf(n, sizeof n, "%d", e.count);
            text_right(x + fw - 1, bottom - 7, n, 3);
        }
        if (t == 0) hit_region_add(HIT_BAG_ENTRY, i, x, y, fw + 1, fh + 1);
    }
}

int wiggle_offset(int v) {
    if (v <= 0) return 0;
    const int d = v / 3 + 1;
    return v % 2 == 1 ? d : -d;
}

void draw_held(const BagLayout& l, int t) {
    const BagView& v = bag_view;
    const int bob = (int)(std::sin(TWO_PI * (float)(frame_counter % 60) / 60.0f) + 1.0f);
    const int dx = wiggle_offset(v.shake_timer) + t;
    if (v.zone != BAG_ZONE_GRID) {
        const int sx = (v.zone == BAG_ZONE_MAIN ? l.main_x : l.off_x) + dx;
        const int sy = (v.zone == BAG_ZONE_MAIN ? l.main_y : l.off_y) - bob;
        draw_in_hand_slot(v.held, sx, sy, l.cell);
        return;
    }
    const ItemDef& d = item_def(v.held.id);
    const int w = v.held_rotated ? d.h : d.w, h = v.held_rotated ? d.w : d.h;
    const int x = l.grid_x + v.col * l.cell + dx, y = l.grid_y + v.row * l.cell - bob;
    const int fw = w * l.cell, fh = h * l.cell;
    const bool free = bag_area_free(player.bag, v.col, v.row, w, h, BAG_EMPTY);
    screen_rect(x - 1, y - 1, fw + 3, fh + 3, free ? 3 : 2);
    if (bob > 0) screen_rect(x - 2, y - 2, fw + 5, fh + 5, 1);
    screen_fill_rect(x + 1, y + 1, fw - 1, fh - 1, 0);
    icon_quarter_turn = v.held_rotated;
    draw_item_card(x + 1, y + 1, fw - 1, fh - 1, v.held);
    icon_quarter_turn = 0;
    if (v.held_count > 1) {
        char n[12];
        snprintf(n, sizeof n, "%d", v.held_count);
        text_right(x + fw - 1, y + fh - 7, n, 3);
    }
}

void draw_cursor(int t) {
    const BagView& v = bag_view;
    const int cx = (int)v.cursor_x + wiggle_offset(v.shake_timer) + t, cy = (int)v.cursor_y;
    if (!v.holding) {
        screen_vline(cx, cy - 7, 3, 3);
        screen_vline(cx, cy + 4, 3, 3);
        screen_hline(cx - 7, cy, 3, 3);
        screen_hline(cx + 4, cy, 3, 3);
    }
    screen_circle(cx, cy, 2, 3);
    screen_pixel(cx, cy, 3);
}

void draw_inventory_page(int t) {
    const BagLayout& l = bag_layout;
    draw_hands(l, t);
    draw_grid(l, t);
    if (bag_view.holding) draw_held(l, t);
    draw_cursor(t);
}

// --- Bestiary page -------------------------------------------------------------------------------

bool kind_met(int k) { return k >= 1 && k <= BESTIARY_KINDS && ((profile.met >> k) & 1u) != 0; }

void draw_monster_detail(const Panel& p, int k, int dx, int dy, int width, bool landscape) {
    if (!kind_met(k)) {
        text_draw(dx, dy, "NOT YET MET", 1);
        return;
    }
    const Image* img = monster_sprite(k);
    text_draw(dx, dy, MONSTER_TYPES[k].name, 3);
    const int tw = (!landscape && img) ? width * 11 / 20 : width;
    int y = bag_wrap_lines(dx, dy + 10, tw, monster_behaviour_text(k), 2);
    char killed[24];
    snprintf(killed, sizeof killed, "KILLED %d", profile.slain[k]);
    text_draw(dx, y + 1, killed, 1);
    if (!img || img->w <= 0 || img->h <= 0) return;
    const int base = p.py + p.ph - 14;
    const int a = width - tw - 2;
    const int avail_w = landscape ? width : a;
    const int avail_top = landscape ? y + 1 + 10 : dy;
    const float dens = (float)(img->density > 1 ? img->density : 1);
    const float sh = (float)(base - avail_top) / ((float)img->h / dens);
    float sw = (float)(avail_w - 2) / ((float)img->w / dens);
    if (sw > 2.0f) sw = 2.0f;
    const float s = sh < sw ? sh : sw;
    if (s < 0.5f) return;
    const int cx = landscape ? dx + width / 2 : dx + tw + 2 + a / 2;
    static const int OFFSETS[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& o : OFFSETS) {
        screen_set_offset(o[0], o[1], 0);
        sprite_draw_at_scale(img, cx, base, s);
    }
    screen_set_offset(0, 0, -1);
    sprite_draw_at_scale(img, cx, base, s);
}

void draw_bestiary_page(const Panel& p, int x) {
    const bool landscape = screen_layout.landscape != 0;
    const int u = landscape ? p.pw / 2 - 12 : p.pw - 16;
    const int cur = bag_view.bestiary_cursor;
    for (int k = 1; k <= BESTIARY_KINDS; ++k) {
        const int y = p.py + 18 + BESTIARY_ROW_H * (k - 1);
        const bool chosen = k == cur;
        if (chosen) screen_fill_rect(x + 6, y - 1, u + 4, 9, 1);
        if (!kind_met(k)) {
            text_draw(x + 8, y, "???", chosen ? 2 : 1);
            continue;
        }
        const char* name = MONSTER_TYPES[k].name;
        text_draw(x + 8, y, name, chosen ? 3 : 2);
        char n[12];
        snprintf(n, sizeof n, "%d", profile.slain[k]);
        const int count_x = x + 8 + u - text_width(n);
        text_draw(count_x, y, n, 2);
        if (!codex_is_new(k)) continue;
        const int start = count_x - 6 - text_width("NEW!");
        if (start >= x + 8 + text_width(name) + 4) {
            text_draw(start, y, "NEW!", 3);
        } else {
            screen_hline(count_x - 6, y + 3, 3, 3);
            screen_pixel(count_x - 5, y + 2, 3);
            screen_pixel(count_x - 5, y + 4, 3);
        }
    }
    if (landscape) {
        screen_vline(x + p.pw / 2 - 2, p.py + 18, 78, 1);
        draw_monster_detail(p, cur, x + p.pw / 2 + 4, p.py + 18, p.pw / 2 - 12, true);
    } else {
        screen_hline(x + 8, p.py + 99, p.pw - 16, 1);
        draw_monster_detail(p, cur, x + 8, p.py + 102, p.pw - 16, false);
    }
}

// --- Page marks and message ----------------------------------------------------------------------

void draw_page_marks(const Panel& p, float shown) {
    const BagView& v = bag_view;
    const int cx = p.px + p.pw / 2, cy = p.py + p.ph - 10;
    bool dots = !v.holding || v.zone != BAG_ZONE_GRID;
    if (!dots) {
        const ItemDef& d = item_def(v.held.id);
        dots = d.w == d.h;
    }
    if (!dots) {
        const char* hint = text_fit("{SELECT}: TURN IT", p.pw - 8);
        text_draw(centred_x(p.px, p.pw, hint), p.py + p.ph - 13, hint, 1);
        return;
    }
    for (int i = 0; i < BAG_PAGE_COUNT; ++i) screen_rect(cx - 11 + 10 * i, cy, 3, 3, 1);
    screen_fill_rect(cx - 11 + (int)(shown * 10 + 0.5f), cy, 3, 3, 3);
    if (codex_any_new()) screen_pixel(cx + 10, cy - 2, 3);
}

}  // namespace

void draw_bag_message(int y) {
    const BagView& v = bag_view;
    if (v.message_timer <= 0 || !v.message[0]) return;
    const int n = text_width(v.message);
    const int x = bag_layout.px + (bag_layout.pw - n - 4) / 2;
    screen_fill_rect(x, y, n + 4, 9, 2);
    text_draw(x + 2, y + 1, v.message, 0);
}

void draw_bag() {
    perf_begin(ZONE_UI);
    bag_slot_center(bag_view, nullptr, nullptr);
    const Panel p{bag_layout.px, bag_layout.py, bag_layout.pw, bag_layout.ph};
    if (!screen_layout.landscape) {
        // The band above the panel is cleared first, so no title of the screen underneath (the
        // level-up's, the camp's) shows between the two boxes. Over a screen of text in a frame
        // (the camp) the whole view is, so no stub of that frame shows in the margins beside the
        // panel and its shadow.
        const ScreenRect& v = screen_layout.view;
        const int below = row_spans.behind == BEHIND_ROWS ? v.y1 + 1 : p.py;
        screen_fill_rect(v.x0, v.y0, v.x1 - v.x0 + 1, below - v.y0, 0);
        draw_hp_box();
        draw_souls_floor_box();
    }
    draw_frame(p);
    const float shown = bag_view.shown_page;
    draw_title(p, shown);
    const int span = p.pw - 6;
    for (int i = 0; i < BAG_PAGE_COUNT; ++i) {
        const int t = (int)((float)(i - shown) * (float)span);
        if (t <= -span || t >= span) continue;
        mask_columns(p.px + 3, p.px + p.pw - 4);
        if (i == BAG_PAGE_STATS) draw_stats_page(p, p.px + t);
        if (i == BAG_PAGE_INVENTORY) draw_inventory_page(t);
        if (i == BAG_PAGE_BESTIARY) draw_bestiary_page(p, p.px + t);
        screen_set_column_mask(nullptr);
    }
    draw_page_marks(p, shown);
    if (bag_view.stats_popup && bag_view.page == BAG_PAGE_STATS) draw_stats_popup(p);
    draw_bag_message(p.py + p.ph - 12);
    perf_end(ZONE_UI);
}
