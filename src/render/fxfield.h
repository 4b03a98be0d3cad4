// Drawing the effect fields that dungeon/fxfield.h simulates.
#pragma once
#include "dungeon/fxfield.h"

void fxfield_draw(int slot, int x, int y);
void fxfield_draw_columns(int slot, int centre_x, int bottom_y, float scale);
// Returns how deep in from the sides the flames it drew reach.
int fxfield_draw_rect(int x, int y, int w, int n);
