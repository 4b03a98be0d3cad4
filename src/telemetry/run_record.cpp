// The per-floor run record: the player's state on entering a floor, one row per fight, picks,
// item events, potions and the rest, written as one JSON object and queued as a "floor" event
// when the floor ends. Noted by the tick, the fight code, the camp and exploration.
#include "telemetry/run_record.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "telemetry/events.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {
constexpr int FIGHT_COLS = 23;
constexpr int RESULT_CUT_SHORT = 2;
constexpr int PICK_KIND = 8, PICK_OPTION = 24;
constexpr int ITEM_WHAT = 24, ITEM_DETAIL = 24, ITEM_WHERE = 8;
// Room for any name of the record escaped whole, six bytes a character at worst.
constexpr int NAME_JSON_MAX = 256;

// A name as the body of a JSON string, through the one escaper. As a print argument it lives until
// the print is done.
struct JsonText {
    char s[NAME_JSON_MAX];
    explicit JsonText(const char* text) { json_escape(s, sizeof s, text); }
};

enum FightCol : int {
    FC_MONSTER, FC_ELITE, FC_MS, FC_DEALT, FC_TAKEN, FC_HITS, FC_PARRIES, FC_PERFECTS, FC_DODGES, FC_BLOCKS,
    FC_JABS, FC_HEAVIES, FC_THREAT0, FC_FLOW0, FC_HP0, FC_HP1, FC_RESULT, FC_BARE, FC_FINISHERS, FC_STAGGERS,
    FC_INTERRUPTS, FC_REACT, FC_REACTS
};
static_assert(FC_REACTS + 1 == FIGHT_COLS);

// The counters a fight row shows as their change over the fight, column by column.
struct CounterCol {
    FightCol col;
    RecordStat stat;
};
const CounterCol FIGHT_COUNTERS[] = {
    {.col = FC_DEALT, .stat = RS_DEALT},           {.col = FC_TAKEN, .stat = RS_TAKEN},
    {.col = FC_HITS, .stat = RS_HITS_TAKEN},       {.col = FC_PARRIES, .stat = RS_PARRIES},
    {.col = FC_PERFECTS, .stat = RS_PERFECTS},     {.col = FC_DODGES, .stat = RS_DODGES},
    {.col = FC_BLOCKS, .stat = RS_BLOCKS},         {.col = FC_JABS, .stat = RS_JABS},
    {.col = FC_HEAVIES, .stat = RS_HEAVIES},       {.col = FC_FINISHERS, .stat = RS_FINISHERS},
    {.col = FC_STAGGERS, .stat = RS_STAGGERS},     {.col = FC_INTERRUPTS, .stat = RS_INTERRUPTS},
};

struct Pick {
    char kind[PICK_KIND];
    char options[3][PICK_OPTION];
    int32_t chosen;
};

struct ItemLine {
    char what[ITEM_WHAT];
    char detail[ITEM_DETAIL];
    int32_t n;
    uint8_t has_info;
    char where[ITEM_WHERE];
    int32_t quality, upgrade, wear;
    char enchant[10];
};

struct OpenFight {
    uint8_t open;
    int32_t monster, elite, threat0, flow0, hp0, bare, result_mark;
    int64_t stats0[RS_COUNT];
};

struct RunRecord {
    uint8_t active, resumed;
    int32_t floor;
    int64_t ticks;
    int32_t hp_in, max_hp_in, level_in, gold_in, pots_in;
    int32_t fights[RECORD_FIGHTS_MAX][FIGHT_COLS];
    int32_t fight_count, fights_cut;
    OpenFight fight;
    Pick picks[RECORD_PICKS_MAX];
    int32_t pick_count;
    ItemLine items[RECORD_ITEMS_MAX];
    int32_t item_count;
    int32_t potions[RECORD_POTIONS_MAX];
    int32_t potion_count;
    int32_t rest;
    Item last_main, last_off;
};

struct DeathInfo {
    int32_t hp_before, max_hp, damage;
    uint8_t chip;
    int32_t threat, flow, monster_type, fight_ms;
    uint8_t door_used;
};

RunRecord run_record = {};
DeathInfo death_info = {};
bool fresh_start = true;
RunRecordSource source = {};
char run_json[RUN_JSON_MAX];
RunFacts facts_buf;

const RunFacts& facts() {
    facts_buf = RunFacts{};
    facts_buf.monster_type = -1;
    if (source.gather) source.gather(&facts_buf);
    return facts_buf;
}

// The monster's name escaped for a JSON string, valid until the next call.
const char* monster_name(int type) {
    static char escaped[NAME_JSON_MAX];
    const char* n = source.monster_name ? source.monster_name(type) : nullptr;
    json_escape(escaped, sizeof escaped, n ? n : "");
    return escaped;
}

// Texts in the record drop control characters, quotes and backslashes rather than escape them.
void copy_clean(char* out, size_t size, const char* text) {
    size_t o = 0;
    for (const unsigned char* p = (const unsigned char*)(text ? text : ""); *p && o + 1 < size; p++)
        if (*p >= 32 && *p != '"' && *p != '\\') out[o++] = (char)*p;
    out[o] = 0;
}

bool same_item(const Item& a, const Item& b) {
    return a.id == b.id && a.quality == b.quality && a.enchant == b.enchant && a.upgrade == b.upgrade;
}

void record_start() {
    const RunFacts& f = facts();
    run_record = RunRecord{};
    run_record.active = 1;
    run_record.resumed = fresh_start ? 0 : 1;
    fresh_start = false;
    run_record.floor = current_floor;
    run_record.hp_in = player.hp;
    run_record.max_hp_in = player.max_hp;
    run_record.level_in = player.level;
    run_record.gold_in = player.gold;
    run_record.pots_in = f.potions;
    run_record.rest = -1;
    run_record.last_main = player.main_hand;
    run_record.last_off = player.off_hand;
}

void ensure_active() {
    if (!run_record.active) record_start();
}

void fight_snapshot() {
    const RunFacts& f = facts();
    OpenFight& o = run_record.fight;
    o = OpenFight{};
    o.open = 1;
    o.monster = f.monster_type;
    o.elite = f.monster_elite;
    o.threat0 = f.threat;
    o.flow0 = f.flow;
    o.hp0 = player.hp;
    o.bare = player.main_hand.id == ITEM_NONE ? 1 : 0;
    for (int i = 0; i < RS_COUNT; i++) o.stats0[i] = f.stats[i];
}

const char* yes_no(bool b) { return b ? "true" : "false"; }

void append_item(size_t* pos, const char* sep, const RecordItem& it) {
    buf_appendf(run_json, sizeof run_json, pos, "%s[\"%s\",%d,%d,\"%s\",%d,%d]", sep, JsonText(it.name).s, it.quality,
                it.upgrade, JsonText(it.enchant).s, it.wear, it.count);
}
}  // namespace

void run_record_source_set(const RunRecordSource& s) { source = s; }

void run_record_reset() {
    run_record = RunRecord{};
    death_info = DeathInfo{};
    fresh_start = true;
}

void run_record_tick(bool playing) {
    if (!playing) return;
    if (!run_record.active) record_start();
    else if (run_record.floor != current_floor) {
        run_record_emit("descend");
        fresh_start = true;  // a floor reached by the stairs did not come from a save
        record_start();
    }
    run_record.ticks++;
    const struct {
        Item* last;
        const Item* now;
        const char* where;
    } hands[2] = {{&run_record.last_main, &player.main_hand, "main"}, {&run_record.last_off, &player.off_hand, "off"}};
    for (const auto& h : hands) {
        if (same_item(*h.last, *h.now)) continue;
        *h.last = *h.now;
        if (h.now->id != ITEM_NONE) run_record_item_event("equip", *h.now, 0, h.where);
    }
}

void run_record_fight_begin() {
    ensure_active();
    fight_snapshot();
}

void run_record_fight_end(int result) {
    ensure_active();
    OpenFight& o = run_record.fight;
    if (!o.open) {
        fight_snapshot();
        o.result_mark = 1;
        result = RESULT_CUT_SHORT;
    } else if (o.result_mark) {
        result = RESULT_CUT_SHORT;
    }
    o.open = 0;
    if (run_record.fight_count >= RECORD_FIGHTS_MAX) {
        run_record.fights_cut++;
        return;
    }
    const RunFacts& f = facts();
    int32_t* row = run_record.fights[run_record.fight_count++];
    std::memset(row, 0, sizeof(int32_t) * FIGHT_COLS);
    row[FC_MONSTER] = o.monster;
    row[FC_ELITE] = o.elite;
    row[FC_MS] = f.fight_ms;
    for (const CounterCol& c : FIGHT_COUNTERS) row[c.col] = (int32_t)(f.stats[c.stat] - o.stats0[c.stat]);
    row[FC_THREAT0] = o.threat0;
    row[FC_FLOW0] = o.flow0;
    row[FC_HP0] = o.hp0;
    row[FC_HP1] = player.hp;
    row[FC_RESULT] = result;
    row[FC_BARE] = o.bare;
    int64_t reacts = f.stats[RS_REACTS] - o.stats0[RS_REACTS];
    int64_t react_ms = f.stats[RS_REACT_MS] - o.stats0[RS_REACT_MS];
    row[FC_REACT] = reacts > 0 ? (int32_t)(react_ms / reacts) : 0;
    row[FC_REACTS] = (int32_t)reacts;
}

void run_record_pick(const char* kind, const char* const options[3], int chosen) {
    ensure_active();
    if (run_record.pick_count >= RECORD_PICKS_MAX) return;
    Pick& p = run_record.picks[run_record.pick_count++];
    copy_clean(p.kind, sizeof p.kind, kind);
    for (int i = 0; i < 3; i++) copy_clean(p.options[i], sizeof p.options[i], options ? options[i] : "");
    p.chosen = chosen;
}

void run_record_item(const char* what, const char* detail, int n) {
    ensure_active();
    if (run_record.item_count >= RECORD_ITEMS_MAX) return;
    ItemLine& l = run_record.items[run_record.item_count++];
    l = ItemLine{};
    copy_clean(l.what, sizeof l.what, what);
    copy_clean(l.detail, sizeof l.detail, detail);
    l.n = n;
}

void run_record_item_note(const char* what, const char* detail) { run_record_item(what, detail, 0); }
void run_record_item_n(const char* what, const char* detail, int n) { run_record_item(what, detail, n); }

void run_record_item_event(const char* what, const Item& item, int count, const char* where) {
    RecordItem d = {};
    if (source.describe) source.describe(item, &d);
    int before = run_record.item_count;
    run_record_item(what, d.name, count);
    if (run_record.item_count == before || !d.wearable) return;
    ItemLine& l = run_record.items[run_record.item_count - 1];
    l.has_info = 1;
    copy_clean(l.where, sizeof l.where, where);
    l.quality = d.quality;
    l.upgrade = d.upgrade;
    l.wear = d.wear;
    copy_clean(l.enchant, sizeof l.enchant, d.enchant);
}

void run_record_potion(int value) {
    ensure_active();
    if (run_record.potion_count < RECORD_POTIONS_MAX) run_record.potions[run_record.potion_count++] = value;
}

void run_record_rest(int value) {
    ensure_active();
    run_record.rest = value;
}

void run_record_death(int hp_before, int damage, bool chip) {
    const RunFacts& f = facts();
    death_info = {.hp_before = hp_before, .max_hp = player.max_hp, .damage = damage, .chip = (uint8_t)(chip ? 1 : 0),
                  .threat = f.threat, .flow = f.flow, .monster_type = f.monster_type, .fight_ms = f.fight_ms,
                  .door_used = f.door_used};
}

void run_record_emit(const char* end) {
    if (!run_record.active) return;
    if (run_record.fight.open) run_record_fight_end(RESULT_CUT_SHORT);
    run_record.active = 0;
    const RunFacts& f = facts();
    const RunRecord& r = run_record;
    const JsonText cls(f.class_name), weapon(f.main_hand.real ? f.main_hand.name : ""),
        offhand(f.off_hand.real ? f.off_hand.name : "");
    size_t pos = 0;
    buf_appendf(run_json, sizeof run_json, &pos,
                "{\"run\":%u,\"class\":\"%s\",\"floor\":%d,\"end\":\"%s\",\"resumed\":%s,\"cheats\":%s,\"secs\":%lld,"
                "\"hp_in\":%d,\"hp_out\":%d,\"max_hp_in\":%d,\"max_hp_out\":%d,\"level_in\":%d,\"level_out\":%d,"
                "\"gold_in\":%d,\"gold_out\":%d,\"weapon\":\"%s\",\"offhand\":\"%s\",\"rest\":%d,\"pots_in\":%d,"
                "\"fight_cols\":[\"monster\",\"elite\",\"ms\",\"dealt\",\"taken\",\"hits\",\"parries\",\"perfects\","
                "\"dodges\",\"blocks\",\"jabs\",\"heavies\",\"threat0\",\"flow0\",\"hp0\",\"hp1\",\"result\",\"bare\","
                "\"finishers\",\"staggers\",\"interrupts\",\"react\",\"reacts\"],\"fights\":[",
                f.seed, cls.s, r.floor + 1, end, yes_no(r.resumed), yes_no(cheats_used), (long long)(r.ticks / 60),
                r.hp_in, player.hp, r.max_hp_in, player.max_hp, r.level_in, player.level, r.gold_in, player.gold,
                weapon.s, offhand.s, r.rest, r.pots_in);
    for (int i = 0; i < r.fight_count; i++) {
        const int32_t* row = r.fights[i];
        buf_appendf(run_json, sizeof run_json, &pos, "%s[\"%s\"", i ? "," : "", monster_name(row[FC_MONSTER]));
        for (int c = FC_ELITE; c < FIGHT_COLS; c++) buf_appendf(run_json, sizeof run_json, &pos, ",%d", row[c]);
        buf_appendf(run_json, sizeof run_json, &pos, "]");
    }
    buf_appendf(run_json, sizeof run_json, &pos, "],\"fights_cut\":%d,\"picks\":[", r.fights_cut);
    for (int i = 0; i < r.pick_count; i++) {
        const Pick& p = r.picks[i];
        buf_appendf(run_json, sizeof run_json, &pos, "%s{\"k\":\"%s\",\"o\":[\"%s\",\"%s\",\"%s\"],\"c\":%d}",
                    i ? "," : "", JsonText(p.kind).s, JsonText(p.options[0]).s, JsonText(p.options[1]).s,
                    JsonText(p.options[2]).s, p.chosen);
    }
    buf_appendf(run_json, sizeof run_json, &pos, "],\"items\":[");
    for (int i = 0; i < r.item_count; i++)
        buf_appendf(run_json, sizeof run_json, &pos, "%s[\"%s\",\"%s\"]", i ? "," : "", JsonText(r.items[i].what).s,
                    JsonText(r.items[i].detail).s);
    buf_appendf(run_json, sizeof run_json, &pos, "],\"item_info\":[");
    for (int i = 0; i < r.item_count; i++) {
        const ItemLine& l = r.items[i];
        if (l.has_info)
            buf_appendf(run_json, sizeof run_json, &pos, "%s[%d,\"%s\",%d,%d,\"%s\",%d]", i ? "," : "", l.n,
                        JsonText(l.where).s, l.quality, l.upgrade, JsonText(l.enchant).s, l.wear);
        else
            buf_appendf(run_json, sizeof run_json, &pos, "%s[%d]", i ? "," : "", l.n);
    }
    buf_appendf(run_json, sizeof run_json, &pos, "],\"potions\":[");
    for (int i = 0; i < r.potion_count; i++)
        buf_appendf(run_json, sizeof run_json, &pos, "%s%d", i ? "," : "", r.potions[i]);
    auto wear = [](const RecordItem& it, bool max) { return it.real && it.wearable ? (max ? it.wear_max : it.wear) : 0; };
    buf_appendf(run_json, sizeof run_json, &pos, "],\"wear\":[%d,%d,%d,%d]", wear(f.main_hand, false),
                wear(f.main_hand, true), wear(f.off_hand, false), wear(f.off_hand, true));
    if (std::strcmp(end, "death") == 0 || std::strcmp(end, "win") == 0 || std::strcmp(end, "quit") == 0) {
        buf_appendf(run_json, sizeof run_json, &pos, ",\"bag_cells\":%d,\"bag\":[", f.bag_cells);
        int count = f.bag_count < RECORD_BAG_MAX ? f.bag_count : RECORD_BAG_MAX;
        for (int i = 0; i < count; i++) append_item(&pos, i ? "," : "", f.bag[i]);
        buf_appendf(run_json, sizeof run_json, &pos, "]");
    }
    buf_appendf(run_json, sizeof run_json, &pos, "}");
    if (pos < RUN_JSON_MAX - 1) event_append(f.training ? "tut_floor" : "floor", run_json);
}

const char* run_record_last_json() { return run_json; }

void run_summary_write(bool won) {
    const RunFacts& f = facts();
    if (f.training) return;
    char summary[RUN_SUMMARY_MAX];
    size_t pos = 0;
    const int64_t* st = f.stats;
    const char* killer = won ? "" : monster_name(death_info.monster_type);
    const JsonText cls(f.class_name), weapon(f.main_hand.real ? f.main_hand.name : ""),
        offhand(f.off_hand.real ? f.off_hand.name : "");
    buf_appendf(summary, sizeof summary, &pos,
                "{\"v\":\"%s\",\"build\":\"%s\",\"cheats\":%s,\"platform\":\"%s\",\"t\":%lld,\"class\":\"%s\","
                "\"floor\":%d,\"win\":%s,\"level\":%d,\"kills\":%d,\"souls\":%d,\"gold\":%d,\"killer\":\"%s\","
                "\"reflex\":%s,\"skill\":%d,\"flow_best\":%d,\"threat_avg\":%lld,\"threat_souls_tenths\":%d,"
                "\"fights\":%lld,\"fight_ms\":%lld,\"dealt\":%lld,\"taken\":%lld,\"hits_taken\":%lld,"
                "\"parries\":%lld,\"perfects\":%lld,\"blocks\":%lld,\"dodges\":%lld,\"guard_breaks\":%lld,"
                "\"shatters\":%lld,\"jabs\":%lld,\"heavies\":%lld,\"finishers\":%lld,\"staggers\":%lld,"
                "\"interrupts\":%lld,\"breaks\":%lld,\"berserks\":%lld,\"weapon\":\"%s\",\"offhand\":\"%s\","
                "\"boons\":{",
                game_version, game_build, yes_no(cheats_used || f.any_cheat), game_platform, (long long)std::time(nullptr),
                cls.s, current_floor + 1, yes_no(won), player.level, player.kills, f.souls, player.gold, killer,
                yes_no(f.realtime), f.skill, f.flow_best,
                (long long)(f.threat_samples > 0 ? f.threat_sum / f.threat_samples : 0), f.threat_souls_tenths,
                (long long)st[RS_FIGHTS], (long long)st[RS_FIGHT_MS], (long long)st[RS_DEALT], (long long)st[RS_TAKEN],
                (long long)st[RS_HITS_TAKEN], (long long)st[RS_PARRIES], (long long)st[RS_PERFECTS],
                (long long)st[RS_BLOCKS], (long long)st[RS_DODGES], (long long)st[RS_GUARD_BREAKS],
                (long long)st[RS_SHATTERS], (long long)st[RS_JABS], (long long)st[RS_HEAVIES],
                (long long)st[RS_FINISHERS], (long long)st[RS_STAGGERS], (long long)st[RS_INTERRUPTS],
                (long long)st[RS_BREAKS], (long long)st[RS_BERSERKS], weapon.s, offhand.s);
    int boons = f.boon_count < RECORD_BOONS_MAX ? f.boon_count : RECORD_BOONS_MAX;
    for (int i = 0; i < boons; i++)
        buf_appendf(summary, sizeof summary, &pos, "%s\"%s\":%d", i ? "," : "", JsonText(f.boons[i].name).s,
                    f.boons[i].level);
    buf_appendf(summary, sizeof summary, &pos, "},\"run\":%u", f.seed);
    buf_appendf(summary, sizeof summary, &pos,
                ",\"career\":%d,\"souls_bal\":%d,\"souls_spent\":%d,\"unlocks\":%d,\"skill0\":%d,\"met_new\":%d,"
                "\"heat\":%d,\"perks\":\"%d%d%d\"",
                f.career, f.souls_bal, f.souls_spent, f.unlocks, f.skill0, f.met_new, f.heat, f.perks[0], f.perks[1],
                f.perks[2]);
    if (!won) {
        const DeathInfo& d = death_info;
        buf_appendf(summary, sizeof summary, &pos,
                    ",\"death\":{\"hp_before\":%d,\"max_hp\":%d,\"damage\":%d,\"chip\":%s,\"threat\":%d,\"flow\":%d,"
                    "\"fight_ms\":%d,\"door_used\":%s}",
                    d.hp_before, d.max_hp, d.damage, yes_no(d.chip), d.threat, d.flow, d.fight_ms, yes_no(d.door_used));
    }
    buf_appendf(summary, sizeof summary, &pos, "}");
    if (pos <= RUN_SUMMARY_MAX - 2) run_line_append(summary);
}
