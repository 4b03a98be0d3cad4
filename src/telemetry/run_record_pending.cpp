// Placeholder until the run record lands: nothing is noted yet.
#include "telemetry/run_record.h"

void run_record_potion(int) {}
