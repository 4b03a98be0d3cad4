// What the drawing code reads of the fight in progress: the monster's buff counter.
#include "combat/fight_peek.h"

#include "combat/combat.h"

int32_t combat_monster_buff() { return combat.buff; }
