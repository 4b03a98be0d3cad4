// Placeholders until the fight views, the bag and the camp pages land:
// nothing is drawn.
#include "screens/screens.h"

void draw_status_border() {}
void draw_fight() {}
void draw_low_hp_strip() {}
void draw_bag() {}
bool bag_item_card_open() { return false; }
void draw_item_info_panel() {}
void draw_camp() {}
const char* death_tip() { return ""; }
