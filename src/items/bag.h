// The bag: a 6 x 5 grid in which every item covers a rectangle of cells.
// Read and written by exploration, the bag screen, fights, the camp and the run file.
#pragma once
#include <cstddef>
#include <cstdint>

#include "items/item.h"
#include "world/bag_record.h"

void bag_grid_clear(Bag& bag);
// The entry's size in cells (swapped when rotated) and its table row.
const ItemDef& bag_item_size(const BagEntry& entry, int* w, int* h);
int bag_cell(const Bag& bag, int col, int row);
// Whether the rectangle lies in the grid and each of its cells is empty or holds `key`.
bool bag_area_free(const Bag& bag, int col, int row, int w, int h, int key);
int bag_place_at(Bag& bag, const Item& item, int count, int col, int row, bool rotated);
// Stacks a usable onto an equal entry, else places the item at the first free spot. -1 when it
// does not fit, or when the equal entry cannot take the whole count within the stack's bound:
// then nothing is taken, and the caller keeps the item as it keeps one that finds the bag full.
int bag_add(Bag& bag, const Item& item, int count);
bool bag_add_new(uint32_t id, int count);
// The purse after the gold a full bag pays in place of what it could not take, taken as far as
// the purse holds it, with what the player is told of it written to `message`.
int32_t bag_full_pay(int32_t gold, int32_t pay, char* message, size_t size);
void bag_remove(Bag& bag, int idx);
int bag_find(uint32_t id);
int bag_list_usable(int* out, int max);
int bag_healing_potions();
int bag_potion_total();
