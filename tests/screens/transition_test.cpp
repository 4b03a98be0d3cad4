// The transition's clock: wipe in, the mid-point callback, the hold, skipping, and the wipe out.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "screens/transition.h"

namespace {

int mid_calls = 0;
int mid_at_step = -1;
int steps_run = 0;
void count_mid() {
    mid_calls++;
    mid_at_step = steps_run;
}

struct TransitionTest : ::testing::Test {
    void SetUp() override {
        transition = Transition{};
        mid_calls = 0;
        mid_at_step = -1;
        steps_run = 0;
    }
    void TearDown() override { transition = Transition{}; }
    // Steps until the transition ends; returns the number of steps.
    int run_out() {
        while (transition_active() && steps_run < 10000) {
            steps_run++;
            transition_step();
        }
        return steps_run;
    }
};

TEST_F(TransitionTest, UntypedLasts104StepsWithTheCallbackOnThe24th) {
    EXPECT_EQ(transition_start(count_mid, "FLOOR 2", nullptr, false), 50);
    EXPECT_STREQ(transition.subtitle, "");
    EXPECT_EQ(transition.typing, 0);
    EXPECT_EQ(run_out(), 104);
    EXPECT_EQ(mid_calls, 1);
    EXPECT_EQ(mid_at_step, 24);
}

TEST_F(TransitionTest, TypedCaptionHoldsForItsTypingAndASkipsInTwoSteps) {
    EXPECT_EQ(transition_start(nullptr, "ABCDEFG", "", true), 71);
    EXPECT_EQ(transition.typing, 21);
    for (int i = 0; i < 24; i++) transition_step();
    ASSERT_EQ(transition.phase, 2);
    transition_step();
    transition_skip();  // mid-typing: the whole caption shows
    EXPECT_EQ(transition.phase, 2);
    EXPECT_EQ(transition.frame, 21);
    transition_skip();  // typed out: ends at once, no wipe out
    EXPECT_FALSE(transition_active());
}

TEST_F(TransitionTest, SkipOutsideTheHoldDoesNothing) {
    transition_start(count_mid, "X", "Y", false);
    transition_skip();
    EXPECT_EQ(transition.phase, 1);
    for (int i = 0; i < 24 + 50; i++) transition_step();
    ASSERT_EQ(transition.phase, 3);
    transition_skip();
    EXPECT_EQ(transition.phase, 3);
    EXPECT_EQ(mid_calls, 1);
}

TEST_F(TransitionTest, ExtendAndSparksLengthenTheHold) {
    transition_extend(30);  // nothing runs yet
    EXPECT_EQ(transition.hold, 0);
    transition_start(nullptr, "A", "B", true);
    EXPECT_EQ(transition.hold, 56);
    transition_extend(0);
    transition_extend(-9);
    EXPECT_EQ(transition.hold, 56);
    transition_extend(4);
    transition_sparks();
    EXPECT_EQ(transition.hold, 85);
    EXPECT_EQ(transition.sparks, 1);
    EXPECT_EQ(run_out(), 24 + 85 + 30);
    // A new start restarts the clock and drops the sparks.
    transition_start(nullptr, "A", nullptr, false);
    EXPECT_EQ(transition.sparks, 0);
    EXPECT_EQ(transition.frame, 0);
}

TEST_F(TransitionTest, LongCaptionsAreCutTo31Characters) {
    std::string forty(40, 'W');
    int hold = transition_start(nullptr, forty.c_str(), forty.c_str(), true);
    EXPECT_EQ(std::strlen(transition.title), 31u);
    EXPECT_EQ(std::strlen(transition.subtitle), 31u);
    EXPECT_EQ(hold, 3 * 62 + 50);  // the typing counts what is kept
}

// A callback that starts the next transition, as a floor banner after a camp exit would.
void start_banner() {
    mid_calls++;
    transition_start(count_mid, "FLOOR 3", nullptr, true);
}

TEST_F(TransitionTest, ACallbackThatStartsATransitionKeepsIt) {
    transition_start(start_banner, "A CAMPFIRE AHEAD", nullptr, false);
    for (int i = 0; i < 24; i++) transition_step();
    EXPECT_EQ(mid_calls, 1);
    EXPECT_EQ(transition.phase, 1);
    EXPECT_EQ(transition.frame, 0);
    EXPECT_EQ(transition.callback, count_mid);
    EXPECT_STREQ(transition.title, "FLOOR 3");
    // The new one runs its own course: callback once, typed hold of 21 + 50, wipe out.
    EXPECT_EQ(run_out(), 24 + 71 + 30);
    EXPECT_EQ(mid_calls, 2);
}

}  // namespace
