// Going to the background pauses the whole game through the pause state, so a fight that is
// being drawn as the fight screen is never paused by itself: its low-hp strip always shows.
#include "combat/combat.h"

bool combat_auto_paused() { return false; }
