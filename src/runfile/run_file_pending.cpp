// Placeholders until the run file lands: there is never a saved run, and saving fails.
#include "runfile/run_file.h"

RunSummary run_summary = {};

bool save_run() { return false; }
bool load_run() { return false; }
int run_resume_state() { return 2; }
void run_summary_refresh() {}

void run_delete() {}
void saves_migrate_slots() {}
