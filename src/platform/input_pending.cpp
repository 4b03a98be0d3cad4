// Placeholder until the input module lands: no rebinding prompt, the bits pass unchanged.
#include "platform/input.h"

uint8_t rebind_tick(uint8_t bits) { return bits; }
