// The cost of a save, run by hand (--gtest_also_run_disabled_tests --gtest_filter='RunFileTiming.*'):
// building the image and replacing the file without the fsync, and the whole save_run with it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "game/load_floor.h"
#include "game/run_start.h"
#include "runfile/run_file.h"
#include "support/fresh_game.h"
#include "support/temp_save_dir.h"
#include "world/game_state.h"

namespace {

double micros_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
}

TEST(RunFileTiming, DISABLED_SaveRunWithAndWithoutSync) {
    TempSaveDir tmp;
    knight_run_start(5);
    load_floor(5);
    game_state = STATE_DUNGEON;
    const std::string path = tmp.path("run.sav"), temp = path + ".tmp";
    static RunRecord record;
    const int rounds = 2000;

    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; i++) {
        run_record_build(&record, STATE_DUNGEON);
        FILE* f = std::fopen(temp.c_str(), "wb");
        std::fwrite(record.bytes, 1, RUN_FILE_BYTES, f);
        std::fclose(f);
        std::rename(temp.c_str(), path.c_str());
    }
    const double unsynced = micros_since(t0) / rounds;

    const int synced_rounds = 50;
    t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < synced_rounds; i++) save_run();
    const double synced = micros_since(t0) / synced_rounds;
    std::printf("save without fsync: %.1f us; save_run with fsync and summary: %.1f us\n", unsynced, synced);
    fixed_seed = 0;
    game_state = STATE_TITLE;
}

}  // namespace
