// Placeholders until game start-up and new runs land.
#include "game/run_start.h"

void run_abandon() {}
void training_answer_event(bool) {}
void training_run_transition() {}
void demo_end_leave() {}
void run_start_snapshot() {}
