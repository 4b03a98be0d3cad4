// Placeholders until the options, controls and credits input lands.
#include "game/menus.h"

void update_options(uint8_t) {}
void update_controls(uint8_t) {}
void update_credits(uint8_t) {}
