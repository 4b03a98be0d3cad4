// Placeholder until screen transitions land: none ever runs.
#include "screens/transition.h"

bool transition_active() { return false; }
