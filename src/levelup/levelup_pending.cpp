// Placeholder until level-up picks land.
#include "levelup/levelup.h"

void update_levelup(uint8_t) {}
bool levelup_open() { return false; }

void levelup_clear() {}

int32_t xp_to_next(int32_t) { return 0; }
