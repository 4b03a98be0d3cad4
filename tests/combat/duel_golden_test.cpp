// The golden duel: a fixed input script against an orc on floor 4 from the stream's start value,
// pinned to its whole event trace. Any change to the engine's timing, draws or rules shows up here
// as a changed line. QM_UPDATE_GOLDEN=1 rewrites the file.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "combat/duel_harness.h"

namespace {

std::string golden_path() {
    std::string here = __FILE__;
    return here.substr(0, here.find_last_of('/') + 1) + "golden/duel_orc_floor4.txt";
}

// Every 2400 ms: a jab, a second jab, a guard held over the middle, a heavy, and a dodge.
std::vector<DuelCue> script() {
    std::vector<DuelCue> cues;
    for (int32_t t = 300; t < 40000; t += 2400) {
        cues.push_back({t, 'A'});
        cues.push_back({t + 40, 'a'});
        cues.push_back({t + 350, 'A'});
        cues.push_back({t + 390, 'a'});
        cues.push_back({t + 500, 'G'});
        cues.push_back({t + 1600, 'g'});
        cues.push_back({t + 1650, 'A'});
        cues.push_back({t + 2100, 'a'});
        cues.push_back({t + 2300, (t / 2400) % 2 ? 'L' : 'R'});
    }
    return cues;
}

std::string duel_trace() {
    duel_reset(M_ORC, 4, 240, 7, true);
    DuelDriver d;
    d.cues = script();
    d.run_to(40000);
    std::string out;
    for (size_t i = 0; i < d.trace.size(); i++) {
        const DuelStep& s = d.trace[i];
        if (!s.events) continue;
        char line[96];
        std::snprintf(line, sizeof line, "%4zu %6d ms state %d events %010" PRIx64 " player %3d monster %4d\n", i,
                      s.clock, s.state, s.events, s.player_hp, s.monster_hp);
        out += line;
    }
    char tail[96];
    std::snprintf(tail, sizeof tail, "over %d dead %d combo %d flow %d\n", reflex.fight_over, reflex.player_dead,
                  combo, flow);
    return out + tail;
}

TEST(DuelGolden, AScriptedDuelReplaysItsEventTrace) {
    std::string trace = duel_trace();
    EXPECT_EQ(duel_trace(), trace);  // the same start and inputs give the same duel
    const char* update = std::getenv("QM_UPDATE_GOLDEN");
    if (update && update[0] == '1') {
        std::ofstream(golden_path()) << trace;
        return;
    }
    std::ifstream in(golden_path());
    ASSERT_TRUE(in.good()) << "missing " << golden_path();
    std::stringstream want;
    want << in.rdbuf();
    EXPECT_EQ(trace, want.str());
}

}  // namespace
