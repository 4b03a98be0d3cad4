// The fixed list of floor items. Order is not kept: removing an entry moves the last into its slot.
#include "items/floor_items.h"

FloorItems floor_items;

namespace {

bool in_list(int i) { return i >= 0 && i < floor_items.count && i < FLOOR_ITEMS_MAX; }

}  // namespace

void floor_items_clear() {
    floor_items.count = 0;
    floor_item_states_clear();
}

void floor_item_states_clear() {
    for (auto& s : floor_items.source) s = FLOOR_SRC_UNKNOWN;
}

bool floor_item_add(int x, int y, const Item& item, int source) {
    if (floor_items.count < 0 || floor_items.count >= FLOOR_ITEMS_MAX) return false;
    int i = floor_items.count++;
    floor_items.entries[i] = FloorItem{x, y, item};
    floor_items.source[i] = (uint8_t)source;
    return true;
}

bool floor_item_add_new(int x, int y, const Item& item) { return floor_item_add(x, y, item, FLOOR_SRC_FLOOR); }

void floor_item_set_state(int i, int source) {
    if (in_list(i)) floor_items.source[i] = (uint8_t)source;
}

const char* floor_item_source_word(int i) {
    static const char* const WORDS[] = {"?", "floor", "monster", "dragon", "mimic", "chest", "dropped"};
    if (!in_list(i)) return "floor";
    uint8_t s = floor_items.source[i];
    return s <= FLOOR_SRC_DROPPED ? WORDS[s] : "?";
}

int floor_item_find(int x, int y) {
    for (int i = 0; in_list(i); ++i)
        if (floor_items.entries[i].x == x && floor_items.entries[i].y == y) return i;
    return -1;
}

void floor_item_remove(int i) {
    if (!in_list(i)) return;
    int last = floor_items.count - 1;
    floor_items.entries[i] = floor_items.entries[last];
    floor_items.source[i] = floor_items.source[last];
    floor_items.source[last] = FLOOR_SRC_UNKNOWN;
    floor_items.count = last;
}
