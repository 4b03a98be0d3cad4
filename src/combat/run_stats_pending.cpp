// Placeholder until the run statistics land: nothing is counted yet.
#include "combat/run_stats.h"

void run_stats_count_potion() {}

void fight_stats_reset() {}
