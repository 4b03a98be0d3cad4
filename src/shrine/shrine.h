// The shrine hub between runs.
#pragma once
#include <cstdint>

void shrine_enter();
void update_shrine(uint8_t presses);
