// The potions drunk are counted nowhere: neither the run's fight record nor the profile file has
// a field for them, so the play statistics show "-" for POTIONS DRANK rather than a made-up count.
#include "combat/run_stats.h"

void run_stats_count_potion() {}
