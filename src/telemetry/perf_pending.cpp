// Placeholders until the performance zones and development modes land: nothing is measured yet.
#include "telemetry/perf.h"

uint8_t perf_overlay_on = 0;
uint8_t perf_trace_saved = 0;

void perf_begin(int) {}
void perf_end(int) {}
void perf_frame_end() {}
void perf_trace_start() {}
void perf_frame_sample(double, double, int) {}
void perf_overlay_draw() {}
void perf_scene_setup(int) {}
uint8_t perf_script_input(int) { return 0; }
void perf_test_frame(uint8_t*) {}
void gpu_check_frame(FrameLoop&) {}
