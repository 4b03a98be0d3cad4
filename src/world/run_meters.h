// The run's duel meters that the profile reads at a run's end and for the souls preview. The fight
// code keeps them and defines these; the profile, beside it in the layers, may not include it.
#pragma once
#include <cstdint>

// The threat level at each real-time victory, summed over the run.
int32_t run_threat_tally();
// The run's best combo.
int32_t run_best_combo();
// The monster kind that killed the player (0 when none did).
int32_t run_killer_type();
