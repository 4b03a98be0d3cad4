// An item with the fields a test cares about set, the rest as item_make leaves them.
#pragma once
#include <cstdint>

#include "items/item.h"

inline Item test_item(uint32_t id, int quality = 0, int upgrade = 0, int enchant = 0, int wear = 0, int depth = 0) {
    Item it = item_make(id);
    it.quality = (uint8_t)quality;
    it.upgrade = (uint8_t)upgrade;
    it.enchant = (int8_t)enchant;
    it.wear = (uint8_t)wear;
    it.depth_bonus = (uint8_t)depth;
    return it;
}
