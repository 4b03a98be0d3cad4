// Placeholders until fights, their feedback, training and tips land.
#include "combat/combat.h"

void start_combat(int, int, int) {}
void combat_update(uint8_t) {}
void combat_player_input(uint8_t) {}
void combat_tick() {}
bool combat_is_reflex() { return false; }
bool combat_auto_paused() { return false; }
int32_t combat_victory_delay() { return 0; }
void fx_update() {}
bool training_end_choice(uint8_t) { return false; }
bool training_active() { return false; }
void tips_update() {}
void draw_tips_overlay() {}

int32_t skill_rating() { return 0; }
const char* skill_rank_name(int32_t) { return ""; }
int32_t evade_chance() { return 0; }
void weapon_timing_preview(const Item&, int32_t*, int32_t*) {}
int speed_pips(int32_t) { return 0; }
int power_pips(int32_t) { return 0; }
void reflex_clear() {}
void fx_reset() {}
bool berserk_this_floor() { return false; }
