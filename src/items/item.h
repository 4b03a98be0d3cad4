// The item table and the item instance with its value rules (attack, defence, wear, worth, names).
// Read by the bag, the floor, fights, the camp, the screens and the run file.
#pragma once
#include <cstddef>
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

constexpr int ITEM_KIND_WEAPON = 0;
constexpr int ITEM_KIND_SHIELD = 1;
constexpr int ITEM_KIND_POTION = 2;

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
int item_repair_cost(const Item& item);
// "Fine Long Sword +1"; the quality word is omitted for plain items.
void item_name(const Item& item, char* out, size_t size);
const char* item_quality_word(const Item& item);
bool item_equal(const Item& a, const Item& b);
char item_glyph(uint32_t id);
Item item_from_letter(char letter);
bool enchant_fits_item(const Item& item, int enchant);
