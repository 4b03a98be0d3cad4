// Frame-time histograms of play, per band of ten floors: gaps between drawn frames and the work
// of each, sent as the "perf" event every 18000 sampled frames, at the end of a run and of the
// session. Sampled by the frame loop once per drawn frame.
#include <cstdio>
#include <cstring>

#include "telemetry/events.h"
#include "telemetry/perf.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {
constexpr int PERF_EVENT_MIN_FRAMES = 60;
constexpr int PERF_EVENT_MAX = 1200;
constexpr int FLOORS_PER_BAND = 10;

uint32_t perf_gap_hist[PERF_BANDS][PERF_GAP_BINS];
uint32_t perf_work_hist[PERF_BANDS][PERF_WORK_BINS];
uint32_t band_frames[PERF_BANDS];
uint32_t band_held[PERF_BANDS];
uint32_t band_skipped[PERF_BANDS];
uint32_t samples_total = 0;

char display_case[32] = "";
char display_palette[32] = "";
int display_ghost = 0, display_fx = 0, display_form = 0;

void hist_clear() {
    std::memset(perf_gap_hist, 0, sizeof perf_gap_hist);
    std::memset(perf_work_hist, 0, sizeof perf_work_hist);
    std::memset(band_frames, 0, sizeof band_frames);
    std::memset(band_held, 0, sizeof band_held);
    std::memset(band_skipped, 0, sizeof band_skipped);
    samples_total = 0;
}

// The first bin whose running count passes trunc(frames x q).
int quantile_bin(const uint32_t* bins, int count, uint32_t frames, double q) {
    uint64_t target = (uint64_t)((double)frames * q);
    uint64_t run = 0;
    for (int b = 0; b < count; b++) {
        run += bins[b];
        if (run > target) return b;
    }
    return count - 1;
}
}  // namespace

void perf_display_note(const char* case_name, const char* palette_name, int ghost, int fx, int form) {
    json_escape(display_case, sizeof display_case, case_name);
    json_escape(display_palette, sizeof display_palette, palette_name);
    display_ghost = ghost;
    display_fx = fx;
    display_form = form;
}

uint32_t perf_samples_total() { return samples_total; }

void perf_frame_sample(double gap_ms, double work_ms, int steps) {
    if (game_state != STATE_DUNGEON && game_state != STATE_COMBAT && game_state != STATE_CAMP) return;
    int band = current_floor / FLOORS_PER_BAND;
    band = band < 0 ? 0 : band >= PERF_BANDS ? PERF_BANDS - 1 : band;
    int gap_bin = gap_ms > 0 ? (gap_ms >= PERF_GAP_BINS ? PERF_GAP_BINS - 1 : (int)gap_ms) : 0;
    double tenths = 10 * work_ms;
    int work_bin = tenths > 0 ? (tenths >= PERF_WORK_BINS ? PERF_WORK_BINS - 1 : (int)tenths) : 0;
    perf_gap_hist[band][gap_bin]++;
    perf_work_hist[band][work_bin]++;
    band_frames[band]++;
    if (steps == 0) band_held[band]++;
    if (steps >= 2) band_skipped[band]++;
    samples_total++;
    if (samples_total >= PERF_SAMPLES_PER_EVENT) perf_event();
}

void perf_event() {
    if (samples_total < PERF_EVENT_MIN_FRAMES) {
        hist_clear();
        return;
    }
    static const char* const BAND_END[PERF_BANDS] = {"10", "20", "30", ""};
    char data[PERF_EVENT_MAX];
    size_t pos = 0;
    buf_appendf(data, sizeof data, &pos, "{\"case\":\"%s\",\"pal\":\"%s\",\"ghost\":%d,\"fx\":%d,\"form\":%d,\"bands\":[",
                display_case, display_palette, display_ghost, display_fx, display_form);
    const char* sep = "";
    for (int b = 0; b < PERF_BANDS; b++) {
        uint32_t n = band_frames[b];
        if (n == 0) continue;
        buf_appendf(data, sizeof data, &pos,
                    "%s{\"floors\":\"%d-%s\",\"frames\":%u,\"gap50\":%d,\"gap99\":%d,\"work50\":%.1f,\"work99\":%.1f,"
                    "\"held\":%u,\"skipped\":%u}",
                    sep, b * FLOORS_PER_BAND + 1, BAND_END[b], n, quantile_bin(perf_gap_hist[b], PERF_GAP_BINS, n, 0.5),
                    quantile_bin(perf_gap_hist[b], PERF_GAP_BINS, n, 0.99),
                    quantile_bin(perf_work_hist[b], PERF_WORK_BINS, n, 0.5) / 10.0,
                    quantile_bin(perf_work_hist[b], PERF_WORK_BINS, n, 0.99) / 10.0, band_held[b], band_skipped[b]);
        sep = ",";
    }
    buf_appendf(data, sizeof data, &pos, "]}");
    hist_clear();
    if (pos > PERF_EVENT_MAX - 2 || !telemetry_enabled()) return;
    event_append("perf", data);
}
