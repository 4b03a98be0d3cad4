// The two hand-made boss floors: floor 9 uses the first, floor 19 the second.
#pragma once

#include "dungeon/map.h"

// 12 rows of 16 glyphs, each stored with a terminating zero.
extern const char BOSS_LAYOUTS[2][MAP_H][MAP_W + 1];

// The layout of a boss floor: the second for odd stretches of ten floors, else the first.
const char (*boss_layout_for_floor(int floor))[MAP_W + 1];
