// The shrine hub between runs.
#pragma once
#include <cstdint>

void shrine_enter();
void update_shrine(uint8_t presses);

// Whether the brazier standing on this cell burns (its milestone is done).
bool shrine_brazier_lit(int x, int y);
// The soul upgrade last bought in the shrine (-1 since entering) and the tick it was bought.
int32_t shrine_bought_upgrade();
int32_t shrine_bought_tick();
