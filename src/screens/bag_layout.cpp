// The bag panel's layout, the slot centres the cursor aims at, and the lists that the bag input
// and the bag pages both walk. Called by the bag input, the tick's easing and the bag drawing.
#include "screens/bag_draw.h"

#include "combat/combat.h"
#include "items/item.h"
#include "render/screen.h"
#include "screens/hud.h"
#include "screens/screens.h"
#include "world/bag_record.h"
#include "world/player.h"

BagLayout bag_layout{};

const char* const BAG_PAGE_NAMES[BAG_PAGE_COUNT] = {"STATS", "INVENTORY", "BESTIARY"};
const char* const STAT_ROW_NAMES[STAT_ROW_COUNT] = {"HP",   "XP",    "ATK",   "DEF",   "DODGE",
                                                    "GOLD", "KEYS",  "SOULS", "FLOOR", "KILLS"};

namespace {

// Landscape: hands left of the grid; portrait: hands above it.
void layout_publish() {
    const ScreenRect r = screen_layout.view;
    const int x0 = r.x0, y0 = r.y0, w = r.x1 - r.x0, h = r.y1 - r.y0;
    BagLayout& l = bag_layout;
    if (screen_layout.landscape) {
        l = BagLayout{.px = x0 + 4, .py = y0 + 2, .pw = w - 7, .ph = h - 5,
                      .main_x = x0 + 12, .main_y = y0 + 36, .off_x = x0 + 12, .off_y = y0 + 80,
                      .grid_x = x0 + 56, .grid_y = y0 + 36, .cell = 18, .valid = 1, .published = 1};
    } else {
        l = BagLayout{.px = x0 + 4, .py = y0 + 16, .pw = 136, .ph = 177,
                      .main_x = x0 + 30, .main_y = y0 + 42, .off_x = x0 + 74, .off_y = y0 + 42,
                      .grid_x = x0 + 12, .grid_y = y0 + 78, .cell = 20, .valid = 1, .published = 1};
    }
}

}  // namespace

void bag_slot_center(const BagView& view, float* x, float* y) {
    layout_publish();
    const BagLayout& l = bag_layout;
    float cx, cy;
    if (view.zone == BAG_ZONE_MAIN) {
        cx = (float)(l.main_x + BAG_HAND_SLOT_W / 2);
        cy = (float)(l.main_y + BAG_HAND_SLOT_H / 2);
    } else if (view.zone == BAG_ZONE_OFF) {
        cx = (float)(l.off_x + BAG_HAND_SLOT_W / 2);
        cy = (float)(l.off_y + BAG_HAND_SLOT_H / 2);
    } else {
        cx = (float)(l.grid_x + l.cell * view.col + l.cell / 2);
        cy = (float)(l.grid_y + l.cell * view.row + l.cell / 2);
    }
    if (x) *x = cx;
    if (y) *y = cy;
}

int bag_tab_list(int* out) {
    int n = 0;
    for (int id = 0; id < STAT_ROW_COUNT; ++id) {
        if (id == STAT_EVADE && evade_chance() <= 0) continue;
        out[n++] = id;
    }
    return n;
}

int bag_page_flags_list(int* out) {
    int n = 0;
    for (int id = 0; id < BOON_SLOTS; ++id)
        if (player.boon_ranks[id] != 0) out[n++] = id;
    return n;
}

Item bag_card_item(int* count) {
    const BagView& v = bag_view;
    Item none{};
    if (count) *count = 0;
    if (v.card_on_hand) {
        const Item& h = v.card_hand == BAG_HAND_OFF ? player.off_hand : player.main_hand;
        if (count && h.id != ITEM_NONE) *count = 1;
        return h;
    }
    if (v.card_entry < 0 || v.card_entry >= player.bag.count || v.card_entry >= BAG_MAX_ITEMS) return none;
    const BagEntry& e = player.bag.entries[v.card_entry];
    if (count) *count = e.count;
    return e.item;
}

int bag_card_action_count() {
    const BagView& v = bag_view;
    if (v.card_on_hand) return 2;
    return item_is_wearable(bag_card_item(nullptr)) ? 3 : 2;
}

bool bag_sel_is_junk() {
    if (bag_view.card_on_hand) return false;
    const Item item = bag_card_item(nullptr);
    return item_is_wearable(item) && item.junk != 0;
}

int bag_wrap_lines(int x, int y, int width, const char* text, int colour) {
    if (!text || !text[0]) return y;
    return y + draw_wrapped_text(x, y, width, text, 1 << 30, colour, true);
}
