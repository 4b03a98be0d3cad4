// Placeholder until level-up picks land.
#include "levelup/levelup.h"

void update_levelup(uint8_t) {}
bool levelup_open() { return false; }

void levelup_clear() {}
int gain_xp(int) { return 0; }
