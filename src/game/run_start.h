// Starting, resuming and closing runs from the title and the run-end screens, and the run's seed.
#pragma once
#include <cstdint>

// Whether starting a run from the title offers the training run first.
constexpr bool TRAINING_OFFER_ENABLED = true;

// A seed given at start-up (0 = none) and how many runs have been seeded from it so far.
extern uint32_t fixed_seed;
extern int32_t fixed_seed_runs;
// The skill rating and the monsters-met bits when the run began, for the run summary.
extern int32_t run_start_rating;
extern uint32_t run_start_met;
// The class handed to the opening transition.
extern int32_t run_class;

// The seed of a new run: from the fixed seed when one is set, else the clock; never 0.
uint32_t run_seed_choose();
// The fresh player of a run: 12 hp, attack 3, level 1, Short Sword and Wooden Shield, empty bag.
void player_start();
// Resets everything a run owns and builds floor 0.
void new_run();

// Starts a run of that class behind the opening transition.
void run_start_transition(int cls);
// Starts a training run behind the opening transition.
void training_run_transition();
// Leaves the training for the real dungeon, on its next floor.
void training_done_transition();
// The "Abandon your run?" yes answer.
void run_abandon();
// Ends the run (0 lost, 1 escaped): the run file goes, the profile counts it, the floor's record and
// the run summary are written, and the best floor is updated.
void run_finish(int won);
// Hands the run record the game's names, gear and counters (game start-up).
void run_record_source_install();
// Saves the run in progress (a held bag item is stowed first); a failure raises the message box
// "SAVE FAILED!" over the screen, which stays until a button is pressed.
bool run_save_now();
// "SAVE FAILED!" in the message box over the screen until a button is pressed (a toast in a fight).
void save_failed_notice();
// SAVE & QUIT from the pause menu or the way-out dialog: notes it in the run record, saves the
// run and goes to the title; on failure raises "SAVE FAILED!" and stays.
void run_save_and_quit();
// The training question's telemetry event.
void training_answer_event(bool yes);
// Leaves the demo-end screen for the title (or the class select / training question).
void demo_end_leave();
// Notes the skill rating and souls at the start of a resumed run.
void run_start_snapshot();
