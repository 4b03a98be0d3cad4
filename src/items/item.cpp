// The item table and the value rules of one item instance.
#include "items/item.h"
#include "world/glyphs.h"

#include <cstdio>

#include "items/potion.h"
#include "telemetry/check.h"

// clang-format off
constexpr ItemDef ITEMS[ITEM_COUNT] = {
    {.name = "-",               .short_name = "-",        .kind = ITEM_KIND_WEAPON, .two_handed = 0, .either_hand = 0, .attack = 0,  .defence = 0, .w = 0, .h = 0, .flags = 0,         .perk = nullptr},
    {.name = "Short Sword",     .short_name = "ShrtSwd",  .kind = ITEM_KIND_WEAPON, .two_handed = 0, .either_hand = 1, .attack = 2,  .defence = 0, .w = 1, .h = 2, .flags = 0,         .perk = "STRONG FINISHER"},
    {.name = "Long Sword",      .short_name = "LongSwd",  .kind = ITEM_KIND_WEAPON, .two_handed = 1, .either_hand = 0, .attack = 4,  .defence = 0, .w = 1, .h = 3, .flags = 0,         .perk = "WIDE PARRY"},
    {.name = "Enchanted Sword", .short_name = "EnchSwd",  .kind = ITEM_KIND_WEAPON, .two_handed = 1, .either_hand = 0, .attack = 8,  .defence = 0, .w = 1, .h = 3, .flags = 0,         .perk = "WIDE PARRY"},
    {.name = "Dagger",          .short_name = "Dagger",   .kind = ITEM_KIND_WEAPON, .two_handed = 0, .either_hand = 1, .attack = 1,  .defence = 0, .w = 1, .h = 1, .flags = ITEM_FLAG_DOUBLE_STRIKE, .perk = "QUICK HANDS"},
    {.name = "Wooden Shield",   .short_name = "WdShld",   .kind = ITEM_KIND_SHIELD, .two_handed = 0, .either_hand = 0, .attack = 0,  .defence = 1, .w = 2, .h = 2, .flags = 0,         .perk = nullptr},
    {.name = "Iron Shield",     .short_name = "IrnShld",  .kind = ITEM_KIND_SHIELD, .two_handed = 0, .either_hand = 0, .attack = 0,  .defence = 2, .w = 2, .h = 2, .flags = 0,         .perk = nullptr},
    {.name = "Healing Potion",  .short_name = "Potion",   .kind = ITEM_KIND_POTION, .two_handed = 0, .either_hand = 0, .attack = 0,  .defence = 0, .w = 1, .h = 1, .flags = 0,         .perk = nullptr},
    {.name = "Antidote",        .short_name = "Antidote", .kind = ITEM_KIND_POTION, .two_handed = 0, .either_hand = 0, .attack = 0,  .defence = 0, .w = 1, .h = 1, .flags = 0,         .perk = nullptr},
    {.name = "Battle Axe",      .short_name = "Axe",      .kind = ITEM_KIND_WEAPON, .two_handed = 1, .either_hand = 0, .attack = 8,  .defence = 0, .w = 1, .h = 3, .flags = 0,         .perk = "SHATTERS GUARDS"},
    {.name = "Spear",           .short_name = "Spear",    .kind = ITEM_KIND_WEAPON, .two_handed = 1, .either_hand = 0, .attack = 3,  .defence = 0, .w = 1, .h = 3, .flags = ITEM_FLAG_REACH, .perk = "FIRST STRIKE; HITS WIND-UPS"},
    {.name = "Venom Dagger",    .short_name = "VenomDgr", .kind = ITEM_KIND_WEAPON, .two_handed = 0, .either_hand = 1, .attack = 1,  .defence = 0, .w = 1, .h = 1, .flags = ITEM_FLAG_VENOM, .perk = "QUICK; POISONS ON HIT"},
    {.name = "Tower Shield",    .short_name = "TwrShld",  .kind = ITEM_KIND_SHIELD, .two_handed = 0, .either_hand = 0, .attack = -1, .defence = 3, .w = 2, .h = 2, .flags = 0,         .perk = "HEAVY: ATK -1"},
    {.name = "Greater Potion",  .short_name = "Potion+",  .kind = ITEM_KIND_POTION, .two_handed = 0, .either_hand = 0, .attack = 0,  .defence = 0, .w = 1, .h = 1, .flags = 0,         .perk = nullptr},
    {.name = "Superior Potion", .short_name = "Potion++", .kind = ITEM_KIND_POTION, .two_handed = 0, .either_hand = 0, .attack = 0,  .defence = 0, .w = 1, .h = 1, .flags = 0,         .perk = nullptr},
};
// clang-format on

namespace {

// The ids of one kind, read off the table (ITEM_NONE, the empty hand, belongs to no set).
constexpr uint32_t ids_of_kind(int kind) {
    uint32_t set = 0;
    for (int id = ITEM_NONE + 1; id < ITEM_COUNT; ++id)
        if (ITEMS[id].kind == kind) set |= 1u << id;
    return set;
}

constexpr uint32_t WEAPON_IDS = ids_of_kind(ITEM_KIND_WEAPON);
constexpr uint32_t SHIELD_IDS = ids_of_kind(ITEM_KIND_SHIELD);
// Potions stack in the bag; all but the antidote heal.
constexpr uint32_t STACKABLE_IDS = ids_of_kind(ITEM_KIND_POTION);
constexpr uint32_t HEALING_IDS = STACKABLE_IDS & ~(1u << ITEM_ANTIDOTE);
static_assert(WEAPON_IDS == 0xE1Eu && SHIELD_IDS == 0x1060u && STACKABLE_IDS == 0x6180u && HEALING_IDS == 0x6080u);

bool id_in(uint32_t id, uint32_t set) { return id < ITEM_COUNT && (set >> id) & 1u; }

}  // namespace

const ItemDef& item_def(uint32_t id) {
    if (!SOFT_CHECK_AS(id < ITEM_COUNT, "id >= ITEM_NONE && id < ITEM_COUNT", "src/items", "item id %d", (int)id))
        return ITEMS[ITEM_NONE];
    return ITEMS[id];
}

bool item_id_is_weapon(uint32_t id) { return id_in(id, WEAPON_IDS); }
bool item_id_is_shield(uint32_t id) { return id_in(id, SHIELD_IDS); }
bool item_id_is_stackable(uint32_t id) { return id_in(id, STACKABLE_IDS); }
bool item_id_is_healing(uint32_t id) { return id_in(id, HEALING_IDS); }

Item item_make(uint32_t id) {
    SOFT_CHECK_AS(id < ITEM_COUNT, "id >= ITEM_NONE && id < ITEM_COUNT", "src/items", "item id %d", (int)id);
    Item item{};
    item.id = id;
    return item;
}

bool item_is_wearable(const Item& item) { return item_id_is_weapon(item.id) || item_id_is_shield(item.id); }

int item_wear_max(const Item& item) { return item.quality * 10 + 40; }

bool item_is_broken(const Item& item) { return item_is_wearable(item) && item.wear >= item_wear_max(item); }

int item_wear_level(const Item& item) {
    if (!item_is_wearable(item) || item_is_broken(item)) return 0;
    int max = item_wear_max(item);
    if (item.wear * 5 >= max * 4) return 2;
    if (item.wear * 2 >= max) return 1;
    return 0;
}

int item_attack(const Item& item) {
    if (item_is_broken(item)) return 0;
    const ItemDef& def = item_def(item.id);
    if (!item_id_is_weapon(item.id)) return def.attack;
    int a = item.quality + def.attack + item.upgrade + item.depth_bonus;
    if (item.enchant == ENCHANT_MIGHTY) a += 2;
    return a;
}

int item_defence(const Item& item) {
    if (item.id == ITEM_NONE || item_is_broken(item)) return 0;
    const ItemDef& def = item_def(item.id);
    if (!item_id_is_shield(item.id)) return def.defence;
    int d = item.quality + def.defence + item.upgrade;
    if (item.enchant == ENCHANT_WARDING) d += 1;
    return d;
}

int item_worth_base(const Item& item) {
    const ItemDef& def = item_def(item.id);
    int g = item_id_is_weapon(item.id) ? (item.depth_bonus + def.attack) * 2 : def.defence * 4;
    int worth = ((g + 4) * (item.quality + 2)) / 2 + item.upgrade * 6;
    if (item.enchant != ENCHANT_NONE) worth += 10;
    return worth;
}

int item_value(const Item& item) {
    if (item_is_wearable(item)) {
        int worth = item_worth_base(item);
        return item_is_broken(item) ? (worth + 3) / 4 : worth;
    }
    if (item_id_is_healing(item.id)) return potion_heal_base(item.id);
    return 4;
}

int item_repair_cost(const Item& item) {
    if (!item_is_wearable(item) || item.wear == 0) return 0;
    int worth = item_worth_base(item);
    int cost;
    if (item_is_broken(item)) {
        cost = worth;
    } else {
        int per = item.quality * 20 + 80;
        cost = (item.wear * worth + per - 1) / per;
        if (cost < 1) cost = 1;
    }
    return cost;
}

const char* item_quality_word(const Item& item) {
    if (item.quality == QUALITY_FINE) return "Fine";
    if (item.quality == QUALITY_RARE) return "Rare";
    return nullptr;
}

void item_name(const Item& item, char* out, size_t size) {
    if (!out || size == 0) return;
    char suffix[8] = "";
    if (item.upgrade) snprintf(suffix, sizeof suffix, " +%d", item.upgrade);
    const char* word = item_quality_word(item);
    const char* name = item_def(item.id).name;
    if (word)
        snprintf(out, size, "%s %s%s", word, name, suffix);
    else
        snprintf(out, size, "%s%s", name, suffix);
}

bool item_equal(const Item& a, const Item& b) {
    return a.id == b.id && a.quality == b.quality && a.enchant == b.enchant && a.upgrade == b.upgrade &&
           a.rerolls == b.rerolls && a.wear == b.wear && a.junk == b.junk && a.depth_bonus == b.depth_bonus &&
           a.spare == b.spare;
}

char item_glyph(uint32_t id) {
    static const char LETTERS[] = "wwwwsspawwwspp";
    if (id >= 1 && id <= 14) return LETTERS[id - 1];
    return GLYPH_FLOOR;
}

Item item_from_letter(char letter) {
    switch (letter) {
        case GLYPH_ANTIDOTE: return item_make(ITEM_ANTIDOTE);
        case GLYPH_POTION: return item_make(ITEM_HEALING_POTION);
        case GLYPH_SHIELD: return item_make(ITEM_WOODEN_SHIELD);
        case GLYPH_WEAPON: return item_make(ITEM_LONG_SWORD);
        default: return item_make(ITEM_NONE);
    }
}

bool enchant_fits_item(const Item& item, int enchant) {
    if (enchant <= ENCHANT_NONE || enchant > ENCHANT_THORNS || !item_is_wearable(item)) return false;
    int enchant_kind = enchant <= ENCHANT_MIGHTY ? ITEM_KIND_WEAPON : ITEM_KIND_SHIELD;
    if (enchant_kind != item_def(item.id).kind) return false;
    return !(enchant == ENCHANT_VENOMOUS && item.id == ITEM_VENOM_DAGGER);
}
