// The softlock detector: stuck ticks and new presses under an unchanged hash, one report per state.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

#include "saves/settings.h"
#include "support/telemetry_consent.h"
#include "support/temp_save_dir.h"
#include "telemetry/events.h"
#include "telemetry/softlock.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

struct SoftlockTest : ::testing::Test {
    TempSaveDir tmp;
    TelemetryConsent consent;
    void SetUp() override {
        softlock_reset();
        game_state = STATE_PAUSE;
        current_floor = 2;
    }
    void TearDown() override {
        softlock_reset();
        game_state = 0;
        current_floor = 0;
    }
    int lines() {
        std::string s = tmp.read("events_outbox.jsonl");
        int n = 0;
        for (char c : s) n += c == '\n';
        return n;
    }
    // `ticks` ticks on hash h, tapping `bits` on every `every`-th tick (0: never).
    void run(uint32_t h, int ticks, uint8_t bits, int every) {
        for (int t = 0; t < ticks; t++) softlock_check(h, every && t % every == 0 ? bits : 0);
    }
};

TEST_F(SoftlockTest, HashIsFnv1aOverWords) {
    EXPECT_EQ(softlock_hash_add(SOFTLOCK_HASH_START, 0), 0x050C5D1Fu);
    EXPECT_NE(softlock_hash_add(softlock_hash_add(SOFTLOCK_HASH_START, 1), 2),
              softlock_hash_add(softlock_hash_add(SOFTLOCK_HASH_START, 2), 1));
}

TEST_F(SoftlockTest, TwentyTapsOverTwoMinutesReportOnceWithTheRecentPresses) {
    softlock_check(7, 0);  // the first hash is taken
    run(7, 7199, BTN_A, 300);  // 24 taps of A
    EXPECT_EQ(lines(), 0);
    softlock_check(7, BTN_A | BTN_B);
    ASSERT_EQ(lines(), 1);
    auto j = nlohmann::json::parse(tmp.read("events_outbox.jsonl"));
    EXPECT_EQ(j["kind"], "softlock");
    EXPECT_EQ(j["data"]["state"], STATE_PAUSE);
    EXPECT_EQ(j["data"]["floor"], 3);
    EXPECT_EQ(j["data"]["secs"], 120);
    EXPECT_EQ(j["data"]["presses"], 25);
    auto& recent = j["data"]["recent"];
    ASSERT_EQ(recent.size(), 16u);
    EXPECT_EQ(recent[0], 16);
    EXPECT_EQ(recent[15], 48);
    run(7, 9000, BTN_A, 100);
    EXPECT_EQ(lines(), 1);  // once per state per session
    game_state = STATE_OPTIONS;
    run(7, 7300, BTN_B, 100);
    EXPECT_EQ(lines(), 2);  // another state reports on its own
}

TEST_F(SoftlockTest, HoldingOneButtonIsOnePressAndAChangeStartsOver) {
    softlock_check(1, 0);
    run(1, 8000, BTN_A, 1);  // held throughout
    EXPECT_EQ(lines(), 0);
    softlock_reset();
    softlock_check(1, 0);
    run(1, 7000, BTN_A, 200);
    softlock_check(2, 0);  // the player moved one cell
    run(2, 300, BTN_A, 10);
    EXPECT_EQ(lines(), 0);
}

TEST_F(SoftlockTest, SharingOffStillMarksTheStateDone) {
    settings.share_stats = 0;
    softlock_check(1, 0);
    run(1, 7300, BTN_A, 100);
    EXPECT_EQ(lines(), 0);
}

}  // namespace
