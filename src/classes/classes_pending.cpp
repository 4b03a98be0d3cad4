// Placeholder until the class rules land: no class restriction is applied yet.
#include "classes/classes.h"

bool class_can_use(const Item&) { return true; }

void class_apply(int) {}
const char* class_name(int) { return ""; }
