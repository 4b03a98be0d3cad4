// The profile's bookkeeping: souls and statistics at a run's start and end, the per-tick play
// counters, the codex, weapon records, flags and hints. Called by runs, fights, exploration and
// the tick; every change that matters is saved at once.
#include "profile/profile.h"

#include "dungeon/monsters.h"
#include "items/item.h"
#include "profile/saturate.h"
#include "world/game_state.h"
#include "world/player.h"
#include "world/run_meters.h"

int32_t run_end_souls = 0;

namespace {

constexpr int TICKS_PER_SECOND = 60;
constexpr int CARRY_CHECK_TICKS = 15;
constexpr int FLOORS_PER_STRETCH = 10;
constexpr int SOULS_PER_STRETCH = 5;
constexpr int SOULS_FOR_A_WIN = 5;
constexpr int THREAT_PER_SOUL = 10;
constexpr int SOULS_WITH_A_KILL = 4;
constexpr int HEAT_SOUL_PERCENT = 20;  // extra souls per heat level
constexpr int VITALITY_HP_PER_RANK = 2;
constexpr int JOKE_LINES = 30;

// The gold seen on the last in-play tick; unknown outside play, so that the purse a new or
// resumed run starts with is never counted as gained.
int32_t gold_seen = 0;
bool gold_known = false;
// Play time, gold and best hits change too often to write each time: they are written with the
// next change that saves, or when play pauses or stops.
bool counters_unsaved = false;

int32_t current_run() { return profile.runs == INT32_MAX ? INT32_MAX : profile.runs + 1; }
bool kind_valid(int t) { return t >= 1 && t < PROFILE_KIND_SLOTS; }
uint32_t kind_bit(int t) { return 1u << t; }
int heat_now() { return run_heat < 0 ? 0 : run_heat >= PROFILE_HEATS ? PROFILE_HEATS - 1 : run_heat; }
int floor_now() { return current_floor < 0 ? 0 : current_floor; }

// Item ids with a record: the ids of the item table.
bool item_slot_valid(uint32_t id) { return id >= 1 && id < ITEM_COUNT; }

// The main hand's weapon id when it has a record, else 0.
uint32_t main_weapon_id() {
    const uint32_t id = player.main_hand.id;
    return item_slot_valid(id) && item_def(id).kind == ITEM_KIND_WEAPON ? id : 0;
}

void scratch_reset(int32_t stamp) {
    profile.run_stamp = stamp;
    profile.run_carried = 0;
    profile.run_seconds = 0;
    profile.run_ticks = 0;
}

void max_into(int32_t& v, int32_t candidate) {
    if (candidate > v) v = candidate;
}

// Notes that item id was carried in the current run; true when that changed the record.
bool carried_note(uint32_t id) {
    if (!item_slot_valid(id) || profile.items[id].first_run != 0) return false;
    profile.items[id].first_run = current_run();
    return true;
}

void class_record_end(ProfileClass& c, int run_no, int won, bool died, int killer, int depth) {
    const int heat = heat_now();
    if (c.first_run == 0) c.first_run = run_no;
    count_add(c.runs, 1);
    count_add(c.kills, player.kills);
    if (depth > c.deepest || (depth == c.deepest && heat > c.deepest_heat)) {
        c.deepest = depth;
        c.deepest_heat = heat;
    }
    if (died) {
        count_add(c.deaths, 1);
        if (kind_valid(killer)) count_add(c.deaths_by[killer], 1);
    }
    if (won) {
        count_add(c.wins, 1);
        if (c.first_win == 0) c.first_win = run_no;
        max_into(c.best_heat_won, heat + 1);
        if (c.fastest_win <= 0 || profile.run_seconds < c.fastest_win) c.fastest_win = profile.run_seconds;
        count_add(c.streak, 1);
        max_into(c.best_streak, c.streak);
    } else {
        c.streak = 0;
    }
}

void first_note(ProfileFirst& f, int run_no, int cls) {
    if (f.run != 0) return;
    f.run = run_no;
    f.cls = cls;
}

}  // namespace

int32_t souls_preview(int won) {
    const int64_t floor = floor_now();
    const int64_t win = won ? 1 : 0;
    int64_t s = floor + floor / FLOORS_PER_STRETCH * SOULS_PER_STRETCH + win * SOULS_FOR_A_WIN +
                run_threat_tally() / THREAT_PER_SOUL + 1;
    if (player.kills > 0 && s < SOULS_WITH_A_KILL) s = SOULS_WITH_A_KILL;
    s += s * heat_now() * HEAT_SOUL_PERCENT / 100;
    return s > INT32_MAX ? INT32_MAX : s < 0 ? 0 : (int32_t)s;
}

int32_t profile_run_end(int won) {
    won = won ? 1 : 0;
    const int32_t s = souls_preview(won);
    count_add(profile.souls, s);
    run_end_souls = s;
    count_add(profile.runs, 1);
    if (cheats_active()) {
        scratch_reset(0);
        profile_save();
        return s;
    }

    const int run_no = profile.runs;
    const int floor = floor_now();
    const int depth = floor + 1;
    const int heat = heat_now();
    const int cls = player.cls < PROFILE_CLASS_SLOTS ? player.cls : 0;
    const bool died = player.hp <= 0 && !won;
    const int killer = run_killer_type();

    count_add(profile.souls_earned, s);
    count_add(profile.floors_reached, depth);
    max_into(profile.best_combo, run_best_combo());
    count_add(profile.stretches, floor / FLOORS_PER_STRETCH + won);
    if (won) count_add(profile.runs_won, 1);
    if (died) {
        count_add(profile.runs_lost, 1);
        if (kind_valid(killer)) count_add(profile.killed_by[killer], 1);
    }
    max_into(profile.best_level, player.level);
    max_into(profile.most_kills, player.kills);
    count_add(profile.class_runs[cls], 1);
    class_record_end(profile.classes[cls], run_no, won, died, killer, depth);

    for (uint32_t id = 1; id < ITEM_COUNT; id++) {
        if ((profile.run_carried >> id & 1u) == 0) continue;
        ProfileItem& it = profile.items[id];
        count_add(it.runs, 1);
        max_into(it.deepest, depth);
        if (won) {
            count_add(it.wins, 1);
            max_into(it.best_heat_won, heat + 1);
        }
    }
    if (won) {
        first_note(profile.first_win, run_no, cls);
        first_note(profile.first_win_heat[heat], run_no, cls);
    }
    if (depth >= profile.deepest_floor) {
        profile.deepest_floor = depth;
        profile.deepest_run = run_no;
        profile.deepest_class = cls;
    }
    scratch_reset(0);
    profile_save();
    return s;
}

void profile_run_begin() {
    scratch_reset(current_run());
    run_heat = 0;
    if (upgrade_enabled(UPGRADE_VITALITY)) {
        player.max_hp += VITALITY_HP_PER_RANK * upgrade_rank(UPGRADE_VITALITY);
        player.hp = player.max_hp;
    }
    profile_save();
}

void profile_tick(bool in_play) {
    if (!in_play) {
        gold_known = false;
        profile_flush();
        return;
    }
    if (gold_known && player.gold > gold_seen) {
        count_add(profile.gold_gained, (int64_t)player.gold - gold_seen);
        counters_unsaved = true;
    }
    gold_seen = player.gold;
    gold_known = true;

    if (profile.run_stamp != current_run()) scratch_reset(current_run());
    if (profile.run_ticks < 0 || profile.run_ticks >= TICKS_PER_SECOND) profile.run_ticks = 0;
    if (++profile.run_ticks == TICKS_PER_SECOND) {
        profile.run_ticks = 0;
        count_add(profile.seconds, 1);
        count_add(profile.run_seconds, 1);
        counters_unsaved = true;
    }
    if (profile.run_ticks % CARRY_CHECK_TICKS != 0) return;

    // The first run an item was carried, and this run's main-hand weapons: rare changes, saved.
    bool changed = carried_note(player.main_hand.id);
    changed = carried_note(player.off_hand.id) || changed;
    const int count = player.bag.count < 0 ? 0 : player.bag.count > BAG_MAX_ITEMS ? BAG_MAX_ITEMS : player.bag.count;
    for (int i = 0; i < count; i++) changed = carried_note(player.bag.entries[i].item.id) || changed;
    const uint32_t main = player.main_hand.id;
    if (item_slot_valid(main) && (profile.run_carried >> main & 1u) == 0) {
        profile.run_carried |= 1u << main;
        changed = true;
    }
    if (changed) profile_save();
}

void profile_flush() {
    if (!counters_unsaved) return;
    counters_unsaved = false;
    profile_save();
}

bool profile_save_on_exit() {
    if (counters_unsaved || profile_write_failed()) {
        counters_unsaved = false;
        profile_save();
    }
    return !profile_write_failed();
}

void profile_counters_forget() {
    gold_seen = 0;
    gold_known = counters_unsaved = false;
}

void profile_add_souls(int32_t n) {
    count_add(profile.souls, n);
    if (profile.souls < 0) profile.souls = 0;
    profile_save();
}

void profile_count_secret() {
    if (cheats_active()) return;
    count_add(profile.secrets, 1);
    profile_save();
}

// A kill is followed at once by the codex's count, which writes both.
void weapon_stat_kill() {
    const uint32_t id = main_weapon_id();
    if (id == 0 || cheats_active()) return;
    count_add(profile.items[id].kills, 1);
    counters_unsaved = true;
}

// Called on every blow of a duel, so it waits for the next save rather than stall the fight.
void weapon_stat_best_hit(int32_t damage) {
    const uint32_t id = main_weapon_id();
    if (id == 0 || cheats_active() || damage <= profile.items[id].best_hit) return;
    profile.items[id].best_hit = damage;
    counters_unsaved = true;
}

int32_t profile_runs() { return profile.runs; }
uint32_t profile_monsters_met() { return profile.met; }

void codex_met(int kind) {
    if (!kind_valid(kind)) return;
    ProfileCodex& c = profile.codex[kind];
    if (c.first_met_run == 0) {
        c.first_met_run = current_run();
        c.first_met_floor = floor_now() + 1;
    }
    if (profile.met & kind_bit(kind)) return;
    profile.met |= kind_bit(kind);
    profile_save();
}

void codex_slain(int kind) {
    if (!kind_valid(kind)) return;
    profile.met |= kind_bit(kind);
    if (!cheats_active()) {
        const int run_no = current_run();
        const int cls = player.cls < PROFILE_CLASS_SLOTS ? player.cls : 0;
        count_add(profile.slain[kind], 1);
        ProfileCodex& c = profile.codex[kind];
        if (c.first_met_run == 0) {
            c.first_met_run = run_no;
            c.first_met_floor = floor_now() + 1;
        }
        if (c.first_slain_run == 0) c.first_slain_run = run_no;
        if (kind == M_DRAGON) {
            const int stretch = floor_now() / FLOORS_PER_STRETCH;
            if (stretch < PROFILE_STRETCHES) first_note(profile.first_dragon_stretch[stretch], run_no, cls);
            first_note(profile.first_dragon_heat[heat_now()], run_no, cls);
        }
    }
    profile_save();
}

void codex_mark_viewed(int kind) {
    if (!kind_valid(kind) || !(profile.met & kind_bit(kind)) || (profile.viewed & kind_bit(kind))) return;
    profile.viewed |= kind_bit(kind);
    profile_save();
}

bool codex_is_new(int kind) {
    return kind_valid(kind) && (profile.met & kind_bit(kind)) && !(profile.viewed & kind_bit(kind));
}

bool codex_any_new() {
    for (int t = 1; t < PROFILE_KIND_SLOTS; t++)
        if (codex_is_new(t)) return true;
    return false;
}

bool training_offer_on() { return (profile.flags & PROFILE_FLAG_TRAINING_SKIPPED) == 0; }

void training_offer_set(bool on) {
    if (on)
        profile.flags &= ~PROFILE_FLAG_TRAINING_SKIPPED;
    else
        profile.flags |= PROFILE_FLAG_TRAINING_SKIPPED;
    profile_save();
}

bool profile_hint_seen() { return (profile.flags & PROFILE_FLAG_THREAT_HINT) != 0; }

void profile_hint_mark() {
    profile.flags |= PROFILE_FLAG_THREAT_HINT;
    profile_save();
}

bool profile_attack_hint_seen() { return (profile.flags & PROFILE_FLAG_ATTACKED_ONCE) != 0; }

void profile_attack_hint_mark() {
    if (profile_attack_hint_seen()) return;
    profile.flags |= PROFILE_FLAG_ATTACKED_ONCE;
    profile_save();
}

int32_t profile_flow_hint_count() { return profile.flow_hints; }

void profile_flow_hint_raise() {
    count_add(profile.flow_hints, 1);
    profile_save();
}

int32_t profile_skill_rating() { return profile.skill_rating; }
int32_t profile_rated_fights() { return profile.rated_fights; }

void profile_skill_store(int32_t rating, int32_t rated_fights, bool write_now) {
    profile.skill_rating = rating < 0 ? 0 : rating > PROFILE_RATING_MAX ? PROFILE_RATING_MAX : rating;
    profile.rated_fights = rated_fights;
    if (write_now) profile_save();
}

int joke_banner_next() {
    const int32_t old = profile.jokes;
    profile.jokes = old == INT32_MAX ? 0 : old + 1;
    profile_save();
    return old % JOKE_LINES;
}
