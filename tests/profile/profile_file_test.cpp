// profile.dat: the byte layout, round trips, older versions read as prefixes, the old format
// moved aside, damaged files refused and kept, a fuzzed reader and a writer killed mid-save.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "game/game.h"
#include "profile/profile.h"
#include "runfile/run_file.h"
#include "saves/bytes.h"
#include "saves/settings.h"
#include "support/fresh_game.h"
#include "support/temp_save_dir.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Every int32 word of the record gets its own value 1, 2, 3, ...; the upgrade ranks a valid one.
// Class numbers and the rating are then put back in range so the record loads.
Profile filled_profile(bool loadable) {
    static_assert(sizeof(Profile) % 4 == 0);
    Profile p;
    std::memset(&p, 0, sizeof p);
    const size_t ranks_word = offsetof(Profile, upgrade_ranks) / 4;
    int32_t v = 1;
    for (size_t w = 0; w < sizeof p / 4; w++) {
        if (w == ranks_word) continue;
        std::memcpy((uint8_t*)&p + w * 4, &v, 4);
        v++;
    }
    p.upgrade_ranks[0] = 3;
    p.upgrade_ranks[1] = 1;
    p.upgrade_ranks[2] = 2;
    // Slot 0 of the per-kind and per-item blocks has no place in the file.
    p.slain[0] = p.killed_by[0] = 0;
    for (ProfileClass& c : p.classes) c.deaths_by[0] = 0;
    p.items[0] = ProfileItem{};
    p.codex[0] = ProfileCodex{};
    if (loadable) {
        p.skill_rating = 777;
        p.first_win.cls = 1;
        p.deepest_class = 2;
        for (int i = 0; i < PROFILE_STRETCHES; i++) p.first_dragon_stretch[i].cls = i;
        for (int h = 0; h < PROFILE_HEATS; h++) {
            p.first_dragon_heat[h].cls = 7 - h;
            p.first_win_heat[h].cls = h;
        }
    }
    return p;
}

Bytes record_of(const Profile& p) {
    Bytes r(PROFILE_RECORD_BYTES);
    profile_encode(p, r.data());
    return r;
}

Bytes file_of(const Bytes& record, int version, size_t record_len) {
    Bytes f(PROFILE_HEADER_BYTES + record_len);
    std::memcpy(f.data(), "QMPD", 4);
    bytes_put_i32(f.data(), 4, version);
    std::memcpy(f.data() + PROFILE_HEADER_BYTES, record.data(), record_len);
    return f;
}

struct ProfileFileTest : ::testing::Test {
    TempSaveDir tmp{"/dev/shm"};  // thousands of files: kept in memory
    Player kept_player;
    void SetUp() override {
        profile = Profile{};
        kept_player = player;
    }
    void TearDown() override {
        profile = Profile{};
        player = kept_player;
    }
    void write(const char* name, const Bytes& b) { tmp.write(name, std::string(b.begin(), b.end())); }
    Bytes read(const char* name) {
        const std::string s = tmp.read(name);
        return Bytes(s.begin(), s.end());
    }
};

bool is_fresh(const Profile& p) { return record_of(p) == record_of(Profile{}); }

TEST_F(ProfileFileTest, FieldsSitAtTheirOffsets) {
    // Each field is written exactly once, to a word of its own.
    const Bytes all = record_of(filled_profile(false));
    std::set<uint32_t> seen;
    int words = 0;
    for (int off = 0; off < PROFILE_RECORD_BYTES; off += 4) {
        if (off == 256) continue;  // the upgrade ranks
        const uint32_t w = bytes_get_u32(all.data(), off);
        if (w == 0) continue;
        words++;
        seen.insert(w);
    }
    const Profile filled = filled_profile(false);
    int fields = 0;
    for (size_t w = 0; w < sizeof filled / 4; w++) {
        uint32_t v;
        std::memcpy(&v, (const uint8_t*)&filled + w * 4, 4);
        if (v != 0 && w != offsetof(Profile, upgrade_ranks) / 4) fields++;
    }
    EXPECT_EQ(words, fields);
    EXPECT_EQ(fields, 383);
    EXPECT_EQ(seen.size(), (size_t)words);

    Profile p = {};
    p.souls = 11;
    p.unlocks[1] = 12;
    p.slain[8] = 13;
    p.flags = PROFILE_FLAG_ATTACKED_ONCE;
    p.flow_hints = 14;
    p.class_runs[7] = 15;
    p.killed_by[1] = 16;
    p.jokes = 17;
    p.skill_rating = 18;
    p.rated_fights = 19;
    p.best_combo = 20;
    p.upgrade_ranks[2] = 2;
    p.upgrade_off_mask = 21;
    p.classes[3].fastest_win = 22;
    p.classes[1].deaths_by[8] = 23;
    p.items[15].best_heat_won = 24;
    p.items[1].first_run = 25;
    p.run_ticks = 26;
    p.codex[8].first_slain_run = 27;
    p.first_win.cls = 1;
    p.first_dragon_stretch[5].run = 28;
    p.first_dragon_heat[0].cls = 3;
    p.first_win_heat[5].cls = 4;
    p.deepest_floor = 29;
    p.milestones = 30;
    const Bytes r = record_of(p);
    const struct {
        int off;
        uint32_t v;
    } at[] = {{0, 11},    {88, 12},   {52, 13},   {92, 8},    {96, 14},   {156, 15},  {164, 16},
              {232, 17},  {244, 18},  {248, 19},  {252, 20},  {264, 21},  {300 + 384 + 32, 22},
              {300 + 128 + 48 + 32, 23}, {1324 + 600 + 24, 24}, {1364, 25}, {1976, 26},
              {1980 + 192 + 8, 27}, {2368, 1}, {2372 + 40, 28}, {2424, 3}, {2468 + 40 + 4, 4},
              {2524, 29}, {2528, 30}};
    for (const auto& a : at) EXPECT_EQ(bytes_get_u32(r.data(), a.off), a.v) << "offset " << a.off;
    EXPECT_EQ(r[258], 2);
}

TEST_F(ProfileFileTest, EveryFieldSurvivesSaveAndLoad) {
    profile = filled_profile(true);
    const Bytes before = record_of(profile);
    ASSERT_TRUE(profile_save());
    const Bytes file = read("profile.dat");
    ASSERT_EQ(file.size(), (size_t)PROFILE_FILE_BYTES);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "QMPD");
    EXPECT_EQ(bytes_get_i32(file.data(), 4), 9);
    EXPECT_EQ(tmp.temps(), 0);

    profile = Profile{};
    EXPECT_EQ(profile_load(), PROFILE_LOADED);
    EXPECT_EQ(record_of(profile), before);
    EXPECT_EQ(profile.upgrade_ranks[0], 3);
    EXPECT_EQ(profile.classes[7].deaths_by[8], filled_profile(true).classes[7].deaths_by[8]);
}

TEST_F(ProfileFileTest, OlderVersionsReadAsPrefixes) {
    const Bytes full = record_of(filled_profile(true));
    for (int version : {6, 7, 8}) {
        const int len = profile_record_bytes(version);
        write("profile.dat", file_of(full, version, (size_t)len));
        ASSERT_EQ(profile_load(), PROFILE_LOADED) << version;
        const Bytes got = record_of(profile);
        EXPECT_TRUE(std::equal(got.begin(), got.begin() + len, full.begin())) << version;
        EXPECT_TRUE(std::all_of(got.begin() + len, got.end(), [](uint8_t b) { return b == 0; })) << version;
    }
    EXPECT_EQ(profile_record_bytes(6), 300);
    // A version-6 file keeps its souls, unlocks, counters and upgrades, and nothing later.
    write("profile.dat", file_of(full, 6, 300));
    ASSERT_EQ(profile_load(), PROFILE_LOADED);
    EXPECT_EQ(profile.souls, filled_profile(true).souls);
    EXPECT_EQ(profile.upgrade_ranks[2], 2);
    EXPECT_EQ(profile.classes[0].runs, 0);
    EXPECT_EQ(profile.milestones, 0u);
}

// An old-format version may be one flipped bit of a current file (9 read as 1): the file is kept
// like any refused one, past an earlier profile_old.dat, and of the saves only a run too old to
// read goes; the run in progress and the best floor stay.
TEST_F(ProfileFileTest, AnOldFormatProfileIsKeptAsideAndTheSavesTheGameReadsStay) {
    knight_run_start(5);
    game_state = STATE_DUNGEON;
    ASSERT_TRUE(save_run());
    ASSERT_TRUE(best_floor_save(7));
    const std::string run = tmp.read("run.sav"), best = tmp.read("best.dat");
    Bytes flipped = file_of(record_of(filled_profile(true)), 9, PROFILE_RECORD_BYTES);
    flipped[4] ^= 8;
    write("profile.dat", flipped);
    tmp.write("profile_old.dat", "an older retired profile");
    const std::string too_old = std::string("QMSD") + std::string("\x0d\0\0\0", 4) + std::string(3000, '\0');
    tmp.write("slot0.sav", too_old);
    tmp.write("settings.dat", "kept");

    game_init();
    EXPECT_EQ(tmp.read("run.sav"), run);
    EXPECT_EQ(tmp.read("best.dat"), best);
    EXPECT_EQ(run_summary.valid, 1);
    EXPECT_EQ(tmp.read("profile_old.dat"), "an older retired profile");
    EXPECT_EQ(read("profile_old_2.dat"), flipped);
    EXPECT_FALSE(tmp.exists("profile.dat"));
    EXPECT_FALSE(tmp.exists("slot0.sav"));
    EXPECT_FALSE(tmp.exists("slot0.sav.old"));
    EXPECT_EQ(tmp.read("settings.dat"), "kept");
    game_state = STATE_POWER_ON;
}

TEST_F(ProfileFileTest, NoFileIsAFreshProfile) {
    profile.souls = 5;
    EXPECT_EQ(profile_load(), PROFILE_FRESH);
    EXPECT_TRUE(is_fresh(profile));
    EXPECT_FALSE(tmp.exists("profile.dat"));
}

// A refused file leaves a fresh profile and is kept, byte for byte, as profile_bad.dat (removed
// afterwards, so the next case's file takes that name again).
void expect_refused_and_kept(ProfileFileTest& t, const Bytes& file, const std::string& what, bool then_save = false) {
    t.write("profile.dat", file);
    profile.souls = 99;
    EXPECT_EQ(profile_load(), PROFILE_REFUSED) << what;
    EXPECT_TRUE(is_fresh(profile)) << what;
    EXPECT_EQ(t.read("profile_bad.dat"), file) << what;
    if (then_save) {
        // The next save cannot touch it.
        profile_add_souls(3);
        EXPECT_EQ(t.read("profile_bad.dat"), file) << what;
        EXPECT_EQ(profile_load(), PROFILE_LOADED);
        EXPECT_EQ(profile.souls, 3);
    }
    std::remove(t.tmp.path("profile_bad.dat").c_str());
}

TEST_F(ProfileFileTest, ASecondRefusedFileKeepsTheFirstOneSetAside) {
    const Bytes first = file_of(record_of(filled_profile(true)), 5000, PROFILE_RECORD_BYTES);
    const Bytes second = file_of(record_of(filled_profile(true)), 9, 100);
    write("profile.dat", first);
    EXPECT_EQ(profile_load(), PROFILE_REFUSED);
    write("profile.dat", second);
    EXPECT_EQ(profile_load(), PROFILE_REFUSED);
    EXPECT_EQ(read("profile_bad.dat"), first);
    EXPECT_EQ(read("profile_bad_2.dat"), second);
}

TEST_F(ProfileFileTest, TruncatedFilesAreRefusedAtEveryLength) {
    const Bytes whole = file_of(record_of(filled_profile(true)), 9, PROFILE_RECORD_BYTES);
    for (size_t len = 0; len < whole.size(); len++)
        expect_refused_and_kept(*this, Bytes(whole.begin(), whole.begin() + (long)len), "length " + std::to_string(len));
}

TEST_F(ProfileFileTest, ForeignAndOutOfRangeFilesAreRefused) {
    const Bytes good = record_of(filled_profile(true));
    Bytes f = file_of(good, 9, PROFILE_RECORD_BYTES);
    f[0] = 'X';
    expect_refused_and_kept(*this, f, "magic", true);
    for (int version : {0, 10, -1, 5000}) expect_refused_and_kept(*this, file_of(good, version, PROFILE_RECORD_BYTES), "version");

    const struct {
        int off;
        int32_t v;
        const char* what;
    } bad[] = {{0, -1, "negative souls"},     {232, -5, "negative joke count"}, {244, 1001, "rating"},
               {244, -1, "negative rating"},  {2368, 8, "first-win class"},     {2520, -1, "deepest class"},
               {2372 + 4, 99, "dragon class"}, {2420 + 44, INT32_MIN, "dragon heat class"},
               {2468 + 4, 8, "win heat class"}};
    for (const auto& b : bad) {
        Bytes r = good;
        bytes_put_i32(r.data(), b.off, b.v);
        expect_refused_and_kept(*this, file_of(r, 9, PROFILE_RECORD_BYTES), b.what);
    }
}

TEST_F(ProfileFileTest, UpgradeRanksAreClampedToTheirMaximum) {
    Bytes r = record_of(filled_profile(true));
    r[256] = 200;
    r[257] = 2;
    r[258] = 255;
    write("profile.dat", file_of(r, 9, PROFILE_RECORD_BYTES));
    ASSERT_EQ(profile_load(), PROFILE_LOADED);
    EXPECT_EQ(upgrade_rank(UPGRADE_VITALITY), 3);
    EXPECT_EQ(upgrade_rank(UPGRADE_EMBERS), 1);
    EXPECT_EQ(upgrade_rank(UPGRADE_FORAGER), 2);
    EXPECT_EQ(upgrade_next_cost(UPGRADE_VITALITY), 0);
    EXPECT_EQ(upgrade_buy(UPGRADE_VITALITY), 0);
}

// A loaded profile with extreme values must still run the whole bookkeeping without overflow.
void exercise_profile() {
    player = Player{};
    player.hp = 0;
    player.kills = 3;
    player.level = 2;
    player.main_hand.id = ITEM_LONG_SWORD;
    current_floor = 4;
    for (int u = 0; u < UPGRADE_COUNT; u++) {
        upgrade_next_cost(u);
        upgrade_active_rank(u);
    }
    for (int t = 0; t <= PROFILE_KIND_SLOTS; t++) codex_is_new(t);
    codex_any_new();
    souls_preview(1);
    EXPECT_GE(joke_banner_next(), 0);
    profile_tick(true);
    for (int i = 0; i < 60; i++) profile_tick(true);
    weapon_stat_kill();
    weapon_stat_best_hit(INT32_MAX);
    codex_slain(4);
    profile_run_begin();
    EXPECT_GE(profile_run_end(0), 0);
    EXPECT_GE(profile.souls, 0);
}

TEST_F(ProfileFileTest, EveryWordAtItsExtremesLoadsOrIsRefusedSafely) {
    const Bytes good = record_of(filled_profile(true));
    for (int off = 0; off < PROFILE_RECORD_BYTES; off += 4)
        for (int32_t v : {INT32_MIN, INT32_MAX}) {
            Bytes r = good;
            bytes_put_i32(r.data(), off, v);
            const Bytes file = file_of(r, 9, PROFILE_RECORD_BYTES);
            write("profile.dat", file);
            const ProfileLoadResult res = profile_load();
            if (res == PROFILE_REFUSED) {
                EXPECT_EQ(read("profile_bad.dat"), file);
                std::remove(tmp.path("profile_bad.dat").c_str());
                continue;
            }
            ASSERT_EQ(res, PROFILE_LOADED) << off;
            exercise_profile();
        }
}

TEST_F(ProfileFileTest, AFolderOrAnUnreadableFileIsNoProfile) {
    ASSERT_EQ(mkdir(tmp.path("profile.dat").c_str(), 0755), 0);
    EXPECT_NE(profile_load(), PROFILE_LOADED);
    EXPECT_TRUE(is_fresh(profile));
    profile.souls = 4;
    EXPECT_FALSE(profile_save());  // silently refused: the folder stays
    struct stat st;
    ASSERT_EQ(stat(tmp.path("profile.dat").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    rmdir(tmp.path("profile.dat").c_str());

    const Bytes file = file_of(record_of(filled_profile(true)), 9, PROFILE_RECORD_BYTES);
    write("profile.dat", file);
    chmod(tmp.path("profile.dat").c_str(), 0);
    const bool readable = access(tmp.path("profile.dat").c_str(), R_OK) == 0;  // as root, it is
    const ProfileLoadResult res = profile_load();
    if (readable) {
        EXPECT_EQ(res, PROFILE_LOADED);
        chmod(tmp.path("profile.dat").c_str(), 0644);
        EXPECT_EQ(read("profile.dat"), file);
        return;
    }
    EXPECT_EQ(res, PROFILE_REFUSED);
    EXPECT_TRUE(is_fresh(profile));
    chmod(tmp.path("profile_bad.dat").c_str(), 0644);
    EXPECT_EQ(read("profile_bad.dat"), file);
}

// A mutated copy of a good file: flipped bits, extreme words, cut or grown, another version.
Bytes mutate(const Bytes& base, std::mt19937& rng) {
    Bytes f = base;
    const int edits = 1 + (int)(rng() % 8);
    for (int e = 0; e < edits; e++) {
        switch (rng() % 6) {
        case 0: f[rng() % f.size()] ^= (uint8_t)(1u << (rng() % 8)); break;
        case 1: f[rng() % f.size()] = (uint8_t)rng(); break;
        case 2:
            if (f.size() >= 4) {
                const size_t off = (rng() % (f.size() / 4)) * 4;
                const int32_t extremes[] = {INT32_MIN, INT32_MAX, -1, 0, 1, 1000, 1001, 8};
                bytes_put_i32(f.data(), (int)off, extremes[rng() % 8]);
            }
            break;
        case 3: f.resize(rng() % (f.size() + 1)); break;
        case 4: f.resize(f.size() + rng() % 64, (uint8_t)rng()); break;
        default:
            if (f.size() >= 8) bytes_put_i32(f.data(), 4, (int32_t)(rng() % 14) - 2);
            break;
        }
        if (f.empty()) break;
    }
    return f;
}

TEST_F(ProfileFileTest, FuzzedFilesNeverBreakTheReader) {
    long rounds = 100000;
    if (const char* env = std::getenv("QM_PROFILE_FUZZ_ROUNDS")) rounds = std::atol(env);
    std::mt19937 rng(0x51F00D);
    const Bytes good = record_of(filled_profile(true));
    const Bytes bases[] = {file_of(good, 9, PROFILE_RECORD_BYTES), file_of(good, 8, 2564), file_of(good, 7, 1980),
                           file_of(good, 6, 300)};
    long loaded = 0;
    for (long i = 0; i < rounds; i++) {
        write("profile.dat", mutate(bases[rng() % 4], rng));
        const ProfileLoadResult res = profile_load();
        if (res == PROFILE_LOADED) {
            loaded++;
            ASSERT_GE(profile.souls, 0);
            for (int u = 0; u < UPGRADE_COUNT; u++) ASSERT_LE(upgrade_rank(u), upgrade_max_rank(u));
            upgrade_next_cost((int)(rng() % 3));
            souls_preview(0);
            codex_any_new();
        } else {
            ASSERT_TRUE(is_fresh(profile));
            std::remove(tmp.path("profile_bad.dat").c_str());
            std::remove(tmp.path("profile_old.dat").c_str());
        }
    }
    // Most mutations leave a readable profile; the reader must take those, not refuse everything.
    EXPECT_GT(loaded, rounds / 10);
}

TEST_F(ProfileFileTest, KilledWhileSavingNeverLeavesABadFile) {
    TempSaveDir disk;  // on a real disk, where the sync matters
    profile.souls = 1;
    profile.runs = 1;
    ASSERT_TRUE(profile_save());
    std::mt19937 rng(77);
    int progressed = 0;
    for (int round = 0; round < 200; round++) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves forever, each file consistent in itself: souls and runs always equal. The first
            // finished save is told, so a loaded machine's slow start cannot leave a round with none.
            close(ready[0]);
            for (int32_t i = 2;; i++) {
                profile.souls = i;
                profile.runs = i;
                profile.classes[1].kills = i;
                profile_save();
                if (i == 2 && ::write(ready[1], "x", 1) != 1) _exit(1);
            }
        }
        close(ready[1]);
        char got = 0;
        const bool started = ::read(ready[0], &got, 1) == 1;
        close(ready[0]);
        usleep((useconds_t)(rng() % 4000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(started) << "round " << round;
        ASSERT_EQ(profile_load(), PROFILE_LOADED) << "round " << round;
        EXPECT_EQ(profile.souls, profile.runs);
        EXPECT_EQ(profile.classes[1].kills, profile.souls == 1 ? 0 : profile.souls);
        if (profile.souls > 1) progressed++;
    }
    EXPECT_GT(progressed, 20);  // the kills landed while saves were under way
}

}  // namespace
