// The bag record: a 6 x 5 grid in which every entry covers a rectangle of cells.
// The rules that place, stack and remove entries live in items/bag.h.
#pragma once
#include <cstdint>

#include "world/item_record.h"

constexpr int BAG_COLS = 6;
constexpr int BAG_ROWS = 5;
constexpr int BAG_MAX_ITEMS = 30;
constexpr int32_t BAG_EMPTY = -1;

struct BagEntry {
    Item item;
    int32_t count;  // >= 1
    int32_t col, row;  // top-left cell
    uint8_t rotated;  // w and h swapped; never set for square items
    uint8_t spare[3];
};
static_assert(sizeof(BagEntry) == 28);

struct Bag {
    BagEntry entries[BAG_MAX_ITEMS];  // the first `count` are in use
    int32_t count;
    int32_t cells[BAG_ROWS][BAG_COLS];  // entry index or BAG_EMPTY
};

// The bag and both hands, kept aside so that a move of several steps can be undone whole.
struct BagSnapshot {
    Bag bag;
    Item main_hand, off_hand;
};
