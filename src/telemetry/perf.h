// Performance zones with their 120-frame ring, the F7 trace capture, the frame-time histograms
// sent as the "perf" event, and the perf-test's scripted input and report. The frame loop and the
// draw pass time their zones; the shell sets the clock.
#pragma once
#include <cstddef>
#include <cstdint>

enum PerfZone : int {
    ZONE_TICK = 0, ZONE_RENDER, ZONE_VIEW, ZONE_SPRITES, ZONE_COMBAT, ZONE_UI,
    ZONE_COMPOSE, ZONE_UPLOAD, ZONE_PRESENT, ZONE_COUNT
};

constexpr int PERF_RING_FRAMES = 120;
constexpr int TRACE_EVENTS_MAX = 19200;
constexpr int TRACE_FRAMES = 300;
constexpr int PERF_BANDS = 4;
constexpr int PERF_GAP_BINS = 128;   // 1 ms each
constexpr int PERF_WORK_BINS = 256;  // 0.1 ms each
// Sampled frames after which the histograms are sent and cleared (about five minutes).
constexpr uint32_t PERF_SAMPLES_PER_EVENT = 18000;

extern uint8_t perf_overlay_on;
// Set when a trace capture was written; the tick turns it into a toast.
extern uint8_t perf_trace_saved;

struct PerfStats {
    double last, avg, max, p99;
};

// The high-resolution counter and its ticks per second; until set, the monotonic clock in ns.
void perf_clock_set(uint64_t (*counter)(), uint64_t frequency);
double perf_now_ms();
const char* perf_zone_name(int zone);

void perf_begin(int zone);
void perf_end(int zone);
// Once per drawn frame after presenting: the zone totals go into the ring.
void perf_frame_end();
PerfStats perf_zone_stats(int zone);
PerfStats perf_frame_stats();
PerfStats perf_work_stats();
// Statistics of n values (last = values[last_index]).
PerfStats perf_series_stats(const double* values, int n, int last_index);
// Forgets the ring, the zones and any capture (tests, and a new perf test).
void perf_reset();

void perf_trace_start();
bool perf_trace_active();

// What the "perf" event says about the picture: names of the case colour and palette, ghosting
// level, screen effect and case model. The frame loop notes them before each sample.
void perf_display_note(const char* case_name, const char* palette_name, int ghost, int fx, int form);
// Once per drawn frame: the gap since the last drawn frame, its work and the steps it ran.
void perf_frame_sample(double gap_ms, double work_ms, int steps);
// Builds and queues the "perf" event from the histograms (60 frames at least), then clears them.
void perf_event();
uint32_t perf_samples_total();

// The perf test and gpu-check scenes.
enum PerfScene : int32_t { SCENE_WALK = 0, SCENE_STAIRS = 1, SCENE_CASES = 2 };
// The input byte of a scripted step in the scene.
uint8_t perf_script_input(int scene, int step);
const char* perf_scene_report_name(int scene);
int cmp_double(const void* a, const void* b);

// Everything the perf-test report says; the platform fills what it measured.
struct PerfReport {
    int scene;
    double seconds;
    int floor_index;
    int display_hz;
    double* intervals;  // sorted in place by perf_report_text
    double* work;
    int n;
    uint32_t steps[3];  // frames that ran 0, 1, 2+ steps
    const char* renderer;
};
// Writes the report text into out (at most size - 1 characters); returns true for "LOCKED 60".
bool perf_report_text(PerfReport& r, char* out, size_t size);
// One line on sampled frames of one kind (their interval, work and steps' time, n of each), apart
// from the report: how many ran late and the longest of each. `what` names the kind: "file writes",
// the frames that held one, or "handed to writer", those that gave one to the writer's thread.
void perf_write_frames_text(const char* what, const double* intervals, const double* work, const double* tick, int n,
                            char* out, size_t size);

// Pixels of two ARGB pictures whose largest red, green or blue difference exceeds 2; *worst gets
// the largest channel difference seen.
size_t gpu_check_diff(const uint32_t* a, const uint32_t* b, size_t count, int* worst);
// A binary PPM of ARGB pixels in the save folder; false (errno set) when it cannot be written.
bool ppm_write(const char* name, const uint32_t* pixels, int width, int height);
