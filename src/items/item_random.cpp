// Random item makers. Every maker draws from the random source its caller hands in, so a floor
// built from the floor stream stays reproducible from the run seed.
#include "items/item_random.h"
#include "world/glyphs.h"

#include "items/item.h"
#include "world/player.h"

int32_t item_luck = 0;
uint32_t next_random_state = 1;

int next_random(int n) {
    next_random_state = next_random_state * 1103515245u + 12345u;
    if (n < 1) return 1;
    return (int)((next_random_state >> 16) % (uint32_t)n) + 1;
}

namespace {

// clang-format off
const ItemWeight WEAPON_TIERS[6][7] = {
    {{4, 25}, {1, 20}, {10, 20}, {2, 20}, {11, 15}, {0, 0}},
    {{2, 20}, {11, 20}, {9, 15}, {4, 15}, {10, 15}, {1, 15}, {0, 0}},
    {{9, 25}, {2, 25}, {11, 20}, {10, 15}, {1, 10}, {4, 5}, {0, 0}},
    {{9, 30}, {2, 20}, {11, 20}, {10, 15}, {1, 10}, {3, 5}, {0, 0}},
    {{9, 30}, {11, 20}, {2, 15}, {3, 15}, {10, 10}, {1, 10}, {0, 0}},
    {{9, 30}, {3, 25}, {11, 20}, {2, 10}, {1, 10}, {10, 5}, {0, 0}},
};
const ItemWeight SHIELD_TIERS[6][4] = {
    {{5, 70}, {6, 25}, {12, 5}, {0, 0}},
    {{5, 40}, {6, 45}, {12, 15}, {0, 0}},
    {{5, 20}, {6, 50}, {12, 30}, {0, 0}},
    {{5, 10}, {6, 50}, {12, 40}, {0, 0}},
    {{5, 5}, {6, 45}, {12, 50}, {0, 0}},
    {{6, 40}, {12, 60}, {0, 0}},
};
// clang-format on

uint8_t upgrade_for_floor(int floor) { return floor < 10 ? 1 : floor < 25 ? 2 : 3; }

uint8_t depth_bonus_for(int floor) { return floor >= 768 ? 255 : floor < 0 ? 0 : (uint8_t)(floor / 3); }


int main_hand_attack() { return item_attack(player.main_hand); }

}  // namespace

const ItemWeight ITEM_DROP_WEAPONS[] = {{3, 30}, {9, 20}, {2, 15}, {1, 15}, {10, 10}, {11, 5}, {4, 5}, {0, 0}};
const ItemWeight ITEM_DROP_SHIELDS[] = {{12, 45}, {6, 45}, {5, 10}, {0, 0}};

int item_floor_tier(int floor) {
    if (floor <= 2) return 0;
    if (floor <= 5) return 1;
    if (floor <= 9) return 2;
    if (floor <= 14) return 3;
    if (floor <= 19) return 4;
    return 5;
}

const ItemWeight* item_weapon_tier(int tier) { return WEAPON_TIERS[tier < 0 ? 0 : tier > 5 ? 5 : tier]; }
const ItemWeight* item_shield_tier(int tier) { return SHIELD_TIERS[tier < 0 ? 0 : tier > 5 ? 5 : tier]; }

int item_pick_eligible(const ItemWeight* list, ItemRand rand, uint32_t eligible) {
    auto ok = [eligible](int id) { return id > 0 && id < 32 && (eligible >> id) & 1u; };
    int total = 0;
    int first = ITEM_NONE;
    for (const ItemWeight* e = list; e->id != ITEM_NONE; ++e) {
        if (!ok(e->id)) continue;
        if (first == ITEM_NONE) first = e->id;
        total += e->weight;
    }
    int r = rand(100);
    // A list thinned by locks is scaled so its total still spans the whole draw.
    int target = (total >= 1 && total <= 99) ? (total * r + 99) / 100 : r;
    int running = 0;
    for (const ItemWeight* e = list; e->id != ITEM_NONE; ++e) {
        if (!ok(e->id)) continue;
        running += e->weight;
        if (running >= target) return e->id;
    }
    return first != ITEM_NONE ? first : list[0].id;
}

int item_pick_weighted(const ItemWeight* list, ItemRand rand, bool class_only, const GearRules& g) {
    uint32_t eligible = 0;
    for (int id = 1; id < ITEM_COUNT; ++id) {
        if (gear_locked(g, (uint32_t)id)) continue;
        if (class_only && !gear_usable(g, (uint32_t)id)) continue;
        eligible |= 1u << id;
    }
    return item_pick_eligible(list, rand, eligible);
}

int item_rare_odds(int floor, const GearRules& g) {
    int o = floor < 14 ? 2 * floor + 3 : floor + 17;
    if (o > 45) o = 45;
    return o + 3 * g.heat;
}

void item_quality_draw(Item& item, int floor, ItemRand rand, const GearRules& g) {
    int o = item_rare_odds(floor, g);
    int r = rand(100);
    int fine_extra = 3 * floor < 30 ? 3 * floor : 30;
    if (r <= o)
        item.quality = QUALITY_RARE;
    else if (r <= o + 15 + fine_extra)
        item.quality = QUALITY_FINE;
    else
        item.quality = QUALITY_PLAIN;
    if (item_id_is_weapon(item.id)) item.depth_bonus = depth_bonus_for(floor);
}

Item item_make_potion(int floor, ItemRand rand) {
    if (floor < 6) return item_make(ITEM_HEALING_POTION);
    int r = rand(100);
    if (floor < 12) return item_make(r < 26 ? ITEM_GREATER_POTION : ITEM_HEALING_POTION);
    if (r < 16) return item_make(ITEM_SUPERIOR_POTION);
    return item_make(r < 51 ? ITEM_GREATER_POTION : ITEM_HEALING_POTION);
}

Item item_make_random(char letter, int floor, ItemRand rand, const GearRules& g) {
    switch (letter) {
        case GLYPH_POTION: return item_make_potion(floor, rand);
        case GLYPH_WEAPON:
        case GLYPH_SHIELD: {
            int r = rand(100);
            bool class_only = r < 86;
            // A shield letter gives a class without shields a weapon it can use.
            bool weapon = letter == GLYPH_WEAPON || (r <= 85 && !gear_usable(g, ITEM_WOODEN_SHIELD));
            int tier = item_floor_tier(floor);
            const ItemWeight* list = weapon ? item_weapon_tier(tier) : item_shield_tier(tier);
            Item item = item_make((uint32_t)item_pick_weighted(list, rand, class_only, g));
            item_quality_draw(item, floor, rand, g);
            return item;
        }
        case GLYPH_ANTIDOTE: return item_make(ITEM_ANTIDOTE);
        default: return item_make(ITEM_NONE);
    }
}

Item item_make_gear(int floor, ItemRand rand, const GearRules& g) {
    char letter = rand(100) < 61 ? GLYPH_WEAPON : GLYPH_SHIELD;
    Item item = item_make_random(letter, floor + 3, rand, g);
    item.quality = QUALITY_RARE;
    item.upgrade = upgrade_for_floor(floor);
    return item;
}

Item item_make_drop(int floor, ItemRand rand, const GearRules& g) {
    bool shield = gear_usable(g, ITEM_WOODEN_SHIELD) && rand(100) > 60;
    Item item = item_make((uint32_t)item_pick_weighted(shield ? ITEM_DROP_SHIELDS : ITEM_DROP_WEAPONS, rand, true, g));
    item.quality = rand(100) <= item_rare_odds(floor, g) ? QUALITY_RARE : QUALITY_FINE;
    item.upgrade = upgrade_for_floor(floor);
    if (item_id_is_weapon(item.id)) {
        item.depth_bonus = depth_bonus_for(floor);
        static const int8_t VENOM_DAGGER_ENCHANTS[] = {ENCHANT_KEEN, ENCHANT_VAMPIRIC, ENCHANT_MIGHTY};
        static const int8_t WEAPON_ENCHANTS[] = {ENCHANT_KEEN, ENCHANT_VAMPIRIC, ENCHANT_VENOMOUS, ENCHANT_MIGHTY};
        if (item.id == ITEM_VENOM_DAGGER)
            item.enchant = VENOM_DAGGER_ENCHANTS[rand(3) - 1];
        else
            item.enchant = WEAPON_ENCHANTS[rand(4) - 1];
    } else if (item_id_is_shield(item.id)) {
        item.enchant = rand(2) == 1 ? ENCHANT_WARDING : ENCHANT_THORNS;
    }
    return item;
}

bool item_make_floor(int floor, ItemRand rand, const GearRules& g, Item* out) {
    int r = rand(100);
    if (item_luck < r) {
        item_luck = item_luck + 15 > 80 ? 80 : item_luck + 15;
        return false;
    }
    item_luck = 0;
    Item item = item_make((uint32_t)item_pick_weighted(item_weapon_tier(item_floor_tier(floor)), rand, true, g));
    item_quality_draw(item, floor, rand, g);
    // A lucky find is always worth picking up: raise it past the wielded weapon.
    int wielded = main_hand_attack();
    while (item_attack(item) <= wielded) {
        if (item.quality < QUALITY_RARE)
            item.quality++;
        else if (item.upgrade < 3)
            item.upgrade++;
        else
            break;
    }
    if (out) *out = item;
    return true;
}

Item item_make_tier(int floor, ItemRand rand, int min_quality, const GearRules& g) {
    Item item = item_make((uint32_t)item_pick_weighted(item_weapon_tier(item_floor_tier(floor)), rand, true, g));
    item_quality_draw(item, floor, rand, g);
    if (item.quality < min_quality) item.quality = (uint8_t)min_quality;
    return item;
}

int floor_potion_id(int floor) { return floor < 6 ? ITEM_GREATER_POTION : ITEM_SUPERIOR_POTION; }

void luck_reset_if_better(const Item& item, const GearRules& g) {
    if (item_id_is_weapon(item.id) && gear_usable(g, item.id) && item_attack(item) > main_hand_attack()) item_luck = 0;
}
