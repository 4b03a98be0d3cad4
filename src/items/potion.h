// Potions: how much each heals, drinking one, and using a bag entry.
#pragma once
#include <cstddef>

int potion_heal_base(int id);
// The base heal raised by the potion soul upgrade.
int potion_heal_amount(int id);
// Drinks a healing potion where it stands; returns the hit points gained (0 at full hp or for other ids).
int potion_drink_heal(int id);
// Uses bag entry idx (a potion or the antidote); writes what happened into out.
bool item_use(int idx, char* out, size_t size);
