// The run's gear rules as the item makers and hand rules take them: the class's allowed gear, the
// unlocks, the run heat and the IRON SKIN boon, read fresh at each call.
#pragma once

#include "items/gear_rules.h"

GearRules gear_rules_now();
