// The fixed-step arithmetic: snapping to whole steps, the backlog cap and the sleep.
#include <gtest/gtest.h>

#include "platform/frame_loop.h"

namespace {

constexpr uint64_t FREQ = 1000000000;  // SDL's counter on Linux: nanoseconds
constexpr uint64_t MS = FREQ / 1000;
constexpr uint64_t T = FREQ / 60;

TEST(FrameStep, NearWholeStepsSnap) {
    uint64_t acc = 0;
    EXPECT_EQ(frame_steps_due(16200 * MS / 1000, FREQ, acc), 1);  // 16.2 ms
    EXPECT_EQ(acc, 0u);
    EXPECT_EQ(frame_steps_due(33 * MS, FREQ, acc), 2);
    EXPECT_EQ(acc, 0u);
    EXPECT_EQ(frame_steps_due(17 * MS, FREQ, acc), 1);  // within 1 ms of a step
    EXPECT_EQ(acc, 0u);
}

TEST(FrameStep, OffGridTimeAccumulates) {
    uint64_t acc = 0;
    EXPECT_EQ(frame_steps_due(10 * MS, FREQ, acc), 0);
    EXPECT_EQ(acc, 10 * MS);
    EXPECT_EQ(frame_steps_due(10 * MS, FREQ, acc), 1);
    EXPECT_EQ(acc, 20 * MS - T);
}

TEST(FrameStep, StallKeepsAtMostFourSteps) {
    uint64_t acc = 0;
    EXPECT_EQ(frame_steps_due(1000 * MS, FREQ, acc), 4);
    EXPECT_EQ(acc, 0u);
    EXPECT_EQ(frame_steps_due(T, FREQ, acc), 1);
    EXPECT_EQ(acc, 0u);
}

TEST(FrameStep, FirstFrameRunsNothing) {
    uint64_t acc = 0;
    EXPECT_EQ(frame_steps_due(0, FREQ, acc), 0);
    EXPECT_EQ(frame_sleep_ms(acc, FREQ), 16u);
}

TEST(FrameStep, SleepIsTheWholeMillisecondsLeft) {
    EXPECT_EQ(frame_sleep_ms(10 * MS, FREQ), 6u);
    EXPECT_EQ(frame_sleep_ms(T - MS / 2, FREQ), 1u);  // under 1 ms left: one, never a busy poll
    EXPECT_EQ(frame_sleep_ms(T - 1, FREQ), 1u);
    EXPECT_EQ(frame_sleep_ms(T, FREQ), 0u);
}

TEST(FrameStep, OtherCounterRates) {
    // A 10 MHz counter (as on some platforms) snaps the same way.
    uint64_t f = 10000000, acc = 0;
    EXPECT_EQ(frame_steps_due(f / 60 + f / 2000, f, acc), 1);
    EXPECT_EQ(frame_steps_due(f, f, acc), 4);
    // A counter slower than the step rate never runs a step instead of dividing by zero.
    acc = 0;
    EXPECT_EQ(frame_steps_due(100, 30, acc), 0);
}

}  // namespace
