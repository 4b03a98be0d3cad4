// The item instance and the item ids: the small record held in hands, in the bag and on the floor.
// The item table and the rules that read it live in items/item.h.
#pragma once
#include <cstdint>

enum ItemId : int {
    ITEM_NONE = 0,
    ITEM_SHORT_SWORD = 1,
    ITEM_LONG_SWORD = 2,
    ITEM_ENCHANTED_SWORD = 3,
    ITEM_DAGGER = 4,
    ITEM_WOODEN_SHIELD = 5,
    ITEM_IRON_SHIELD = 6,
    ITEM_HEALING_POTION = 7,
    ITEM_ANTIDOTE = 8,
    ITEM_BATTLE_AXE = 9,
    ITEM_SPEAR = 10,
    ITEM_VENOM_DAGGER = 11,
    ITEM_TOWER_SHIELD = 12,
    ITEM_GREATER_POTION = 13,
    ITEM_SUPERIOR_POTION = 14,
    ITEM_COUNT = 15,
};

constexpr uint8_t QUALITY_PLAIN = 0;
constexpr uint8_t QUALITY_FINE = 1;
constexpr uint8_t QUALITY_RARE = 2;

constexpr int8_t ENCHANT_NONE = 0;
constexpr int8_t ENCHANT_KEEN = 1;
constexpr int8_t ENCHANT_VAMPIRIC = 2;
constexpr int8_t ENCHANT_VENOMOUS = 3;
constexpr int8_t ENCHANT_MIGHTY = 4;
constexpr int8_t ENCHANT_WARDING = 5;
constexpr int8_t ENCHANT_THORNS = 6;

// A 12-byte value, copied freely; the run file writes it field by field.
struct Item {
    uint32_t id;
    uint8_t quality;
    int8_t enchant;
    uint8_t upgrade;
    uint8_t rerolls;
    uint8_t wear;
    uint8_t junk;  // marked for selling in the bag
    uint8_t depth_bonus;  // weapons only
    uint8_t spare;
};
static_assert(sizeof(Item) == 12);
