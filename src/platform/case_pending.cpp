// Placeholder until the case pictures land: the swapped A/B labels have no art to redraw.
#include "platform/case_art.h"

void case_set_swap_ab(int) {}
