// Placeholder until the lifetime profile lands: nothing is locked, no upgrade is owned,
// nothing is counted.
#include "profile/profile.h"

int32_t run_heat = 0;

bool item_locked(int) { return false; }
bool class_locked(int) { return false; }
bool boon_locked(int) { return false; }
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

int32_t profile_souls() { return 0; }
uint8_t run_end_new_best = 0;
int32_t run_end_best_floor = 0;
int32_t run_end_souls = 0;
int32_t upgrade_next_cost(int) { return 0; }
const char* upgrade_name(int) { return ""; }
int unlock_next_goal() { return -1; }
int32_t unlock_price(int) { return 0; }
const char* unlock_row_name(int) { return ""; }
