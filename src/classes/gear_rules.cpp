// Gathers the run's gear rules from the class, the profile and the boons for the item code below.
#include "classes/gear_rules.h"

#include "boons/boons.h"
#include "classes/classes.h"
#include "items/item.h"
#include "profile/profile.h"

GearRules gear_rules_now() {
    GearRules g{};
    for (int id = ITEM_NONE + 1; id < ITEM_COUNT; ++id) {
        if (class_can_use(item_make((uint32_t)id))) g.usable_ids |= 1u << id;
        if (item_locked(id)) g.locked_ids |= 1u << id;
    }
    g.heat = run_heat;
    g.iron_skin = boon_value(BOON_IRON_SKIN);
    return g;
}
