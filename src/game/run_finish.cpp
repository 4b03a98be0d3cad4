// The end of a run, and what the game tells the run record about itself: names, the gear, the bag
// and the run's counters. game_init hands the record its source; run_finish is called on death,
// escape and abandon.
#include "boons/boons.h"
#include "classes/classes.h"
#include "combat/combat.h"
#include "combat/duel.h"
#include "combat/reflex.h"
#include "combat/training.h"
#include "dungeon/floor.h"
#include "dungeon/monsters.h"
#include "game/run_start.h"
#include "screens/run_end.h"
#include "game/state.h"
#include "items/bag.h"
#include "items/enchant.h"
#include "items/item.h"
#include "profile/profile.h"
#include "runfile/run_file.h"
#include "screens/unlocks_list.h"
#include "saves/settings.h"
#include "telemetry/perf.h"
#include "telemetry/run_record.h"
#include "world/game_state.h"
#include "world/player.h"
#include "world/run_meters.h"

#include <bit>
#include <cstdio>


namespace {
void describe_item(const Item& item, RecordItem* out) {
    *out = RecordItem{};
    if (item.id == ITEM_NONE || item.id >= ITEM_COUNT) return;
    std::snprintf(out->name, sizeof out->name, "%s", item_def(item.id).name);
    std::snprintf(out->enchant, sizeof out->enchant, "%s", enchant_def(item.enchant).name);
    out->quality = item.quality;
    out->upgrade = item.upgrade;
    out->wear = item.wear;
    out->real = 1;
    out->wearable = item_is_wearable(item) ? 1 : 0;
    out->wear_max = out->wearable ? item_wear_max(item) : 0;
    out->count = 1;
}

const char* record_monster_name(int type) { return type >= 0 && type < M_COUNT ? MONSTER_TYPES[type].name : ""; }

// What exists of the run so far; the profile's counters join when it lands.
void gather_facts(RunFacts* f) {
    f->seed = run_seed;
    std::snprintf(f->class_name, sizeof f->class_name, "%s", class_info(player.cls).name);
    f->training = training_active() ? 1 : 0;
    for (uint8_t flag : cheat_flags) f->any_cheat |= flag;
    f->potions = bag_healing_potions();
    f->monster_type = -1;
    describe_item(player.main_hand, &f->main_hand);
    describe_item(player.off_hand, &f->off_hand);
    const Bag& bag = player.bag;
    for (int r = 0; r < BAG_ROWS; r++)
        for (int c = 0; c < BAG_COLS; c++) f->bag_cells += bag.cells[r][c] != BAG_EMPTY;
    int count = bag.count < 0 ? 0 : bag.count > RECORD_BAG_MAX ? RECORD_BAG_MAX : bag.count;
    for (int i = 0; i < count; i++) {
        describe_item(bag.entries[i].item, &f->bag[i]);
        f->bag[i].count = bag.entries[i].count;
    }
    f->bag_count = count;
    for (int id = 0; id < BOON_ROWS && f->boon_count < RECORD_BOONS_MAX; id++) {
        const BoonDef* def = boon_def(id);
        int level = boon_level(id);
        if (!def || level <= 0) continue;
        std::snprintf(f->boons[f->boon_count].name, sizeof f->boons[0].name, "%s", def->name);
        f->boons[f->boon_count++].level = level;
    }
    // The fight's meters and the run's duel counters.
    f->realtime = reflex_fights;
    f->threat = flow_level();
    f->flow = flow;
    if (game_state == STATE_COMBAT) {
        f->monster_type = (int32_t)combat.type;
        f->monster_elite = combat.elite;
        f->fight_ms = reflex.clock;
        f->door_used = fight_stat_this_fight(FS_DOOR_SAVES) > 0;
    }
    static const int FROM_FIGHT[RS_COUNT] = {
        FS_FIGHTS, FS_MS, FS_DEALT, FS_TAKEN, FS_FULL_HITS, FS_PARRIES, FS_PERFECTS, FS_BLOCKS, FS_DODGES,
        FS_GUARD_BREAKS, -1, FS_JABS, FS_HEAVIES, FS_FINISHERS, FS_STAGGERS, FS_INTERRUPTS, FS_BREAKS,
        FS_BERSERKS, FS_REACT_SUM, FS_REACT_COUNT,
    };
    for (int i = 0; i < RS_COUNT; i++) f->stats[i] = FROM_FIGHT[i] >= 0 ? reflex.fight_stats[FROM_FIGHT[i]] : 0;
    f->stats[RS_SHATTERS] = duel_shatters;
    f->flow_best = duel.best_combo;
    // Threat is banked once per victory: the flow level at the kill joins the run's threat tally.
    // Each kill is that sample and the tally their sum, both kept in the run's save; every point of
    // the tally is a tenth of a soul in the award (before the heat bonus).
    f->threat_sum = run_threat_tally();
    f->threat_samples = player.kills;
    f->threat_souls_tenths = run_threat_tally();
    f->skill = skill_rating();
    f->career = profile_runs();
    f->souls = run_end_souls;
    f->souls_bal = profile.souls;
    f->souls_spent = profile.souls_spent;
    unlocks_owned_count(&f->unlocks, nullptr);
    f->met_new = std::popcount(profile.met & ~run_start_met);
    f->skill0 = run_start_rating;
    f->heat = run_heat;
    for (int u = 0; u < 3; u++) f->perks[u] = upgrade_rank(u);
}
}  // namespace

void run_record_source_install() {
    run_record_source_set({.gather = gather_facts, .describe = describe_item, .monster_name = record_monster_name});
}

void run_finish(int won) {
    run_active = 0;
    run_delete();
    profile_run_end(won);
    run_record_emit(won ? "win" : "death");
    run_summary_write(won != 0);
    perf_event();
    int best = best_floor_load();
    if (current_floor >= best) {
        run_end_new_best = 1;
        run_end_best_floor = current_floor + 1;
        best_floor_save(current_floor + 1);
    } else {
        run_end_new_best = 0;
        run_end_best_floor = best;
    }
}
