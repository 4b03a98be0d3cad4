// Placeholders until the turn-menu fight, the fight view's auto-pause, training's prompt and the
// tips land.
#include "combat/combat.h"

void combat_player_input(uint8_t) {}
void combat_monster_act() {}
bool combat_auto_paused() { return false; }
bool training_end_choice(uint8_t) { return false; }
bool training_active() { return false; }
void tips_update() {}
void draw_tips_overlay() {}
