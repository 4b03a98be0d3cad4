// Placement rules of the bag grid. Entries stay packed: removing one moves the last into its slot.
#include "items/bag.h"

#include <cstdio>

#include "world/player.h"
#include "items/potion.h"
#include "telemetry/check.h"

namespace {

void fill_cells(Bag& bag, const BagEntry& e, int value) {
    int w = 0, h = 0;
    bag_item_size(e, &w, &h);
    for (int r = e.row; r < e.row + h; ++r)
        for (int c = e.col; c < e.col + w; ++c)
            if (r >= 0 && r < BAG_ROWS && c >= 0 && c < BAG_COLS) bag.cells[r][c] = value;
}

bool same_stack(const Item& a, const Item& b) {
    return a.id == b.id && a.quality == b.quality && a.enchant == b.enchant && a.upgrade == b.upgrade &&
           a.rerolls == b.rerolls && a.wear == b.wear && a.depth_bonus == b.depth_bonus;
}

int first_fit(Bag& bag, const Item& item, int count, int w, int h, bool rotated) {
    for (int row = 0; row < BAG_ROWS; ++row)
        for (int col = 0; col < BAG_COLS; ++col)
            if (bag_area_free(bag, col, row, w, h, BAG_EMPTY)) return bag_place_at(bag, item, count, col, row, rotated);
    return -1;
}

}  // namespace

void bag_grid_clear(Bag& bag) {
    bag.count = 0;
    for (auto& row : bag.cells)
        for (auto& cell : row) cell = BAG_EMPTY;
}

const ItemDef& bag_item_size(const BagEntry& entry, int* w, int* h) {
    const ItemDef& def = item_def(entry.item.id);
    int iw = entry.rotated ? def.h : def.w;
    int ih = entry.rotated ? def.w : def.h;
    if (w) *w = iw;
    if (h) *h = ih;
    return def;
}

int bag_cell(const Bag& bag, int col, int row) {
    if (col < 0 || col >= BAG_COLS || row < 0 || row >= BAG_ROWS) return BAG_EMPTY;
    return bag.cells[row][col];
}

bool bag_area_free(const Bag& bag, int col, int row, int w, int h, int key) {
    if (col < 0 || row < 0 || w <= 0 || h <= 0 || col + w > BAG_COLS || row + h > BAG_ROWS) return false;
    for (int r = row; r < row + h; ++r)
        for (int c = col; c < col + w; ++c)
            if (bag.cells[r][c] != BAG_EMPTY && bag.cells[r][c] != key) return false;
    return true;
}

int bag_place_at(Bag& bag, const Item& item, int count, int col, int row, bool rotated) {
    if (bag.count < 0 || bag.count >= BAG_MAX_ITEMS) return -1;
    const ItemDef& def = item_def(item.id);
    bool rot = rotated && def.w != def.h;
    int w = rot ? def.h : def.w;
    int h = rot ? def.w : def.h;
    if (!bag_area_free(bag, col, row, w, h, BAG_EMPTY)) return -1;
    int idx = bag.count;
    BagEntry& e = bag.entries[idx];
    e = BagEntry{};
    e.item = item;
    e.count = count;
    e.col = col;
    e.row = row;
    e.rotated = rot ? 1 : 0;
    fill_cells(bag, e, idx);
    bag.count = idx + 1;
    return idx;
}

int bag_add(Bag& bag, const Item& item, int count) {
    if (item_id_is_stackable(item.id)) {
        for (int i = 0; i < bag.count && i < BAG_MAX_ITEMS; ++i) {
            if (same_stack(bag.entries[i].item, item)) {
                // A gain the stack cannot hold whole is refused whole: what would pass the bound
                // would be counted nowhere, so it stays where it came from.
                if ((int64_t)bag.entries[i].count + count > RUN_STACK_MAX) return -1;
                bag.entries[i].count = bound_stack(bag.entries[i].count, count);
                return i;
            }
        }
    }
    if (item.id == ITEM_NONE) return -1;
    const ItemDef& def = item_def(item.id);
    int idx = first_fit(bag, item, count, def.w, def.h, false);
    if (idx < 0 && def.w != def.h) idx = first_fit(bag, item, count, def.h, def.w, true);
    return idx;
}

bool bag_add_new(uint32_t id, int count) { return bag_add(player.bag, item_make(id), count) != -1; }

int32_t bag_full_pay(int32_t gold, int32_t pay, char* message, size_t size) {
    if (gold_fits(gold, pay)) std::snprintf(message, size, "BAG FULL: +%d GOLD", (int)pay);
    else std::snprintf(message, size, "%s", BAG_AND_PURSE_FULL_TEXT);
    return bound_gold(gold, pay);
}

void bag_remove(Bag& b, int idx) {
    if (!SOFT_CHECK_AS(idx >= 0 && idx < b.count, "idx >= 0 && idx < b->count", "src/items", "bag_remove %d of %d", idx,
                       b.count))
        return;
    fill_cells(b, b.entries[idx], BAG_EMPTY);
    int last = b.count - 1;
    if (idx != last) {
        b.entries[idx] = b.entries[last];
        fill_cells(b, b.entries[idx], idx);
    }
    b.count = last;
}

int bag_find(uint32_t id) {
    const Bag& bag = player.bag;
    for (int i = 0; i < bag.count && i < BAG_MAX_ITEMS; ++i)
        if (bag.entries[i].item.id == id && bag.entries[i].count > 0) return i;
    return -1;
}

int bag_list_usable(int* out, int max) {
    const Bag& bag = player.bag;
    int n = 0;
    for (int i = 0; i < bag.count && i < BAG_MAX_ITEMS && n < max; ++i)
        if (item_id_is_stackable(bag.entries[i].item.id) && bag.entries[i].count > 0) out[n++] = i;
    return n;
}

int bag_healing_potions() {
    int i = bag_find(ITEM_HEALING_POTION);
    return i < 0 ? 0 : player.bag.entries[i].count;
}

int bag_potion_total() {
    const Bag& bag = player.bag;
    int total = 0;
    for (int i = 0; i < bag.count && i < BAG_MAX_ITEMS; ++i)
        if (potion_heal_base((int)bag.entries[i].item.id) > 0) total += bag.entries[i].count;
    return total;
}
