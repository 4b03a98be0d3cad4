// Placeholders until the fight record lands: no buff and no lunge.
#include "combat/fight_peek.h"

int32_t combat_monster_buff() { return 0; }
int32_t combat_lunge_offset() { return 0; }
