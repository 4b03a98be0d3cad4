// Placeholders until the options, controls and credits input lands.
#include "game/menus.h"

int32_t options_from = 1;
int32_t options_page = 0;
int32_t options_cursor = 0;
int32_t credits_scroll = 0;

void update_options(uint8_t) {}
void update_controls(uint8_t) {}
void update_credits(uint8_t) {}
