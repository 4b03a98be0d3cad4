// The bag screen's drawing: the panel layout and slot centres, the item card, the item panel, the
// three pages, and the lists that both the drawing and the bag input walk (stat rows, boons held).
// Called by the draw pass, the bag input (for the cursor's slot) and the camp lists (item cards).
#pragma once
#include <cstdint>

#include "world/bag_view.h"
#include "world/item_record.h"

// Where the bag panel, its hand slots and its grid stand; published by every call below.
struct BagLayout {
    int32_t px, py, pw, ph;
    int32_t main_x, main_y;
    int32_t off_x, off_y;
    int32_t grid_x, grid_y;
    int32_t cell;
    uint8_t valid, published;
};
extern BagLayout bag_layout;
// The bag's message line, while it shows, centred on the panel at row y.
void draw_bag_message(int y);

constexpr int BAG_HAND_SLOT_W = 40;
constexpr int BAG_HAND_SLOT_H = 22;
constexpr int BAG_LABEL_ABOVE = 8;       // a hand slot's label stands this far above it
constexpr int BAG_GRID_HEAD_ABOVE = 12;  // the grid's heading stands this far above it
constexpr int STAT_ROW_COUNT = 10;
extern const char* const BAG_PAGE_NAMES[BAG_PAGE_COUNT];
extern const char* const STAT_ROW_NAMES[STAT_ROW_COUNT];

// Publishes the layout and gives the centre of the view's selected slot; either output may be null.
void bag_slot_center(const BagView& view, float* x, float* y);

// The stat rows shown (ids 0..9; the dodge row only while the chance is above 0).
int bag_tab_list(int* out);
// The ids of the boons held this run, in id order.
int bag_page_flags_list(int* out);
// 3 for a card on a bag entry holding gear (EQUIP, KEEP/JUNK, DROP), else 2.
int bag_card_action_count();
// The junk mark of the card's bag entry (gear only).
bool bag_sel_is_junk();
// The item the card is on: a hand's item or a bag entry's; id 0 when there is none.
Item bag_card_item(int* count);

// The text word-wrapped to the width and drawn whole; returns the y below its last line.
int bag_wrap_lines(int x, int y, int width, const char* text, int colour);

// While 1, item cards draw the compare arrow (the bag grid sets it around each entry).
extern uint8_t item_card_compare;
void draw_item_card(int x, int y, int w, int h, const Item& item);
// The card's marks alone (pips, enchant, compare arrow, wear), for a picture drawn another way.
void draw_item_card_marks(int x, int y, int w, int h, const Item& item);

// The 5 x 5 marks of the cards and panels: compare arrows and one mark per enchant 1..6.
extern const uint8_t GLYPH_ARROW_UP[5];
extern const uint8_t GLYPH_ARROW_DOWN[5];
extern const uint8_t ENCHANT_GLYPHS[7][5];
// +1 when putting the item on would gain and lose nothing, -1 when it would only lose, else 0.
int item_compare_arrow(const Item& item);
// The up arrow in colour 3 for +1, the down arrow in colour 1 for -1.
void draw_compare_arrow(int x, int y, int dir);
