// Command-line and environment parsing for start-up.
#include "platform/cmdline.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

static double perf_seconds(const char* text) {
    double secs = std::atof(text);
    // Nonsense or runaway values fall back to the default run rather than a test that never ends.
    if (!std::isfinite(secs) || secs <= 0) return 10;
    return secs > 3600 ? 3600 : secs;
}

static int32_t perf_floor(const char* text) {
    errno = 0;
    long n = std::strtol(text, nullptr, 10);
    if (n < 2) return 0;
    if (n > 20 || errno == ERANGE) return 19;
    return (int32_t)(n - 1);
}

// An option name is never read as a number: "--perf-test --case BLACK" keeps both defaults.
static bool is_option(const char* text) { return std::strncmp(text, "--", 2) == 0; }

CmdLine cmdline_parse(int argc, char** argv) {
    CmdLine c = {};
    c.perf_test_secs = 10;
    c.perf_test_floor = 14;
    for (int i = 1; i < argc; i++) {
        const char* a = argv[i];
        bool has_next = i + 1 < argc;
        if (std::strcmp(a, "--case") == 0 && has_next) {
            c.case_name = argv[++i];
        } else if (std::strcmp(a, "--pal") == 0 && has_next) {
            c.pal_name = argv[++i];
        } else if (std::strcmp(a, "--perf-scene") == 0 && has_next) {
            // The value is left for the next pass, where it matches nothing.
            const char* v = argv[i + 1];
            c.perf_scene = std::strcmp(v, "stairs") == 0 ? SCENE_STAIRS : std::strcmp(v, "cases") == 0 ? SCENE_CASES : SCENE_WALK;
        } else if (std::strcmp(a, "--gpu-check") == 0) {
            c.gpu_check = 1;
        } else if (std::strcmp(a, "--perf-trace") == 0) {
            c.perf_trace = 1;
        } else if (std::strcmp(a, "--perf-test") == 0) {
            c.perf_test = 1;
            const bool secs_given = has_next && !is_option(argv[i + 1]);
            c.perf_test_secs = secs_given ? perf_seconds(argv[i + 1]) : 10;
            c.perf_test_floor = secs_given && i + 2 < argc && !is_option(argv[i + 2]) ? perf_floor(argv[i + 2]) : 14;
        }
    }
    return c;
}

bool cmdline_handheld(const char* steamdeck_env) { return steamdeck_env && steamdeck_env[0] == '1'; }
