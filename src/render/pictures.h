// What the icons need from elsewhere: the game's animation counter (advanced by the tick) and
// the item picture look-up. Their owners define them; until then pictures_pending.cpp does.
#pragma once
#include <cstdint>

#include "render/sprites.h"

// The animation counter: +1 per unpaused tick.
extern int32_t frame_counter;

// The current picture of item id 1..14, or null when it has none.
const Image* item_sprite(int32_t id);
