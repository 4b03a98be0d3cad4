// What the drawing code reads of the fight in progress.
#pragma once
#include <cstdint>

// The monster's buff counter (the orc's eyes glow while it is above 0).
int32_t combat_monster_buff();
// The monster's vertical lunge offset in pixels.
int32_t combat_lunge_offset();
