// The F6 performance overlay: frame and work times and the zone averages of the last 120 frames.
#pragma once

// Drawn by the draw pass last, while perf_overlay_on is set.
void perf_overlay_draw();
