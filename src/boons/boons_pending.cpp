// Placeholder until the boons land: no boon is owned yet.
#include "boons/boons.h"

int boon_value(int) { return 0; }
const char* boon_name(int) { return ""; }
int boon_max_level(int) { return 0; }
bool boon_is_evolution(int) { return false; }
const char* boon_level_line(int, int) { return ""; }
