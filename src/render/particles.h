// Drawing the particle pools, flame embers, flying coins, drifting dust and dungeon embers. Their
// simulation lives in dungeon/particles.h; these only read the pools.
#pragma once
#include "dungeon/particles.h"

void particles_draw_sparks(int ox, int oy);
void flame_embers_draw(int ox, int oy);
void particles_draw_motes();
void coin_fly_draw(int tx, int ty);
void twinkles_draw();
void twinkles_draw2();
