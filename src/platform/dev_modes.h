// The perf-test and gpu-check development modes, run by the frame loop around presentation.
#pragma once
#include <cstdint>

struct FrameLoop;

// Set when the perf report or a gpu-check picture could not be written (told on standard error):
// the program then ends with status 1.
extern uint8_t dev_mode_file_failed;

// After each present while the perf test runs: samples the frame (started at frame_counter and
// running `steps` steps), and at the end prints and writes the report and drops the running flag.
void perf_test_frame(FrameLoop& fl, uint64_t frame_counter, int steps);
// Between composing and presenting in the gpu-check mode: at its last frame compares the GPU
// picture with the CPU one, writes both and drops the running flag.
void gpu_check_frame(FrameLoop& fl, uint8_t pressed_bits);
