// Placeholder until the fight view's auto-pause lands.
#include "combat/combat.h"

bool combat_auto_paused() { return false; }
