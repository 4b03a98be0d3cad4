// The player classes and their gear restrictions.
#pragma once
#include "items/item.h"

constexpr int CLASS_KNIGHT = 0;
constexpr int CLASS_BRUTE = 1;
constexpr int CLASS_COUNT = 2;

// A class's text row: name and its four description lines.
struct ClassInfo {
    const char* name;
    const char* weapon;
    const char* perk;
    const char* bonus;
    const char* restriction;
};
const ClassInfo& class_info(int c);

// Whether the player's class may use the item (the KNIGHT no two-handers, the BRUTE no shields).
bool class_can_use(const Item& item);

// Gives the player the class's starting changes.
void class_apply(int cls);
