// The duel's run-long meters.
#include "combat/meters.h"

int32_t flow = 0;
int32_t combo = 0;
int32_t threat_total = 0;
