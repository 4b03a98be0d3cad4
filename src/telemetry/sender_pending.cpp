// Placeholders until the sender lands: nothing is posted yet.
#include "telemetry/sender.h"

void telemetry_start() {}
void telemetry_pump() {}
