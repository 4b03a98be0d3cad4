// Placeholder until the duel keeps its idle attack hint: no hint is ever due.
#include "combat/duel.h"

bool flow_hint_due() { return false; }
