// Placeholders until the per-floor run record lands: nothing is recorded yet.
#include "telemetry/run_record.h"

void run_record_tick() {}
void run_record_emit(const char*) {}
void run_record_item_note(const char*, const char*) {}
