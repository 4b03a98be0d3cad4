// The enchantments the forge puts on gear: a name (at most 9 characters) for cards and records, a
// short name for tight rows, and a line saying what it does in a fight.
#pragma once

constexpr int ENCHANT_COUNT = 7;  // ENCHANT_NONE and the six enchantments

struct EnchantDef {
    const char* name;
    const char* short_name;
    const char* line;
};

extern const EnchantDef ENCHANTS[ENCHANT_COUNT];

// The row of an enchantment; the empty ENCHANT_NONE row outside 1..6.
const EnchantDef& enchant_def(int enchant);
