// Placeholders until the turn-menu fight and the fight view's auto-pause land.
#include "combat/combat.h"

void combat_player_input(uint8_t) {}
void combat_monster_act() {}
bool combat_auto_paused() { return false; }
