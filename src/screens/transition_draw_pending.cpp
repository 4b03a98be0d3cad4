// Placeholder until the transition's wipe and caption drawing land.
#include "screens/transition.h"

void transition_draw() {}
