// The real-time duel engine: one record for the fight in progress, advanced once per 60 Hz step on
// its own millisecond clock. The fight update drives it; drills and the fight view read it.
#pragma once
#include <cstdint>

#include "combat/meters.h"

constexpr int32_t REFLEX_NEVER = -100000;  // a time that has not happened
constexpr int32_t REFLEX_DEAD_MS = 250;     // the slain monster falls this long before the fight ends
constexpr int REFLEX_QUEUE_CAP = 4;
constexpr int FIGHT_STAT_COUNT = 30;

enum MonsterDuelState : int32_t {
    MS_RECOVER = 0, MS_READY = 1, MS_ATTACK = 2, MS_CHAIN = 3,
    MS_RECOIL = 4, MS_STAGGER = 5, MS_GUARD = 6, MS_DEAD = 7,
};

enum AttackKind : int32_t { ATK_PLAIN = 0, ATK_SIDE = 1, ATK_FEINT = 2, ATK_SHIELD = 3 };

struct AttackEntry {
    int32_t kind;
    int32_t windup;        // wind-up to impact, parry window included (a shield: how long it stays up)
    int32_t parry_window;  // the last ms of the wind-up in which a guard press parries
    int32_t side;          // ATK_SIDE: -1 left, +1 right
    uint8_t chained;       // another queued attack follows at once
    uint8_t rewound;       // a feint that already turned into its real blow
    uint16_t zero;
    int32_t variant;       // a random bit for the view
};

// Indices of fight_stats.
enum FightStat : int {
    FS_FIGHTS = 0, FS_SLAIN, FS_DEALT, FS_TAKEN, FS_FULL_HITS, FS_COMBOS_LOST, FS_BEST_COMBO, FS_PARRIES,
    FS_PERFECTS, FS_BLOCKS, FS_DODGES, FS_WRONG, FS_THROUGH_GUARD, FS_GUARD_BREAKS, FS_JABS, FS_HEAVIES,
    FS_FEINTS, FS_MS, FS_FLOW_SUM, FS_FLOW_SAMPLES, FS_FINISHERS, FS_STAGGERS, FS_INTERRUPTS, FS_MAX_HP_HITS,
    FS_DOOR_SAVES, FS_CAPPED, FS_BREAKS, FS_BERSERKS, FS_REACT_SUM, FS_REACT_COUNT,
};

// Event bits of one step.
constexpr uint64_t EV_HIT = 0x1;
constexpr uint64_t EV_HEAVY_HIT = 0x2;
constexpr uint64_t EV_KILL = 0x4;
constexpr uint64_t EV_PLAYER_HURT = 0x8;
constexpr uint64_t EV_BLOCK = 0x10;
constexpr uint64_t EV_PARRY = 0x20;
constexpr uint64_t EV_PERFECT = 0x40;
constexpr uint64_t EV_DODGE = 0x80;
constexpr uint64_t EV_HEAVY_TAKEN = 0x100;
constexpr uint64_t EV_STAR = 0x200;
constexpr uint64_t EV_GUARD_BROKEN = 0x400;
constexpr uint64_t EV_COMBO_BROKEN = 0x800;
constexpr uint64_t EV_FLOW_TIER = 0x1000;
constexpr uint64_t EV_WINDUP = 0x2000;
constexpr uint64_t EV_WINDOW = 0x4000;
constexpr uint64_t EV_GUARD_UP = 0x8000;
constexpr uint64_t EV_JAB = 0x10000;
constexpr uint64_t EV_SWING = 0x20000;
constexpr uint64_t EV_HEAVY_READY = 0x40000;
constexpr uint64_t EV_SHATTERED = 0x80000;
constexpr uint64_t EV_DOUBLE = 0x100000;
constexpr uint64_t EV_SIDESTEP = 0x400000;
constexpr uint64_t EV_POISONED = 0x1000000;
constexpr uint64_t EV_ON_FIRE = 0x2000000;
constexpr uint64_t EV_ROBBED = 0x4000000;
constexpr uint64_t EV_STATUS_TICK = 0x8000000;
constexpr uint64_t EV_CORRODED = 0x10000000;
constexpr uint64_t EV_DEATHS_DOOR = 0x20000000;
constexpr uint64_t EV_WEAK = 0x40000000;
constexpr uint64_t EV_CRUSHED = 0x80000000ull;
constexpr uint64_t EV_FINISHER = 1ull << 33;
constexpr uint64_t EV_STAGGERED = 1ull << 34;
constexpr uint64_t EV_INTERRUPTED = 1ull << 35;

struct Reflex {
    // Monster side.
    int32_t type;
    int32_t hp, max_hp;
    int32_t attack;
    int32_t tempo;
    int32_t monster_state;
    int32_t state_start, state_length;
    AttackEntry current;
    AttackEntry incoming[REFLEX_QUEUE_CAP];
    int32_t incoming_count;
    int32_t stars, stars_needed;
    int32_t last_impact_at;
    int32_t venom_frames, venom_dose, venom_mult;
    int32_t bleed_frames, bleed_dose;
    int32_t hits_landed;
    int32_t status_tick_ms;
    int32_t star_at, guard_broken_at, heavy_ready_at;
    uint8_t player_was_hit;
    uint8_t reaction_noted;  // the first answer to the wind-up in flight was timed
    uint8_t guard_was_held;  // the guard button last step, for new presses
    // Clock and player side.
    int32_t clock;
    int32_t frame;
    uint8_t guard_up, charging, full_heavy;
    int32_t parry_press_at;
    int32_t last_guard_press_at;
    int32_t dodge_side, dodge_at;
    int32_t charge_start;
    int32_t busy_until;
    int32_t guard_free_at;
    int32_t guard_locked_until;
    int32_t guard_pressed_at;
    int32_t buffered_dodge;
    uint8_t jab_buffered;
    uint8_t release_needed;
    int32_t jab_impact_at, heavy_impact_at, finisher_impact_at;
    int32_t jab_started_at, heavy_started_at;
    int32_t parry_at, perfect_at;
    int32_t jab_chain;
    int32_t last_jab_at;
    int32_t heavy_chain;
    int32_t heavy_percent;  // damage percent of the pending heavy: 100, 85, 70 or 55
    int32_t riposte_until;
    uint8_t riposte, riposte_heavy;
    int32_t finisher_at;
    int32_t stagger_meter;
    int32_t stagger_meter_at, stagger_decay_at;
    int32_t staggered_at;
    int32_t interrupt_ready_at;
    uint8_t light_weapon;
    int32_t lifesteal_carry;
    uint8_t fight_over, player_dead;
    uint8_t window_cue_sent, heavy_ready_sent, heavy_landed;
    int32_t last_hit_at;
    int32_t last_damage_dealt, last_damage_taken;
    int32_t broken_combo;
    int32_t status_id;
    // Weapon timings (reflex_weapon_setup).
    int32_t jab_ms, jab_percent, heavy_ms, heavy_percent_full, parry_bonus_ms, block_chip_percent, dodge_ms,
        dodge_cooldown_ms, finisher_percent, heavy_min_ms, heavy_recovery_ms, heavy_stagger_points, heavy_weight;
    uint8_t reach, venom, cleave, tower_shield;
    // Per-run counters, kept across fights.
    int64_t fight_stats[FIGHT_STAT_COUNT];
};

// The duel's input of one step.
struct ReflexInput {
    uint8_t attack;  // attack held
    uint8_t guard;   // guard held
    uint16_t zero;
    int32_t dodge;   // -1 left, +1 right, 0 none (new presses only)
};

extern Reflex reflex;
extern uint64_t reflex_events;

// The duel's random stream: a linear congruential step from a fixed start, never seeded from the
// clock, so a duel replays exactly from the same state and inputs.
constexpr uint32_t FIGHT_RNG_START = 0x2F6E2B1Du;
extern uint32_t fight_rng_state;
uint32_t fight_rng();

// The run's meters beside the record (saved with the run), with flow, combo and the threat total
// of combat/meters.h.
struct DuelMeters {
    int32_t best_combo;
    int32_t hit_rate;     // 100 x hits per second, smoothed
    int32_t clean_ms;     // time without a full hit
    int32_t kill_streak;
    int32_t step_hits;    // hits of the current step, read by the next step's meters
    uint8_t view_guard_held, view_crush_pending, view_weak_pending;
};
extern DuelMeters duel;
extern int64_t fight_stats_at_start[FIGHT_STAT_COUNT];

// The four per-run duel counters and the shatters beside them.
enum DuelCounter : int { DC_PARRIES = 0, DC_DODGES, DC_GUARD_BREAKS, DC_STAGGER_HITS, DC_COUNT };
extern int32_t duel_counters[DC_COUNT];
extern int32_t duel_shatters;

void reflex_fight_start(int type, int hp, int max_hp, int attack, int floor, bool opening);
void reflex_fight_update(const ReflexInput& in);
// Clears the record, the run's counters included.
void reflex_clear();
// ms until the attack in flight lands, or -1 when no attack is winding up.
int32_t reflex_time_to_impact();
bool reflex_parry_window_open();
// Append an attack to the queue; a fifth is ignored (false).
bool reflex_queue_attack(int kind, int time, bool chained);
bool reflex_queue_attack_pct(int kind, int percent, bool chained);
bool reflex_queue_smash(int percent);
// Clears the stagger and the shield (drills that restart a pattern).
void reflex_reset_flags();
// The count of fight stat i during the fight in progress.
int64_t fight_stat_this_fight(int i);
// Puts the monster in state s for ms from now.
void reflex_monster_enter(int s, int ms);
