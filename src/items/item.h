// The item table and the item instance with its value rules (attack, defence, wear, worth, names).
// Read by the bag, the floor, fights, the camp, the screens and the run file.
#pragma once
#include <cstddef>
#include <cstdint>

#include "world/item_record.h"

constexpr int ITEM_KIND_WEAPON = 0;
constexpr int ITEM_KIND_SHIELD = 1;
constexpr int ITEM_KIND_POTION = 2;

// Fight traits in ItemDef::flags.
constexpr uint32_t ITEM_FLAG_DOUBLE_STRIKE = 0x1;  // daggers: a jab strikes twice
constexpr uint32_t ITEM_FLAG_REACH = 0x4;          // the spear: first strike, hits wind-ups
constexpr uint32_t ITEM_FLAG_VENOM = 0x8;          // the venom dagger: poisons on hit

struct ItemDef {
    const char* name;
    const char* short_name;  // toasts
    int32_t kind;
    uint8_t two_handed;
    uint8_t either_hand;
    int32_t attack;
    int32_t defence;
    int32_t w, h;  // bag cells
    uint32_t flags;  // fight traits
    const char* perk;  // item card line, or null
};

extern const ItemDef ITEMS[ITEM_COUNT];

// The one way to read ITEMS: an id outside the table is reported and reads the ITEM_NONE row.
const ItemDef& item_def(uint32_t id);


// Id sets.
bool item_id_is_weapon(uint32_t id);
bool item_id_is_shield(uint32_t id);
bool item_id_is_stackable(uint32_t id);  // 7, 8, 13, 14
bool item_id_is_healing(uint32_t id);    // 7, 13, 14

Item item_make(uint32_t id);
bool item_is_wearable(const Item& item);
int item_wear_max(const Item& item);
bool item_is_broken(const Item& item);
int item_wear_level(const Item& item);
int item_attack(const Item& item);
int item_defence(const Item& item);
int item_worth_base(const Item& item);
int item_value(const Item& item);
// The forge's repair price before the camp's discount, which the camp applies.
int item_repair_cost(const Item& item);
// "Fine Long Sword +1"; the quality word is omitted for plain items.
void item_name(const Item& item, char* out, size_t size);
const char* item_quality_word(const Item& item);
bool item_equal(const Item& a, const Item& b);
char item_glyph(uint32_t id);
Item item_from_letter(char letter);
bool enchant_fits_item(const Item& item, int enchant);

// Wears a weapon or shield one step in use. When that step breaks it, writes "%s broke!" with its
// short name into broke_line, notes the break in the run record (`where`: "main" or "off"), plays
// the break sound and returns true.
bool item_wear(Item& item, const char* where, char* broke_line, size_t size);
