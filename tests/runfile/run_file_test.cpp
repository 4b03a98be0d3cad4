// run.sav: round trips in the dungeon, mid-duel, at the camp on every page and at a level-up; older
// versions; truncated and out-of-range files; the title's summary; deletion and the old slot files.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "boons/boons.h"
#include "camp/camp.h"
#include "classes/classes.h"
#include "combat/combat.h"
#include "combat/meters.h"
#include "combat/reflex.h"
#include "dungeon/floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "game/load_floor.h"
#include "game/run_start.h"
#include "items/bag.h"
#include "items/floor_items.h"
#include "items/item_random.h"
#include "levelup/levelup.h"
#include "profile/profile.h"
#include "runfile/run_file.h"
#include "saves/bytes.h"
#include "saves/file_io.h"
#include "saves/save_path.h"
#include "support/fresh_game.h"
#include "support/item_maker.h"
#include "support/temp_save_dir.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

// Offsets the tests poke at, as the file lays them out.
constexpr int AT_FLOOR = 8, AT_PLAYER = 16, AT_FLOOR_ITEMS = 1316, AT_FLOOR_ITEM_COUNT = 1956, AT_CAMP_FLAG = 1960,
              AT_CAMP = 1964, AT_BOON_OFFERS = 2308, AT_MONSTERS = 2324, AT_MONSTER_COUNT = 3764, AT_TRAINING = 3964,
              AT_FIGHT_FLAG = 3972, AT_FIGHT = 3976, AT_PENDING = 4204, AT_THREAT = 4208, AT_FLOW = 4212, AT_COMBO = 4216,
              AT_HEAT = 4224, AT_LUCK = 4228;
// The fight's popup and delay timers, zeroed on resume.
constexpr int FIGHT_TIMERS[] = {156, 160, 164, 168, 172, 184};

uint64_t record_hash(const RunRecord& r) {
    uint64_t h = 1469598103934665603ull;
    for (uint8_t b : r.bytes) h = (h ^ b) * 1099511628211ull;
    return h;
}

RunRecord build(int32_t state) {
    RunRecord r;
    run_record_build(&r, state);
    return r;
}

// A run well under way: floor 4 of a BRUTE with gold, boons, a full-ish bag, status counters and
// run meters, on a generated floor with its monsters and items.
void busy_run() {
    fixed_seed = 777;
    new_run();
    class_apply(CLASS_BRUTE);
    load_floor(4);
    player.gold = 321;
    player.keys = 2;
    player.kills = 17;
    player.level = 5;
    player.xp = 3;
    player.boon_ranks[BOON_MIGHT] = 2;
    player.boon_ranks[BOON_VIGOR] = 5;
    player.boon_redraws = 3;
    player.floor_kills = 4;
    player.status[ST_POISON] = 7;
    player.main_hand = test_item(ITEM_LONG_SWORD, 2, 1, ENCHANT_KEEN, 3, 2);
    bag_add(player.bag, test_item(ITEM_SPEAR, 1), 1);
    bag_add(player.bag, test_item(ITEM_ANTIDOTE), 3);
    bag_add(player.bag, test_item(ITEM_IRON_SHIELD, 0, 0, ENCHANT_WARDING), 1);
    floor_item_add(3, 3, test_item(ITEM_DAGGER, 2), FLOOR_SRC_DROPPED);
    explored[2][3] = 1;
    explored[5][7] = 1;
    levelup_clear();
    flow = 640;
    combo = 12;
    threat_total = 55;
    item_luck = 30;
    run_heat = 2;
    cheats_used = 0;
    game_state = STATE_DUNGEON;
    state_under_pause = STATE_TITLE;
}

// Another run entirely, so a load has to bring every field back.
void scramble() {
    knight_run_start(4242);
    load_floor(1);
    camp = Camp{};
    camp_page = CAMP_PAGE_SELL;
    flow = 1;
    combo = 2;
    threat_total = 3;
    item_luck = 4;
    run_heat = 0;
    combat = Combat{};
}

struct RunFileTest : ::testing::Test {
    TempSaveDir tmp;
    void TearDown() override {
        fixed_seed = 0;
        run_heat = 0;
        game_state = STATE_TITLE;
    }
    void write(const char* name, const uint8_t* bytes, size_t n) {
        tmp.write(name, std::string((const char*)bytes, n));
    }
    bool read(const char* name, RunRecord* out, bool* outdated = nullptr) {
        return run_file_read(tmp.path(name).c_str(), out, outdated);
    }
    // Saves in `state`, loads into a scrambled game and gives back the record built after the load.
    RunRecord round_trip(int32_t state, int32_t resumes) {
        game_state = state;
        EXPECT_TRUE(save_run());
        EXPECT_TRUE(tmp.exists("run.sav"));
        EXPECT_EQ(tmp.temps(), 0);
        scramble();
        EXPECT_TRUE(load_run());
        EXPECT_EQ(run_resume_state(), resumes);
        return build(resumes);
    }
};

TEST_F(RunFileTest, DungeonRunComesBackFieldForField) {
    busy_run();
    const RunRecord before = build(STATE_DUNGEON);
    const Player pl = player;
    const RunRecord after = round_trip(STATE_DUNGEON, STATE_DUNGEON);
    EXPECT_EQ(record_hash(after), record_hash(before));
    EXPECT_EQ(std::memcmp(after.bytes, before.bytes, RUN_FILE_BYTES), 0);
    EXPECT_EQ(player.x, pl.x);
    EXPECT_EQ(player.y, pl.y);
    EXPECT_EQ(player.bag.count, 3);
    EXPECT_EQ(current_floor, 4);
    EXPECT_EQ(flow, 640);
    EXPECT_EQ(run_heat, 2);
    // The file on disk is the image, byte for byte, and says what it is.
    const std::string disk = tmp.read("run.sav");
    ASSERT_EQ(disk.size(), (size_t)RUN_FILE_BYTES);
    EXPECT_EQ(disk.substr(0, 4), "QMSD");
    EXPECT_EQ(bytes_get_i32((const uint8_t*)disk.data(), 4), 21);
    EXPECT_EQ(std::memcmp(disk.data(), before.bytes, RUN_FILE_BYTES), 0);
}

TEST_F(RunFileTest, LevelUpResumesInTheDungeonWithThePicksOwed) {
    busy_run();
    levelup.pending = 2;
    const RunRecord before = build(STATE_LEVELUP);
    const RunRecord after = round_trip(STATE_LEVELUP, STATE_DUNGEON);
    EXPECT_EQ(std::memcmp(after.bytes, before.bytes, RUN_FILE_BYTES), 0);
    EXPECT_EQ(levelup.pending, 2);
    EXPECT_EQ(bytes_get_i32(after.bytes, AT_CAMP_FLAG), 0);
    EXPECT_EQ(bytes_get_i32(after.bytes, AT_FIGHT_FLAG), 0);
}

TEST_F(RunFileTest, CampOnEveryPageResumesOnTheHub) {
    for (int page = 0; page < CAMP_PAGE_COUNT; page++) {
        busy_run();
        current_floor = 3;
        camp_enter();
        camp_page = page;
        camp.cursor = 2;
        camp.rested = 1;
        camp.forge_slot = CAMP_SLOT_OFF;
        camp.hub_tile = 3;
        camp.boon_row = 2;
        camp.return_to_boons = 1;
        camp.key_sold = 1;
        camp.buy_back_count = 2;
        camp.buy_back[0] = CampBuyBack{test_item(ITEM_SPEAR, 1), 1, 14};
        camp.buy_back[1] = CampBuyBack{test_item(ITEM_ANTIDOTE), 3, 5};
        const uint32_t stream = boon_seed;
        const int32_t offer0 = boon_offers[0];
        RunRecord before = build(STATE_CAMP);
        // What a resume puts right: the hub page with its cursor on the first tile.
        bytes_put_i32(before.bytes, AT_CAMP, CAMP_PAGE_HUB);
        bytes_put_i32(before.bytes, AT_CAMP + 4, 0);
        const RunRecord after = round_trip(STATE_CAMP, STATE_CAMP);
        EXPECT_EQ(std::memcmp(after.bytes, before.bytes, RUN_FILE_BYTES), 0) << "page " << page;
        EXPECT_EQ(camp_page, CAMP_PAGE_HUB);
        EXPECT_EQ(camp.cursor, 0);
        EXPECT_EQ(camp.forge_slot, CAMP_SLOT_OFF);
        EXPECT_EQ(camp.buy_back[1].count, 3);
        EXPECT_EQ(boon_seed, stream);
        EXPECT_EQ(boon_offers[0], offer0);
    }
}

// A duel a few hundred milliseconds in: the monster hurt, the log written, a popup running.
void mid_duel(bool realtime) {
    busy_run();
    for (int y = 1; y < MAP_H - 1; y++)
        for (int x = 1; x < MAP_W - 1; x++) gmap[y][x] = '.';
    monsters_clear();
    player.x = 5;
    player.y = 5;
    player.facing = 1;
    monster_add(M_ORC, 6, 5);
    reflex_fights = realtime ? 1 : 0;
    start_combat(M_ORC, 6, 5);
    reflex_fights = 1;
    for (int i = 0; i < 40; i++) {
        combat_tick();
        if (realtime) combat_update(i % 10 < 2 ? BTN_A : 0, i % 10 == 0 ? BTN_A : 0);
    }
    combat.hit_popup_timer = 9;
    combat.shake_timer = 4;
    combat.monster_delay = 30;
    combat.hp = combat.max_hp - 5;
    if (realtime) reflex.hp = combat.hp;
    combat.gold_stolen = 6;
    combat.buff = 1;
}

TEST_F(RunFileTest, MidDuelResumesTheFightInBothModes) {
    for (bool realtime : {true, false}) {
        mid_duel(realtime);
        ASSERT_EQ(game_state, STATE_COMBAT);
        ASSERT_EQ(combat.reflex, realtime ? 1 : 0);
        RunRecord before = build(STATE_COMBAT);
        for (int off : FIGHT_TIMERS) bytes_put_i32(before.bytes, AT_FIGHT + off, 0);
        const RunRecord after = round_trip(STATE_COMBAT, STATE_COMBAT);
        EXPECT_EQ(std::memcmp(after.bytes, before.bytes, RUN_FILE_BYTES), 0) << "realtime " << realtime;
        EXPECT_EQ(combat.type, (uint32_t)M_ORC);
        EXPECT_EQ(combat.gold_stolen, 6);
        EXPECT_EQ(combat.hit_popup_timer, 0);
        EXPECT_EQ(combat.monster_delay, 0);
        if (realtime) {
            // The duel starts again from the saved hit points.
            EXPECT_EQ(reflex.hp, combat.hp);
            EXPECT_EQ(reflex.max_hp, combat.max_hp);
        }
    }
}

TEST_F(RunFileTest, PauseOverAStateSavesThatStatesBlock) {
    mid_duel(true);
    game_state = STATE_PAUSE;
    state_under_pause = STATE_COMBAT;
    ASSERT_TRUE(save_run());
    RunRecord r;
    ASSERT_TRUE(read("run.sav", &r));
    EXPECT_EQ(bytes_get_i32(r.bytes, AT_FIGHT_FLAG), 1);
    EXPECT_EQ(bytes_get_u32(r.bytes, AT_FIGHT), (uint32_t)M_ORC);

    state_under_pause = STATE_DUNGEON;
    ASSERT_TRUE(save_run());
    ASSERT_TRUE(read("run.sav", &r));
    EXPECT_EQ(bytes_get_i32(r.bytes, AT_FIGHT_FLAG), 0);
    EXPECT_EQ(bytes_get_i32(r.bytes, AT_CAMP_FLAG), 0);
    for (int i = 0; i < 228; i++) EXPECT_EQ(r.bytes[AT_FIGHT + i], 0) << i;

    // A fight in the file under a camp block resumes at the camp.
    busy_run();
    camp_enter();
    RunRecord both = build(STATE_CAMP);
    mid_duel(false);
    RunRecord fight = build(STATE_COMBAT);
    bytes_put_i32(both.bytes, AT_FIGHT_FLAG, 1);
    std::memcpy(both.bytes + AT_FIGHT, fight.bytes + AT_FIGHT, 228);
    write("run.sav", both.bytes, RUN_FILE_BYTES);
    ASSERT_TRUE(load_run());
    EXPECT_EQ(run_resume_state(), STATE_CAMP);
    EXPECT_EQ(resume_in_fight, 0);
}

TEST_F(RunFileTest, LoadRepairsWhatIsSafeToRepair) {
    mid_duel(false);
    RunRecord r = build(STATE_COMBAT);
    bytes_put_i32(r.bytes, AT_FIGHT + 68, -40);   // gold stolen
    bytes_put_i32(r.bytes, AT_FIGHT + 72, 9);     // buff
    for (int l = 0; l < 3; l++) std::memset(r.bytes + AT_FIGHT + 84 + 24 * l, 'Z', 24);
    bytes_put_i32(r.bytes, AT_FLOW, 5000);
    bytes_put_i32(r.bytes, AT_COMBO, -3);
    bytes_put_i32(r.bytes, AT_LUCK, 900);
    bytes_put_i32(r.bytes, 4220, 7);  // cheats used
    // Kind-specific monster fields of other kinds are cleared.
    bytes_put_i32(r.bytes, AT_MONSTER_COUNT, 1);
    bytes_put_i32(r.bytes, AT_MONSTERS + 8, M_RAT);
    r.bytes[AT_MONSTERS + 32] = 1;
    bytes_put_i32(r.bytes, AT_MONSTERS + 36, 77);
    write("run.sav", r.bytes, RUN_FILE_BYTES);
    ASSERT_TRUE(load_run());
    EXPECT_EQ(combat.gold_stolen, 0);
    EXPECT_EQ(combat.buff, 2);
    for (int l = 0; l < 3; l++) EXPECT_EQ(std::strlen(combat.log[l]), 23u);
    EXPECT_EQ(flow, 1000);
    EXPECT_EQ(combo, 0);
    EXPECT_EQ(item_luck, 80);
    EXPECT_EQ(cheats_used, 1);
    EXPECT_EQ(monsters.list[0].orc_vertical, 0);
    EXPECT_EQ(monsters.list[0].kind_state, 0);
}

// ---- versions ----

TEST_F(RunFileTest, OlderVersionsUpgradeWithTheirMissingTailZero) {
    busy_run();
    mid_duel(false);
    levelup.pending = 1;
    const RunRecord full = build(STATE_COMBAT);
    for (int32_t v = RUN_FILE_OLDEST; v <= RUN_FILE_VERSION; v++) {
        const int len = run_file_length(v);
        ASSERT_GT(len, 0);
        std::vector<uint8_t> file(full.bytes, full.bytes + len);
        bytes_put_i32(file.data(), 4, v);
        write("run.sav", file.data(), file.size());
        RunRecord r;
        ASSERT_TRUE(read("run.sav", &r)) << "version " << v;
        EXPECT_EQ(bytes_get_i32(r.bytes, 4), RUN_FILE_VERSION);
        EXPECT_EQ(std::memcmp(r.bytes + 8, full.bytes + 8, (size_t)len - 8), 0) << "version " << v;
        for (int i = len; i < RUN_FILE_BYTES; i++) ASSERT_EQ(r.bytes[i], 0) << "version " << v << " byte " << i;
        // One byte short of its length is refused.
        file.pop_back();
        write("run.sav", file.data(), file.size());
        EXPECT_FALSE(read("run.sav", &r)) << "version " << v;
    }
    // A version-14 file loads into the dungeon and is written back as 21.
    std::vector<uint8_t> v14(full.bytes, full.bytes + 3772);
    bytes_put_i32(v14.data(), 4, 14);
    write("run.sav", v14.data(), v14.size());
    ASSERT_TRUE(load_run());
    EXPECT_EQ(run_resume_state(), STATE_DUNGEON);
    EXPECT_EQ(levelup.pending, 0);
    EXPECT_EQ(flow, 0);
    game_state = STATE_DUNGEON;
    ASSERT_TRUE(save_run());
    EXPECT_EQ(bytes_get_i32((const uint8_t*)tmp.read("run.sav").data(), 4), 21);
    EXPECT_EQ(tmp.read("run.sav").size(), (size_t)RUN_FILE_BYTES);
}

TEST_F(RunFileTest, UnknownVersionsAreRefusedAndTheOldOnesMarked) {
    busy_run();
    RunRecord full = build(STATE_DUNGEON);
    struct Case {
        int32_t version;
        bool outdated;
    };
    for (Case c : {Case{22, false}, Case{13, true}, Case{1, true}, Case{0, false}, Case{-1, false},
                   Case{INT32_MAX, false}, Case{INT32_MIN, false}}) {
        bytes_put_i32(full.bytes, 4, c.version);
        write("run.sav", full.bytes, RUN_FILE_BYTES);
        RunRecord r;
        bool outdated = !c.outdated;
        EXPECT_FALSE(read("run.sav", &r, &outdated)) << c.version;
        EXPECT_EQ(outdated, c.outdated) << c.version;
        run_summary_refresh();
        EXPECT_EQ(run_summary.valid, 0);
        EXPECT_EQ(run_summary.outdated, c.outdated ? 1 : 0);
    }
    // A wrong magic is no run file at all.
    bytes_put_i32(full.bytes, 4, 21);
    std::memcpy(full.bytes, "QMSE", 4);
    write("run.sav", full.bytes, RUN_FILE_BYTES);
    bool outdated = true;
    RunRecord r;
    EXPECT_FALSE(read("run.sav", &r, &outdated));
    EXPECT_FALSE(outdated);
}

// ---- damaged files ----

struct RunFileDamage : RunFileTest {
    RunRecord camp_file, fight_file;
    void SetUp() override {
        busy_run();
        current_floor = 3;
        camp_enter();
        camp.buy_back_count = 1;
        camp.buy_back[0] = CampBuyBack{test_item(ITEM_SPEAR), 1, 9};
        camp_file = build(STATE_CAMP);
        mid_duel(true);
        fight_file = build(STATE_COMBAT);
        ASSERT_GT(bytes_get_i32(fight_file.bytes, AT_MONSTER_COUNT), 0);
        ASSERT_GT(bytes_get_i32(fight_file.bytes, AT_FLOOR_ITEM_COUNT), 0);
        ASSERT_EQ(player.bag.count, 3);
    }
    // Refused by the reader, and load_run leaves the game as it stood.
    void expect_refused(const RunRecord& r, const std::string& what) {
        write("run.sav", r.bytes, RUN_FILE_BYTES);
        RunRecord out;
        EXPECT_FALSE(read("run.sav", &out)) << what;
        const RunRecord game_before = build(STATE_COMBAT);
        const Combat fight_before = combat;
        EXPECT_FALSE(load_run()) << what;
        const RunRecord game_after = build(STATE_COMBAT);
        EXPECT_EQ(std::memcmp(game_before.bytes, game_after.bytes, RUN_FILE_BYTES), 0) << what;
        EXPECT_EQ(std::memcmp(&fight_before, &combat, sizeof combat), 0) << what;
        run_summary_refresh();
        EXPECT_EQ(run_summary.valid, 0) << what;
    }
};

TEST_F(RunFileDamage, EveryTruncationIsRefused) {
    for (size_t len = 0; len < (size_t)RUN_FILE_BYTES; len++) {
        write("run.sav", fight_file.bytes, len);
        RunRecord out;
        ASSERT_FALSE(read("run.sav", &out)) << len;
    }
    EXPECT_FALSE(load_run());
}

// Each checked field at its limits: the lowest and highest valid values load, and INT32_MIN, -1
// (where it is out of range), the largest valid value + 1 and INT32_MAX are refused.
TEST_F(RunFileDamage, EachCheckedFieldAtAndBeyondItsRange) {
    enum Width { I32, U8, I8 };
    struct Field {
        const char* name;
        int off;
        Width width;
        int32_t lo, hi;
        bool camp;  // lives in the camp file (else the fight file)
        bool edges_load = true;  // false where an edge value leaves other fields out of range
    };
    const int pl = AT_PLAYER;
    const int mon = AT_MONSTERS;
    const int fi = AT_FLOOR_ITEMS;
    const int32_t xp_hi = xp_to_next(bytes_get_i32(fight_file.bytes, pl + 24)) - 1;
    const int bb = AT_CAMP + 24;  // the first buy-back row
    const Field fields[] = {
        {"floor", AT_FLOOR, I32, 0, 19, false},
        {"player x", pl + 0, I32, 0, 15, false},
        {"player y", pl + 4, I32, 0, 11, false},
        {"facing", pl + 8, I32, 0, 3, false},
        {"hp", pl + 12, I32, -99999, 99999, false},
        {"max hp", pl + 16, I32, 1, 99999, false},
        {"attack", pl + 20, I32, -99999, 99999, false},
        {"level", pl + 24, I32, 1, 10000, false, false},
        {"xp", pl + 28, I32, 0, xp_hi, false},
        {"keys", pl + 32, I32, 0, 9999, false},
        {"gold", pl + 36, I32, 0, 9999999, false},
        {"kills", pl + 40, I32, 0, 999999, false},
        {"main hand", pl + 44, I32, 0, 14, false},
        {"off hand", pl + 56, I32, 0, 14, false},
        {"boon rank", pl + 68 + BOON_MIGHT, U8, 0, 5, false},
        {"class", pl + 138, U8, 0, CLASS_COUNT - 1, false},
        {"bag item", pl + 140, I32, 0, 14, false},
        {"bag col", pl + 140 + 16, I32, 0, 5, false},
        {"bag row", pl + 140 + 20, I32, 0, 4, false},
        {"bag entry count", pl + 140 + 12, I32, 0, 999, false},
        {"bag count", pl + 980, I32, 0, 30, false, false},
        {"bag cell", pl + 984, I32, -1, 2, false},  // three entries
        {"floor item count", AT_FLOOR_ITEM_COUNT, I32, 0, 32, false},
        {"floor item x", fi, I32, 0, 15, false},
        {"floor item y", fi + 4, I32, 0, 11, false},
        {"floor item id", fi + 8, I32, 0, 14, false},
        {"monster count", AT_MONSTER_COUNT, I32, 0, 24, false, false},
        {"monster x", mon, I32, 0, 15, false},
        {"monster y", mon + 4, I32, 0, 11, false},
        {"monster type", mon + 8, I32, 1, 8, false},
        {"monster dir", mon + 16, I32, 0, 3, false},
        {"monster home x", mon + 24, I32, 0, 15, false},
        {"monster turn", mon + 48, I32, 0, 1000000000, false},
        {"camp flag", AT_CAMP_FLAG, I32, 0, 1, true},
        {"camp page", AT_CAMP, I32, 0, 6, true},
        {"buy-back count", AT_CAMP + 9, U8, 0, 16, true},
        {"forge slot", AT_CAMP + 10, I8, -2, 29, true},
        {"hub tile", AT_CAMP + 11, U8, 0, 3, true},
        {"boon row", AT_CAMP + 13, U8, 0, 2, true},
        {"buy-back item", bb, I32, 0, 14, true},
        {"buy-back count", bb + 12, I32, 0, 999, true},
        {"buy-back price", bb + 16, I32, 0, 9999999, true},
        {"boon offer", AT_BOON_OFFERS, I32, 0, 50, true},
        {"fight flag", AT_FIGHT_FLAG, I32, 0, 1, false},
        {"fight type", AT_FIGHT, I32, 1, 8, false},
        {"fight max hp", AT_FIGHT + 8, I32, 1, 99999, false, false},
        {"fight turn", AT_FIGHT + 12, I32, 0, 1000000000, false},
        {"fight gold stolen", AT_FIGHT + 68, I32, INT32_MIN, 9999999, false},  // below 0 reads as 0
        {"fight monster x", AT_FIGHT + 52, I32, 0, 15, false},
        {"fight monster y", AT_FIGHT + 56, I32, 0, 11, false},
        {"fight queued", AT_FIGHT + 64, I32, 0, 4, false},
        {"level-up pending", AT_PENDING, I32, 0, 10000, false},
        {"threat", AT_THREAT, I32, INT32_MIN, 999999, false},  // below 0 reads as 0
        {"combo", AT_COMBO, I32, INT32_MIN, 999999, false},
        {"run heat", AT_HEAT, I32, 0, 5, false},
    };
    for (const Field& f : fields) {
        const RunRecord& base = f.camp ? camp_file : fight_file;
        auto with = [&](int32_t v) {
            RunRecord r = base;
            if (f.width == I32) bytes_put_i32(r.bytes, f.off, v);
            else r.bytes[f.off] = (uint8_t)v;
            return r;
        };
        const std::string name = f.name;
        std::vector<int32_t> bad;
        if (f.width == I32) {
            bad = {INT32_MIN, -1, INT32_MAX};
            if (f.hi < INT32_MAX) bad.push_back(f.hi + 1);
            if (f.lo > INT32_MIN) bad.push_back(f.lo - 1);
        } else {
            bad = {f.hi + 1, f.width == U8 ? 0xFF : 0x7F};
            if (f.lo > 0 || f.width == I8) bad.push_back(f.width == I8 ? f.lo - 1 : -1);
        }
        for (int32_t v : bad) {
            if (v >= f.lo && v <= f.hi) continue;
            expect_refused(with(v), name + " = " + std::to_string(v));
        }
        // The edges themselves load.
        if (!f.edges_load) continue;
        for (int32_t v : {f.lo, f.hi}) {
            RunRecord r = with(v);
            write("run.sav", r.bytes, RUN_FILE_BYTES);
            RunRecord out;
            EXPECT_TRUE(read("run.sav", &out)) << name << " = " << v;
        }
    }
    // One flipped high bit (a max hp of 15 read as 1073741839) on each value that play does sums
    // on is refused, not left to overflow in the next potion, blow or price.
    for (const char* name : {"max hp", "hp", "attack", "gold", "bag entry count", "combo", "fight max hp"})
        for (const Field& f : fields) {
            if (std::string(f.name) != name) continue;
            RunRecord r = f.camp ? camp_file : fight_file;
            bytes_put_i32(r.bytes, f.off, bytes_get_i32(r.bytes, f.off) | 0x40000000);
            expect_refused(r, name + std::string(" with bit 30 set"));
        }
}

TEST_F(RunFileDamage, RandomFlipsNeverCrash) {
    std::mt19937 rng(12345);
    int accepted = 0;
    for (int round = 0; round < 3000; round++) {
        RunRecord r = (round & 1) ? camp_file : fight_file;
        const int flips = 1 + (int)(rng() % 8);
        for (int k = 0; k < flips; k++) r.bytes[rng() % RUN_FILE_BYTES] ^= (uint8_t)(1u << (rng() % 8));
        write("run.sav", r.bytes, RUN_FILE_BYTES);
        if (load_run()) {
            accepted++;
            game_state = run_resume_state();
            ASSERT_TRUE(save_run());
        }
    }
    EXPECT_GT(accepted, 0);  // flips in the map or in counters nobody checks still load
}

// ---- the summary, deletion and the old slot files ----

TEST_F(RunFileTest, SummaryFollowsTheFile) {
    run_delete();
    run_summary_refresh();
    EXPECT_EQ(run_summary.valid, 0);
    busy_run();
    current_floor = 6;
    camp_enter();
    ASSERT_TRUE(save_run());  // refreshes the summary
    EXPECT_EQ(run_summary.valid, 1);
    EXPECT_EQ(run_summary.floor, 6);
    EXPECT_EQ(run_summary.level, 5);
    EXPECT_EQ(run_summary.gold, 321);
    EXPECT_EQ(run_summary.kills, 17);
    EXPECT_EQ(run_summary.max_hp, player.max_hp);
    EXPECT_EQ(run_summary.in_camp, 1);
    EXPECT_EQ(run_summary.in_fight, 0);
    EXPECT_EQ(run_summary.training, 0);
    EXPECT_EQ(run_summary.outdated, 0);
    // The training flag is the first byte of its block.
    RunRecord r = build(STATE_DUNGEON);
    r.bytes[AT_TRAINING] = 1;
    write("run.sav", r.bytes, RUN_FILE_BYTES);
    run_summary_refresh();
    EXPECT_EQ(run_summary.training, 1);
    EXPECT_EQ(run_summary.in_camp, 0);
    run_delete();
    EXPECT_FALSE(tmp.exists("run.sav"));
    EXPECT_EQ(run_summary.valid, 0);
    EXPECT_FALSE(load_run());
}

TEST_F(RunFileTest, RefusedFileStaysOnDiskUntilTheNextSave) {
    busy_run();
    RunRecord r = build(STATE_DUNGEON);
    bytes_put_i32(r.bytes, AT_FLOOR, 20);
    write("run.sav", r.bytes, RUN_FILE_BYTES);
    const std::string bad = tmp.read("run.sav");
    run_summary_refresh();
    EXPECT_EQ(run_summary.valid, 0);
    EXPECT_FALSE(load_run());
    EXPECT_EQ(tmp.read("run.sav"), bad);
    game_state = STATE_DUNGEON;
    ASSERT_TRUE(save_run());
    EXPECT_EQ(run_summary.valid, 1);
}

struct SlotTest : RunFileTest {
    void slot(int n, const RunRecord& r, time_t mtime, int len = RUN_FILE_BYTES) {
        const std::string name = "slot" + std::to_string(n) + ".sav";
        write(name.c_str(), r.bytes, (size_t)len);
        utimbuf t{mtime, mtime};
        utime(tmp.path(name.c_str()).c_str(), &t);
    }
    int32_t run_gold() {
        RunRecord r;
        EXPECT_TRUE(read("run.sav", &r));
        return bytes_get_i32(r.bytes, AT_PLAYER + 36);
    }
};

TEST_F(SlotTest, NewestValidSlotWinsAndEverySlotIsRetired) {
    busy_run();
    RunRecord a = build(STATE_DUNGEON), b = a, c = a;
    bytes_put_i32(a.bytes, AT_PLAYER + 36, 100);
    bytes_put_i32(b.bytes, AT_PLAYER + 36, 200);
    bytes_put_i32(c.bytes, AT_PLAYER + 36, 300);
    // An older version in a slot is upgraded on the way.
    bytes_put_i32(b.bytes, 4, 18);
    slot(0, a, 1000000);
    slot(1, b, 1000000, run_file_length(18));
    slot(2, c, 900000);
    saves_migrate_slots();
    EXPECT_EQ(run_gold(), 100);  // equally new: the first one
    for (const char* n : {"slot0.sav", "slot1.sav", "slot2.sav"}) {
        EXPECT_FALSE(tmp.exists(n)) << n;
        EXPECT_TRUE(tmp.exists((std::string(n) + ".old").c_str())) << n;
    }
    // run.sav is there now: a second start leaves the slots alone.
    slot(1, b, 2000000, run_file_length(18));
    saves_migrate_slots();
    EXPECT_TRUE(tmp.exists("slot1.sav"));
    EXPECT_EQ(run_gold(), 100);

    std::remove(tmp.path("run.sav").c_str());
    slot(2, c, 3000000);
    saves_migrate_slots();
    EXPECT_EQ(run_gold(), 300);  // strictly newer
}

TEST_F(SlotTest, InvalidSlotsAreRetiredAndAFailedWriteKeepsThem) {
    busy_run();
    RunRecord bad = build(STATE_DUNGEON);
    bytes_put_i32(bad.bytes, AT_FLOOR, 99);
    slot(0, bad, 1000);
    saves_migrate_slots();
    EXPECT_FALSE(tmp.exists("run.sav"));
    EXPECT_TRUE(tmp.exists("slot0.sav.old"));

    // The run cannot be written (a folder holds its name): the slot stays.
    RunRecord good = build(STATE_DUNGEON);
    slot(1, good, 1000);
    ASSERT_EQ(mkdir(tmp.path("run.sav").c_str(), 0700), 0);
    saves_migrate_slots();
    EXPECT_TRUE(tmp.exists("slot1.sav"));
    rmdir(tmp.path("run.sav").c_str());
    saves_migrate_slots();
    EXPECT_TRUE(tmp.exists("run.sav"));
    EXPECT_TRUE(tmp.exists("slot1.sav.old"));
}

int refuse_rename_noreplace(const char*, const char*) {
    errno = EINVAL;
    return -1;
}

// Every start without a run moves the slot files it finds, read or not: each goes to a free name,
// never over one an earlier start kept, also where the folder keeps it by a hard link.
TEST_F(SlotTest, AMovedSlotNeverReplacesOneKeptBefore) {
    std::mt19937 rng(57);
    std::string noise(RUN_FILE_BYTES, '\0');
    for (char& c : noise) c = (char)(rng() & 0xFF);
    const std::string kept = "the slot an earlier start kept";
    tmp.write("slot0.sav.old", kept);
    tmp.write("slot0.sav", noise);
    saves_migrate_slots();
    EXPECT_FALSE(tmp.exists("run.sav"));
    EXPECT_FALSE(tmp.exists("slot0.sav"));
    EXPECT_TRUE(tmp.read("slot0.sav.old") == kept) << "the slot kept before is kept";
    EXPECT_TRUE(tmp.read("slot0_2.sav.old") == noise) << "the random bytes are kept";

    file_move_calls_set(refuse_rename_noreplace, nullptr);
    tmp.write("slot0.sav", "a third");
    saves_migrate_slots();
    file_move_calls_set(nullptr, nullptr);
    EXPECT_FALSE(tmp.exists("slot0.sav"));
    EXPECT_TRUE(tmp.read("slot0.sav.old") == kept) << "the slot kept before is kept";
    EXPECT_TRUE(tmp.read("slot0_2.sav.old") == noise) << "the random bytes are kept";
    EXPECT_EQ(tmp.read("slot0_3.sav.old"), "a third");
}

}  // namespace

TEST_F(RunFileTest, GainsNearTheBoundsStopThereAndTheRunStillLoads) {
    busy_run();
    player.gold = RUN_GOLD_MAX;
    player.max_hp = player.hp = RUN_HP_MAX - 1;
    player.attack = RUN_ATTACK_MAX;
    player.keys = RUN_KEYS_MAX;
    const int stack = bag_add(player.bag, test_item(ITEM_ANTIDOTE), RUN_STACK_MAX - 3);
    ASSERT_GE(stack, 0);
    gain_xp(xp_to_next(player.level) + xp_to_next(player.level + 1));  // two level-ups
    boon_grant(BOON_CACHE);
    boon_grant(BOON_KEYRING);
    EXPECT_EQ(bag_add(player.bag, test_item(ITEM_ANTIDOTE), 3), -1);  // past the stack's bound: refused
    EXPECT_EQ(player.gold, RUN_GOLD_MAX);
    EXPECT_EQ(player.max_hp, RUN_HP_MAX);
    EXPECT_EQ(player.attack, RUN_ATTACK_MAX);
    EXPECT_EQ(player.keys, RUN_KEYS_MAX);
    EXPECT_EQ(player.bag.entries[stack].count, RUN_STACK_MAX);
    const RunRecord saved = round_trip(STATE_DUNGEON, STATE_DUNGEON);
    EXPECT_EQ(bytes_get_i32(saved.bytes, AT_PLAYER + 36), RUN_GOLD_MAX);
}
