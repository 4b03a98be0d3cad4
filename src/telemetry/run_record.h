// The per-floor run record and the run summary.
#pragma once

void run_record_tick();
void run_record_emit(const char* end);
void run_record_item_note(const char* what, const char* detail);
