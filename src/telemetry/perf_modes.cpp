// The perf test's scripted input per scene and its report with the verdict, and the gpu-check's
// picture comparison and PPM files. The frame loop asks for the input of each step; the platform's
// perf test and gpu-check hand over what they measured.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "saves/file_io.h"
#include "saves/save_path.h"
#include "telemetry/perf.h"
#include "world/buttons.h"

namespace {
constexpr int WALK_EVERY = 8;
constexpr uint8_t WALK_SCRIPT[12] = {BTN_UP, BTN_UP, BTN_UP,    BTN_LEFT, BTN_UP, BTN_UP,
                                     BTN_RIGHT, BTN_RIGHT, BTN_UP, BTN_UP, BTN_LEFT, BTN_UP};
constexpr int CASES_PERIOD = 16;
constexpr int STAIRS_PERIOD = 40;
// A frame is "off" when it missed 16.67 ms by more than 2 ms, "late" when it ran long.
constexpr double FRAME_LATE_MS = 18.667;
constexpr double FRAME_EARLY_MS = 14.667;
}  // namespace

uint8_t perf_script_input(int scene, int step) {
    if (step < 0) return 0;
    switch (scene) {
    case SCENE_CASES:
        return step % CASES_PERIOD == 0 ? BTN_DOWN : step % CASES_PERIOD == CASES_PERIOD / 2 ? BTN_UP : 0;
    case SCENE_STAIRS:
        return step % STAIRS_PERIOD == 0 ? BTN_LEFT : step % STAIRS_PERIOD == STAIRS_PERIOD / 2 ? BTN_RIGHT : 0;
    default:
        return step % WALK_EVERY == 0 ? WALK_SCRIPT[(step / WALK_EVERY) % 12] : 0;
    }
}

const char* perf_scene_report_name(int scene) {
    return scene == SCENE_STAIRS ? "stairs, turning" : scene == SCENE_CASES ? "unlocks, case colors" : "the walk";
}

bool perf_report_text(PerfReport& r, char* out, size_t size) {
    const int n = r.n > 0 ? r.n : 0;
    int off = 0, late = 0;
    double interval_sum = 0, work_sum = 0;
    for (int i = 0; i < n; i++) {
        if (r.intervals[i] > FRAME_LATE_MS) late++;
        if (r.intervals[i] > FRAME_LATE_MS || r.intervals[i] < FRAME_EARLY_MS) off++;
        interval_sum += r.intervals[i];
        work_sum += r.work[i];
    }
    if (n > 0) {
        std::qsort(r.intervals, (size_t)n, sizeof(double), cmp_double);
        std::qsort(r.work, (size_t)n, sizeof(double), cmp_double);
    }
    auto at = [n](const double* v, int k) { return n > 0 ? v[k] : 0.0; };
    const double iv_avg = n ? interval_sum / n : 0, wk_avg = n ? work_sum / n : 0;
    const bool locked = n > 0 && r.steps[0] == 0 && r.steps[2] == 0 && late * 100 < n;
    PerfStats tick = perf_zone_stats(ZONE_TICK), render = perf_zone_stats(ZONE_RENDER),
              compose = perf_zone_stats(ZONE_COMPOSE), upload = perf_zone_stats(ZONE_UPLOAD),
              present = perf_zone_stats(ZONE_PRESENT), view = perf_zone_stats(ZONE_VIEW);
    std::snprintf(
        out, size,
        "Quillmarch perf test: %s, %.0f s on floor %d, display %d Hz, %d frames\n"
        "  steps per frame   0: %d  1: %d  2+: %d\n"
        "  frame interval    avg %.2f  p50 %.2f  p99 %.2f  max %.2f ms   (target 16.67)\n"
        "  off by > 2 ms     %d (%.2f%%), late %d\n"
        "  work (tick..present, incl. vsync wait)  avg %.2f  p50 %.2f  p99 %.2f  max %.2f ms\n"
        "  zones (avg ms)    tick %.3f  render %.3f  compose %.3f  upload %.3f  present %.3f\n"
        "  zones (p99 ms)    tick %.3f  view %.3f  render %.3f  compose %.3f  upload %.3f\n"
        "  renderer          %s\n"
        "  verdict: %s\n",
        perf_scene_report_name(r.scene), r.seconds, r.floor_index + 1, r.display_hz, n, (int)r.steps[0],
        (int)r.steps[1], (int)r.steps[2], iv_avg, at(r.intervals, n / 2), at(r.intervals, n * 99 / 100),
        at(r.intervals, n - 1), off, n ? off * 100.0 / n : 0.0, late, wk_avg, at(r.work, n / 2),
        at(r.work, n * 99 / 100), at(r.work, n - 1), tick.avg, render.avg, compose.avg, upload.avg, present.avg,
        tick.p99, view.p99, render.p99, compose.p99, upload.p99, r.renderer ? r.renderer : "?",
        locked ? "LOCKED 60" : "NOT LOCKED");
    return locked;
}

void perf_write_frames_text(const char* what, const double* intervals, const double* work, const double* tick, int n,
                            char* out, size_t size) {
    int late = 0;
    double interval_max = 0, work_max = 0, tick_max = 0;
    for (int i = 0; i < n; i++) {
        if (intervals[i] > FRAME_LATE_MS) late++;
        interval_max = std::max(interval_max, intervals[i]);
        work_max = std::max(work_max, work[i]);
        tick_max = std::max(tick_max, tick[i]);
    }
    std::snprintf(out, size, "  %-17s in %d frames, %d late; their max interval %.2f  work %.2f  tick %.2f ms\n", what,
                  n, late, interval_max, work_max, tick_max);
}

size_t gpu_check_diff(const uint32_t* a, const uint32_t* b, size_t count, int* worst) {
    constexpr int SAME_WITHIN = 2;
    size_t differ = 0;
    int most = 0;
    for (size_t i = 0; i < count; i++) {
        int d = 0;
        for (int shift = 0; shift <= 16; shift += 8) {
            int c = std::abs((int)((a[i] >> shift) & 0xFF) - (int)((b[i] >> shift) & 0xFF));
            if (c > d) d = c;
        }
        if (d > SAME_WITHIN) differ++;
        if (d > most) most = d;
    }
    *worst = most;
    return differ;
}

bool ppm_write(const char* name, const uint32_t* pixels, int width, int height) {
    if (width <= 0 || height <= 0) {
        errno = EINVAL;
        return false;
    }
    FILE* f = file_open_regular(save_path(name), "wb");
    if (!f) return false;
    bool ok = std::fprintf(f, "P6 %d %d 255\n", width, height) > 0;
    for (size_t i = 0; ok && i < (size_t)width * height; i++) {
        const unsigned char rgb[3] = {(unsigned char)(pixels[i] >> 16), (unsigned char)(pixels[i] >> 8),
                                      (unsigned char)pixels[i]};
        ok = std::fwrite(rgb, 1, 3, f) == 3;
    }
    const int err = errno;
    const bool closed = std::fclose(f) == 0;
    if (!ok) errno = err;
    return ok && closed;
}
