// Potions: how much each heals, drinking one, and using a bag entry.
#pragma once
#include <cstddef>
#include <cstdint>

// Potions are drunk where they are found: runs start without any, and neither the level-up FLASK
// nor the SUPPLIES boon is offered.
constexpr uint8_t drink_on_pickup = 1;

int potion_heal_base(int id);
// The base heal raised by the FORAGER soul upgrade's rank in effect.
int potion_heal_amount(int id, int forager_rank);
// Drinks a healing potion where it stands; returns the hit points gained (0 at full hp or for other
// ids). The caller counts it in the run's statistics.
int potion_drink_heal(int id, int forager_rank);

enum ItemUse : int { ITEM_USE_NONE = 0, ITEM_USE_HEALED = 1, ITEM_USE_CURED = 2 };
// Uses bag entry idx (a potion or the antidote); writes what happened into out and says what it
// did (a healing potion drunk is counted by the caller), ITEM_USE_NONE when refused.
ItemUse item_use(int idx, int forager_rank, char* out, size_t size);
