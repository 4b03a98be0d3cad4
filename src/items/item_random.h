// Random item makers for floors, chests, loot and the camp shop, the weighted pick behind them,
// the floor-weapon luck counter and the exploration random stream.
#pragma once
#include <cstdint>

#include "items/gear_rules.h"
#include "items/item.h"

// The caller's random source: returns 1..n.
using ItemRand = int (*)(int n);

// One entry of a weighted list; a list ends with id ITEM_NONE.
struct ItemWeight {
    int id;
    int weight;
};

// The floor-weapon luck counter (0..80), saved with the run.
extern int32_t item_luck;

// The exploration stream: never seeded, it runs from a fixed start for the whole program.
extern uint32_t next_random_state;
int next_random(int n);

// Tier 0..5 of a floor number.
int item_floor_tier(int floor);
const ItemWeight* item_weapon_tier(int tier);
const ItemWeight* item_shield_tier(int tier);
extern const ItemWeight ITEM_DROP_WEAPONS[];
extern const ItemWeight ITEM_DROP_SHIELDS[];

// The pick over the entries whose id bit is set in `eligible` (bit n = id n may be chosen).
int item_pick_eligible(const ItemWeight* list, ItemRand rand, uint32_t eligible);
// Skips ids still locked and, with class_only, ids the player's class cannot use.
int item_pick_weighted(const ItemWeight* list, ItemRand rand, bool class_only, const GearRules& g);

// The quality draw of a floor: sets quality (and depth_bonus for weapons).
void item_quality_draw(Item& item, int floor, ItemRand rand, const GearRules& g);
// The Rare threshold o of the quality draw.
int item_rare_odds(int floor, const GearRules& g);

// The potion a 'p' letter of the floor holds; the class and unlocks play no part.
Item item_make_potion(int floor, ItemRand rand);
Item item_make_random(char letter, int floor, ItemRand rand, const GearRules& g);
Item item_make_gear(int floor, ItemRand rand, const GearRules& g);
Item item_make_drop(int floor, ItemRand rand, const GearRules& g);
bool item_make_floor(int floor, ItemRand rand, const GearRules& g, Item* out);
Item item_make_tier(int floor, ItemRand rand, int min_quality, const GearRules& g);
int floor_potion_id(int floor);
void luck_reset_if_better(const Item& item, const GearRules& g);
