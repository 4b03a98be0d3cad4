// Items lying on the current floor that a bare map letter cannot describe, each with its cell
// and where it came from. The map letter at the cell shows that something lies there.
#pragma once
#include <cstdint>

#include "items/item.h"

constexpr int FLOOR_ITEMS_MAX = 32;

// Where a floor item came from (the run record's word for it).
enum FloorItemSource : uint8_t {
    FLOOR_SRC_UNKNOWN = 0,
    FLOOR_SRC_FLOOR = 1,
    FLOOR_SRC_MONSTER = 2,
    FLOOR_SRC_DRAGON = 3,
    FLOOR_SRC_MIMIC = 4,
    FLOOR_SRC_CHEST = 5,
    FLOOR_SRC_DROPPED = 6,
};

struct FloorItem {
    int32_t x, y;
    Item item;
};

struct FloorItems {
    FloorItem entries[FLOOR_ITEMS_MAX];
    int32_t count;
    uint8_t source[FLOOR_ITEMS_MAX];  // not saved with the run
};

extern FloorItems floor_items;

void floor_items_clear();
void floor_item_states_clear();
bool floor_item_add(int x, int y, const Item& item, int source);
bool floor_item_add_new(int x, int y, const Item& item);
void floor_item_set_state(int i, int source);
const char* floor_item_source_word(int i);
int floor_item_find(int x, int y);
void floor_item_remove(int i);
