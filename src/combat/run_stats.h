// Per-run statistics of the fights and the things used along the way.
#pragma once

// Where a healing potion drunk this run is counted (nowhere yet: see run_stats.cpp).
void run_stats_count_potion();
