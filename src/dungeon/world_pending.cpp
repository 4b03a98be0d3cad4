// Placeholders until the map, floor loading and monster wandering land.
#include "game/links_pending.h"

int32_t current_floor = 0;
void world_animate() {}
void monsters_ease_draw() {}
