// Placeholder until the lifetime profile lands: nothing is locked, no upgrade is owned,
// nothing is counted.
#include "profile/profile.h"

int32_t run_heat = 0;

bool item_locked(int) { return false; }
int upgrade_active_rank(int) { return 0; }
void profile_count_secret() {}

void profile_tick(bool) {}
bool training_offer_on() { return false; }
void training_offer_set(bool) {}
bool case_color_locked(int) { return false; }
bool palette_locked(int) { return false; }
bool monster_art_locked(int) { return false; }
int joke_banner_next() { return 0; }

void profile_load() {}
void profile_run_begin() {}
int32_t profile_runs() { return 0; }
uint32_t profile_monsters_met() { return 0; }
int32_t souls_preview(int) { return 0; }
int upgrade_rank(int) { return 0; }
int upgrade_max_rank(int) { return 0; }
int32_t profile_slain(int) { return 0; }
bool codex_is_new(int) { return false; }
bool codex_any_new() { return false; }
void codex_mark_viewed(int) {}
