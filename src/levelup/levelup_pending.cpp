// Placeholder until level-up picks land.
#include "levelup/levelup.h"

void update_levelup(uint8_t) {}

void levelup_clear() {}
