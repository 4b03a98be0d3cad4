// Placeholder until particles land: nothing is spawned yet.
#include "render/particles.h"

void spawn_motes(bool) {}
void marker_add(int, int) {}

void particles_reset() {}
