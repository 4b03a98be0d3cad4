// The camp's pages other than the hub: selling, the boon pick, the shop, the forge list, the
// forge's work on one item and the buy-back list. Called by draw_camp_pages; every list, price
// and rule comes from the camp module.
#include <cstdio>

#include "boons/boons.h"
#include "camp/camp.h"
#include "items/bag.h"
#include "items/enchant.h"
#include "items/item.h"
#include "items/potion.h"
#include "profile/profile.h"
#include "render/blit.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/icons.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "screens/camp_draw.h"
#include "screens/hud.h"
#include "screens/bag_draw.h"
#include "screens/screens.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

constexpr int SELL_ROWS_MAX = 32;
constexpr int ROW_GAP = 3;
constexpr int LINE_ROW_H = 13;
constexpr int ITEM_ROW_H = 23;
constexpr int GROUP_GAP = 10;  // a group heading above a forge row
constexpr int BOON_REDRAW_ROW = 3;
constexpr int BUY_BACK_ROW_H = 11;
constexpr int EXPLAIN_MAX = 64;  // every character of the forge's explanation shows

// A list of tall rows laid out from its own top; the page scrolls it to show the cursor row.
struct TallList {
    int count;
    int32_t rows[CAMP_LIST_MAX];
    int start[CAMP_LIST_MAX];  // where the row's block begins: its gap or group heading above it
    int top[CAMP_LIST_MAX];
    int height[CAMP_LIST_MAX];
    int next;  // where a row added now would start
};

void tall_add(TallList& l, int32_t row, int height, int before) {
    if (l.count >= CAMP_LIST_MAX) return;
    l.rows[l.count] = row;
    l.start[l.count] = l.next;
    l.top[l.count] = l.next + before;
    l.height[l.count] = height;
    l.next = l.top[l.count] + height + ROW_GAP;
    l.count++;
}

int tall_total(const TallList& l) { return l.count > 0 ? l.top[l.count - 1] + l.height[l.count - 1] : 0; }

// The cursor as the drawing takes it: one out of range stands on the last row.
int list_cursor(int count) { return camp.cursor >= 0 && camp.cursor < count ? camp.cursor : count - 1; }

struct TallView {
    int hy;      // the header's bottom
    int area;    // the list's height on screen
    int scroll;  // pixels scrolled
};

TallView tall_view(const CampView& v, int hy, const TallList& l, int cursor) {
    TallView t{hy, (v.y1 - 16) - (hy + 1), 0};
    if (cursor >= 0 && cursor < l.count) {
        const int b = l.top[cursor] + l.height[cursor] - t.area;
        t.scroll = l.top[cursor] < (b > 0 ? b : 0) ? l.top[cursor] : (b > 0 ? b : 0);
        // Scrolled, the list starts at the first whole block that keeps the cursor row in sight,
        // so no row lies half under the header.
        if (t.scroll > 0) {
            int whole = l.top[cursor];
            for (int i = 0; i <= cursor; i++)
                if (l.start[i] >= t.scroll) {
                    whole = l.start[i];
                    break;
                }
            t.scroll = whole;
        }
    }
    return t;
}

// The screen y of row i; false when no part of it lies below the list area's top, or when the
// area's bottom would cut it: the list ends on a whole row. A row cut by the area's top is drawn
// whole and trimmed by tall_trim.
bool tall_row_y(const CampView& v, const TallView& t, const TallList& l, int i, int* y) {
    *y = t.hy + 1 + l.top[i] - t.scroll;
    return *y + l.height[i] > t.hy + 1 && *y + l.height[i] - 1 <= v.y1 - 16;
}

// Rows cut by the list area's bottom edge are clipped there while they are drawn.
void tall_clip_begin(const CampView& v) {
    static int16_t clip[FB_LONG];
    for (int16_t& c : clip) c = (int16_t)(v.y1 - 15);
    screen_set_column_clip(clip);
}

// Clips no more; what rows drew above the list area is cleared and the header drawn again.
void tall_trim(const CampView& v, const TallView& t, const char* title) {
    screen_set_column_clip(nullptr);
    screen_fill_rect(v.x0 + 2, v.y0 + 2, v.w - 3, t.hy - v.y0 - 1, 0);
    draw_gold_header(title);
}

void tall_arrows(const CampView& v, const TallView& t, const TallList& l) {
    if (t.scroll > 0) text_draw(v.x1 - 6, t.hy + 1, "^", 1);
    if (tall_total(l) - t.scroll > t.area) text_draw(v.x1 - 6, v.y1 - 23, "v", 1);
}

void row_frame(const CampView& v, int y, int h, bool on) {
    screen_rect(v.x0 + 12, y, v.w - 20, h, on ? 3 : 1);
    if (on) text_draw(v.x0 + 4, y + (h == ITEM_ROW_H ? 9 : 3), ">", 3);
}

// A one-line row: label on the left, value on the right.
void line_row(const CampView& v, int y, bool on, const char* label, const char* value, int colour) {
    row_frame(v, y, LINE_ROW_H, on);
    text_draw(v.x0 + 16, y + 3, label, colour);
    camp_text_right(v.x1 - 12, y + 3, value, colour);
}

int pips_room(int quality) { return quality > 0 ? camp_pips_width(quality) + 2 : 0; }

// Name and pips of an item row; returns the x after the pips.
int item_row_name(const CampView& v, int y, const Item& item, int room, int colour) {
    char name[40];
    const int nw = camp_item_name(item, room, name, sizeof name);
    text_draw(v.x0 + 34, y + 4, name, colour);
    const int px = v.x0 + 34 + nw + 3;
    return px + camp_draw_pips(px, y + 6, item.quality);
}

int bag_units(uint32_t id) {
    int n = 0;
    for (int i = 0; i < player.bag.count; i++)
        if (player.bag.entries[i].item.id == id) n += player.bag.entries[i].count;
    return n;
}

int affordable_colour(bool affordable, bool on) { return !affordable ? 1 : on ? 3 : 2; }

// Pips and the enchantment's mark after a shop or buy-back row's text.
void row_marks(const CampView& v, int y, const char* text, const Item& item) {
    const int tw = text_width(text);
    const int pw = camp_draw_pips(v.x0 + 17 + tw, y + 2, item.quality);
    camp_draw_enchant_glyph(v.x0 + 18 + tw + (pw > 0 ? pw + 2 : 0), y + 1, item.enchant, 3);
}

// ---- sell ----

void sell_item_row(const CampView& v, int y, const BagEntry& e, bool on) {
    const Item& item = e.item;
    const int colour = on ? 3 : 2;
    row_frame(v, y, ITEM_ROW_H, on);
    camp_draw_item_icon(v.x0 + 15, y + 4, item);
    char price[16];
    std::snprintf(price, sizeof price, "+%dG", item_value(item));
    camp_text_right(v.x1 - 12, y + 4, price, colour);
    const int compare = camp_compare(item);
    const int room = v.x1 - v.x0 - 58 - text_width(price) - pips_room(item.quality) + (compare == 0 ? 8 : 0);
    const int after = item_row_name(v, y, item, room, colour);
    camp_draw_arrow(after + 1, y + 3, compare);
    if (item.junk) {
        screen_line(v.x0 + 16, y + 14, v.x0 + 19, y + 17, 3);
        screen_line(v.x0 + 19, y + 14, v.x0 + 16, y + 17, 3);
    }
    if (item_is_wearable(item)) {
        camp_draw_wear_line(v, y, item);
    } else if (e.count > 1) {
        char count[12];
        std::snprintf(count, sizeof count, "x%d", e.count);
        text_draw(v.x0 + 34, y + 13, count, 1);
    }
}

// ---- forge ----

int forge_group(int32_t row) { return row == CAMP_SLOT_MAIN ? 0 : row == CAMP_SLOT_OFF ? 1 : 2; }

const char* const FORGE_GROUPS[3] = {"MAIN HAND", "OFF HAND", "BAG"};

void forge_item_row(const CampView& v, int y, int32_t slot, const Item& item, bool on) {
    row_frame(v, y, ITEM_ROW_H, on);
    camp_draw_item_icon(v.x0 + 15, y + 4, item);
    const int compare = slot >= 0 ? camp_compare(item) : 0;
    const int room = v.x1 - v.x0 - 46 - pips_room(item.quality) - (compare != 0 ? 8 : 0);
    item_row_name(v, y, item, room, on ? 3 : 2);
    camp_draw_arrow(v.x1 - 16, y + 3, compare);
    camp_draw_wear_line(v, y, item);
}

int merge_gain(const Item& item) { return item.upgrade >= CAMP_UPGRADE_MAX ? item.upgrade : item.upgrade + 1; }

// What the action under the cursor will do, for the line under the rows.
void forge_explain(const Item& item, bool landscape, char* out, size_t size) {
    const bool shield = item_id_is_shield(item.id);
    const int m = item_wear_max(item), left = m - item.wear > 0 ? m - item.wear : 0;
    switch (camp.cursor) {
    case CAMP_FORGE_ENCHANT:
        if (item.enchant != ENCHANT_NONE)
            std::snprintf(out, size, "%s", landscape ? "A NEW ENCHANT, AT RANDOM." : "A RANDOM NEW ENCHANT. DEARER EACH TIME.");
        else std::snprintf(out, size, "%s", landscape ? "AN ENCHANT, AT RANDOM." : "A RANDOM ENCHANT THAT FITS IT.");
        break;
    case CAMP_FORGE_UPGRADE:
        if (item.upgrade >= CAMP_UPGRADE_MAX) {
            std::snprintf(out, size, "IT'S AS GOOD AS IT GETS.");
        } else {
            Item next = item;
            next.upgrade++;
            const int now = shield ? item_defence(item) : item_attack(item);
            const int then = shield ? item_defence(next) : item_attack(next);
            std::snprintf(out, size, "%s %+d -> %+d, FOR GOOD.", shield ? "DEF" : "ATK", now, then);
        }
        break;
    case CAMP_FORGE_REPAIR:
        if (camp_repair_price(item) <= 0) std::snprintf(out, size, "IT'S GOOD AS NEW.");
        else if (item_is_broken(item))
            std::snprintf(out, size, landscape ? "WEAR -> %d/%d." : "BROKEN GEAR DOES NOTHING. WEAR -> %d/%d.", m, m);
        else
            std::snprintf(out, size, landscape ? "WEAR %d/%d -> %d/%d." : "WEAR %d/%d -> %d/%d. WORN-OUT GEAR BREAKS.", left, m,
                          m, m);
        break;
    default:
        if (camp_find_merge_copy(camp.forge_slot) < 0) {
            if (landscape) std::snprintf(out, size, "NEEDS A COPY IN THE BAG.");
            else std::snprintf(out, size, "NEEDS ANOTHER %s IN THE BAG.", item_def(item.id).short_name);
        } else if (!camp_merge_gains(camp.forge_slot)) {
            std::snprintf(out, size, "IT'S AS GOOD AS IT GETS.");
        } else {
            std::snprintf(out, size, landscape ? "THE COPY MENDS IT, +%d." : "THE COPY GOES: ITS WEAR MENDS THIS, +%d.",
                          merge_gain(item));
        }
        break;
    }
}

// The enchantment's text in one line, or its name over its line when one line is too wide.
bool enchant_text(const CampView& v, const Item& item, char* first, char* second, size_t size) {
    second[0] = '\0';
    if (item.enchant < ENCHANT_KEEN || item.enchant > ENCHANT_THORNS) {
        std::snprintf(first, size, "NO ENCHANT");
        return false;
    }
    const EnchantDef& e = enchant_def(item.enchant);
    std::snprintf(first, size, "%s: %s", e.name, e.line);
    if (text_width(first) > v.w - 36) std::snprintf(first, size, "%s: %s", e.short_name, e.line);
    if (text_width(first) <= v.w - 36) return false;
    std::snprintf(first, size, "%s:", e.name);
    std::snprintf(second, size, "%s", e.line);
    return true;
}

constexpr int ENCHANT_LINES_MAX = 3;

// Breaks a text at its blanks into lines no wider than room (a word wider than room stands on a
// line of its own); returns the number of lines, at most ENCHANT_LINES_MAX.
int wrap_words(const char* text, int room, char (*out)[48]) {
    int n = 0;
    const char* p = text;
    while (*p && n < ENCHANT_LINES_MAX) {
        while (*p == ' ') p++;
        if (!*p) break;
        int len = 0, fit = 0;
        for (;;) {
            while (p[len] && p[len] != ' ') len++;
            std::snprintf(out[n], sizeof out[n], "%.*s", len, p);
            if (fit > 0 && text_width(out[n]) > room) break;
            fit = len;
            if (!p[len]) break;
            len++;
        }
        std::snprintf(out[n], sizeof out[n], "%.*s", fit, p);
        p += fit;
        n++;
    }
    return n;
}

struct ForgeAction {
    char label[24];
    char value[16];
    bool possible;
};

void forge_action(const Item& item, int row, ForgeAction* a) {
    switch (row) {
    case CAMP_FORGE_ENCHANT:
        std::snprintf(a->label, sizeof a->label, "%s", item.enchant != ENCHANT_NONE ? "REROLL ENCHANT" : "ENCHANT");
        std::snprintf(a->value, sizeof a->value, "%dG", enchant_price(item));
        a->possible = player.gold >= enchant_price(item);
        break;
    case CAMP_FORGE_UPGRADE:
        if (item.upgrade >= CAMP_UPGRADE_MAX) {
            std::snprintf(a->label, sizeof a->label, "UPGRADE");
            std::snprintf(a->value, sizeof a->value, "MAXED");
            a->possible = false;
        } else {
            std::snprintf(a->label, sizeof a->label, "UPGRADE TO +%d", item.upgrade + 1);
            std::snprintf(a->value, sizeof a->value, "%dG", forge_upgrade_cost(item));
            a->possible = player.gold >= forge_upgrade_cost(item);
        }
        break;
    case CAMP_FORGE_REPAIR: {
        const int cost = camp_repair_price(item);
        std::snprintf(a->label, sizeof a->label, "REPAIR");
        if (cost > 0) std::snprintf(a->value, sizeof a->value, "%dG", cost);
        else std::snprintf(a->value, sizeof a->value, "AS NEW");
        a->possible = cost > 0 && player.gold >= cost;
        break;
    }
    default: {
        const bool copy = camp_find_merge_copy(camp.forge_slot) >= 0;
        const bool gains = camp_merge_gains(camp.forge_slot);
        std::snprintf(a->label, sizeof a->label, "MERGE");
        if (!copy) std::snprintf(a->value, sizeof a->value, "NO COPY");
        else if (!gains) std::snprintf(a->value, sizeof a->value, "MAXED");
        else std::snprintf(a->value, sizeof a->value, "%dG", forge_upgrade_price(item));
        a->possible = gains && player.gold >= forge_upgrade_price(item);
        break;
    }
    }
}

// The card's picture in a size x size box. One too large for the box at its own size (the long
// blades) is shrunk into it, as the list rows' icons are, rather than drawn across the frames.
void forge_card_picture(int x, int y, int size, const Item& item) {
    const Image* img = item_sprite((int32_t)item.id);
    const int d = img && img->density > 1 ? img->density : 1;
    const int lw = img ? img->w / d : 0, lh = img ? img->h / d : 0;
    if (lw <= 0 || lh <= 0 || (lw <= size && lh <= size)) {
        draw_item_card(x, y, size, size, item);
        return;
    }
    const float scale = (float)(size - 2) / (float)(lw > lh ? lw : lh);
    const int cx = x + size / 2, bottom = y + (size + (int)((float)lh * scale)) / 2 - 1;
    static const int OUTLINE[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& o : OUTLINE) {
        screen_set_offset(o[0], o[1], 0);
        sprite_draw_at_scale(img, cx, bottom, scale);
    }
    screen_set_offset(0, 0, -1);
    sprite_draw_at_scale(img, cx, bottom, scale);
    draw_item_card_marks(x, y, size, size, item);
}

void forge_card(const CampView& v, int top, int c, const Item& item) {
    const int s = v.L ? 22 : 24;
    screen_rect(v.x0 + 15, top + 3, s, s, 1);
    forge_card_picture(v.x0 + 16, top + 4, s - 2, item);
    const int x = v.x0 + (v.L ? 41 : 43);
    const int room = item.quality > 0 ? v.x1 - x - 15 - camp_pips_width(item.quality) : v.x1 - x - 12;
    char name[40];
    const int nw = camp_item_name(item, room, name, sizeof name);
    text_draw(x, top + 4, name, 3);
    camp_draw_pips(x + nw + 3, top + 6, item.quality);

    const bool shield = item_id_is_shield(item.id);
    char value[16];
    std::snprintf(value, sizeof value, "%+d", shield ? item_defence(item) : item_attack(item));
    text_draw(x, top + c + 4, shield ? "DEF" : "ATK", 1);
    camp_text_right(v.x1 - 12, top + c + 4, value, 2);

    const int wy = top + 2 * c + 4;
    const int m = item_wear_max(item), left = m - item.wear > 0 ? m - item.wear : 0;
    const bool broken = item_is_broken(item);
    text_draw(x, wy, "WEAR", 1);
    if (broken) std::snprintf(value, sizeof value, "BROKEN");
    else std::snprintf(value, sizeof value, "%d/%d", left, m);
    camp_text_right(v.x1 - 12, wy, value, broken ? 3 : 2);
    const int len = v.x1 - text_width(value) - x - text_width("WEAR") - 20;
    if (broken || m <= 0 || len <= 6) return;
    const int bx = x + text_width("WEAR") + 4;
    screen_rect(bx, wy + 1, len, 5, 1);
    const int fill = (len - 2) * left / m;
    if (fill > 0) screen_fill_rect(bx + 1, wy + 2, fill, 3, left * 4 <= m ? 3 : 2);
}

// ---- boons ----

void boon_card(const CampView& v, int hy, int j) {
    const int id = boon_offers[j];
    const BoonDef* b = boon_def(id);
    if (id == BOON_NONE || !b) return;
    const int L = v.L;
    const int top = hy - L + j * (L ? 33 : 43), ch = L ? 30 : 38;
    const bool on = camp.cursor == j;
    screen_fill_rect(v.x0 + 8, top, v.w - 15, ch, 0);
    screen_rect(v.x0 + 8, top, v.w - 15, ch, on ? 3 : 2);
    if (on) {
        screen_rect(v.x0 + 10, top + 2, v.w - 19, ch - 4, 3);
        text_draw(v.x0 + 2, top + (L ? 12 : 16), ">", 3);  // between the view's frame and the card
    }
    const bool affordable = player.gold >= b->price;
    char tag[16];
    if (b->evolution) std::snprintf(tag, sizeof tag, "EVOLVE");
    else if (b->price == 0) std::snprintf(tag, sizeof tag, "FREE");
    else std::snprintf(tag, sizeof tag, "%dG", b->price);
    const int ny = top + 6 - L;
    if (!b->evolution && b->price == 0) text_draw_boxed(v.x1 - 13 - text_width(tag), ny, tag);
    else camp_text_right(v.x1 - 13, ny, tag, b->evolution || affordable ? 3 : 1);

    char name[32];
    const char* desc = "";
    boon_label(id, name, sizeof name, &desc);
    const bool boxed = v.x0 + 49 - 8 * L + text_width(desc) <= v.x1 - 11 &&
                       v.x0 + 55 - 8 * L + text_width(name) + text_width(tag) <= v.x1 - 13;
    int nx, dx;
    if (boxed) {
        const int sq = L ? 22 : 30;
        screen_rect(v.x0 + 14, top + 4, sq, sq, on ? 3 : 1);
        draw_named_sprite(boon_icon(id), v.x0 + 29 - 4 * L, top + (L ? 15 : 19), affordable ? 0 : 1);
        nx = dx = v.x0 + 49 - 8 * L;
    } else {
        draw_named_sprite(boon_icon(id), v.x0 + 19, ny + 3, affordable ? 0 : 1);
        nx = v.x0 + 27;
        dx = v.x0 + 14;
    }
    text_draw(nx, ny, name, affordable_colour(affordable, on));
    text_draw(dx, top + (L ? 16 : 19), desc, affordable ? 2 : 1);
    if (b->max_level <= 1) return;
    const int held = boon_level(id), py = top + (L ? 24 : 30);
    for (int k = 0; k < b->max_level; k++) {
        if (k < held) screen_fill_rect(dx + 6 * k, py, 4, 3, 2);
        else if (k == held) screen_fill_rect(dx + 6 * k, py, 4, 3, 3);
        else screen_rect(dx + 6 * k, py, 4, 3, 1);
    }
}

}  // namespace

const char* camp_draw_sell(const CampView& v) {
    const char* title = "SELL";
    const int hy = draw_gold_header(title);
    int32_t rows[CAMP_LIST_MAX];
    int n = camp_sell_rows(rows);
    if (n > SELL_ROWS_MAX) n = SELL_ROWS_MAX;
    TallList l{};
    for (int i = 0; i < n; i++) {
        if (rows[i] == CAMP_ROW_JUNK) {
            tall_add(l, rows[i], LINE_ROW_H, 0);
            l.next += 2;
        } else if (rows[i] == CAMP_ROW_BUY_BACK) {
            tall_add(l, rows[i], LINE_ROW_H, i > 0 ? 2 : 0);
        } else {
            tall_add(l, rows[i], ITEM_ROW_H, 0);
        }
    }
    const int cursor = list_cursor(l.count);
    const TallView t = tall_view(v, hy, l, cursor);
    tall_clip_begin(v);
    for (int i = 0; i < l.count; i++) {
        int y;
        if (!tall_row_y(v, t, l, i, &y)) continue;
        const bool on = i == cursor;
        char label[24], value[16];
        if (l.rows[i] == CAMP_ROW_JUNK) {
            int units = 0, gold = 0;
            camp_junk_total(&units, &gold);
            std::snprintf(label, sizeof label, "SELL JUNK (%d)", units);
            std::snprintf(value, sizeof value, "+%dG", gold);
            line_row(v, y, on, label, value, on ? 3 : 2);
        } else if (l.rows[i] == CAMP_ROW_BUY_BACK) {
            std::snprintf(value, sizeof value, "%d", camp.buy_back_count);
            line_row(v, y, on, "BUY BACK...", value, on ? 3 : 2);
        } else if (l.rows[i] >= 0 && l.rows[i] < player.bag.count) {
            sell_item_row(v, y, player.bag.entries[l.rows[i]], on);
        }
    }
    tall_trim(v, t, title);
    tall_arrows(v, t, l);
    return "{A}: SELL   {SELECT}: BAG";
}

const char* camp_draw_boons(const CampView& v) {
    const int hy = draw_gold_header("CHOOSE A BOON");
    for (int j = 0; j < 3; j++) boon_card(v, hy, j);
    const int y = hy - v.L + (v.L ? 99 : 129);
    const bool on = camp.cursor == BOON_REDRAW_ROW;
    const int cost = camp_redraw_cost();
    screen_rect(v.x0 + 8, y, v.w - 15, 11, on ? 3 : 1);
    char text[32];
    std::snprintf(text, sizeof text, "REROLL  %dG", cost);
    camp_text_centre(v, y + 2, text, affordable_colour(player.gold >= cost, on));
    if (on) text_draw(v.x0 + 2, y + 2, ">", 3);

    // Short of gold for the offer under the cursor: say how short, and whether selling covers it.
    char note[40] = "";
    if (camp.cursor >= 0 && camp.cursor < 3) {
        const BoonDef* b = boon_def(boon_offers[camp.cursor]);
        const int missing = b ? b->price - player.gold : 0;
        if (missing > 0) {
            const int bag = camp_bag_value();
            if (bag >= missing) std::snprintf(note, sizeof note, "NEED %dG. SELL: +%dG", missing, bag);
            else std::snprintf(note, sizeof note, "NEED %dG MORE", missing);
        }
    }
    if (v.L) {
        if (note[0] && y + 21 <= v.y1) camp_text_centre(v, y + 14, note, 2);
        return "";
    }
    if (note[0]) {
        camp_text_centre(v, v.y1 - 12, note, 2);
        return "";
    }
    return input_locked() ? "{B}: BACK" : "{A}: TAKE   {B}: BACK";
}

const char* camp_draw_shop(const CampView& v) {
    const int hy = draw_gold_header("THE SHOP");
    uint32_t ids[4];
    const int nc = camp_consumables(ids);
    Item stock[3];
    const int ns = camp_make_stock(stock);
    const int goods = nc + ns, count = goods + 1;
    const int step = goods >= 4 ? (v.L ? 11 : 14) : goods == 3 ? (v.L ? 13 : 15) : (v.L ? 16 : 18);
    const int first = hy - 4 * v.L + 8;
    const int cursor = list_cursor(count);
    char text[40], price[16], under[48] = "";
    for (int i = 0; i < count; i++) {
        const int y = first + i * step;
        const bool on = i == cursor;
        if (on) text_draw(v.x0 + 5, y, ">", 3);
        if (i < nc) {
            const int cost = consumable_price(ids[i]);
            const bool ok = player.gold >= cost;
            std::snprintf(text, sizeof text, "%s (%d)", item_def(ids[i]).short_name, bag_units(ids[i]));
            std::snprintf(price, sizeof price, "%dG", cost);
            text_draw(v.x0 + 14, y, text, affordable_colour(ok, on));
            camp_text_right(v.x1 - 7, y, price, ok ? 2 : 1);
            if (on) {
                const int heal = potion_heal_amount((int)ids[i], upgrade_active_rank(UPGRADE_FORAGER));
                if (heal > 0) std::snprintf(under, sizeof under, "HEALS %d HP", heal);
                else std::snprintf(under, sizeof under, "CURES POISON");
            }
        } else if (i < goods) {
            const Item& item = stock[i - nc];
            const bool sale = i == goods - 1;
            const bool sold = sale && camp.sale_sold;
            const int cost = sale ? sale_price() : spare_price(item);
            const bool ok = !sold && player.gold >= cost;
            std::snprintf(text, sizeof text, "%s%s", sale ? "SALE: " : "", item_def(item.id).short_name);
            if (sold) std::snprintf(price, sizeof price, "SOLD OUT");
            else std::snprintf(price, sizeof price, "%dG", cost);
            // A narrow view keeps the sold-out sale's name clear of its price.
            const int marks = camp_pips_width(item.quality) + (item.enchant != ENCHANT_NONE ? 8 : 0) + 6;
            if (sold && v.x0 + 14 + text_width(text) + marks + text_width(price) > v.x1 - 7)
                std::snprintf(price, sizeof price, "SOLD");
            text_draw(v.x0 + 14, y, text, affordable_colour(ok, on));
            row_marks(v, y, text, item);
            camp_text_right(v.x1 - 7, y, price, ok ? 2 : 1);
            if (on) {
                const bool shield = item_id_is_shield(item.id);
                std::snprintf(under, sizeof under, "%s %+d%s", shield ? "DEF" : "ATK",
                              shield ? item_defence(item) : item_attack(item), sale ? ", ONE ONLY" : ", A FRESH SPARE");
                if (text_width(under) > v.w - 7)
                    std::snprintf(under, sizeof under, "%s %+d", shield ? "DEF" : "ATK",
                                  shield ? item_defence(item) : item_attack(item));
            }
        } else {
            const int cost = key_price();
            const bool ok = !camp.key_sold && player.gold >= cost;
            std::snprintf(text, sizeof text, "KEY (%d)", player.keys);
            if (camp.key_sold) std::snprintf(price, sizeof price, "SOLD OUT");
            else std::snprintf(price, sizeof price, "%dG", cost);
            text_draw(v.x0 + 14, y, text, affordable_colour(ok, on));
            camp_text_right(v.x1 - 7, y, price, ok ? 2 : 1);
            if (on) std::snprintf(under, sizeof under, "OPENS A DOOR OR CHEST");
        }
    }
    camp_text_centre(v, first + (count - 1) * step + step + 6, under, 1);
    return "{A}: BUY   {B}: BACK";
}

const char* camp_draw_forge(const CampView& v) {
    const char* title = "THE FORGE";
    const int hy = draw_gold_header(title);
    int32_t rows[CAMP_LIST_MAX];
    const int n = camp_forge_list(rows);
    TallList l{};
    int group = -1;
    for (int i = 0; i < n; i++) {
        if (rows[i] == CAMP_ROW_REPAIR_ALL) {
            tall_add(l, rows[i], LINE_ROW_H, 0);
            continue;
        }
        const int g = forge_group(rows[i]);
        tall_add(l, rows[i], ITEM_ROW_H, g != group ? GROUP_GAP : 0);
        group = g;
    }
    const int cursor = list_cursor(l.count);
    const TallView t = tall_view(v, hy, l, cursor);
    tall_clip_begin(v);
    group = -1;
    for (int i = 0; i < l.count; i++) {
        const int32_t row = l.rows[i];
        int y;
        const bool shown = tall_row_y(v, t, l, i, &y);
        const bool on = i == cursor;
        if (row == CAMP_ROW_REPAIR_ALL) {
            if (!shown) continue;
            const int total = camp_repair_total();
            char value[16];
            std::snprintf(value, sizeof value, "%dG", total);
            line_row(v, y, on, "REPAIR ALL", value, affordable_colour(player.gold >= total, on));
            continue;
        }
        const Item* item = slot_item_ptr(row);
        const int g = forge_group(row);
        const int heading = t.hy + 1 + l.top[i] - t.scroll - 9;
        if (g != group && shown && heading > hy) {  // a heading stands only over its row
            const char* name = FORGE_GROUPS[g];
            text_draw(v.x0 + 12, heading, name, 1);
            const int hx = v.x0 + 12 + text_width(name) + 4;
            if (v.x1 - 8 > hx) screen_hline(hx, heading + 3, v.x1 - 8 - hx, 1);
        }
        group = g;
        if (shown && item) forge_item_row(v, y, row, *item, on);
    }
    tall_trim(v, t, title);
    tall_arrows(v, t, l);
    return "{A}: CHOOSE   {B}: BACK";
}

const char* camp_draw_forge_item(const CampView& v) {
    const int hy = draw_gold_header("THE FORGE");
    const Item* found = slot_item_ptr(camp.forge_slot);
    if (!found) return "";
    const Item item = *found;
    const int L = v.L, c = L ? 9 : 10;
    char first[48], second[48];
    const bool two = enchant_text(v, item, first, second, sizeof first);
    const bool enchanted = item.enchant >= ENCHANT_KEEN && item.enchant <= ENCHANT_THORNS;
    const int ex = v.x0 + 16 + (enchanted ? 8 : 0);
    // The enchant's line goes on as many lines as the card's width needs.
    char more[ENCHANT_LINES_MAX][48];
    const int lines = two ? wrap_words(second, v.x1 - 12 - ex, more) : 0;
    const int card_h = (1 + lines) * c - 5 * L + 38;
    const int top = hy - 2 * L + 3;
    screen_rect(v.x0 + 12, top, v.w - 20, card_h, 2);
    forge_card(v, top, c, item);

    const int e = top + 2 * c + 14 + (L ? 0 : 3);
    if (!L) screen_hline(v.x0 + 16, e - 4, v.w - 28, 1);
    camp_draw_enchant_glyph(v.x0 + 16, e + 1, item.enchant, 3);
    text_draw(ex, e, first, enchanted ? 3 : 1);
    for (int i = 0; i < lines; i++) text_draw(ex, e + (i + 1) * c, more[i], 3);

    const int step = L ? 14 : 16;
    const int y0 = top + card_h + 6 - 4 * L;
    for (int row = 0; row < 4; row++) {
        ForgeAction a;
        forge_action(item, row, &a);
        const int y = y0 + row * step;
        const bool on = camp.cursor == row || (row == 3 && (camp.cursor < 0 || camp.cursor > 3));
        line_row(v, y, on, a.label, a.value, affordable_colour(a.possible, on));
    }
    // The explanation keeps clear of the footer: the tall view's longer text gives way to the
    // short one, and a text that still runs into the footer is left out.
    char explain[64];
    const int ey = y0 + 3 * step + step + (L ? 0 : 3);
    const int room = v.y1 - 13 - ey;
    forge_explain(item, L != 0, explain, sizeof explain);
    if (!L && draw_wrapped_text(0, 0, v.w - 20, explain, EXPLAIN_MAX, 1, false) > room)
        forge_explain(item, true, explain, sizeof explain);
    if (draw_wrapped_text(0, 0, v.w - 20, explain, EXPLAIN_MAX, 1, false) <= room)
        draw_wrapped_lines(v.x0 + 12, ey, v.w - 20, explain, 1);
    return "{A}: FORGE   {B}: BACK";
}

const char* camp_draw_buy_back(const CampView& v) {
    const int hy = draw_gold_header("BUY BACK");
    const int t = hy + 2 + (v.L ? 0 : 2);
    const int area = v.y1 - t - 16;
    if (area <= 10) return "{A}: BUY BACK   {B}: BACK";
    const int n = area / BUY_BACK_ROW_H, count = camp.buy_back_count;
    const int cursor = list_cursor(count);
    int first = cursor - area / 22;
    if (first > count - n) first = count - n;
    if (first < 0) first = 0;
    for (int k = 0; k < n && first + k < count; k++) {
        const CampBuyBack& e = camp.buy_back[first + k];
        const int y = t + k * BUY_BACK_ROW_H;
        const bool on = first + k == cursor, ok = player.gold >= e.price;
        if (on) text_draw(v.x0 + 5, y, ">", 3);
        char text[32], price[16];
        if (e.count >= 2) std::snprintf(text, sizeof text, "%s x%d", item_def(e.item.id).short_name, e.count);
        else std::snprintf(text, sizeof text, "%s", item_def(e.item.id).short_name);
        text_draw(v.x0 + 14, y, text, affordable_colour(ok, on));
        row_marks(v, y, text, e.item);
        std::snprintf(price, sizeof price, "%dG", e.price);
        camp_text_right(v.x1 - 7, y, price, ok ? 2 : 1);
    }
    return "{A}: BUY BACK   {B}: BACK";
}
