// The item panel the bag shows over its grid for the item under the card: picture, name, kind,
// stat rows, perk and enchant lines, what equipping would change, and the action buttons.
// Called by the draw pass while the bag's item card is open.
#include <cstdio>

#include "classes/classes.h"
#include "classes/gear_rules.h"
#include "combat/fight_tuning.h"
#include "items/enchant.h"
#include "items/equip.h"
#include "items/item.h"
#include "items/potion.h"
#include "profile/profile.h"
#include "render/draw.h"
#include "render/font.h"
#include "render/icons.h"
#include "render/row_spans.h"
#include "render/screen.h"
#include "screens/bag_draw.h"
#include "screens/screens.h"
#include "screens/widgets.h"
#include "world/bag_view.h"
#include "world/player.h"

namespace {

constexpr int ROW_STEP = 10;
constexpr int PIP_COUNT = 5;
constexpr int PANEL_MAX_ROWS = 8;
constexpr int HIT_BAG_PANEL = 2;
constexpr int HIT_PANEL_ACTION = 1;
constexpr int CARD_MESSAGE_DY = 4;  // between the inner frame line and the card's top

enum RowKind : int { ROW_TEXT = 0, ROW_PIPS = 1, ROW_WEAR = 2 };

struct PanelRow {
    const char* label;
    char value[24];
    int value_colour;
    int kind;
    int pips, compare;  // pip rows
    int left, limit;    // the wear row
};

struct PanelRows {
    PanelRow rows[PANEL_MAX_ROWS];
    int count;
};

PanelRow& row_add(PanelRows& r, const char* label, int kind) {
    PanelRow& row = r.rows[r.count < PANEL_MAX_ROWS ? r.count++ : PANEL_MAX_ROWS - 1];
    row = PanelRow{};
    row.label = label;
    row.value_colour = 2;
    row.kind = kind;
    return row;
}

const char* kind_line(const Item& item) {
    const ItemDef& d = item_def(item.id);
    if (d.kind == ITEM_KIND_SHIELD) return "SHIELD";
    if (d.kind == ITEM_KIND_WEAPON) {
        if (d.two_handed) return "TWO-HANDED WEAPON";
        return d.either_hand ? "ONE-HANDED, EITHER HAND" : "ONE-HANDED WEAPON";
    }
    if (item_id_is_healing(item.id)) return "POTION";
    if (item.id == ITEM_ANTIDOTE) return "CURE";
    return "ITEM";
}

void weapon_pips(const Item& item, int* speed, int* power) {
    int32_t jab = 0, heavy = 0;
    weapon_timing_preview(item, &jab, &heavy);
    *speed = speed_pips(jab);
    *power = power_pips(heavy);
}

int pip_compare(int mine, int worn) { return mine > worn ? 1 : (mine < worn ? -1 : 0); }

void collect_rows(PanelRows& r, const Item& item, int count, bool on_hand, bool landscape) {
    const ItemDef& d = item_def(item.id);
    if (d.kind == ITEM_KIND_SHIELD) {
        snprintf(row_add(r, "DEF", ROW_TEXT).value, 24, "%+d", item_defence(item));
    } else if (d.kind == ITEM_KIND_POTION) {
        if (item_id_is_healing(item.id))
            snprintf(row_add(r, "HEALS", ROW_TEXT).value, 24, "%d HP",
                     potion_heal_amount((int)item.id, upgrade_active_rank(UPGRADE_FORAGER)));
        else if (item.id == ITEM_ANTIDOTE)
            snprintf(row_add(r, "CURES", ROW_TEXT).value, 24, "POISON");
    } else {
        snprintf(row_add(r, "ATK", ROW_TEXT).value, 24, "%+d", item_attack(item));
        if (d.two_handed) snprintf(row_add(r, "DEF", ROW_TEXT).value, 24, "%+d", item_two_hand_defence(item));
        int speed, power, worn_speed = 0, worn_power = 0;
        weapon_pips(item, &speed, &power);
        const bool compare = !on_hand && player.main_hand.id != ITEM_NONE;
        if (compare) weapon_pips(player.main_hand, &worn_speed, &worn_power);
        PanelRow& s = row_add(r, "SPEED", ROW_PIPS);
        s.pips = speed;
        s.compare = compare ? pip_compare(speed, worn_speed) : 0;
        PanelRow& h = row_add(r, "HEAVY", ROW_PIPS);
        h.pips = power;
        h.compare = compare ? pip_compare(power, worn_power) : 0;
    }
    if (item_is_wearable(item)) {
        PanelRow& w = row_add(r, "WEAR", ROW_WEAR);
        w.limit = item_wear_max(item);
        w.left = w.limit - item.wear;
        if (item_is_broken(item)) {
            snprintf(w.value, 24, "BROKEN");
            w.value_colour = 3;
        } else {
            snprintf(w.value, 24, "%d/%d", w.left, w.limit);
        }
    }
    snprintf(row_add(r, landscape ? "SELLS" : "SELLS FOR", ROW_TEXT).value, 24, "%dG%s", item_value(item),
             !landscape && count >= 2 ? " EACH" : "");
}

void draw_pips(int x, int c, int y, const PanelRow& row) {
    for (int k = 1; k <= PIP_COUNT; ++k) {
        const int bx = x + c - 29 + 5 * k;
        if (row.pips >= k)
            screen_fill_rect(bx, y + 1, 4, 5, 2);
        else
            screen_rect(bx, y + 1, 4, 5, 1);
    }
    draw_compare_arrow(x + c - 31, y, row.compare);
}

void draw_wear_bar(int x, int c, int y, const PanelRow& row, int label_w, int value_w) {
    const int gap = c - label_w - value_w;
    if (gap <= 20) return;
    screen_rect(x + label_w + 6, y + 1, gap - 12, 5, 1);
    const int limit = row.limit > 1 ? row.limit : 1;
    const int fill = (gap - 14) * row.left / limit;
    if (fill > 0) screen_fill_rect(x + label_w + 7, y + 2, fill, 3, row.left * 4 <= row.limit ? 3 : 2);
}

// Draws the rows from y; returns the y of the next free row.
int draw_rows(const PanelRows& r, int px, int pw, int y, bool landscape) {
    screen_hline(px + 10, y + 2, pw - 20, 1);
    const int c = landscape ? (pw - 30) / 2 : pw - 20;
    const int per_line = landscape ? 2 : 1;
    const int top = y + 6;
    for (int i = 0; i < r.count; ++i) {
        const PanelRow& row = r.rows[i];
        const int x = px + 10 + (i % per_line) * (c + 10);
        const int ry = top + (i / per_line) * ROW_STEP;
        text_draw(x, ry, row.label, 1);
        if (row.kind == ROW_PIPS) {
            draw_pips(x, c, ry, row);
            continue;
        }
        const int vw = text_width(row.value);
        text_draw(x + c - vw, ry, row.value, row.value_colour);
        if (row.kind == ROW_WEAR && !landscape && row.value_colour != 3)
            draw_wear_bar(x, c, ry, row, text_width(row.label), vw);
    }
    return top + ((r.count + per_line - 1) / per_line) * ROW_STEP;
}

// "A KNIGHT" or "AN ...", by the class name's first letter.
const char* class_article(const char* name) {
    const char c = name ? name[0] : 0;
    return (c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U') ? "AN" : "A";
}

// The height of a text wrapped to width, as bag_wrap_lines would draw it.
int wrapped_height(int width, const char* text) {
    return text && text[0] ? draw_wrapped_text(0, 0, width, text, 1 << 30, 0, false) : 0;
}

// The perk, enchant and class lines under the rows, kept above `bottom` (the action buttons);
// returns the y below them. When they do not all fit, the perk goes first, then the enchant's
// line: what the class may not use or what is broken is said to the last.
int draw_notes(const Item& item, int px, int pw, int y, int bottom) {
    const bool gear = item_is_wearable(item);
    const bool broken = gear && item_is_broken(item);
    const bool not_ours = gear && !class_can_use(item);
    const bool enchanted = item.enchant >= ENCHANT_KEEN && item.enchant <= ENCHANT_THORNS;
    const char* perk = item_def(item.id).perk;
    char enchant[96] = "";
    if (enchanted)
        snprintf(enchant, sizeof enchant, "%s: %s", enchant_def(item.enchant).name, enchant_def(item.enchant).line);
    const char* repair = broken ? "REPAIR IT AT THE CAMP." : nullptr;
    char class_line[48] = "";
    if (not_ours) {
        const char* name = class_info(player.cls).name;
        snprintf(class_line, sizeof class_line, "NOT FOR %s %s.", class_article(name), name ? name : "");
    }
    // Each note is taken, in order of importance, while it fits the room left.
    int room = bottom - (y + 6);
    auto admit = [&room](bool wanted, int height) {
        if (!wanted || height <= 0 || height > room) return false;
        room -= height;
        return true;
    };
    const bool show_class = admit(not_ours, wrapped_height(pw - 20, class_line));
    const bool show_repair = admit(broken, wrapped_height(pw - 20, repair));
    const bool show_enchant = admit(enchanted, wrapped_height(pw - 28, enchant));
    const bool show_perk = admit(perk != nullptr, wrapped_height(pw - 20, perk));
    if (!show_perk && !show_enchant && !show_repair && !show_class) return y;
    screen_hline(px + 10, y + 2, pw - 20, 1);
    y += 6;
    if (show_perk) y = bag_wrap_lines(px + 10, y, pw - 20, perk, 2);
    if (show_enchant) {
        draw_glyph5x5(px + 10, y + 1, ENCHANT_GLYPHS[item.enchant], 3);
        y = bag_wrap_lines(px + 18, y, pw - 28, enchant, 3);
    }
    if (show_repair) y = bag_wrap_lines(px + 10, y, pw - 20, repair, 3);
    if (show_class) y = bag_wrap_lines(px + 10, y, pw - 20, class_line, 3);
    return y;
}

// What putting a bag entry on would change; returns the y below it.
int draw_compare_block(const Item& item, int px, int py, int pw, int ph, int y) {
    EquipPreview p;
    if (!equip_preview(item, gear_rules_now(), &p)) return y;
    const int bottom = py + ph - 4;
    if (bottom - 17 < y + 15) return y;
    screen_hline(px + 10, y + 2, pw - 20, 1);
    y += 6;
    if (p.returning_count > 0 && bottom - 17 >= y + 24) {
        char text[96];
        int n = snprintf(text, sizeof text, "REPLACES %s", item_def(p.returning[0].id).name);
        if (p.returning_count > 1 && n > 0 && n < (int)sizeof text)
            snprintf(text + n, sizeof text - n, " + %s", item_def(p.returning[1].id).name);
        y = bag_wrap_lines(px + 10, y, pw - 20, text, 1);
    }
    char atk[16], def[16];
    snprintf(atk, sizeof atk, "ATK %+d", p.attack_change);
    snprintf(def, sizeof def, "DEF %+d", p.defence_change);
    const bool none = p.attack_change == 0 && p.defence_change == 0;
    int w = text_width("EQUIP:");
    if (none) w += 6 + text_width("NO CHANGE");
    if (p.attack_change) w += 6 + text_width(atk);
    if (p.defence_change) w += 6 + text_width(def);
    int x = px + (pw - w + 1) / 2;
    text_draw(x, y, "EQUIP:", 1);
    x += text_width("EQUIP:") + 6;
    if (none) text_draw(x, y, "NO CHANGE", 2);
    if (p.attack_change) {
        text_draw(x, y, atk, p.attack_change > 0 ? 3 : 2);
        x += text_width(atk) + 6;
    }
    if (p.defence_change) text_draw(x, y, def, p.defence_change > 0 ? 3 : 2);
    return y + ROW_STEP;
}

void draw_actions(const Item& item, bool on_hand, int px, int py, int pw, int ph) {
    const int n = bag_card_action_count();
    const int bw = (pw - 4 * n - 16) / n;
    const int y = py + ph - 20;
    const char* labels[3];
    labels[0] = item_def(item.id).kind == ITEM_KIND_POTION ? "USE" : (on_hand ? "EQUIPPED" : "EQUIP");
    if (n == 3) {
        labels[1] = bag_sel_is_junk() ? "KEEP" : "JUNK";
        labels[2] = "DROP";
    } else {
        labels[1] = "DROP";
    }
    for (int i = 0; i < n; ++i) {
        const int x = px + 10 + i * (bw + 4);
        screen_rect(x, y, bw, 11, 2);
        const bool chosen = bag_view.card_action == i;
        if (chosen) screen_fill_rect(x + 1, y + 1, bw - 2, 9, 2);
        text_draw(x + (bw - text_width(labels[i]) + 1) / 2, y + 2, labels[i], chosen ? 0 : 2);
        // Found by the card's bag entry, as the training's spotlight asks for it.
        if (i == 0) hit_region_add(HIT_PANEL_ACTION, on_hand ? -1 : bag_view.card_entry, x, y, bw, 11);
    }
}

}  // namespace

void draw_item_info_panel() {
    int count = 0;
    const Item item = bag_card_item(&count);
    if (item.id == ITEM_NONE) return;
    const bool on_hand = bag_view.card_on_hand != 0;
    if (item_def(item.id).kind != ITEM_KIND_POTION) count = 1;
    bag_slot_center(bag_view, nullptr, nullptr);
    const BagLayout& l = bag_layout;
    const int px = l.px, py = l.py, pw = l.pw, ph = l.ph;
    const bool landscape = screen_layout.landscape != 0;

    // The grid's cells the card's edge would cut (in landscape its right-hand line lies a column
    // beyond the card) are cleared whole first.
    row_spans_clear_behind({px + 4, py + 14, px + pw - 5, py + ph - 5});
    screen_fill_rect(px + 4, py + 14, pw - 8, ph - 18, 0);
    row_spans_hide_under(px + 4, py + 14, pw - 8, ph - 18);  // the bag's cells under the card
    screen_rect(px + 4, py + 14, pw - 8, ph - 18, 2);
    hit_region_add(HIT_BAG_PANEL, 0, px + 4, py + 14, pw - 8, ph - 18);
    const int ih = (!landscape && item_def(item.id).h >= 3) ? 34 : 24;
    screen_rect(px + 8, py + 18, 24, ih + 2, 1);
    item_card_compare = 0;
    draw_item_card(px + 9, py + 19, 22, ih, item);

    char name[40];
    item_name(item, name, sizeof name);
    const int ky = bag_wrap_lines(px + 37, py + 19, pw - 46, name, 3) + 1;
    char kind[40];
    if (count >= 2)
        snprintf(kind, sizeof kind, "%s  x%d", kind_line(item), count);
    else
        snprintf(kind, sizeof kind, "%s", kind_line(item));
    // A kind line too long for the space beside the picture wraps like the name.
    int y;
    if (text_width(kind) <= pw - 46) {
        text_draw(px + 37, ky, kind, 2);
        y = ky + ROW_STEP + 1;
    } else {
        y = bag_wrap_lines(px + 37, ky, pw - 46, kind, 2) + 2;
    }
    if (y < py + 22 + ih) y = py + 22 + ih;

    PanelRows rows{};
    collect_rows(rows, item, count, on_hand, landscape);
    y = draw_rows(rows, px, pw, y, landscape);
    y = draw_notes(item, px, pw, y, py + ph - 22);
    if (!on_hand) y = draw_compare_block(item, px, py, pw, ph, y);
    draw_actions(item, on_hand, px, py, pw, ph);
    if (y <= py + ph - 31) {
        const char* back = text_fit("{B}: BACK", pw - 8);
        text_draw(px + 4 + (pw - 8 - text_width(back) + 1) / 2, py + ph - 30, back, 1);
    }
    // The bag's message line lies under the card: a refused action is told above the card, over
    // the page's title line.
    draw_bag_message(py + CARD_MESSAGE_DY);
}
