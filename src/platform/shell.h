// Program start-up, the frame loop driver and shutdown, and the start-up switches other modules read.
#pragma once
#include <SDL.h>
#include <cstdint>

#include "services/services.h"

extern uint8_t handheld_mode;
extern SDL_AudioDeviceID audio_device;
extern uint8_t scripted_input;
extern uint8_t perf_test_on;       // the perf test runs
extern uint8_t perf_test_verdict;  // 1 for "LOCKED 60" (or a passed gpu-check), else 0
extern uint8_t perf_trace_on;
extern double perf_test_secs;
extern int32_t perf_test_floor;
extern int32_t perf_scene;
extern int32_t gpu_check_countdown;
extern double* perf_test_samples[2];  // frame interval and work per frame
extern int32_t perf_test_capacity;


int shell_main(int argc, char** argv);
int open_url_hook(const char* url);
const char* key_name_hook(int scancode);
int app_event_watch(void* userdata, SDL_Event* event);
