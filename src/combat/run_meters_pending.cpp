// Placeholder until the duel keeps its run meters: no threat, no combo, no killer yet.
#include "world/run_meters.h"

int32_t run_threat_tally() { return 0; }
int32_t run_best_combo() { return 0; }
int32_t run_killer_type() { return 0; }
