// The two player classes: their texts, the starting changes each makes to a fresh player, and the
// gear each may use.
#pragma once
#include "world/item_record.h"

constexpr int CLASS_KNIGHT = 0;
constexpr int CLASS_BRUTE = 1;
constexpr int CLASS_COUNT = 2;

struct ClassInfo {
    const char* name;
    const char* weapon;
    const char* perk;
    const char* bonus;
    const char* restriction;
};

struct ClassRule {
    int perk_boon;   // the boon its perk raises, or 50 for the class perk byte
    int perk_boon2;  // 50 in both rows
    int perk_level;
    int max_hp_bonus;
};

extern const ClassInfo CLASSES[CLASS_COUNT];
extern const ClassRule CLASS_RULES[CLASS_COUNT];

// The text row of class c; row 0 outside 0..1.
const ClassInfo& class_info(int c);
// At run start, after the player is reset: the class's weapon, perk and hit points; full health.
void class_apply(int c);
// Whether the player's class may use the item (the KNIGHT no two-handers, the BRUTE no shields).
bool class_can_use(const Item& item);
// Souls the class costs to unlock: 60 for the BRUTE.
int class_unlock_cost(int c);
// A hook the fight asks; no class changes it.
int class_hook_zero();
