// What the profile reads of the duel's run meters: the threat tally the run's souls count.
#include "combat/meters.h"
#include "world/run_meters.h"

int32_t run_threat_tally() { return threat_total; }
