// The perf test (a timed scripted scene and its report) and the gpu-check (the GPU picture against
// the CPU one). Called by the frame loop; the shell prepares both from the command line.
#include "platform/dev_modes.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/compose.h"
#include "platform/compose_paths.h"
#include "platform/frame_loop.h"
#include "platform/shell.h"
#include "saves/file_io.h"
#include "saves/save_path.h"
#include "telemetry/file_writer.h"
#include "telemetry/perf.h"

uint8_t dev_mode_file_failed = 0;

namespace {
constexpr double WARM_UP_MS = 1000;  // frames of the first second are not sampled
constexpr size_t REPORT_MAX = 1600;
constexpr int RENDERER_TEXT = 48;

double test_start_ms = 0, test_last_ms = 0;
int32_t test_count = 0;
uint32_t test_steps[3] = {};
// The sampled frames whose steps replaced a file: a write that stalls play shows as a late one here.
// Those that only handed a write to the writer's thread are kept apart: they held none.
constexpr int WRITE_FRAMES_MAX = 64;
struct FramesOfAKind {
    double intervals[WRITE_FRAMES_MAX], work[WRITE_FRAMES_MAX], tick[WRITE_FRAMES_MAX];
    int32_t n;
};
FramesOfAKind write_frames, handed_frames;
uint32_t writes_seen = 0;
unsigned handed_seen = 0;

void frame_of_a_kind(FramesOfAKind& k, double interval, double work) {
    if (k.n >= WRITE_FRAMES_MAX) return;
    k.intervals[k.n] = interval;
    k.work[k.n] = work;
    k.tick[k.n] = perf_zone_stats(ZONE_TICK).last;  // the steps, the write or the hand-over among them
    k.n++;
}

void perf_test_report(FrameLoop& fl) {
    char renderer[RENDERER_TEXT] = "?";
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(fl.renderer, &info) == 0)
        std::snprintf(renderer, sizeof renderer, "%s, %s", info.name ? info.name : "?",
                      info.flags & SDL_RENDERER_PRESENTVSYNC ? "vsync" : "no vsync");
    SDL_DisplayMode mode = {};
    int hz = SDL_GetWindowDisplayMode(fl.window, &mode) == 0 ? mode.refresh_rate : 0;
    PerfReport r = {.scene = perf_scene, .seconds = perf_test_secs, .floor_index = perf_test_floor,
                    .display_hz = hz, .intervals = perf_test_samples[0], .work = perf_test_samples[1],
                    .n = test_count, .steps = {test_steps[0], test_steps[1], test_steps[2]}, .renderer = renderer};
    char text[REPORT_MAX];
    bool locked = perf_report_text(r, text, sizeof text);
    std::fputs(text, stdout);
    std::fflush(stdout);
    // The frames that held a file write go on standard error, so the report keeps its own form.
    char writes[REPORT_MAX];
    for (const FramesOfAKind* k : {&write_frames, &handed_frames}) {
        perf_write_frames_text(k == &write_frames ? "file writes" : "handed to writer", k->intervals, k->work, k->tick,
                               k->n, writes, sizeof writes);
        std::fputs(writes, stderr);
    }
    // The report kept is what a script reads after the run: one that could not be written fails it.
    FILE* f = file_open_regular(save_path("perf_report.txt"), "w");
    int err = f ? 0 : errno;
    if (f && std::fputs(text, f) < 0) err = errno;
    if (f && std::fclose(f) != 0 && !err) err = errno;
    if (err) {
        std::fprintf(stderr, "perf-test: could not write perf_report.txt: %s\n", std::strerror(err));
        dev_mode_file_failed = 1;
    }
    perf_test_verdict = locked ? 1 : 0;
}
}  // namespace

void perf_test_frame(FrameLoop& fl, uint64_t frame_counter, int steps) {
    if (!perf_test_on) return;
    double now = perf_now_ms();
    const uint32_t writes = file_writes_done();
    const bool wrote = writes != writes_seen;
    writes_seen = writes;
    const unsigned handed = file_writer_handed();
    const bool handed_over = handed != handed_seen;
    handed_seen = handed;
    if (test_start_ms == 0) {
        test_start_ms = test_last_ms = now;
        return;
    }
    if (now - test_start_ms > WARM_UP_MS && perf_trace_on && !perf_trace_active()) {
        perf_trace_start();
        perf_trace_on = 0;
    }
    if (now - test_start_ms > WARM_UP_MS && test_count < perf_test_capacity) {
        double ms_per_tick = fl.frequency ? 1000.0 / (double)fl.frequency : 0;
        perf_test_samples[0][test_count] = now - test_last_ms;
        perf_test_samples[1][test_count] = (double)(SDL_GetPerformanceCounter() - frame_counter) * ms_per_tick;
        if (wrote) frame_of_a_kind(write_frames, perf_test_samples[0][test_count], perf_test_samples[1][test_count]);
        if (handed_over)
            frame_of_a_kind(handed_frames, perf_test_samples[0][test_count], perf_test_samples[1][test_count]);
        test_count++;
        test_steps[steps <= 0 ? 0 : steps == 1 ? 1 : 2]++;
    }
    test_last_ms = now;
    if (now - test_start_ms > (perf_test_secs + 1) * 1000) {
        perf_test_report(fl);
        test_start_ms = test_last_ms = 0;
        test_count = write_frames.n = handed_frames.n = 0;
        test_steps[0] = test_steps[1] = test_steps[2] = 0;
        perf_test_on = 0;
        fl.running = 0;
    }
}

void gpu_check_frame(FrameLoop& fl, uint8_t pressed_bits) {
    if (gpu_check_countdown <= 0) return;
    if (--gpu_check_countdown > 0) return;
    bool pass = false;
    // The GPU path leaves its render target as the picture; the CPU path the streaming texture.
    if (compose_source && compose_source != fl.texture) {
        ComposeGeometry g = compose_geometry();
        size_t count = (size_t)g.width * (size_t)g.height;
        uint32_t* gpu = (uint32_t*)std::calloc(count, sizeof(uint32_t));
        uint32_t* cpu = (uint32_t*)std::calloc(count, sizeof(uint32_t));
        if (gpu && cpu) {
            SDL_Texture* before = SDL_GetRenderTarget(fl.renderer);
            SDL_SetRenderTarget(fl.renderer, compose_source);
            SDL_Rect area = {0, 0, g.width, g.height};
            bool read = SDL_RenderReadPixels(fl.renderer, &area, SDL_PIXELFORMAT_ARGB8888, gpu, g.width * 4) == 0;
            const char* read_text = read ? "ok" : SDL_GetError();
            SDL_SetRenderTarget(fl.renderer, before);
            compose_window_cpu(cpu, pressed_bits);
            int worst = 0;
            size_t differ = gpu_check_diff(gpu, cpu, count, &worst);
            std::printf("gpu-check: read %s, %dx%d, %zu pixels differ by > 2 (%.3f%%), worst channel difference %d\n",
                        read_text, g.width, g.height, differ, count ? differ * 100.0 / (double)count : 0.0, worst);
            std::fflush(stdout);
            const struct {
                const char* name;
                const uint32_t* pixels;
            } pictures[] = {{"gpu_check_gpu.ppm", gpu}, {"gpu_check_cpu.ppm", cpu}};
            for (const auto& p : pictures) {
                if (ppm_write(p.name, p.pixels, g.width, g.height)) continue;
                std::fprintf(stderr, "gpu-check: could not write %s: %s\n", p.name, std::strerror(errno));
                dev_mode_file_failed = 1;
            }
            pass = read && differ * 1000 < count;
        }
        std::free(gpu);
        std::free(cpu);
    } else {
        std::printf("gpu-check: no GPU picture (CPU path in use)\n");
        std::fflush(stdout);
    }
    perf_test_verdict = pass ? 1 : 0;
    fl.running = 0;
}
