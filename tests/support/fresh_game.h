// Every test starts from a fresh game, whatever ran before it in the same process.
//
// Before each test (and before its fixture's SetUp) a listener installed by fresh_game.cpp:
//   - gives the test a save folder of its own (removed after it, with its files), so no profile,
//     run.sav, settings.dat or outbox a test writes is seen by another;
//   - calls game_records_reset(), which puts every game record back to the value it has when the
//     program starts: the state words and input, the player, the floor and its monsters, the
//     fight, the camp, the shrine, the profile, the settings, the run record, telemetry counters,
//     the draw state, the menus and dialogs, the sound queue, what the platform layer keeps of
//     the picture and the input.
// A test therefore needs no reset of its own to start clean; it sets up only what it means to
// test. Call game_records_reset() yourself only to start over in the middle of a test.
//
// A test that plays in a run starts it with knight_run_start(seed) instead of writing out
//     fixed_seed = ...; fixed_seed_runs = 0; new_run(); class_apply(CLASS_KNIGHT);
// The run is the KNIGHT's, its floors follow from `seed`, and it stands on floor 0 with
// game_state still as it was (set it, or call tick_globals_reset first, for a test driven
// through game_tick). fixed_seed is left set, so a later new_run in the same test repeats it;
// the next test's reset clears it.
//
// Order dependence is checked in CI: scripts/test.sh also runs the whole test binary once, in one
// process, with --gtest_shuffle and a printed seed. To repeat a failure there:
//     cd build && ./qm_tests --gtest_shuffle --gtest_random_seed=<the printed seed>
#pragma once
#include <cstdint>

// Every game record back to its value at program start; in memory only, no file is read or written.
void game_records_reset();

// A new KNIGHT run whose floors follow from `seed` (see above).
void knight_run_start(uint32_t seed);
