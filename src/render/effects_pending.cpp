// Placeholders until sharp rectangles, effect fields and particles land.
#include "game/links_pending.h"

void fxfield_set_slot0(float) {}
int fxfield_update(int, int, int) { return 0; }
void particles_update() {}
