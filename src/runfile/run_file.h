// The run in progress on disk (run.sav) and the summary the title shows of it.
#pragma once
#include <cstdint>

struct RunSummary {
    uint8_t valid;
    int32_t floor, level, hp, max_hp, gold, kills;
    uint8_t in_camp, training, in_fight, outdated;
};
extern RunSummary run_summary;

bool save_run();
bool load_run();
int run_resume_state();
void run_summary_refresh();

// Deletes run.sav.
void run_delete();
// Moves legacy slot files to run.sav once.
void saves_migrate_slots();
