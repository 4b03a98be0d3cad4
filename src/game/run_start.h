// Starting, resuming and closing runs from the title and the run-end screens.
#pragma once

// The "Abandon your run?" yes answer.
void run_abandon();
// The training question's telemetry event.
void training_answer_event(bool yes);
// Starts a training run behind the opening transition.
void training_run_transition();
// Leaves the demo-end screen for the title (or the class select / training question).
void demo_end_leave();
// Notes the skill rating and souls at the start of a resumed run.
void run_start_snapshot();
