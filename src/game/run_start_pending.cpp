// Placeholder until resumed runs note their starting rating and souls.
#include "game/run_start.h"

void run_start_snapshot() {}
