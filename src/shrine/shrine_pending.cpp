// Placeholders until the shrine lands.
#include "shrine/shrine.h"

void shrine_enter() {}
void update_shrine(uint8_t) {}
bool shrine_brazier_lit(int, int) { return false; }
int32_t shrine_bought_upgrade() { return -1; }
int32_t shrine_bought_tick() { return 0; }
