// Placeholders until the real-time fight view and the camp pages land: nothing is drawn.
#include "screens/screens.h"

void draw_status_border() {}
void draw_low_hp_strip() {}
void draw_camp() {}

// Until the real-time fight view lands: a duel draws nothing.
void draw_fight_reflex() {}
