// Placeholder until the classic fight view lands: no lunge.
#include "combat/fight_peek.h"

int32_t combat_lunge_offset() { return 0; }
