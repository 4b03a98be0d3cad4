// The run file under attack: a mutation fuzzer over saved runs of every kind (at least 100,000 files;
// QM_RUN_FUZZ_COUNT asks for more), accepted ones played for a few ticks so that the sanitizer
// build catches any overflow its values cause, and a writer killed with SIGKILL at random moments.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "camp/camp.h"
#include "combat/combat.h"
#include "combat/duel.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "game/game.h"
#include "game/load_floor.h"
#include "game/run_start.h"
#include "game/state.h"
#include "items/bag.h"
#include "items/potion.h"
#include "levelup/levelup.h"
#include "profile/profile.h"
#include "runfile/run_file.h"
#include "saves/bytes.h"
#include "support/fresh_game.h"
#include "support/item_maker.h"
#include "support/temp_save_dir.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

constexpr long FUZZ_DEFAULT_COUNT = 100000;
constexpr long PLAY_EVERY = 4;  // one accepted file in this many is played, to keep the test quick
constexpr int KILL_ROUNDS = 200;

// Seed files: the dungeon, the camp, a real-time and a turn-menu fight, and each older version.
std::vector<std::vector<uint8_t>> seed_files() {
    std::vector<std::vector<uint8_t>> seeds;
    knight_run_start(31337);
    load_floor(7);
    bag_add(player.bag, test_item(ITEM_SPEAR), 1);
    bag_add(player.bag, test_item(ITEM_ANTIDOTE), 2);
    RunRecord r;
    run_record_build(&r, STATE_DUNGEON);
    seeds.emplace_back(r.bytes, r.bytes + RUN_FILE_BYTES);
    current_floor = 6;
    camp_enter();
    run_record_build(&r, STATE_CAMP);
    seeds.emplace_back(r.bytes, r.bytes + RUN_FILE_BYTES);
    for (uint8_t realtime : {1, 0}) {
        reflex_fights = realtime;
        int m = monsters.count > 0 ? 0 : -1;
        if (m < 0) {
            monster_add(M_GOBLIN, player.x + 1, player.y);
            m = 0;
        }
        start_combat(monsters.list[m].type, monsters.list[m].x, monsters.list[m].y);
        run_record_build(&r, STATE_COMBAT);
        seeds.emplace_back(r.bytes, r.bytes + RUN_FILE_BYTES);
    }
    reflex_fights = 1;
    for (int32_t v = RUN_FILE_OLDEST; v < RUN_FILE_VERSION; v++) {
        std::vector<uint8_t> old(seeds[2].begin(), seeds[2].begin() + run_file_length(v));
        bytes_put_i32(old.data(), 4, v);
        seeds.push_back(old);
    }
    fixed_seed = 0;
    game_state = STATE_TITLE;
    return seeds;
}

const int32_t INTERESTING[] = {0, 1, -1, 2, 4, 5, 8, 15, 16, 19, 20, 24, 29, 30, 32, 50, 51, 127, 128, 255, 256,
                               1000, 1001, 65535, INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1};

void mutate(std::vector<uint8_t>& f, std::mt19937& rng) {
    const int kinds = 1 + (int)(rng() % 4);
    for (int k = 0; k < kinds; k++) {
        if (f.empty()) f.push_back(0);
        switch (rng() % 7) {
            case 0:  // bit flips
                for (int i = 0, n = 1 + (int)(rng() % 6); i < n; i++) f[rng() % f.size()] ^= (uint8_t)(1u << (rng() % 8));
                break;
            case 1:  // a random byte
                f[rng() % f.size()] = (uint8_t)rng();
                break;
            case 2:  // an interesting word on a word boundary
                if (f.size() >= 4) {
                    const size_t at = (rng() % (f.size() / 4)) * 4;
                    bytes_put_i32(f.data(), (int)at, INTERESTING[rng() % (sizeof INTERESTING / sizeof INTERESTING[0])]);
                }
                break;
            case 3:  // cut short or grown
                if (rng() % 2) f.resize(rng() % (f.size() + 1));
                else f.resize(f.size() + 1 + rng() % 64, (uint8_t)rng());
                break;
            case 4:  // another version number
                if (f.size() >= 8) bytes_put_i32(f.data(), 4, 10 + (int32_t)(rng() % 16));
                break;
            case 5: {  // a block copied over another place
                const size_t n = 1 + rng() % 64;
                if (f.size() > n) {
                    const size_t from = rng() % (f.size() - n), to = rng() % (f.size() - n);
                    std::memmove(f.data() + to, f.data() + from, n);
                }
                break;
            }
            default:  // a run of 0xFF
                for (size_t i = rng() % f.size(), n = 1 + rng() % 16; n > 0 && i < f.size(); i++, n--) f[i] = 0xFF;
                break;
        }
    }
}

// A loaded run played for a moment where it resumes (the attack held and tapped, a step, a guard),
// then the sums its values feed further on: a potion, experience, the combo, the camp's junk price
// and the souls. Under the sanitizer build a signed overflow on the way stops the test.
const uint8_t PLAY_PRESSES[] = {BTN_A, BTN_A, 0, BTN_UP, 0, BTN_A, 0, BTN_B, BTN_B, 0, BTN_RIGHT, 0};

void play_a_little() {
    run_active = 0;  // no autosaves: the files are not what is tried here
    game_state = run_resume_state();
    for (uint8_t press : PLAY_PRESSES) game_tick(press);
    potion_drink_heal(ITEM_HEALING_POTION, 2);
    gain_xp(40);
    combat_add_combo(1);
    int units = 0, gold = 0;
    camp_junk_total(&units, &gold);
    souls_preview(1);
}

TEST(RunFileFuzz, MutatedFilesNeverCrash) {
    TempSaveDir tmp("/dev/shm");
    const std::vector<std::vector<uint8_t>> seeds = seed_files();
    long count = FUZZ_DEFAULT_COUNT;
    if (const char* env = std::getenv("QM_RUN_FUZZ_COUNT")) count = std::max(1L, std::atol(env));
    std::mt19937 rng(20261209);
    long accepted = 0;
    RunRecord out;
    const std::string path = tmp.path("run.sav");
    for (long i = 0; i < count; i++) {
        std::vector<uint8_t> f = seeds[rng() % seeds.size()];
        mutate(f, rng);
        tmp.write("run.sav", std::string((const char*)f.data(), f.size()));
        const bool read_ok = run_file_read(path.c_str(), &out, nullptr);
        const bool load_ok = load_run();
        ASSERT_EQ(read_ok, load_ok) << "file " << i;
        if (load_ok) {
            if (accepted++ % PLAY_EVERY == 0) play_a_little();
        }
    }
    game_state = STATE_TITLE;
    std::printf("run file fuzz: %ld files, %ld accepted\n", count, accepted);
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, count);
}

// A child saves the run over and over and is killed at a random moment; whatever it left behind,
// run.sav loads and the next save works.
TEST(RunFileKill, KilledWriterNeverLeavesABrokenRun) {
    TempSaveDir tmp;
    fixed_seed = 99;
    new_run();
    load_floor(2);
    game_state = STATE_DUNGEON;
    player.gold = 0;
    ASSERT_TRUE(save_run());
    std::mt19937 rng(7);
    int mid_write = 0;
    for (int round = 0; round < KILL_ROUNDS; round++) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int32_t g = 1;; g++) {
                player.gold = g;
                save_run();
            }
        }
        usleep((useconds_t)(rng() % 4000));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        if (tmp.temps() > 0) mid_write++;
        // The next start finds a whole run.
        run_summary_refresh();
        ASSERT_EQ(run_summary.valid, 1) << "round " << round;
        player.gold = -1;
        ASSERT_TRUE(load_run()) << "round " << round;
        ASSERT_GE(player.gold, 0);
        ASSERT_EQ(tmp.read("run.sav").size(), (size_t)RUN_FILE_BYTES);
    }
    // The next start, holding the folder, removes a killed writer's temporary files.
    const char* const run_file[] = {"run.sav"};
    file_temps_clean((tmp.dir + "/").c_str(), "", run_file, 1);
    game_state = STATE_DUNGEON;
    ASSERT_TRUE(save_run());
    EXPECT_EQ(tmp.temps(), 0);
    std::printf("killed writer: %d rounds, %d left a temporary file\n", KILL_ROUNDS, mid_write);
    fixed_seed = 0;
    game_state = STATE_TITLE;
}

}  // namespace
