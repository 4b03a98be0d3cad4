// Placeholder until the run statistics land: potions are not counted yet.
#include "combat/run_stats.h"

void run_stats_count_potion() {}
