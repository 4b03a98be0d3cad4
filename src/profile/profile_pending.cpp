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
void profile_run_end(int) {}

void codex_met(int) {}
void codex_slain(int) {}
void weapon_stat_kill() {}
void weapon_stat_best_hit(int) {}
int32_t profile_skill_rating() { return 0; }
int32_t profile_rated_fights() { return 0; }
void profile_skill_store(int32_t, int32_t, bool) {}
bool profile_attack_hint_seen() { return false; }
void profile_attack_hint_mark() {}
int32_t profile_flow_hint_count() { return 0; }
