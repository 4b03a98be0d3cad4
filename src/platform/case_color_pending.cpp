// Placeholder until the case pictures land: there is no art to recolour yet.
#include "platform/case_art.h"

void case_set_color(int) {}
