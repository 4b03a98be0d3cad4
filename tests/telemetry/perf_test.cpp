// Performance zones on a clock the test moves, the trace capture, the play histograms and their
// "perf" event, the perf-test report's verdict, and the gpu-check's comparison and PPM files.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "saves/settings.h"
#include "support/telemetry_consent.h"
#include "support/temp_save_dir.h"
#include "telemetry/events.h"
#include "telemetry/perf.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

uint64_t fake_ticks = 0;  // microseconds
uint64_t fake_counter() { return fake_ticks; }
void advance_ms(double ms) { fake_ticks += (uint64_t)(ms * 1000); }

struct PerfTest : ::testing::Test {
    TempSaveDir tmp;
    TelemetryConsent consent;
    void SetUp() override {
        fake_ticks = 1000000;
        perf_clock_set(fake_counter, 1000000);
        perf_reset();
        perf_event();  // clears the histograms
        game_state = STATE_DUNGEON;
        current_floor = 0;
    }
    void TearDown() override {
        perf_reset();
        perf_event();
        perf_clock_set(nullptr, 0);
        game_state = 0;
        current_floor = 0;
    }
    // One frame: 1 ms of tick, 3 of render with 2 of view inside, then the frame ends after `gap`.
    void frame(double gap) {
        perf_begin(ZONE_TICK);
        advance_ms(1);
        perf_end(ZONE_TICK);
        perf_begin(ZONE_RENDER);
        perf_begin(ZONE_VIEW);
        advance_ms(2);
        perf_end(ZONE_VIEW);
        advance_ms(1);
        perf_end(ZONE_RENDER);
        advance_ms(gap - 4);
        perf_frame_end();
    }
};

TEST_F(PerfTest, ZonesFillTheRingAndUnbegunZonesAddNothing) {
    perf_end(ZONE_UI);  // never begun
    for (int i = 0; i < 10; i++) frame(16);
    EXPECT_DOUBLE_EQ(perf_zone_stats(ZONE_TICK).avg, 1.0);
    EXPECT_DOUBLE_EQ(perf_zone_stats(ZONE_RENDER).avg, 3.0);
    EXPECT_DOUBLE_EQ(perf_zone_stats(ZONE_VIEW).avg, 2.0);
    EXPECT_DOUBLE_EQ(perf_zone_stats(ZONE_UI).max, 0.0);
    EXPECT_DOUBLE_EQ(perf_work_stats().last, 4.0);  // the nested view is not counted twice
    // The first frame has no interval; the other nine were 16 ms.
    PerfStats f = perf_frame_stats();
    EXPECT_DOUBLE_EQ(f.last, 16.0);
    EXPECT_DOUBLE_EQ(f.max, 16.0);
    EXPECT_DOUBLE_EQ(f.avg, 14.4);
    EXPECT_STREQ(perf_zone_name(9), "?");
}

TEST_F(PerfTest, RingStatisticsKeepTheLast120Frames) {
    for (int i = 0; i < 200; i++) frame(i == 100 ? 40 : 17);
    PerfStats f = perf_frame_stats();
    EXPECT_DOUBLE_EQ(f.max, 40.0);
    EXPECT_DOUBLE_EQ(f.p99, 17.0);  // element 118 of 120 sorted: one slow frame is not the p99
    for (int i = 0; i < 120; i++) frame(17);
    EXPECT_DOUBLE_EQ(perf_frame_stats().max, 17.0);
    double values[5] = {5, 1, 4, 2, 3};
    PerfStats s = perf_series_stats(values, 5, 2);
    EXPECT_DOUBLE_EQ(s.last, 4);
    EXPECT_DOUBLE_EQ(s.avg, 3);
    EXPECT_DOUBLE_EQ(s.p99, 5);  // min(5 * 99 / 100, 4) = 4: the largest
    EXPECT_DOUBLE_EQ(perf_series_stats(values, 0, 0).max, 0);
}

TEST_F(PerfTest, TraceCaptureWritesAfterExactly300FramesAndIgnoresASecondStart) {
    perf_trace_start();
    ASSERT_TRUE(perf_trace_active());
    for (int i = 0; i < 299; i++) {
        frame(16);
        if (i == 10) perf_trace_start();
    }
    EXPECT_TRUE(perf_trace_active());
    EXPECT_FALSE(tmp.exists("trace.json"));
    frame(16);
    EXPECT_FALSE(perf_trace_active());
    EXPECT_EQ(perf_trace_saved, 1);
    auto j = nlohmann::json::parse(tmp.read("trace.json"));
    auto& ev = j["traceEvents"];
    ASSERT_EQ(ev.size(), 900u);  // three zones a frame
    EXPECT_EQ(ev[0]["name"], "TICK");
    EXPECT_EQ(ev[0]["tid"], 1);
    EXPECT_EQ(ev[0]["ph"], "X");
    EXPECT_DOUBLE_EQ(ev[0]["ts"].get<double>(), 0.0);
    EXPECT_DOUBLE_EQ(ev[0]["dur"].get<double>(), 1000.0);
    EXPECT_EQ(ev[1]["name"], "VIEW");
    EXPECT_EQ(ev[1]["tid"], 2);
    EXPECT_DOUBLE_EQ(ev[3]["ts"].get<double>(), 16000.0);
}

TEST_F(PerfTest, HistogramsSampleOnlyPlayAndNeedSixtyFrames) {
    game_state = STATE_TITLE;
    for (int i = 0; i < 100; i++) perf_frame_sample(16.7, 2.0, 1);
    EXPECT_EQ(perf_samples_total(), 0u);
    game_state = STATE_DUNGEON;
    for (int i = 0; i < 59; i++) perf_frame_sample(16.7, 2.0, 1);
    perf_event();
    EXPECT_FALSE(tmp.exists("events_outbox.jsonl"));
    EXPECT_EQ(perf_samples_total(), 0u);  // cleared all the same
}

TEST_F(PerfTest, PerfEventNamesBandsAndQuantiles) {
    perf_display_note("SOLID GREEN", "AMBER", 2, 1, 1);
    current_floor = 34;  // floor 35: the open-ended band
    for (int i = 0; i < 98; i++) perf_frame_sample(16.7, 2.05, 1);
    perf_frame_sample(0, 0.0, 0);
    perf_frame_sample(300, 99.0, 3);
    game_state = STATE_CAMP;
    current_floor = 2;
    for (int i = 0; i < 10; i++) perf_frame_sample(-1, -1, 1);
    perf_event();
    const std::string line = tmp.read("events_outbox.jsonl");
    ASSERT_FALSE(line.empty());
    auto j = nlohmann::json::parse(line);
    EXPECT_EQ(j["kind"], "perf");
    auto& d = j["data"];
    EXPECT_EQ(d["case"], "SOLID GREEN");
    EXPECT_EQ(d["pal"], "AMBER");
    EXPECT_EQ(d["ghost"], 2);
    ASSERT_EQ(d["bands"].size(), 2u);
    EXPECT_EQ(d["bands"][0]["floors"], "1-10");
    EXPECT_EQ(d["bands"][0]["gap50"], 0);
    auto& b = d["bands"][1];
    EXPECT_EQ(b["floors"], "31-");
    EXPECT_EQ(b["frames"], 100);
    EXPECT_EQ(b["gap50"], 16);
    EXPECT_EQ(b["gap99"], 127);  // the 300 ms gap lands in the last bin
    EXPECT_DOUBLE_EQ(b["work50"].get<double>(), 2.0);
    EXPECT_DOUBLE_EQ(b["work99"].get<double>(), 25.5);
    EXPECT_EQ(b["held"], 1);
    EXPECT_EQ(b["skipped"], 1);
    EXPECT_EQ(perf_samples_total(), 0u);
}

TEST_F(PerfTest, ScriptedInputPerScene) {
    EXPECT_EQ(perf_script_input(SCENE_WALK, 0), BTN_UP);
    EXPECT_EQ(perf_script_input(SCENE_WALK, 1), 0);
    EXPECT_EQ(perf_script_input(SCENE_WALK, 24), BTN_LEFT);
    EXPECT_EQ(perf_script_input(SCENE_WALK, 48), BTN_RIGHT);
    EXPECT_EQ(perf_script_input(SCENE_WALK, 96), BTN_UP);  // the 12-entry script starts over
    EXPECT_EQ(perf_script_input(SCENE_CASES, 32), BTN_DOWN);
    EXPECT_EQ(perf_script_input(SCENE_CASES, 8), BTN_UP);
    EXPECT_EQ(perf_script_input(SCENE_STAIRS, 40), BTN_LEFT);
    EXPECT_EQ(perf_script_input(SCENE_STAIRS, 20), BTN_RIGHT);
    EXPECT_EQ(perf_script_input(SCENE_STAIRS, 21), 0);
}

TEST_F(PerfTest, ReportVerdictNeedsEveryFrameOnOneStepAndFewLateFrames) {
    std::vector<double> iv(180, 16.67), wk(180, 3.0);
    iv[5] = 19.0;  // one late frame in 180 is under 1 %
    PerfReport r = {.scene = SCENE_STAIRS, .seconds = 3, .floor_index = 14, .display_hz = 60,
                    .intervals = iv.data(), .work = wk.data(), .n = 180, .steps = {0, 180, 0},
                    .renderer = "software, vsync"};
    char text[1600];
    EXPECT_TRUE(perf_report_text(r, text, sizeof text));
    std::string s = text;
    EXPECT_EQ(s.rfind("Quillmarch perf test: stairs, turning, 3 s on floor 15, display 60 Hz, 180 frames\n", 0), 0u);
    EXPECT_NE(s.find("  off by > 2 ms     1 (0.56%), late 1\n"), std::string::npos);
    EXPECT_NE(s.find("max 19.00 ms   (target 16.67)"), std::string::npos);
    EXPECT_NE(s.find("  renderer          software, vsync\n  verdict: LOCKED 60\n"), std::string::npos);

    r.steps[1] = 179;
    r.steps[2] = 1;  // one frame ran two steps
    EXPECT_FALSE(perf_report_text(r, text, sizeof text));
    EXPECT_NE(std::string(text).find("verdict: NOT LOCKED"), std::string::npos);
    r.n = 0;
    r.steps[2] = 0;
    EXPECT_FALSE(perf_report_text(r, text, sizeof text));  // no frames measured holds nothing
}

TEST_F(PerfTest, GpuCheckDiffAndPpm) {
    const uint32_t a[4] = {0xFF102030, 0xFF000000, 0x00FFFFFF, 0xFF808080};
    const uint32_t b[4] = {0x00112231, 0xFF000003, 0xFFFFFFFF, 0xFF807F90};
    int worst = 0;
    EXPECT_EQ(gpu_check_diff(a, b, 4, &worst), 2u);  // alpha is not compared; 3 and 16 are over 2
    EXPECT_EQ(worst, 16);
    ppm_write("t.ppm", a, 2, 2);
    const std::string p = tmp.read("t.ppm");
    ASSERT_EQ(p.size(), 11u + 12u);
    EXPECT_EQ(p.substr(0, 11), "P6 2 2 255\n");
    EXPECT_EQ(p.substr(11, 3), std::string("\x10\x20\x30", 3));
    EXPECT_EQ(p.substr(17, 3), std::string("\xFF\xFF\xFF", 3));  // alpha is dropped
}

}  // namespace
