// The duel's run-long meters, kept across fights and saved with the run: flow (0..1000), the combo
// and the run's threat total. The camp's rest empties them.
#pragma once
#include <cstdint>

extern int32_t flow;
extern int32_t combo;
extern int32_t threat_total;
