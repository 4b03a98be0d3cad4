// The per-floor record and the run summary, read back with a JSON parser: keys, array lengths,
// the fixed limits, and what ends a floor.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "saves/settings.h"
#include "support/telemetry_consent.h"
#include "support/temp_save_dir.h"
#include "telemetry/events.h"
#include "telemetry/run_record.h"
#include "telemetry/session.h"
#include "world/game_state.h"
#include "world/player.h"

using nlohmann::json;

namespace {

RunFacts fake;  // what the fake game reports

void fake_gather(RunFacts* out) { *out = fake; }
void fake_describe(const Item& item, RecordItem* out) {
    *out = RecordItem{};
    if (item.id == ITEM_NONE) return;
    std::snprintf(out->name, sizeof out->name, "ITEM\"%u\\", item.id);  // quote and backslash are dropped
    out->real = 1;
    out->wearable = item.id < 5;
    out->quality = item.quality;
    out->upgrade = item.upgrade;
    out->wear = item.wear;
    out->wear_max = 20;
    std::snprintf(out->enchant, sizeof out->enchant, "%s", item.enchant ? "KEEN" : "");
}
const char* fake_monster(int type) { return type == 2 ? "GOBLIN" : "RAT"; }

const char* const FIGHT_COLS[] = {"monster", "elite",  "ms",     "dealt",  "taken",     "hits",     "parries", "perfects",
                                  "dodges",  "blocks", "jabs",   "heavies", "threat0",  "flow0",    "hp0",     "hp1",
                                  "result",  "bare",   "finishers", "staggers", "interrupts", "react", "reacts"};

std::vector<json> lines_of(const std::string& text) {
    std::vector<json> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty()) out.push_back(json::parse(line));
    return out;
}

struct RunRecordTest : ::testing::Test {
    TempSaveDir tmp;
    TelemetryConsent consent;
    void SetUp() override {
        fake = RunFacts{};
        fake.seed = 4242;
        std::strcpy(fake.class_name, "KNIGHT");
        fake.monster_type = 2;
        fake.potions = 1;
        fake.main_hand = {.name = "SWORD", .enchant = "", .quality = 1, .upgrade = 0, .wear = 3, .wear_max = 20,
                          .count = 1, .real = 1, .wearable = 1};
        fake.bag_cells = 5;
        fake.bag_count = 2;
        fake.bag[0] = {.name = "ROPE", .enchant = "", .quality = 0, .upgrade = 0, .wear = 0, .wear_max = 0,
                       .count = 3, .real = 1, .wearable = 0};
        fake.bag[1] = {.name = "AXE", .enchant = "KEEN", .quality = 2, .upgrade = 1, .wear = 4, .wear_max = 20,
                       .count = 1, .real = 1, .wearable = 1};
        fake.boon_count = 2;
        std::strcpy(fake.boons[0].name, "IRON SKIN");
        fake.boons[0].level = 2;
        std::strcpy(fake.boons[1].name, "QUICK");
        fake.boons[1].level = 1;
        run_record_source_set({.gather = fake_gather, .describe = fake_describe, .monster_name = fake_monster});
        run_record_reset();
        player = Player{};
        player.hp = player.max_hp = 12;
        player.level = 1;
        current_floor = 3;
        game_state = STATE_DUNGEON;
        cheats_used = 0;
    }
    void TearDown() override {
        run_record_source_set({});
        run_record_reset();
        session_open = 0;
        player = Player{};
        current_floor = 0;
        game_state = 0;
    }
    std::vector<json> events() { return lines_of(tmp.read("events_outbox.jsonl")); }
    void a_fight(int dealt, int result) {
        run_record_fight_begin();
        fake.stats[RS_DEALT] += dealt;
        fake.stats[RS_REACTS] += 2;
        fake.stats[RS_REACT_MS] += 500;
        fake.fight_ms = 4000;
        player.hp -= 1;
        run_record_fight_end(result);
    }
    void check_floor_shape(const json& d, bool with_bag) {
        for (const char* key : {"run", "class", "floor", "end", "resumed", "cheats", "secs", "hp_in", "hp_out",
                                "max_hp_in", "max_hp_out", "level_in", "level_out", "gold_in", "gold_out", "weapon",
                                "offhand", "rest", "pots_in", "fight_cols", "fights", "fights_cut", "picks", "items",
                                "item_info", "potions", "wear"})
            EXPECT_TRUE(d.contains(key)) << key;
        ASSERT_EQ(d["fight_cols"].size(), 23u);
        for (int i = 0; i < 23; i++) EXPECT_EQ(d["fight_cols"][i], FIGHT_COLS[i]);
        for (const auto& row : d["fights"]) EXPECT_EQ(row.size(), 23u);
        EXPECT_EQ(d["items"].size(), d["item_info"].size());
        EXPECT_EQ(d["wear"].size(), 4u);
        EXPECT_EQ(d.contains("bag"), with_bag);
        EXPECT_EQ(d.contains("bag_cells"), with_bag);
    }
};

TEST_F(RunRecordTest, DeathFloorAndSummaryReadBack) {
    run_record_tick(true);  // the record starts: a fresh floor
    player.gold = 30;
    a_fight(7, 0);
    const char* const opts[3] = {"MIGHT", "GUARD\"", "SPEED"};
    run_record_pick("lvl", opts, 1);
    Item blade = {};
    blade.id = 3;
    blade.quality = 2;
    blade.enchant = 1;
    blade.wear = 6;
    run_record_item_event("pickup", blade, 1, "chest");
    run_record_item_note("rest-declined", "CAMP");
    run_record_potion(5);
    run_record_fight_begin();  // the killing blow's fight stays open
    run_record_death(3, 9, true);
    run_record_emit("death");
    run_summary_write(false);

    auto ev = events();
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0]["kind"], "floor");
    const json& d = ev[0]["data"];
    check_floor_shape(d, true);
    EXPECT_EQ(d["run"], 4242);
    EXPECT_EQ(d["class"], "KNIGHT");
    EXPECT_EQ(d["floor"], 4);
    EXPECT_EQ(d["end"], "death");
    EXPECT_EQ(d["resumed"], false);
    EXPECT_EQ(d["gold_out"], 30);
    EXPECT_EQ(d["weapon"], "SWORD");
    EXPECT_EQ(d["offhand"], "");
    EXPECT_EQ(d["rest"], -1);
    ASSERT_EQ(d["fights"].size(), 2u);
    const json& f = d["fights"][0];
    EXPECT_EQ(f[0], "GOBLIN");
    EXPECT_EQ(f[2], 4000);  // ms
    EXPECT_EQ(f[3], 7);     // dealt
    EXPECT_EQ(f[14], 12);   // hp0
    EXPECT_EQ(f[15], 11);   // hp1
    EXPECT_EQ(f[16], 0);    // result
    EXPECT_EQ(f[17], 1);    // bare-handed: no weapon in the player's hand
    EXPECT_EQ(f[21], 250);  // average reaction
    EXPECT_EQ(f[22], 2);
    EXPECT_EQ(d["fights"][1][16], 2);  // closed by the end of the floor
    ASSERT_EQ(d["picks"].size(), 1u);
    EXPECT_EQ(d["picks"][0]["o"][1], "GUARD");
    EXPECT_EQ(d["picks"][0]["c"], 1);
    ASSERT_EQ(d["items"].size(), 2u);
    EXPECT_EQ(d["items"][0][1], "ITEM3");
    EXPECT_EQ(d["item_info"][0], json::parse("[1,\"chest\",2,0,\"KEEN\",6]"));
    EXPECT_EQ(d["item_info"][1], json::parse("[0]"));
    EXPECT_EQ(d["potions"], json::parse("[5]"));
    EXPECT_EQ(d["wear"], json::parse("[3,20,0,0]"));
    EXPECT_EQ(d["bag_cells"], 5);
    EXPECT_EQ(d["bag"], json::parse("[[\"ROPE\",0,0,\"\",0,3],[\"AXE\",2,1,\"KEEN\",4,1]]"));

    auto runs = lines_of(tmp.read("runs.jsonl"));
    ASSERT_EQ(runs.size(), 1u);
    const json& s = runs[0];
    for (const char* key : {"v", "build", "cheats", "platform", "t", "class", "floor", "win", "level", "kills", "souls",
                            "gold", "killer", "reflex", "skill", "flow_best", "threat_avg", "threat_souls_tenths",
                            "fights", "fight_ms", "dealt", "taken", "hits_taken", "parries", "perfects", "blocks",
                            "dodges", "guard_breaks", "shatters", "jabs", "heavies", "finishers", "staggers",
                            "interrupts", "breaks", "berserks", "weapon", "offhand", "boons", "run", "career",
                            "souls_bal", "souls_spent", "unlocks", "skill0", "met_new", "heat", "perks", "death"})
        EXPECT_TRUE(s.contains(key)) << key;
    EXPECT_EQ(s["win"], false);
    EXPECT_EQ(s["killer"], "GOBLIN");
    EXPECT_EQ(s["dealt"], 7);
    EXPECT_EQ(s["boons"], json::parse("{\"IRON SKIN\":2,\"QUICK\":1}"));
    EXPECT_EQ(s["perks"], "000");
    EXPECT_EQ(s["death"], json::parse("{\"hp_before\":3,\"max_hp\":12,\"damage\":9,\"chip\":true,\"threat\":0,"
                                      "\"flow\":0,\"fight_ms\":4000,\"door_used\":false}"));
    auto outbox = lines_of(tmp.read("runs_outbox.jsonl"));
    ASSERT_EQ(outbox.size(), 1u);
    EXPECT_EQ(outbox[0]["data"], s);
}

// Names as the record gets them: every byte from 0x01 to 0xFF in turn, with quotes and backslashes,
// so multi-byte sequences come whole, cut and stray in every field.
std::string hostile_bytes(size_t length) {
    static unsigned next = 0;
    std::string s;
    while (s.size() < length) {
        unsigned b = next++ % 257;
        s += b == 0 ? '"' : b == 256 ? '\\' : (char)b;
    }
    return s;
}
template <size_t N>
void hostile_name(char (&field)[N]) {
    std::snprintf(field, N, "%s", hostile_bytes(N - 1).c_str());
}
std::string hostile_monster;
const char* hostile_monster_name(int) { return hostile_monster.c_str(); }

TEST_F(RunRecordTest, HostileNamesAndEveryByteStillGiveValidJsonLines) {
    const std::string valid = "KNIGHT \"\xC3\xA9\" \\ \xE2\x9C\x93";  // quotes, a backslash, two real characters
    std::snprintf(fake.class_name, sizeof fake.class_name, "%s", valid.c_str());
    for (RecordItem* it : {&fake.main_hand, &fake.off_hand}) {
        hostile_name(it->name);
        hostile_name(it->enchant);
        it->real = 1;
    }
    fake.bag_count = RECORD_BAG_MAX;
    for (RecordItem& it : fake.bag) {
        hostile_name(it.name);
        hostile_name(it.enchant);
        it.real = 1;
    }
    fake.boon_count = 8;  // more would pass the summary's length, which drops it whole
    for (int i = 0; i < fake.boon_count; i++) hostile_name(fake.boons[i].name);
    hostile_monster = hostile_bytes(300);
    run_record_source_set({.gather = fake_gather, .describe = fake_describe, .monster_name = hostile_monster_name});
    install_id_set(hostile_bytes(INSTALL_ID_MAX).c_str());

    run_record_tick(true);
    a_fight(1, 0);
    for (int i = 0; i < 4; i++) {
        const std::string a = hostile_bytes(30), b = hostile_bytes(30), c = hostile_bytes(30);
        const char* const opts[3] = {a.c_str(), b.c_str(), c.c_str()};
        run_record_pick(hostile_bytes(10).c_str(), opts, 0);
        run_record_item(hostile_bytes(30).c_str(), hostile_bytes(30).c_str(), i);
    }
    run_record_death(3, 9, false);
    run_record_emit("death");
    run_summary_write(false);

    for (const char* name : {"events_outbox.jsonl", "runs.jsonl", "runs_outbox.jsonl"}) {
        const std::string text = tmp.read(name);
        ASSERT_FALSE(text.empty()) << name;
        std::vector<json> lines;
        ASSERT_NO_THROW(lines = lines_of(text)) << name;
        ASSERT_EQ(lines.size(), 1u) << name;
    }
    EXPECT_EQ(events()[0]["data"]["class"], valid);  // escaped, not dropped
    EXPECT_EQ(lines_of(tmp.read("runs.jsonl"))[0]["class"], valid);
}

TEST_F(RunRecordTest, WinSummaryHasNoDeathAndNoKiller) {
    run_record_tick(true);
    run_record_emit("win");
    run_summary_write(true);
    auto ev = events();
    ASSERT_EQ(ev.size(), 1u);
    check_floor_shape(ev[0]["data"], true);
    EXPECT_EQ(ev[0]["data"]["fights"].size(), 0u);  // a floor with no fights: an empty list
    auto runs = lines_of(tmp.read("runs.jsonl"));
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0]["win"], true);
    EXPECT_EQ(runs[0]["killer"], "");
    EXPECT_FALSE(runs[0].contains("death"));
}

TEST_F(RunRecordTest, QuitMidFloorSendsTheFloorWithItsBagAndDescendWithout) {
    run_record_tick(true);
    current_floor = 4;
    run_record_tick(true);  // a new floor: the last one ends as "descend"
    a_fight(2, 1);
    session_open = 1;
    session_end();  // quitting the program mid-floor
    auto ev = events();
    ASSERT_GE(ev.size(), 2u);
    EXPECT_EQ(ev[0]["data"]["end"], "descend");
    check_floor_shape(ev[0]["data"], false);
    EXPECT_EQ(ev[1]["data"]["end"], "quit");
    EXPECT_EQ(ev[1]["data"]["floor"], 5);
    EXPECT_EQ(ev[1]["data"]["resumed"], false);
    check_floor_shape(ev[1]["data"], true);
    ASSERT_EQ(ev[1]["data"]["fights"].size(), 1u);
    EXPECT_EQ(ev[1]["data"]["fights"][0][16], 1);
}

TEST_F(RunRecordTest, ListsStopAtTheirLimits) {
    run_record_tick(true);
    for (int i = 0; i < 41; i++) a_fight(1, 0);
    const char* const opts[3] = {"A", "B", "C"};
    for (int i = 0; i < 9; i++) run_record_pick("camp", opts, i % 3);
    for (int i = 0; i < 41; i++) run_record_item_n("sell", "junk", i);
    for (int i = 0; i < 17; i++) run_record_potion(i);
    run_record_emit("saved");
    auto ev = events();
    ASSERT_EQ(ev.size(), 1u);
    const json& d = ev[0]["data"];
    check_floor_shape(d, false);
    EXPECT_EQ(d["fights"].size(), 40u);
    EXPECT_EQ(d["fights_cut"], 1);
    EXPECT_EQ(d["picks"].size(), 8u);
    EXPECT_EQ(d["items"].size(), 40u);
    EXPECT_EQ(d["potions"].size(), 16u);
    EXPECT_EQ(d["resumed"], false);

    // The next floor after a save was not a fresh start.
    run_record_tick(true);
    run_record_emit("saved");
    EXPECT_EQ(events().back()["data"]["resumed"], true);
}

TEST_F(RunRecordTest, TrainingQueuesTutFloorAndNoSummary) {
    fake.training = 1;
    run_record_tick(true);
    run_record_emit("training");
    run_summary_write(false);
    auto ev = events();
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0]["kind"], "tut_floor");
    EXPECT_FALSE(tmp.exists("runs.jsonl"));
}

TEST_F(RunRecordTest, OnlyPlayStartsTheRecordAndNothingIsQueuedWithoutConsent) {
    run_record_tick(false);
    run_record_emit("quit");
    EXPECT_FALSE(tmp.exists("events_outbox.jsonl"));
    settings.share_stats = 0;
    run_record_tick(true);
    run_record_emit("death");
    run_summary_write(false);
    EXPECT_FALSE(tmp.exists("events_outbox.jsonl"));
    EXPECT_FALSE(tmp.exists("runs_outbox.jsonl"));
    EXPECT_EQ(lines_of(tmp.read("runs.jsonl")).size(), 1u);  // the local history is kept regardless
}

}  // namespace
