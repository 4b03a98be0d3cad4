// What the profile reads of the duel's run meters at a run's end: the threat tally, the best combo
// and the kind of monster that killed the player.
#include "combat/combat.h"
#include "combat/meters.h"
#include "combat/reflex.h"
#include "world/run_meters.h"

int32_t run_threat_tally() { return threat_total; }
int32_t run_best_combo() { return duel.best_combo; }
int32_t run_killer_type() { return (int32_t)killer_type; }
