// What a landed blow does in the duel: the player's damage, the monster's damage and side effects,
// combo and flow, LAST STAND, and the skill rating that scales the duel to the player.
// Called by the duel engine and the fight update; the screens read the meters.
#pragma once
#include <cstdint>

// The floor on which the main-hand weapon broke into berserk, -1 for none (saved with the run).
extern int32_t berserk_floor;

int32_t skill_rating();
float skill_assist();
float fight_pressure();
int assist_level();
const char* skill_rank_name(int rating);
int flow_level();
int combo_tier_percent();
int flow_damage_percent();
int reflex_hp_scale(int hp);
bool berserk_this_floor();
int souls_multiplier_tenths();
// The off hand holds an unbroken shield beside a main hand that is not two-handed.
bool shield_ready();

// The player's blow at `percent` of the weapon's damage.
void reflex_player_hit(int percent);
// The blow with the crush flag: a full riposte heavy into a staggered monster.
void reflex_player_hit_ex(int percent, bool crush);
// The monster's blow of `attack` against the player; true when it was a full hit that landed.
bool combat_damage_player(int attack, bool chip);
void combat_monster_special(bool side_attack);
void combat_add_combo(int n);
bool combat_last_stand();
// The monster takes d outside the player's blows (spines, venom); it may die.
void reflex_monster_hurt(int d);
// Damage over time on the monster and the player's status ticks, once per step.
void duel_ticks(int dt);
void skill_rating_update();
// The idle attack hint of the fight view: due until the player first attacks, then after 8 s
// without a blow while fewer than three hints were shown.
bool flow_hint_due();
// Clears the run's duel meters and statistics (a new run).
void run_stats_reset();
// Wears an item one step in a fight and, when it breaks, says so in the fight log and resets the
// weapon timings. True when it broke now.
bool duel_wear(bool main_hand, int steps);
