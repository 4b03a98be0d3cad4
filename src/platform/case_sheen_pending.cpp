// Placeholders until the case art lands: no sheen (its case colours are not selectable) and no spotlight.
#include "platform/case_sheen.h"

bool sheen_active() { return false; }
void sheen_update() {}
void sheen_tilt_input(float, float) {}
void button_glow_step(uint8_t) {}
