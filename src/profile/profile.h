// The lifetime profile: unlocks, soul upgrades, run heat and lifetime statistics.
#pragma once
#include <cstdint>

// The run's heat level (0..5); raises item quality and monster strength.
extern int32_t run_heat;

// Whether an item id is still locked behind a soul unlock.
bool item_locked(int id);
// The three soul upgrades.
constexpr int UPGRADE_VITALITY = 0;
constexpr int UPGRADE_EMBERS = 1;
constexpr int UPGRADE_FORAGER = 2;

// The rank of soul upgrade u in effect this run (0 when switched off).
int upgrade_active_rank(int u);
// Counts a secret room found, in the lifetime statistics.
void profile_count_secret();

// Once per tick; in_play counts play time and carried items.
void profile_tick(bool in_play);
bool training_offer_on();
void training_offer_set(bool on);
bool case_color_locked(int colour);
bool palette_locked(int palette);
bool monster_art_locked(int art);
// Adds one to the joke-banner counter, saves the profile and returns the old count mod 30.
int joke_banner_next();

// Reads profile.dat (or starts a fresh profile).
void profile_load();
// Counts the start of a run in the lifetime record.
void profile_run_begin();
// Runs started in the lifetime record.
int32_t profile_runs();
// Bits of the monster kinds the player has ever met.
uint32_t profile_monsters_met();
// The souls the run would award if it ended now (won = 1 for an escape).
int32_t souls_preview(int won);
// Ranks bought of soul upgrade u (0..2), and how many it has.
int upgrade_rank(int u);
int upgrade_max_rank(int u);
// The bestiary: kinds met, kills of each kind, and entries not yet looked at.
int32_t profile_slain(int t);
bool codex_is_new(int t);
bool codex_any_new();
void codex_mark_viewed(int t);
