// Loot rules.
#include "combat/loot.h"

#include "boons/boons.h"

int gold_pickup_amount() { return 10 + boon_value(BOON_MERCHANT); }
