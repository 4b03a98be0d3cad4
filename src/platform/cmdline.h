// The command line: development switches and the case colour and palette by name.
#pragma once
#include <cstdint>

#include "telemetry/perf.h"

struct CmdLine {
    const char* case_name;  // "--case" value, null when not given
    const char* pal_name;   // "--pal" value
    int32_t perf_scene;
    uint8_t gpu_check;
    uint8_t perf_trace;
    uint8_t perf_test;
    double perf_test_secs;   // 10 unless given; at most 3600
    int32_t perf_test_floor; // floor index 0..19, 14 unless given
};

CmdLine cmdline_parse(int argc, char** argv);
// "1..." in the SteamDeck variable selects the handheld mode.
bool cmdline_handheld(const char* steamdeck_env);
