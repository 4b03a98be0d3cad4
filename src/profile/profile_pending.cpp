// Placeholders until the lifetime profile lands: nothing is counted or locked yet.
#include "profile/profile.h"

void profile_tick(bool) {}
bool training_offer_on() { return false; }
void training_offer_set(bool) {}
bool case_color_locked(int) { return false; }
bool palette_locked(int) { return false; }
bool monster_art_locked(int) { return false; }
int joke_banner_next() { return 0; }
