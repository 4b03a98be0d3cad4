// The enchantment table. Read by the forge, the item card and panel, and the run record.
#include "items/enchant.h"

#include "world/item_record.h"

// Rows in enchantment order; each line states the fight rule the enchantment adds.
const EnchantDef ENCHANTS[ENCHANT_COUNT] = {
    {.name = "", .short_name = "", .line = ""},                                  // ENCHANT_NONE
    {.name = "KEEN", .short_name = "KEEN", .line = "+15% CRIT CHANCE (X2)"},     // ENCHANT_KEEN
    {.name = "VAMPIRIC", .short_name = "VAMP", .line = "HITS HEAL 1% HP"},       // ENCHANT_VAMPIRIC
    {.name = "VENOMOUS", .short_name = "VENOM", .line = "HITS POISON"},          // ENCHANT_VENOMOUS
    {.name = "MIGHTY", .short_name = "MIGHT", .line = "+2 ATK"},                 // ENCHANT_MIGHTY
    {.name = "WARDING", .short_name = "WARD", .line = "+1 DEF"},                 // ENCHANT_WARDING
    {.name = "THORNS", .short_name = "THORN", .line = "RETURN 25% OF HITS"},      // ENCHANT_THORNS
};
static_assert(ENCHANT_THORNS + 1 == ENCHANT_COUNT, "one row per enchantment");

const EnchantDef& enchant_def(int enchant) {
    return ENCHANTS[enchant > ENCHANT_NONE && enchant < ENCHANT_COUNT ? enchant : ENCHANT_NONE];
}
