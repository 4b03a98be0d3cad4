// The small item card: an item's picture in a box with its rank pips, enchant mark, compare arrow
// and wear. Drawn by the bag grid and hands, the item panel and the camp's lists.
#include "classes/gear_rules.h"
#include "items/equip.h"
#include "items/item.h"
#include "render/draw.h"
#include "render/icons.h"
#include "screens/bag_draw.h"

uint8_t item_card_compare = 0;

// 5 x 5 marks, bit 4 the leftmost column; the enchant marks are indexed by enchant 0..6.
const uint8_t GLYPH_ARROW_UP[5] = {0x04, 0x0E, 0x15, 0x04, 0x04};
const uint8_t GLYPH_ARROW_DOWN[5] = {0x04, 0x04, 0x15, 0x0E, 0x04};
const uint8_t ENCHANT_GLYPHS[7][5] = {
    {0, 0, 0, 0, 0},  // none
    {0x01, 0x02, 0x04, 0x08, 0x10},  // KEEN: an edge
    {0x04, 0x0E, 0x1F, 0x1F, 0x0E},  // VAMPIRIC: a drop of blood
    {0x0E, 0x15, 0x1F, 0x0E, 0x0A},  // VENOMOUS: a small skull
    {0x15, 0x0E, 0x1F, 0x0E, 0x15},  // MIGHTY: a burst
    {0x1F, 0x11, 0x11, 0x0A, 0x04},  // WARDING: a shield
    {0x15, 0x0A, 0x1F, 0x0A, 0x15},  // THORNS: spikes
};

// Pixels the card needs on a side before it has room for the enchant mark and the arrow.
constexpr int CARD_DETAIL_MIN = 14;

int item_compare_arrow(const Item& item) {
    EquipPreview p;
    if (!equip_preview(item, gear_rules_now(), &p)) return 0;
    const int a = p.attack_change, d = p.defence_change;
    if (a >= 0 && d >= 0 && (a > 0 || d > 0)) return +1;
    if (a <= 0 && d <= 0 && (a < 0 || d < 0)) return -1;
    return 0;
}

void draw_compare_arrow(int x, int y, int dir) {
    if (dir > 0) draw_glyph5x5(x, y, GLYPH_ARROW_UP, 3);
    if (dir < 0) draw_glyph5x5(x, y, GLYPH_ARROW_DOWN, 1);
}

void draw_item_card(int x, int y, int w, int h, const Item& item) {
    if (item.id == ITEM_NONE) return;
    draw_icon_outlined(x, y, w, h, (int32_t)item.id);
    draw_item_card_marks(x, y, w, h, item);
}

void draw_item_card_marks(int x, int y, int w, int h, const Item& item) {
    if (item.id == ITEM_NONE) return;
    for (int i = 0; i < item.quality; ++i) screen_fill_rect(x + w - 4 - 3 * i, y + 2, 2, 2, 3);
    const bool gear = item_is_wearable(item);
    if (w >= CARD_DETAIL_MIN && h >= CARD_DETAIL_MIN) {
        if (item.enchant >= ENCHANT_KEEN && item.enchant <= ENCHANT_THORNS)
            draw_glyph5x5(x + 2, y + 2, ENCHANT_GLYPHS[item.enchant], 3);
        if (item_card_compare && gear) draw_compare_arrow(x + w - 7, y + h - 9, item_compare_arrow(item));
    }
    if (!gear || item.wear == 0) return;
    if (item_is_broken(item)) {
        screen_line(x + 2, y + 2, x + w - 3, y + h - 3, 1);
        screen_line(x + w - 3, y + 2, x + 2, y + h - 3, 1);
        return;
    }
    const int limit = item_wear_max(item);
    const int left = limit - item.wear;
    screen_hline(x + 2, y + h - 2, w - 4, 1);
    int span = limit > 0 ? (w - 4) * left / limit : 0;
    if (span < 1) span = 1;
    screen_hline(x + 2, y + h - 2, span, left * 4 < limit ? 3 : 2);
}
