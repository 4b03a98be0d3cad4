// The death snapshot and its replay: the picture of the last fight frame that the death screen
// shakes, tilts, drops and dissolves before the run's summary shows.
#pragma once
#include <cstdint>

#include "render/screen.h"

struct ScreenSnapshot {
    uint8_t pixels[FB_BYTES];  // the view rectangle, row by row
    int32_t width, height;
    int32_t stamp;  // frame_counter when taken; -1 when there is none
    uint8_t used;   // 1 once the player cut the replay short
};
extern ScreenSnapshot screen_snapshot;

// What the run-end screens show of the best floor: set when a run ends.
extern uint8_t run_end_new_best;    // 1 when the run reached a new best floor
extern int32_t run_end_best_floor;  // the best floor shown (1-based)

// Replay lengths in frames: shake, tilt, fall and dissolve with full effects; shake and dissolve
// with fewer.
constexpr int REPLAY_SHAKE_FRAMES = 18;
constexpr int REPLAY_FULL_FRAMES = 102;
constexpr int REPLAY_LESS_FRAMES = 54;
constexpr int SNAPSHOT_NONE_AGE = 0x100000;

// The replay's pose at frame f: horizontal shift, rotation in degrees, vertical offset, zoom,
// vignette and dissolve step.
struct ReplayPose {
    float shift, angle, lift, zoom, vignette;
    int32_t dissolve;
};
ReplayPose death_replay_pose(int f, bool full_effects);
// Draws replay frame f of the snapshot into the view rectangle.
void death_replay_draw(int f);
