// Placeholders until the real-time fight view, the camp pages, pause, controls and stats land:
// nothing is drawn.
#include "screens/screens.h"

void draw_status_border() {}
void draw_low_hp_strip() {}
void draw_pause() {}
void draw_camp() {}
void draw_controls() {}
void draw_stats() {}

// Until the real-time fight view lands: a duel draws nothing.
void draw_fight_reflex() {}
