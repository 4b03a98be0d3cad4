// Placeholder until the lifetime profile lands: nothing is locked, no upgrade is owned,
// nothing is counted.
#include "profile/profile.h"

int32_t run_heat = 0;

bool item_locked(int) { return false; }
int upgrade_active_rank(int) { return 0; }
void profile_count_secret() {}
int32_t souls_preview(int) { return 0; }
