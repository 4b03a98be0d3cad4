// The run in progress on disk (run.sav), written whole at every autosave point and read back by
// CONTINUE, and the summary the title shows of it. Called by the state machine and start-up.
#pragma once
#include <cstdint>

#include "saves/file_io.h"

constexpr int RUN_FILE_BYTES = 4232;  // the current version's length
constexpr int32_t RUN_FILE_VERSION = 21;
constexpr int32_t RUN_FILE_OLDEST = 14;  // older files are only marked outdated

// One run file image, always upgraded to the current version.
struct RunRecord {
    uint8_t bytes[RUN_FILE_BYTES];
};

struct RunSummary {
    uint8_t valid;
    int32_t floor, level, hp, max_hp, gold, kills;
    uint8_t in_camp, training, in_fight, outdated;
};
extern RunSummary run_summary;

// Set by load_run: where the loaded run resumes.
extern uint8_t resume_in_camp;
extern uint8_t resume_in_fight;

// The file length of a version, or 0 for a version that is never read.
int run_file_length(int32_t version);
// Builds the current-version image of the run in progress. `state` decides the optional camp
// and fight blocks (STATE_CAMP and STATE_COMBAT).
void run_record_build(RunRecord* out, int32_t state);
// Saves the run in progress; false (the old file untouched) when it could not be written.
bool save_run();
// Counts every save_run, made or failed, so the tick can tell whether a save already followed a
// change of state.
extern uint32_t run_saves_made;
// Replaces run.sav by the image atomically.
bool write_file_atomic(const RunRecord& record);
// Reads, upgrades and checks one run file. `outdated` (may be null) tells of a file too old to read;
// `judged` (may be null) receives the file that was read. Only run.sav, the player's save, is read
// through a link; an old slot file is not.
bool run_file_read(const char* path, RunRecord* out, bool* outdated, FileLinks links = LINKS_REFUSED,
                   FileId* judged = nullptr);
// Reads run.sav into the game; false, with nothing changed, when it is missing or refused.
bool load_run();
// STATE_CAMP, STATE_COMBAT or STATE_DUNGEON after load_run.
int run_resume_state();
void run_summary_refresh();

// Deletes run.sav and clears the summary.
void run_delete();
enum RunSetAside : int {
    RUN_NOT_REFUSED = 0,       // read, or no regular file there
    RUN_KEPT_ASIDE = 1,        // refused and kept as run_bad.sav (or run_bad_2.sav ...)
    RUN_REFUSED_IN_PLACE = 2,  // refused, and no name could take it: the next run's save replaces it
    RUN_KEPT_EARLIER = 3,      // refused, and kept aside by a hard link an earlier start made: told then
};
// A run.sav that is there but refused is kept aside as run_bad.sav (or run_bad_2.sav ...), so no
// new run writes over it; `outdated` (may be null) tells whether it was refused for being of an
// older version. One that cannot be kept aside stays where it is: keeping it from every later save
// would leave no run saved at all.
RunSetAside run_set_aside_refused(bool* outdated = nullptr);
// Deletes run.sav and the old slot files that are of a version too old to read (for an
// old-format profile); a file of any version that is read stays.
void saves_delete_outdated();
// Folds the old slot files into run.sav once, at start-up, and moves each slot file found to a
// free "slotN.sav.old" name ("slotN_2.sav.old" ... when that is taken), never over one kept before.
void saves_migrate_slots();
