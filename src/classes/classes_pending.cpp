// Placeholder until the class rules land: no class restriction is applied yet.
#include "classes/classes.h"

bool class_can_use(const Item&) { return true; }

void class_apply(int) {}

const ClassInfo& class_info(int) {
    static const ClassInfo none{"", "", "", "", ""};
    return none;
}
