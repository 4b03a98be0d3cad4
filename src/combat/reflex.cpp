// The real-time duel engine: the player's guard, dodge and blows, the monster's state machine and its
// queued attacks, run once per step by the fight update (and by the drills through it).
#include "combat/reflex.h"

#include <algorithm>
#include <cstring>

#include "classes/classes.h"
#include "combat/combat.h"
#include "combat/duel.h"
#include "combat/fight_tuning.h"
#include "combat/training.h"
#include "world/player.h"

Reflex reflex;
uint64_t reflex_events;
uint32_t fight_rng_state = FIGHT_RNG_START;
DuelMeters duel;
int64_t fight_stats_at_start[FIGHT_STAT_COUNT];
int32_t duel_counters[DC_COUNT];
int32_t duel_shatters;

namespace {

constexpr int32_t CLOCK_STEP_SHORT = 16, CLOCK_STEP_LONG = 17;  // three steps make 50 ms
constexpr int32_t RECOVER_MS = 150, RECOVER_OPENING_MS = 200, READY_MS = 350;
constexpr int32_t STATUS_TICK_MS = 1500;
constexpr int32_t HIT_RATE_SMOOTH = 480;
constexpr int32_t CLEAN_MAX_MS = 60000;
constexpr int32_t HEAVY_TAKEN_LOCK_MS = 500;
constexpr int32_t STAGGER_DECAY_WAIT = 1500, STAGGER_DECAY_STEP = 300;
constexpr int32_t GUARD_BREAK_PERCENT = 120;
constexpr int32_t WEAK_HEAVY_PERCENT = 160;  // a heavy released before full charge
constexpr int32_t WEAK_HEAVY_POINTS = 3;
constexpr int32_t FEINT_FLOW_CUT = 9;        // hundredths of a ms of window per flow point
constexpr int32_t SIDE_HIT_TENTHS = 22, THROUGH_GUARD_TENTHS = 16;

// Stagger lengths, as fractions of FT_STAGGER.
constexpr int32_t STAGGER_PARRY = FT_STAGGER * 8 / 10;       // 720, also a guard break
constexpr int32_t STAGGER_DODGE = FT_STAGGER;                // 900
constexpr int32_t STAGGER_INTERRUPT = FT_STAGGER * 6 / 10;   // 540
constexpr int32_t STAGGER_METER_FULL = FT_STAGGER * 12 / 10; // 1080, also a shatter
constexpr int32_t STAGGER_CLEAVE = FT_STAGGER * 16 / 10;     // 1440

bool alive() { return reflex.monster_state != MS_DEAD && !reflex.player_dead; }
bool staggered() { return reflex.monster_state == MS_STAGGER; }

void set_all_times_never(Reflex& r) {
    r.state_start = 0;
    r.last_impact_at = r.star_at = r.guard_broken_at = r.heavy_ready_at = REFLEX_NEVER;
    r.parry_press_at = r.last_guard_press_at = r.dodge_at = r.charge_start = REFLEX_NEVER;
    r.busy_until = r.guard_free_at = r.guard_locked_until = r.guard_pressed_at = REFLEX_NEVER;
    r.jab_impact_at = r.heavy_impact_at = r.finisher_impact_at = REFLEX_NEVER;
    r.jab_started_at = r.heavy_started_at = r.parry_at = r.perfect_at = r.last_jab_at = REFLEX_NEVER;
    r.riposte_until = r.finisher_at = r.stagger_meter_at = r.stagger_decay_at = r.staggered_at = REFLEX_NEVER;
    r.interrupt_ready_at = r.last_hit_at = REFLEX_NEVER;
}

void rest_draw(int percent) {
    Reflex& r = reflex;
    int32_t ms = (int32_t)(fight_rng() % (uint32_t)(FT_RECOVER_MAX - FT_RECOVER_MIN + 1)) + FT_RECOVER_MIN;
    ms = ms * r.tempo / 100;
    if (training_active()) ms = ms * 3 / 2;
    ms -= (int32_t)((int64_t)ms * flow * 60 / 100000);
    reflex_monster_enter(MS_READY, ms * percent / 100);
}

void pop_attack() {
    Reflex& r = reflex;
    r.current = r.incoming[0];
    for (int i = 1; i < r.incoming_count; i++) r.incoming[i - 1] = r.incoming[i];
    r.incoming_count--;
    if (r.current.kind == ATK_SHIELD) {
        reflex_monster_enter(MS_GUARD, r.current.windup);
        r.stars = 0;
        reflex_events |= EV_GUARD_UP;
    } else {
        reflex_monster_enter(MS_ATTACK, r.current.windup);
        r.window_cue_sent = 0;
        r.reaction_noted = 0;
        reflex_events |= EV_WINDUP;
    }
}

void pop_or_rest() {
    if (reflex.incoming_count > 0)
        pop_attack();
    else
        rest_draw(100);
}

void choose_attack() {
    Reflex& r = reflex;
    int row = (r.type >= 1 && r.type <= 8) ? r.type : 1;
    const FightStyle& st = FIGHT_STYLE[row];
    int32_t w[CHOICE_COUNT];
    int32_t total = 0;
    for (int i = 0; i < CHOICE_COUNT; i++) {
        w[i] = st.weight[i];
        if (i == CHOICE_FLURRY || i == CHOICE_FEINT) w[i] += w[i] * flow * 3 / 1000;
        total += w[i];
    }
    total = std::max(total, 1);
    int32_t pick = (int32_t)(fight_rng() % (uint32_t)total);
    int choice = -1;
    for (int i = 0; i < CHOICE_COUNT && choice < 0; i++) {
        if (pick < w[i]) choice = i;
        pick -= w[i];
    }
    switch (choice) {
    case CHOICE_SINGLE: reflex_queue_attack_pct(ATK_PLAIN, FT_SINGLE_TIME, false); break;
    case CHOICE_FLURRY: {
        bool three = (int32_t)(fight_rng() % 10u) < flow / 250 + 4;
        reflex_queue_attack_pct(ATK_PLAIN, FT_SINGLE_TIME, true);
        if (three) reflex_queue_attack_pct(ATK_PLAIN, FT_FLURRY_NEXT, true);
        reflex_queue_attack_pct(ATK_PLAIN, FT_FLURRY_NEXT, false);
        break;
    }
    case CHOICE_SIDE: reflex_queue_attack_pct(ATK_SIDE, FT_SIDE_TIME, false); break;
    case CHOICE_SHIELD: {
        int32_t extra = r.stars_needed > 3 ? r.stars_needed * 220 - 660 : 0;
        int32_t pct = (int32_t)(fight_rng() % 41u) + 85;
        int32_t base = (extra + FT_GUARD_TIME) * r.tempo / 100;
        reflex_queue_attack(ATK_SHIELD, base * pct / 100, false);
        break;
    }
    case CHOICE_FEINT: reflex_queue_attack_pct(ATK_FEINT, FT_SINGLE_TIME, false); break;
    default: break;
    }
}

// The stagger meter's size: it grows with each stagger the monster already suffered this fight.
int32_t stagger_meter_size() {
    int64_t n = fight_stat_this_fight(FS_STAGGERS);
    return (int32_t)std::clamp<int64_t>(FT_STAGGER_METER + FT_STAGGER_METER_STEP * n, FT_STAGGER_METER,
                                        FT_STAGGER_METER_MAX);
}

void stagger_meter_add(int32_t points) {
    Reflex& r = reflex;
    if (points <= 0 || staggered() || !alive()) return;
    r.stagger_meter += points;
    r.stagger_meter_at = r.clock;
    if (r.stagger_meter < stagger_meter_size()) return;
    r.stagger_meter = 0;
    r.incoming_count = 0;
    r.staggered_at = r.clock;
    r.fight_stats[FS_STAGGERS]++;
    reflex_events |= EV_STAGGERED;
    reflex_monster_enter(MS_STAGGER, STAGGER_METER_FULL);
}

void stagger_meter_decay() {
    Reflex& r = reflex;
    if (r.stagger_meter <= 0 || r.clock - r.stagger_meter_at < STAGGER_DECAY_WAIT) return;
    if (r.clock - r.stagger_decay_at < STAGGER_DECAY_STEP) return;
    r.stagger_meter--;
    r.stagger_decay_at = r.clock;
}

// Guard, dodge and attack buttons of one step.
void player_input(const ReflexInput& in, int32_t now) {
    Reflex& r = reflex;
    bool guard_new = in.guard && !r.guard_was_held;
    r.guard_was_held = in.guard;
    if (guard_new) r.guard_pressed_at = now;
    if (r.monster_state == MS_ATTACK && !r.reaction_noted && (guard_new || in.dodge != 0)) {
        r.reaction_noted = 1;
        r.fight_stats[FS_REACT_SUM] += now - (r.state_start + r.current.windup - r.current.parry_window);
        r.fight_stats[FS_REACT_COUNT]++;
    }
    bool locked = now < r.guard_locked_until;
    bool busy = now < r.busy_until;

    // Guard: a blow through the guard knocks it down for the lock-out.
    if (locked) r.guard_up = 0;
    if (!in.guard) {
        r.guard_up = 0;
        if (in.dodge != 0 && busy && r.busy_until - now <= FT_BUFFER_MS) r.buffered_dodge = in.dodge;
    } else if (!r.guard_up && !locked && (!busy || now >= r.guard_free_at)) {
        bool parry_ok = now - r.last_guard_press_at >= FT_GUARD_SPAM * 3 / 2;
        if (busy) {
            // Raising the guard cuts the recovery short; blows already thrown still land.
            if (r.busy_until - now > FT_BUFFER_MS) parry_ok = false;
            r.busy_until = r.guard_free_at = now;
            r.jab_started_at = r.heavy_started_at = REFLEX_NEVER;
            busy = false;
        }
        if (r.charging) {
            r.charging = 0;
            r.heavy_ready_sent = 0;
            r.release_needed = 1;
        }
        // A tap kept from the recovery would otherwise fire as a jab behind the raised guard.
        r.jab_buffered = 0;
        if (parry_ok) r.parry_press_at = now;
        r.last_guard_press_at = now;
        r.guard_up = 1;
    }

    // Dodge: a new press, or one buffered at the end of a recovery.
    int32_t side = 0;
    if (in.dodge != 0 && !busy)
        side = in.dodge;
    else if (r.buffered_dodge != 0 && !busy)
        side = r.buffered_dodge;
    if (side != 0 && !busy) r.buffered_dodge = 0;
    if (side != 0 && !locked && now - r.dodge_at >= r.dodge_cooldown_ms) {
        r.dodge_side = side;
        r.dodge_at = now;
        if (r.charging) {
            r.charging = 0;
            r.heavy_ready_sent = 0;
            r.release_needed = 1;
        }
    }

    // Attack button down: a charge begins.
    if (!in.attack) r.release_needed = 0;
    if (in.attack && !r.guard_up && r.monster_state != MS_RECOVER && !r.charging && !r.release_needed && !locked) {
        r.charging = 1;
        r.charge_start = now;
        r.riposte = now < r.riposte_until;
        r.heavy_ready_sent = 0;
    }

    // Charge limits: the third heavy in a row and beyond charge slower and hit softer; a riposte is quick.
    int32_t full = r.heavy_ms, min = r.heavy_min_ms, percent = 100;
    int32_t extra = r.heavy_chain + 1 - FT_FREE_HEAVIES;
    if (r.charging && r.riposte) {
        full /= 2;
        min /= 2;
    } else if (extra > 0) {
        int32_t grow = std::min(FT_HEAVY_SLOWDOWN * extra, 3 * FT_HEAVY_SLOWDOWN);
        full = full * (100 + grow) / 100;
        min = min * (100 + grow) / 100;
        percent = std::max(100 - FT_HEAVY_FALLOFF * extra, 100 - 3 * FT_HEAVY_FALLOFF);
    }
    if (r.charging && in.attack && now - r.charge_start >= full && !r.heavy_ready_sent) {
        r.heavy_ready_sent = 1;
        r.heavy_ready_at = now;
        reflex_events |= EV_HEAVY_READY;
    }

    // Release, or a tap buffered during the recovery once the player is free.
    bool released = r.charging && !in.attack;
    bool buffered_tap = !released && r.jab_buffered && !busy && !r.charging;
    if (!released && !buffered_tap) return;
    int32_t hold = released ? now - r.charge_start : 0;
    r.charging = 0;
    r.heavy_ready_sent = 0;
    if (buffered_tap) r.jab_buffered = 0;
    if (hold < min) {
        if (busy) {
            if (now - r.finisher_at >= FT_FINISHER_RECOVERY) r.jab_buffered = 1;
            return;
        }
        bool in_chain = now - r.last_jab_at <= r.jab_ms + FT_CHAIN_MS;
        if (r.jab_chain >= 2 && in_chain) {
            r.finisher_impact_at = now + FT_FINISHER_IMPACT;
            r.busy_until = now + FT_FINISHER_RECOVERY;
            r.guard_free_at = now + FT_FINISHER_GUARD;
            r.jab_chain = 0;
            r.heavy_chain = 0;
            r.finisher_at = now;
            r.heavy_started_at = now;
            reflex_events |= EV_SWING;
            return;
        }
        r.jab_chain = (in_chain && r.jab_chain > 0) ? r.jab_chain + 1 : 1;
        r.heavy_chain = 0;
        r.jab_impact_at = now + FT_JAB_IMPACT;
        r.busy_until = now + r.jab_ms;
        r.guard_free_at = now;
        r.last_jab_at = now;
        r.jab_started_at = now;
        reflex_events |= EV_JAB;
        return;
    }
    // A heavy released while still recovering from another blow is lost.
    if (busy) return;
    r.full_heavy = hold >= full;
    r.heavy_percent = r.riposte ? 100 : percent;
    r.riposte_heavy = r.riposte && r.full_heavy;
    r.heavy_impact_at = now + FT_HEAVY_IMPACT;
    r.busy_until = r.heavy_impact_at + r.heavy_recovery_ms * r.heavy_percent / 100;
    r.guard_free_at = r.busy_until;
    r.jab_chain = 0;
    r.heavy_chain++;
    r.heavy_started_at = now;
    reflex_events |= EV_SWING;
}

void meters_step() {
    Reflex& r = reflex;
    int32_t num = duel.step_hits * 6000 - duel.hit_rate;
    int32_t step = num / HIT_RATE_SMOOTH;
    if (num < 0 && step == 0) step = -1;  // so that the rate decays to 0 when no blows land
    duel.hit_rate = std::max(duel.hit_rate + step, 0);
    duel.step_hits = 0;
    if (r.monster_state != MS_DEAD) duel.clean_ms = std::min(duel.clean_ms + CLOCK_STEP_SHORT, CLEAN_MAX_MS);
    if (player.hp * 3 < player.max_hp && flow > 0) flow--;
    r.fight_stats[FS_FLOW_SUM] += flow;
    r.fight_stats[FS_FLOW_SAMPLES]++;
}

// A blow into a raised shield: stars, a guard break, or a shatter. False when the blow hits normally.
bool blow_into_shield(bool full_heavy, int32_t stars) {
    Reflex& r = reflex;
    if (r.monster_state != MS_GUARD || r.clock - r.state_start < FT_GUARD_SETTLE) return false;
    if (full_heavy) {
        r.stars = 0;
        r.guard_broken_at = r.clock;
        reflex_events |= EV_GUARD_BROKEN | EV_SHATTERED;
        duel_shatters++;
        reflex_player_hit(GUARD_BREAK_PERCENT);
        if (alive()) reflex_monster_enter(MS_STAGGER, r.cleave ? STAGGER_CLEAVE : STAGGER_METER_FULL);
        combat_add_combo(3);
        return true;
    }
    r.stars += stars;
    r.star_at = r.clock;
    reflex_events |= EV_STAR;
    if (r.stars >= r.stars_needed) {
        r.stars = 0;
        r.guard_broken_at = r.clock;
        r.fight_stats[FS_GUARD_BREAKS]++;
        reflex_events |= EV_STAR | EV_GUARD_BROKEN;
        reflex_player_hit(GUARD_BREAK_PERCENT);
        if (alive()) reflex_monster_enter(MS_STAGGER, STAGGER_PARRY);
    }
    return true;
}

// Whether the monster winds up a blow that can be parried and its window has not opened yet.
bool interruptible() {
    const Reflex& r = reflex;
    if (r.monster_state != MS_ATTACK) return false;
    // A feint is parryable only once it has turned into its real blow; before that it is a bluff
    // that a heavy cannot catch.
    bool parryable = r.current.kind == ATK_PLAIN || (r.current.kind == ATK_FEINT && r.current.rewound);
    return parryable && r.clock - r.state_start < r.current.windup - r.current.parry_window;
}

void player_impacts(int32_t now) {
    Reflex& r = reflex;
    r.heavy_landed = 0;
    if (r.jab_impact_at != REFLEX_NEVER && now >= r.jab_impact_at) {
        r.jab_impact_at = REFLEX_NEVER;
        r.fight_stats[FS_JABS]++;
        if (alive() && !blow_into_shield(false, 1)) reflex_player_hit(r.jab_percent);
        stagger_meter_add(1);
    }
    if (r.heavy_impact_at != REFLEX_NEVER && now >= r.heavy_impact_at) {
        r.heavy_impact_at = REFLEX_NEVER;
        r.fight_stats[FS_HEAVIES]++;
        r.heavy_landed = 1;
        bool could_interrupt = r.full_heavy && interruptible() && now >= r.interrupt_ready_at;
        if (alive() && !blow_into_shield(r.full_heavy, 2)) {
            int32_t pct = (r.full_heavy ? r.heavy_percent_full : WEAK_HEAVY_PERCENT) * r.heavy_percent / 100;
            bool crush = r.riposte_heavy && staggered();
            if (crush) reflex_events |= EV_CRUSHED | EV_HEAVY_HIT;
            reflex_player_hit_ex(pct, crush);
        }
        if (could_interrupt && alive()) {
            r.incoming_count = 0;
            r.interrupt_ready_at = now + FT_INTERRUPT_COOLDOWN;
            r.fight_stats[FS_INTERRUPTS]++;
            reflex_events |= EV_INTERRUPTED;
            reflex_monster_enter(MS_STAGGER, STAGGER_INTERRUPT);
        }
        int32_t points = r.full_heavy ? r.heavy_stagger_points : WEAK_HEAVY_POINTS;
        if (points * r.heavy_percent >= 100) stagger_meter_add(points * r.heavy_percent / 100);
        r.riposte_heavy = 0;
    }
    if (r.finisher_impact_at != REFLEX_NEVER && now >= r.finisher_impact_at) {
        r.finisher_impact_at = REFLEX_NEVER;
        r.fight_stats[FS_FINISHERS]++;
        reflex_events |= EV_FINISHER;
        if (alive() && !blow_into_shield(false, 2)) {
            reflex_player_hit(r.finisher_percent);
            if (alive()) combat_add_combo(1);
        }
        stagger_meter_add(4);
    }
}

void monster_staggered_by(int32_t ms) { reflex_monster_enter(MS_STAGGER, ms); }

// The end of a wind-up: the blow lands, or is parried, blocked or dodged.
void monster_impact(int32_t now) {
    Reflex& r = reflex;
    AttackEntry& a = r.current;
    r.last_impact_at = now;
    if (a.kind == ATK_FEINT && !a.rewound) {
        a.kind = ATK_PLAIN;
        a.rewound = 1;
        a.parry_window = FT_PARRY_WINDOW - flow * FEINT_FLOW_CUT / 100;
        a.windup = r.tempo * 260 / 100 + a.parry_window;
        r.fight_stats[FS_FEINTS]++;
        reflex_monster_enter(MS_ATTACK, a.windup);
        r.window_cue_sent = 0;
        reflex_events |= EV_WINDUP;
        return;
    }
    bool locked = now < r.guard_locked_until;
    bool dodged_recently = r.dodge_at != REFLEX_NEVER && now - r.dodge_at <= r.dodge_ms;
    int32_t impact = r.state_start + r.state_length;
    if (a.kind == ATK_PLAIN || a.kind == ATK_FEINT) {
        int32_t d = impact - r.parry_press_at;
        int32_t early = FT_PARRY_EARLY + r.parry_bonus_ms + flow * FT_FLOW_PARRY_BONUS / 1000;
        if (r.parry_press_at != REFLEX_NEVER && d >= -FT_PARRY_LATE && d <= early && !locked) {
            reflex_events |= EV_PARRY;
            r.parry_at = now;
            r.fight_stats[FS_PARRIES]++;
            combat_add_combo(1);
            if (d <= FT_PERFECT) {
                reflex_events |= EV_PERFECT;
                r.perfect_at = now;
                r.fight_stats[FS_PERFECTS]++;
                combat_add_combo(2);
                r.riposte_until = now + FT_RIPOSTE_MS;
            }
            r.parry_press_at = REFLEX_NEVER;
            if (player.cls == CLASS_KNIGHT) stagger_meter_add(2);
            r.incoming_count = 0;
            if (alive()) monster_staggered_by(STAGGER_PARRY);
            return;
        }
        if (dodged_recently) {
            r.fight_stats[FS_WRONG]++;
            if (combat_damage_player(r.attack, false)) combat_monster_special(false);
        } else if (r.guard_up && !locked) {
            r.fight_stats[FS_BLOCKS]++;
            combat_damage_player(r.attack * r.block_chip_percent / 100, true);
        } else if (combat_damage_player(r.attack, false)) {
            combat_monster_special(false);
        }
    } else if (a.kind == ATK_SIDE) {
        int32_t big = r.attack * SIDE_HIT_TENTHS / 10;
        if (dodged_recently && (a.side == 0 || r.dodge_side == -a.side)) {
            reflex_events |= EV_DODGE;
            r.fight_stats[FS_DODGES]++;
            combat_add_combo(1);
            if (alive()) monster_staggered_by(STAGGER_DODGE);
            return;
        }
        if (dodged_recently || !r.guard_up || locked) {
            if (combat_damage_player(big, false)) combat_monster_special(true);
        } else if (r.tower_shield) {
            r.fight_stats[FS_BLOCKS]++;
            combat_damage_player(big * r.block_chip_percent / 100, true);
        } else if (combat_damage_player(r.attack * THROUGH_GUARD_TENTHS / 10, false)) {
            r.guard_locked_until = now + HEAVY_TAKEN_LOCK_MS;
            r.fight_stats[FS_THROUGH_GUARD]++;
            reflex_events |= EV_HEAVY_TAKEN;
            combat_monster_special(true);
        }
    }
    if (!alive() || r.monster_state != MS_ATTACK) return;
    if (a.chained && r.incoming_count > 0)
        reflex_monster_enter(MS_CHAIN, r.tempo * FT_CHAIN_GAP / 100);
    else
        reflex_monster_enter(MS_RECOIL, r.tempo * FT_RECOIL / 100);
}

void monster_step(int32_t now) {
    Reflex& r = reflex;
    if (!alive()) return;
    int32_t elapsed = now - r.state_start;
    if (r.monster_state == MS_ATTACK && !r.window_cue_sent &&
        elapsed >= r.current.windup - r.current.parry_window) {
        r.window_cue_sent = 1;
        reflex_events |= EV_WINDOW;
    }
    if (elapsed <= r.state_length) return;
    switch (r.monster_state) {
    case MS_RECOVER: reflex_monster_enter(MS_READY, READY_MS); break;
    case MS_READY:
        if (r.incoming_count == 0) {
            if (!training_active() || drill_is_mixed())
                choose_attack();
            else
                drill_force_attack();
        }
        pop_or_rest();
        break;
    case MS_ATTACK: monster_impact(now); break;
    case MS_CHAIN:
    case MS_RECOIL: pop_or_rest(); break;
    case MS_STAGGER: rest_draw(100); break;
    case MS_GUARD: rest_draw(60); break;
    default: break;
    }
}

}  // namespace

uint32_t fight_rng() {
    fight_rng_state = fight_rng_state * 1103515245u + 12345u;
    return fight_rng_state;
}

void reflex_monster_enter(int s, int ms) {
    reflex.monster_state = s;
    reflex.state_start = reflex.clock;
    reflex.state_length = ms;
}

int64_t fight_stat_this_fight(int i) {
    if (i < 0 || i >= FIGHT_STAT_COUNT) return 0;
    return reflex.fight_stats[i] - fight_stats_at_start[i];
}

void reflex_clear() {
    std::memset(&reflex, 0, sizeof reflex);
    std::memset(fight_stats_at_start, 0, sizeof fight_stats_at_start);
    set_all_times_never(reflex);
    reflex_events = 0;
}

void reflex_fight_start(int type, int hp, int max_hp, int attack, int floor, bool opening) {
    Reflex& r = reflex;
    int64_t stats[FIGHT_STAT_COUNT];
    std::memcpy(stats, r.fight_stats, sizeof stats);
    std::memset(&r, 0, sizeof r);
    std::memcpy(r.fight_stats, stats, sizeof stats);
    reflex_events = 0;
    r.type = type;
    r.hp = std::max(hp, 1);
    r.max_hp = std::max(max_hp, r.hp);
    int32_t a = attack * FT_ATTACK_PERCENT / 100;
    a = training_active() ? (int32_t)((float)a * 0.65f) : (int32_t)((float)a * (1.0f - 0.35f * skill_assist()));
    r.attack = std::max(a, 1);
    int row = (type >= 1 && type <= 8) ? type : 1;
    const FightStyle& st = FIGHT_STYLE[row];
    r.tempo = training_active() ? 130 : std::max(100 - 2 * floor, 80) * st.tempo / 100;
    int base_stars = st.stars > 0 ? st.stars : FT_BASE_STARS;
    r.stars_needed = std::min(floor / 6 + base_stars + (combat.elite ? 1 : 0), 7);
    set_all_times_never(r);
    r.jab_percent = 100;
    r.heavy_percent = 100;
    reflex_weapon_setup();
    reflex_monster_enter(MS_RECOVER, opening ? RECOVER_OPENING_MS : RECOVER_MS);
    r.status_tick_ms = STATUS_TICK_MS;
    if (opening) {
        std::memcpy(fight_stats_at_start, r.fight_stats, sizeof fight_stats_at_start);
        r.fight_stats[FS_FIGHTS]++;
        if (r.reach) reflex_player_hit(100);
    }
}

void reflex_fight_update(const ReflexInput& in) {
    Reflex& r = reflex;
    reflex_events = 0;
    if ((r.monster_state == MS_DEAD && r.clock - r.state_start > r.state_length) || r.player_dead) {
        r.fight_over = 1;
        return;
    }
    int32_t dt = (r.frame % 3 == 0) ? CLOCK_STEP_SHORT : CLOCK_STEP_LONG;
    if (training_active() && drill_pause_for_cue()) {
        dt = 0;
        const bool guard_new = in.guard && !r.guard_was_held;
        if (guard_new || in.dodge != 0) {
            drill_cue_answered();
            // The press the cue asks for counts whatever came before it: an early dodge's cooldown
            // or an early guard tap must not refuse it while the clock stands still.
            if (in.dodge != 0) r.dodge_at = REFLEX_NEVER;
            if (guard_new) r.last_guard_press_at = REFLEX_NEVER;
        }
    }
    r.clock += dt;
    r.fight_stats[FS_MS] += dt;
    r.frame++;
    int32_t now = r.clock;

    player_input(in, now);
    meters_step();
    player_impacts(now);
    stagger_meter_decay();
    duel_ticks(dt);
    monster_step(now);
    if (r.player_dead) r.fight_over = 1;
}

int32_t reflex_time_to_impact() {
    if (reflex.monster_state != MS_ATTACK) return -1;
    return std::max(reflex.state_start + reflex.state_length - reflex.clock, 0);
}

bool reflex_parry_window_open() {
    return reflex.monster_state == MS_ATTACK &&
           reflex.clock - reflex.state_start >= reflex.current.windup - reflex.current.parry_window;
}

bool reflex_queue_attack(int kind, int time, bool chained) {
    Reflex& r = reflex;
    if (r.incoming_count >= REFLEX_QUEUE_CAP) return false;
    AttackEntry e{};
    e.kind = kind;
    e.chained = chained ? 1 : 0;
    if (kind == ATK_SHIELD) {
        e.windup = time;  // how long the shield stays up
    } else {
        float share = (float)flow * (FT_FLOW_WINDOW_CUT / 100.0f) / 1000.0f;
        e.parry_window = (int32_t)((1.0f - share) * (float)FT_PARRY_WINDOW);
        float factor = training_active() ? 1.3f - share
                                         : 1.0f + 0.3f * skill_assist() - 0.25f * fight_pressure() - share;
        int32_t scaled = time * ((int32_t)(fight_rng() % 31u) + 85) / 100;
        e.windup = (int32_t)(factor * (float)scaled) + e.parry_window;
        if (kind == ATK_SIDE) e.side = ((fight_rng() >> 16) & 1u) ? 1 : -1;
    }
    e.variant = (int32_t)((r.frame + r.incoming_count) & 1);
    r.incoming[r.incoming_count++] = e;
    return true;
}

bool reflex_queue_attack_pct(int kind, int percent, bool chained) {
    return reflex_queue_attack(kind, percent * reflex.tempo / 100, chained);
}

bool reflex_queue_smash(int percent) { return reflex_queue_attack_pct(ATK_SIDE, percent, false); }

void reflex_reset_flags() {
    reflex.stagger_meter = 0;
    reflex.stars = 0;
    if (reflex.monster_state == MS_STAGGER || reflex.monster_state == MS_GUARD) rest_draw(100);
}
