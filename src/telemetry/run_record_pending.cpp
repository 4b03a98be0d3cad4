// Placeholder until the run record lands: nothing is noted yet.
#include "telemetry/run_record.h"

void run_record_potion(int) {}
void run_record_tick() {}
void run_record_emit(const char*) {}
void run_record_item_note(const char*, const char*) {}
void run_record_item_event(const char*, const Item&, int, const char*) {}

void run_record_reset() {}
void run_finish(int) {}
void run_record_pick(const char*, const char* const*, int) {}
void run_record_item_n(const char*, const char*, int) {}
void run_record_rest(int) {}
