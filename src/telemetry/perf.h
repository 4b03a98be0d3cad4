// Performance zones, the F6 overlay, F7 trace capture, frame sampling, and the perf-test and
// gpu-check development modes.
#pragma once
#include <cstdint>

enum PerfZone : int {
    ZONE_TICK = 0, ZONE_RENDER, ZONE_VIEW, ZONE_SPRITES, ZONE_COMBAT, ZONE_UI,
    ZONE_COMPOSE, ZONE_UPLOAD, ZONE_PRESENT, ZONE_COUNT
};

extern uint8_t perf_overlay_on;
// Set when a trace capture was written; the tick turns it into a toast.
extern uint8_t perf_trace_saved;

void perf_begin(int zone);
void perf_end(int zone);
void perf_frame_end();
void perf_trace_start();
void perf_frame_sample(double gap_ms, double work_ms, int steps);
// The F6 overlay, drawn at the end of each frame.
void perf_overlay_draw();

// Development modes.
void perf_scene_setup(int floor);
uint8_t perf_script_input(int step);
// Once per drawn frame after presenting while the perf test runs; clears `running` when it is over.
void perf_test_frame(uint8_t* running);
// Once per drawn frame in the gpu-check mode, after composing; clears `running` when done.
void gpu_check_frame(struct FrameLoop& fl);
