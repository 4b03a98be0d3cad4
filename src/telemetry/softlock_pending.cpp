// Placeholder until the softlock detector lands.
#include "telemetry/softlock.h"

void softlock_check(uint8_t) {}
