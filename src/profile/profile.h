// The lifetime profile: unlocks, soul upgrades, run heat and lifetime statistics.
#pragma once
#include <cstdint>

// The run's heat level (0..5); raises item quality and monster strength.
extern int32_t run_heat;

// Whether an item id is still locked behind a soul unlock.
bool item_locked(int id);
// The rank of soul upgrade u in effect this run (0 when switched off).
int upgrade_active_rank(int u);
// Counts a secret room found, in the lifetime statistics.
void profile_count_secret();
// The souls the run would award if it ended now (won = 1 for an escape).
int32_t souls_preview(int won);
