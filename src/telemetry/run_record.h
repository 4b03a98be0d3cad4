// The per-floor run record queued as a "floor" event when a floor ends, and the run summary
// written when a run ends. The game and the fight code note what happens; what the record needs
// from above (names, counters, the bag) it asks of the source the game hands it at start-up.
#pragma once
#include <cstdint>

#include "world/item_record.h"

constexpr int RUN_JSON_MAX = 15000;
constexpr int RUN_SUMMARY_MAX = 4096;
constexpr int RECORD_FIGHTS_MAX = 40;
constexpr int RECORD_PICKS_MAX = 8;
constexpr int RECORD_ITEMS_MAX = 40;
constexpr int RECORD_POTIONS_MAX = 16;
constexpr int RECORD_BAG_MAX = 30;
constexpr int RECORD_BOONS_MAX = 40;

// The run statistics counters the record reads, by name in the run summary.
enum RecordStat : int {
    RS_FIGHTS, RS_FIGHT_MS, RS_DEALT, RS_TAKEN, RS_HITS_TAKEN, RS_PARRIES, RS_PERFECTS, RS_BLOCKS, RS_DODGES,
    RS_GUARD_BREAKS, RS_SHATTERS, RS_JABS, RS_HEAVIES, RS_FINISHERS, RS_STAGGERS, RS_INTERRUPTS, RS_BREAKS,
    RS_BERSERKS, RS_REACT_MS, RS_REACTS, RS_COUNT
};

// An item as the record writes it.
struct RecordItem {
    char name[40];
    char enchant[10];
    int32_t quality, upgrade, wear, wear_max, count;
    uint8_t real;      // a real item, not an empty hand
    uint8_t wearable;  // a weapon or shield
};

// The run as it stands, gathered by the game when the record asks.
struct RunFacts {
    uint32_t seed;
    char class_name[24];
    uint8_t training, realtime, any_cheat;
    int32_t potions;  // healing potions carried
    int32_t threat, flow;
    int32_t monster_type;  // of the fight in progress, -1 none
    uint8_t monster_elite;  // the fight in progress is against an elite
    int32_t fight_ms;
    uint8_t door_used;
    RecordItem main_hand, off_hand;
    int32_t bag_cells;
    int32_t bag_count;
    RecordItem bag[RECORD_BAG_MAX];
    int64_t stats[RS_COUNT];
    // For the run summary.
    int32_t souls, skill, flow_best, threat_souls_tenths;
    int64_t threat_sum, threat_samples;
    int32_t boon_count;
    struct {
        char name[24];
        int32_t level;
    } boons[RECORD_BOONS_MAX];
    int32_t career, souls_bal, souls_spent, unlocks, skill0, met_new, heat, perks[3];
};

struct RunRecordSource {
    void (*gather)(RunFacts* out);
    void (*describe)(const Item& item, RecordItem* out);
    const char* (*monster_name)(int type);
};
// The game hands its source once at start-up; without one every fact reads as zero.
void run_record_source_set(const RunRecordSource& source);

// Starts the per-floor record afresh for a new run (the next floor is a fresh start).
void run_record_reset();
// Every tick: while playing (the dungeon to the camp, level-up, and options or controls opened
// from the pause menu) starts, counts and rolls the floor's record.
void run_record_tick(bool playing);
void run_record_fight_begin();
// result: 0 won, 1 lost, 2 fled or otherwise ended.
void run_record_fight_end(int result);
void run_record_pick(const char* kind, const char* const options[3], int chosen);
void run_record_item(const char* what, const char* detail, int n);
void run_record_item_note(const char* what, const char* detail);
void run_record_item_n(const char* what, const char* detail, int n);
// Notes an item event ("pickup", "bagfull", ...) with the item, its count and where it came from.
void run_record_item_event(const char* what, const Item& item, int count, const char* where);
// Notes a potion drunk on this floor with the hit points it gave.
void run_record_potion(int value);
void run_record_rest(int value);
void run_record_death(int hp_before, int damage, bool chip);
// Closes the floor's record with an end word ("descend", "death", "win", "saved", "training",
// "quit") and queues it.
void run_record_emit(const char* end);
// The run summary line of a run that ended: to runs.jsonl, and with consent to the outbox.
void run_summary_write(bool won);
// The last floor text built by run_record_emit, for tests.
const char* run_record_last_json();
