// File writes of the game thread, run by hand on a folder of the disk under test:
//   QM_BENCH_DIR=/some/folder qm_tests --gtest_also_run_disabled_tests --gtest_filter='*Timing.*'
// session.txt's ten-second rewrite against the synced one of the start and the end, and the run-end
// append when runs.jsonl (and with sharing on, the runs queue) stands at its cap, with the start-up
// trim that cuts them back.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "saves/settings.h"
#include "support/telemetry_consent.h"
#include "support/temp_save_dir.h"
#include "telemetry/events.h"
#include "telemetry/session.h"

namespace {

// Puts `text` at `name` and syncs it, so the timed append pays for nothing written before it.
void write_synced(const TempSaveDir& tmp, const char* name, const std::string& text) {
    tmp.write(name, text);
    const int fd = open(tmp.path(name).c_str(), O_RDONLY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

double ms_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void print_times(const char* what, std::vector<double>& ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%s, %d rounds: median %.2f ms, p90 %.2f ms, max %.2f ms\n", what, (int)ms.size(), ms[ms.size() / 2],
                ms[ms.size() * 9 / 10], ms.back());
}

TEST(SessionTiming, DISABLED_TenSecondRewriteAgainstASyncedOne) {
    const char* dir = std::getenv("QM_BENCH_DIR");
    TempSaveDir tmp(dir ? dir : "/tmp");
    session_start(800, 600, 0);
    std::vector<double> synced, ticked;
    for (int i = 0; i < 100; i++) {
        usleep(100000);  // apart, as the game's writes are
        auto t0 = std::chrono::steady_clock::now();
        session_file_write(0);
        synced.push_back(ms_since(t0));
        for (int k = 0; k < 599; k++) session_tick();
        usleep(100000);
        t0 = std::chrono::steady_clock::now();
        session_tick();  // the six hundredth rewrites the file
        ticked.push_back(ms_since(t0));
    }
    session_end();
    std::printf("in %s\n", tmp.dir.c_str());
    print_times("session.txt synced (start, end; every ten seconds before)", synced);
    print_times("session.txt at the ten-second tick", ticked);
}

TEST(HistoryTiming, DISABLED_RunEndAppendAtTheCap) {
    const char* dir = std::getenv("QM_BENCH_DIR");
    TempSaveDir tmp(dir ? dir : "/tmp");
    TelemetryConsent consent;
    const std::string run = "{\"run\":1,\"pad\":\"" + std::string(770, 'x') + "\"}";  // a typical run's size
    std::string full;  // one more run takes it past the cap
    while ((long)(full.size() + run.size() + 1) <= TELEMETRY_HISTORY_MAX) full += run + "\n";
    constexpr int ROUNDS = 40;
    for (int sharing = 0; sharing <= 1; sharing++) {
        settings.share_stats = (uint8_t)sharing;
        std::vector<double> ms;
        for (int i = 0; i < ROUNDS; i++) {
            write_synced(tmp, "runs.jsonl", full);
            if (sharing) write_synced(tmp, "runs_outbox.jsonl", full);
            const auto t0 = std::chrono::steady_clock::now();
            run_line_append(run.c_str());
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        }
        std::sort(ms.begin(), ms.end());
        std::printf("run-end append at the cap, sharing %s, %d rounds in %s: median %.2f ms, max %.2f ms\n",
                    sharing ? "on" : "off", ROUNDS, tmp.dir.c_str(), ms[ROUNDS / 2], ms.back());
    }
    // What the next start pays instead, before the first frame: both files cut back to their caps.
    std::vector<double> ms;
    for (int i = 0; i < ROUNDS; i++) {
        write_synced(tmp, "runs.jsonl", full + run + "\n");
        write_synced(tmp, "runs_outbox.jsonl", full + run + "\n");
        const auto t0 = std::chrono::steady_clock::now();
        telemetry_files_trim();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("start-up trim of both, %d rounds: median %.2f ms, max %.2f ms\n", ROUNDS, ms[ROUNDS / 2], ms.back());
}

}  // namespace
