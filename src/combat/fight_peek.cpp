// What the drawing code reads of the fight in progress: the monster's buff counter and its lunge.
#include "combat/fight_peek.h"

#include "combat/combat.h"
#include "world/game_state.h"

namespace {
constexpr int32_t LUNGE_TICKS = 8;  // the turn-menu monster dips toward the player as it strikes
}

int32_t combat_monster_buff() { return combat.buff; }

int32_t combat_lunge_offset() {
    if (game_state != STATE_COMBAT || combat.reflex || combat.hurt_popup_timer <= 0) return 0;
    const int32_t age = POPUP_LONG_TICKS - combat.hurt_popup_timer;
    if (age < 0 || age >= LUNGE_TICKS) return 0;
    return age < LUNGE_TICKS / 2 ? age : LUNGE_TICKS - age;
}
