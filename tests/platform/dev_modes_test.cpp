// The perf test's sampling window, capacity and report, and the gpu-check's countdown, on a clock
// the test moves and without a window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/dev_modes.h"
#include "platform/frame_loop.h"
#include "platform/shell.h"
#include "support/temp_save_dir.h"
#include "telemetry/perf.h"

namespace {

uint64_t fake_us = 0;
uint64_t fake_counter() { return fake_us; }

struct DevModesTest : ::testing::Test {
    TempSaveDir tmp;
    FrameLoop fl = {};
    double intervals[64] = {}, work[64] = {};
    void SetUp() override {
        fake_us = 5000000;
        perf_clock_set(fake_counter, 1000000);
        perf_reset();
        fl.running = 1;
        fl.frequency = 1000000;
        perf_test_on = 1;
        perf_test_verdict = 0;
        perf_test_secs = 2;
        perf_test_floor = 14;
        perf_scene = SCENE_WALK;
        perf_test_samples[0] = intervals;
        perf_test_samples[1] = work;
        perf_test_capacity = 64;
    }
    void TearDown() override {
        perf_test_on = 0;
        perf_test_samples[0] = perf_test_samples[1] = nullptr;
        perf_test_capacity = 0;
        gpu_check_countdown = 0;
        perf_reset();
        perf_clock_set(nullptr, 0);
    }
};

TEST_F(DevModesTest, PerfTestSkipsTheFirstSecondStopsAtCapacityAndReportsAtTheEnd) {
    testing::internal::CaptureStdout();
    int frames = 0;
    while (fl.running && frames < 1000) {
        perf_test_frame(fl, 0, frames == 150 ? 2 : 1);
        fake_us += 16667;
        frames++;
    }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(fl.running, 0);
    EXPECT_EQ(perf_test_on, 0);
    EXPECT_GE(frames, 180);   // three seconds of frames: the warm-up, then the two measured
    EXPECT_LE(frames, 182);
    // 64 samples fit; the frame of two steps came after them and is not counted.
    EXPECT_NE(out.find(", 64 frames\n"), std::string::npos) << out;
    EXPECT_NE(out.find("  steps per frame   0: 0  1: 64  2+: 0\n"), std::string::npos);
    EXPECT_EQ(tmp.read("perf_report.txt"), out);
    EXPECT_EQ(perf_test_verdict, 1);  // a steady 16.67 ms with one step each holds 60
}

TEST_F(DevModesTest, AFrameOfTwoStepsInTheWindowFailsTheVerdict) {
    testing::internal::CaptureStdout();
    for (int f = 0; fl.running && f < 1000; f++) {
        perf_test_frame(fl, 0, f == 70 ? 2 : 1);
        fake_us += 16667;
    }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("verdict: NOT LOCKED"), std::string::npos);
    EXPECT_EQ(perf_test_verdict, 0);
}

TEST_F(DevModesTest, GpuCheckWithoutAGpuPictureFailsAfterItsLastFrame) {
    perf_test_on = 0;
    gpu_check_countdown = 90;
    testing::internal::CaptureStdout();
    for (int f = 0; f < 89; f++) gpu_check_frame(fl, 0);
    EXPECT_EQ(fl.running, 1);
    perf_test_verdict = 1;
    gpu_check_frame(fl, 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "gpu-check: no GPU picture (CPU path in use)\n");
    EXPECT_EQ(fl.running, 0);
    EXPECT_EQ(perf_test_verdict, 0);
}

}  // namespace
