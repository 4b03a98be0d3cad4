// The pieces the camp's pages share: the view they lay out in, item names, icons, rank pips, the
// compare arrow, wear lines and the 5 x 5 glyphs. Used by camp_screen.cpp and camp_pages.cpp.
#pragma once
#include <cstddef>
#include <cstdint>

#include "world/item_record.h"

struct CampView {
    int x0, y0, x1, y1, w, h;
    int L;  // 1 in landscape
};
CampView camp_view();

void camp_text_right(int right, int y, const char* text, int colour);
void camp_text_centre(const CampView& v, int y, const char* text, int colour);

// One 2 x 2 square per quality point, 3 pixels apart, from x; the pixels they take (0 without).
int camp_draw_pips(int x, int y, int quality);
int camp_pips_width(int quality);
// The item's picture fitted into the 15 x 15 box at (x, y).
void camp_draw_item_icon(int x, int y, const Item& item);
// "Long Sword +2", or the short name when the long one is wider than room, cut short when even
// that is too wide; returns its width.
int camp_item_name(const Item& item, int room, char* out, size_t size);
// +1 when equipping the item gains and loses nothing, -1 when it loses and gains nothing, else 0.
int camp_compare(const Item& item);
void camp_draw_arrow(int x, int y, int compare);
// The enchantment's mark for 1..6; nothing otherwise.
void camp_draw_enchant_glyph(int x, int y, int enchant, int colour);
// The wear bar (or BROKEN) under a gear row whose top is y.
void camp_draw_wear_line(const CampView& v, int y, const Item& item);

// The frame, the page of camp_page and its footer (the draw pass calls it through draw_camp).
void draw_camp_pages();
// The pages of draw_camp_pages; each returns its footer (empty for none).
const char* camp_draw_hub(const CampView& v);
const char* camp_draw_sell(const CampView& v);
const char* camp_draw_boons(const CampView& v);
const char* camp_draw_shop(const CampView& v);
const char* camp_draw_forge(const CampView& v);
const char* camp_draw_forge_item(const CampView& v);
const char* camp_draw_buy_back(const CampView& v);
