// Performance zones: per-frame zone totals into a 120-frame ring for the overlay and the perf
// test, and the F7 capture of 300 frames of zone intervals into trace.json. Main thread only.
#include "telemetry/perf.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "saves/file_io.h"
#include "saves/save_path.h"

uint8_t perf_overlay_on = 0;
uint8_t perf_trace_saved = 0;

namespace {
// One row per zone; the lane is the trace's thread row, and the zones nested inside RENDER get their own.
struct ZoneRow {
    const char* name;
    uint8_t lane;
};
const ZoneRow PERF_ZONES[ZONE_COUNT] = {
    {.name = "TICK", .lane = 0},     // ZONE_TICK
    {.name = "RENDER", .lane = 0},   // ZONE_RENDER
    {.name = "VIEW", .lane = 1},     // ZONE_VIEW
    {.name = "SPRITES", .lane = 1},  // ZONE_SPRITES
    {.name = "COMBAT", .lane = 1},   // ZONE_COMBAT
    {.name = "UI", .lane = 1},       // ZONE_UI
    {.name = "COMPOSE", .lane = 0},  // ZONE_COMPOSE
    {.name = "UPLOAD", .lane = 0},   // ZONE_UPLOAD
    {.name = "PRESENT", .lane = 0},  // ZONE_PRESENT
};
constexpr int SERIES_WORK = ZONE_COUNT;
constexpr int SERIES_FRAME = ZONE_COUNT + 1;

struct TraceEvent {
    uint8_t zone;
    double start, end;
};

uint64_t (*perf_counter)() = nullptr;
double perf_ms_per_tick = 0;

double zone_start[ZONE_COUNT];
double zone_total[ZONE_COUNT];
double perf_ring[ZONE_COUNT + 2][PERF_RING_FRAMES];
int ring_index = 0;
int ring_fill = 0;
double last_frame_end = 0;

TraceEvent* trace_events = nullptr;
int trace_count = 0;
int trace_frames_left = 0;
double trace_start_ms = 0;

void trace_write() {
    FILE* f = file_open_regular(save_path("trace.json"), "w");
    if (f) {
        std::fputs("{\"traceEvents\":[\n", f);
        for (int i = 0; i < trace_count; i++) {
            const TraceEvent& e = trace_events[i];
            std::fprintf(f, "%s{\"name\":\"%s\",\"ph\":\"X\",\"pid\":1,\"tid\":%d,\"ts\":%.3f,\"dur\":%.3f}\n",
                         i ? "," : "", PERF_ZONES[e.zone].name, PERF_ZONES[e.zone].lane + 1,
                         (e.start - trace_start_ms) * 1000, (e.end - e.start) * 1000);
        }
        std::fputs("]}\n", f);
        std::fclose(f);
        perf_trace_saved = 1;
    }
    std::free(trace_events);
    trace_events = nullptr;
    trace_count = 0;
    trace_frames_left = 0;
}
}  // namespace

int cmp_double(const void* a, const void* b) {
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y ? 1 : 0;
}

void perf_clock_set(uint64_t (*counter)(), uint64_t frequency) {
    perf_counter = frequency ? counter : nullptr;
    perf_ms_per_tick = frequency ? 1000.0 / (double)frequency : 0;
}

double perf_now_ms() {
    if (perf_counter) return (double)perf_counter() * perf_ms_per_tick;
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec * 1000.0 + (double)ts.tv_nsec / 1e6;
}

const char* perf_zone_name(int zone) { return zone >= 0 && zone < ZONE_COUNT ? PERF_ZONES[zone].name : "?"; }

void perf_begin(int zone) {
    if (zone < 0 || zone >= ZONE_COUNT) return;
    zone_start[zone] = perf_now_ms();
}

void perf_end(int zone) {
    if (zone < 0 || zone >= ZONE_COUNT || zone_start[zone] == 0) return;
    double now = perf_now_ms();
    zone_total[zone] += now - zone_start[zone];
    if (trace_events && trace_count < TRACE_EVENTS_MAX) trace_events[trace_count++] = {(uint8_t)zone, zone_start[zone], now};
    zone_start[zone] = 0;
}

void perf_frame_end() {
    for (int z = 0; z < ZONE_COUNT; z++) {
        perf_ring[z][ring_index] = zone_total[z];
        zone_total[z] = 0;
    }
    perf_ring[SERIES_WORK][ring_index] = perf_ring[ZONE_TICK][ring_index] + perf_ring[ZONE_RENDER][ring_index] +
                                         perf_ring[ZONE_COMPOSE][ring_index] + perf_ring[ZONE_UPLOAD][ring_index] +
                                         perf_ring[ZONE_PRESENT][ring_index];
    double now = perf_now_ms();
    perf_ring[SERIES_FRAME][ring_index] = last_frame_end != 0 ? now - last_frame_end : 0;
    last_frame_end = now;
    ring_index = (ring_index + 1) % PERF_RING_FRAMES;
    if (ring_fill < PERF_RING_FRAMES) ring_fill++;

    if (trace_events) {
        trace_frames_left--;
        if (trace_frames_left <= 0) trace_write();
    }
}

PerfStats perf_series_stats(const double* values, int n, int last_index) {
    PerfStats s = {};
    if (n <= 0) return s;
    double sorted[PERF_RING_FRAMES];
    if (n > PERF_RING_FRAMES) n = PERF_RING_FRAMES;
    double sum = 0;
    for (int i = 0; i < n; i++) {
        sorted[i] = values[i];
        sum += values[i];
        if (values[i] > s.max) s.max = values[i];
    }
    std::qsort(sorted, (size_t)n, sizeof(double), cmp_double);
    s.last = values[last_index];
    s.avg = sum / n;
    int k = n * 99 / 100;
    s.p99 = sorted[k < n - 1 ? k : n - 1];
    return s;
}

static PerfStats ring_stats(int series) {
    return perf_series_stats(perf_ring[series], ring_fill, (ring_index + PERF_RING_FRAMES - 1) % PERF_RING_FRAMES);
}

PerfStats perf_zone_stats(int zone) { return zone >= 0 && zone < ZONE_COUNT ? ring_stats(zone) : PerfStats{}; }
PerfStats perf_frame_stats() { return ring_stats(SERIES_FRAME); }
PerfStats perf_work_stats() { return ring_stats(SERIES_WORK); }

void perf_reset() {
    for (int z = 0; z < ZONE_COUNT; z++) zone_start[z] = zone_total[z] = 0;
    for (auto& series : perf_ring)
        for (double& v : series) v = 0;
    ring_index = ring_fill = 0;
    last_frame_end = 0;
    std::free(trace_events);
    trace_events = nullptr;
    trace_count = trace_frames_left = 0;
    perf_trace_saved = 0;
}

void perf_trace_start() {
    if (trace_events) return;
    trace_events = (TraceEvent*)std::malloc(sizeof(TraceEvent) * TRACE_EVENTS_MAX);
    if (!trace_events) return;
    trace_count = 0;
    trace_frames_left = TRACE_FRAMES;
    trace_start_ms = perf_now_ms();
}

bool perf_trace_active() { return trace_events != nullptr; }
