// The F6 performance overlay, drawn over the view's top-left corner at the end of every frame's
// drawing: frame interval, work and the zone averages from the performance ring.
#include "render/perf_overlay.h"

#include <cstdio>

#include "render/draw.h"
#include "render/font.h"
#include "render/screen.h"
#include "telemetry/perf.h"

namespace {
constexpr int OVERLAY_HEIGHT = 84;
constexpr int ROW_STEP = 9;
// A frame that ran a step long (one 60 Hz step plus 1 ms) lights the frame line.
constexpr double FRAME_SLOW_MS = 17.667;
constexpr int ZONE_PAIRS[4][2] = {
    {ZONE_TICK, ZONE_RENDER}, {ZONE_VIEW, ZONE_SPRITES}, {ZONE_UI, ZONE_COMPOSE}, {ZONE_UPLOAD, ZONE_PRESENT}};
}  // namespace

void perf_overlay_draw() {
    if (!perf_overlay_on) return;
    const auto& v = screen_layout.view;
    screen_fill_rect(v.x0 + 2, v.y0 + 2, v.x1 - v.x0 - 3, OVERLAY_HEIGHT, 0);
    const int x = v.x0 + 4;
    char line[48];
    PerfStats frame = perf_frame_stats(), work = perf_work_stats();
    std::snprintf(line, sizeof line, "FRAME %.1f MAX %.1f", frame.avg, frame.max);
    text_draw(x, v.y0 + 3, line, frame.max > FRAME_SLOW_MS ? 3 : 2);
    std::snprintf(line, sizeof line, "WORK %.2f P99 %.2f", work.avg, work.p99);
    text_draw(x, v.y0 + 12, line, 2);
    for (int i = 0; i < 4; i++) {
        const int a = ZONE_PAIRS[i][0], b = ZONE_PAIRS[i][1];
        std::snprintf(line, sizeof line, "%.4s %.2f %.4s %.2f", perf_zone_name(a), perf_zone_stats(a).avg,
                      perf_zone_name(b), perf_zone_stats(b).avg);
        text_draw(x, v.y0 + 21 + i * ROW_STEP, line, 1);
    }
}
