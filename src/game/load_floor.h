// Loading a floor of the run.
#pragma once

// The single entry: builds floor n (0..MAX_FLOOR), places its monsters and snaps the view. A floor
// out of range is reported and nothing changes but the player's per-floor marks.
void load_floor(int floor_index);
