// Per-run statistics of the fights and the things used along the way.
#pragma once

// Counts one healing potion drunk this run.
void run_stats_count_potion();
