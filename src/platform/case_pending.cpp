// Placeholder until the case pictures land: the swapped A/B labels have no art to redraw.
#include "game/links_pending.h"

void case_set_swap_ab(int) {}
