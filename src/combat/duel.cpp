// Duel resolution: the player's and the monster's blows, the monster's side effects, combo and flow,
// LAST STAND, damage over time and the skill rating. Called by the duel engine and the fight update.
#include "combat/duel.h"

#include <algorithm>

#include "boons/boons.h"
#include "classes/gear_rules.h"
#include "combat/combat.h"
#include "combat/fight_tuning.h"
#include "combat/fx.h"
#include "combat/reflex.h"
#include "combat/status.h"
#include "combat/training.h"
#include "dungeon/monsters.h"
#include "items/equip.h"
#include "items/item.h"
#include "profile/profile.h"
#include "services/rumble.h"
#include "telemetry/run_record.h"
#include "world/game_state.h"
#include "world/player.h"

int32_t berserk_floor = -1;

namespace {

constexpr int32_t RATING_UNRATED = 250;
constexpr int32_t RATING_MAX = 1000;
constexpr int32_t VENOM_STEPS = 180;
constexpr int32_t DOT_PERIOD_STEPS = 60;
constexpr int32_t STATUS_TICK_MS = 1500;
constexpr int32_t BERSERK_CHANCE = 26;
constexpr int32_t BLOOD_PACT_PER_MILLE = 60;
constexpr int32_t VAMPIRIC_ENCHANT_PER_MILLE = 10;
constexpr int32_t KEEN_ENCHANT_CHANCE = 15;
constexpr int32_t THORNS_PERCENT = 25;
constexpr int32_t GOBLIN_STEAL_CHANCE = 25, GOBLIN_POISON_MAX_DRAW = 32, GOBLIN_POISON_FLOOR = 6;
constexpr int32_t TRAINING_POISON = 99;
constexpr int32_t PROFILE_WRITE_EVERY = 5;
constexpr int32_t FLOW_HINT_IDLE_MS = 8000;
constexpr int32_t FLOW_HINT_MAX = 3;

bool monster_alive() { return reflex.monster_state != MS_DEAD; }

void monster_dies() {
    Reflex& r = reflex;
    r.hp = 0;
    combat_add_combo(1);
    reflex_monster_enter(MS_DEAD, REFLEX_DEAD_MS);
    r.fight_stats[FS_SLAIN]++;
    duel.kill_streak++;
    reflex_events |= EV_KILL;
}

void poison_player() {
    if (boon_level(BOON_ANTIVENOM) > 0) return;
    status_add(player.status, ST_POISON, training_active() ? TRAINING_POISON : poison_strength(current_floor));
    reflex_events |= EV_POISONED;
}

// The wear cadence picks the hand: an off-hand weapon beside a one-hander takes every other turn.
bool wear_main_hand_this_turn(int turn) {
    const Item& off = player.off_hand;
    bool off_weapon = item_id_is_weapon(off.id) && item_def(off.id).either_hand && !item_is_broken(off) &&
                      !item_def(player.main_hand.id).two_handed;
    return !off_weapon || turn % 2 == 1;
}

bool wear_will_break(const Item& it) {
    return item_is_wearable(it) && !item_is_broken(it) && it.wear + 1 >= item_wear_max(it);
}

float clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

}  // namespace

int32_t skill_rating() { return profile_rated_fights() == 0 ? RATING_UNRATED : profile_skill_rating(); }

float skill_assist() {
    if (training_active()) return 1.0f;
    return clamp01((450.0f - (float)skill_rating()) / 300.0f);
}

float fight_pressure() {
    if (training_active()) return 0.0f;
    return clamp01((float)(current_floor - 1) * 0.25f) * clamp01(((float)skill_rating() - 600.0f) / 300.0f);
}

int assist_level() {
    if (training_active()) return 10;
    return 5 + (int)(5.0f * skill_assist() + 0.5f);
}

const char* skill_rank_name(int rating) {
    if (rating < 300) return "NOVICE";
    if (rating < 450) return "APPRENTICE";
    if (rating < 600) return "ADEPT";
    if (rating < 750) return "VETERAN";
    if (rating < 900) return "EXPERT";
    return "MASTER";
}

int flow_level() { return std::min((flow + 100) / 200, 5); }

int combo_tier_percent() {
    int c = combo;
    if (c < 5) return 100;
    if (c < 12) return 110;
    if (c < 25) return 125;
    if (c < 45) return 150;
    return 200;
}

int flow_damage_percent() { return 100 + FT_FLOW_DAMAGE * flow / 1000; }

int reflex_hp_scale(int hp) { return std::max(hp * FT_HP_PERCENT / 100, 1); }

bool berserk_this_floor() { return berserk_floor == current_floor; }

int souls_multiplier_tenths() {
    return (int)std::clamp<int64_t>(12 + 6 * fight_stat_this_fight(FS_STAGGERS), 12, 30);
}

bool shield_ready() {
    return item_id_is_shield(player.off_hand.id) && !item_is_broken(player.off_hand) &&
           !item_def(player.main_hand.id).two_handed;
}

bool duel_wear(bool main_hand, int steps) {
    Item& it = main_hand ? player.main_hand : player.off_hand;
    bool broke = false;
    char line[COMBAT_LOG_BYTES];
    for (int i = 0; i < steps && !broke; i++) broke = item_wear(it, main_hand ? "main" : "off", line, sizeof line);
    if (!broke) return false;
    combat_log_push(line);
    reflex_weapon_setup();
    reflex.fight_stats[FS_BREAKS]++;
    return true;
}

void reflex_player_hit(int percent) { reflex_player_hit_ex(percent, false); }

void reflex_player_hit_ex(int percent, bool crush) {
    Reflex& r = reflex;
    if (!monster_alive()) return;
    int32_t atk = player_attack_value();
    int32_t d = ((int32_t)(fight_rng() % 21u) + 90) * (atk * percent / 100) / 100;
    if (r.monster_state == MS_STAGGER) {
        d = crush ? d * 2 : d * 3 / 2;
        duel_counters[DC_STAGGER_HITS]++;
    }
    if (r.reach && r.monster_state == MS_ATTACK &&
        r.clock - r.state_start < (r.current.windup - r.current.parry_window) / 2)
        d = d * 3 / 2;
    d = d * combo_tier_percent() / 100;

    const Item& main = player.main_hand;
    int32_t crit_chance = boon_value(BOON_KEEN_EDGE);
    if (main.enchant == ENCHANT_KEEN && !item_is_broken(main)) crit_chance += KEEN_ENCHANT_CHANCE;
    bool crit = crit_chance > 0 && (int32_t)(fight_rng() % 100u) < crit_chance;
    if (crit) d *= 2;

    // Every fifth landed hit (eighth with a light weapon) wears a hand; the blow that breaks it crushes.
    r.hits_landed++;
    int cadence = r.light_weapon ? 8 : 5;
    int wear_hand = -1;  // 1 main, 0 off
    if (r.hits_landed % cadence == 0) {
        wear_hand = wear_main_hand_this_turn(r.hits_landed / cadence) ? 1 : 0;
        const Item& worn = wear_hand ? player.main_hand : player.off_hand;
        if (wear_will_break(worn) && !crit) {
            reflex_events |= EV_CRUSHED | EV_HEAVY_HIT;
            d *= 2;
        }
    }
    if (berserk_this_floor() && (item_is_broken(main) || !item_is_wearable(main))) d *= 3;

    d = std::max(d, 1);
    r.hp -= d;
    r.fight_stats[FS_DEALT] += d;
    weapon_stat_best_hit(d);
    reflex_events |= EV_HIT;
    if (percent < 100) reflex_events |= EV_WEAK;
    r.last_hit_at = r.clock;
    r.last_damage_dealt = d;
    if (percent >= 100) combat_add_combo(1);

    if (wear_hand >= 0 && duel_wear(wear_hand == 1, 1)) {
        if (wear_hand == 1 && (int32_t)(fight_rng() % 100u) < BERSERK_CHANCE) {
            berserk_floor = current_floor;
            player_gain_hp(player.max_hp / 5);
            popup_text("BERSERK!", 5);
            r.fight_stats[FS_BERSERKS]++;
        } else {
            popup_text("BROKEN!", 3);
        }
    }

    if (r.venom) {
        int32_t dose = atk / 6 + 1;
        r.venom_dose = std::max(r.venom_dose, dose);
        r.venom_mult = std::max(r.venom_mult, 1);
        r.venom_frames = VENOM_STEPS;
    }

    int32_t per_mille = boon_level(BOON_BLOOD_PACT) > 0 ? BLOOD_PACT_PER_MILLE : boon_value(BOON_VAMPIRIC);
    if (main.enchant == ENCHANT_VAMPIRIC && !item_is_broken(main)) per_mille += VAMPIRIC_ENCHANT_PER_MILLE;
    if (per_mille > 0) {
        r.lifesteal_carry += per_mille * player.max_hp;
        player_gain_hp(r.lifesteal_carry / 1000);
        r.lifesteal_carry %= 1000;
    }

    // A drill may hold the monster up; where it does not, it dies as in any fight.
    if (training_active()) r.hp = std::max(r.hp, drill_hp_floor());
    if (r.hp <= 0) monster_dies();
}

void reflex_monster_hurt(int d) {
    Reflex& r = reflex;
    if (!monster_alive() || d <= 0) return;
    r.hp -= d;
    if (training_active()) r.hp = std::max(r.hp, drill_hp_floor());
    if (r.hp <= 0) monster_dies();
}

bool combat_damage_player(int attack, bool chip) {
    Reflex& r = reflex;
    if (!chip) {
        int32_t sidestep = boon_value(BOON_SIDESTEP);
        if (sidestep > 0 && (int32_t)(fight_rng() % 100u) < sidestep) {
            reflex_events |= EV_SIDESTEP;
            return false;
        }
    } else if (shield_ready()) {
        duel_wear(false, 1);
    }
    int32_t max_hp = std::max(player.max_hp, 1);
    int32_t d = flow_damage_percent() * attack / 100 - player_defence_value(gear_rules_now());
    d = std::max(d, 1);
    if (!chip) {
        if (d >= max_hp) r.fight_stats[FS_MAX_HP_HITS]++;
        int32_t cap = max_hp * FT_HIT_CAP / 100;
        if (d > cap) {
            d = std::max(1, cap);
            r.fight_stats[FS_CAPPED]++;
        }
    }
    flow = std::max(flow - d * 1000 / max_hp * (chip ? 1 : 3), 0);
    if (chip) {
        reflex_events |= EV_BLOCK;
    } else {
        if (combo >= 3) {
            reflex_events |= EV_COMBO_BROKEN;
            r.broken_combo = combo;
            r.fight_stats[FS_COMBOS_LOST]++;
        }
        combo = 0;
        reflex_events |= EV_PLAYER_HURT;
        duel.clean_ms = 0;
        duel.kill_streak = 0;
        r.player_was_hit = 1;
        r.fight_stats[FS_FULL_HITS]++;
    }
    if (!cheat_flags[CHEAT_NO_DOOR] && player.hp > max_hp * FT_DEATHS_DOOR / 100 && d >= player.hp) {
        d = player.hp - 1;
        reflex_events |= EV_DEATHS_DOOR;
        r.fight_stats[FS_DOOR_SAVES]++;
    }
    if (training_active()) d = std::max(std::min(drill_first_hit_cap(d, chip), player.hp - 1), 0);
    run_record_death(player.hp, d, chip);
    r.fight_stats[FS_TAKEN] += d;
    r.last_damage_taken = d;
    if (!cheat_flags[CHEAT_IMMORTAL]) player.hp -= d;
    if (player.hp < 1) {
        if (!combat_last_stand()) {
            player.hp = 0;
            r.player_dead = 1;
        }
        return !chip;
    }
    int32_t spines = boon_value(BOON_SPINES);
    if (shield_ready() && player.off_hand.enchant == ENCHANT_THORNS) spines += THORNS_PERCENT;
    if (spines > 0) reflex_monster_hurt(std::max(1, d * spines / 100));
    return !chip;
}

bool combat_last_stand() {
    int level = boon_level(BOON_LAST_STAND);
    if (level <= 0 || player.last_stand_used) return false;
    player.last_stand_used = 1;
    player.hp = std::max(1, boon_value(BOON_LAST_STAND) * player.max_hp / 100);
    combat_log_push("LAST STAND!");
    popup_text("LAST STAND!", boon_level_or_max(BOON_LAST_STAND) + 1);
    combat.shake_timer = 16;
    rumble_add(0.8f, 0.8f, 300);
    return true;
}

void combat_monster_special(bool side_attack) {
    switch (reflex.type) {
    case M_GOBLIN: {
        if (player.gold > 0 && combat.gold_stolen == 0 && (int32_t)(fight_rng() % 100u) < GOBLIN_STEAL_CHANCE) {
            int32_t take = std::min(current_floor * 2 + 5, player.gold);
            player.gold -= take;
            combat.gold_stolen += take;
            reflex_events |= EV_ROBBED;
        } else if (current_floor >= GOBLIN_POISON_FLOOR && (int32_t)(fight_rng() % 100u) <= GOBLIN_POISON_MAX_DRAW) {
            poison_player();
        }
        break;
    }
    case M_RAT:
        if (!side_attack) poison_player();
        break;
    case M_DRAGON:
        if (side_attack) {
            status_add(player.status, ST_BURN, current_floor >= 20 ? 5 : 3);
            reflex_events |= EV_ON_FIRE;
        }
        break;
    case M_SLIME:
        duel_wear(true, 2);
        reflex_events |= EV_CORRODED;
        break;
    default: break;
    }
}

void combat_add_combo(int n) {
    int before = combo_tier_percent();
    combo = bound_combo(combo, n);
    duel.step_hits += n;
    if (duel.hit_rate > 100 && !training_active()) {
        float assist = skill_assist(), pressure = fight_pressure();
        int32_t start = 12000 + (int32_t)(12000.0f * assist) - (int32_t)(7000.0f * pressure);
        int32_t span = 12000 - (int32_t)(6000.0f * pressure);
        int32_t h = duel.clean_ms < start ? 0 : (duel.clean_ms - start < span ? (duel.clean_ms - start) * 100 / span : 100);
        int32_t base = n * h * (std::min(duel.hit_rate, 300) - 100) / 2500;
        flow = std::min(flow + (int32_t)((1.0f + pressure) * (float)base), 1000);
    }
    if (combo_tier_percent() != before) reflex_events |= EV_FLOW_TIER;
    duel.best_combo = std::max(duel.best_combo, combo);
    reflex.fight_stats[FS_BEST_COMBO] = std::max<int64_t>(reflex.fight_stats[FS_BEST_COMBO], combo);
}

void duel_ticks(int dt) {
    Reflex& r = reflex;
    if (monster_alive()) {
        if (r.venom_frames > 0) {
            r.venom_frames--;
            if (r.frame % DOT_PERIOD_STEPS == 0) reflex_monster_hurt(r.venom_dose * r.venom_mult);
        }
        if (r.bleed_frames > 0 && monster_alive()) {
            r.bleed_frames--;
            if (r.frame % DOT_PERIOD_STEPS == 0) reflex_monster_hurt(r.bleed_dose);
        }
    }
    // The player's statuses tick on the duel clock; in a duel they never take the last hit point.
    r.status_tick_ms -= dt;
    while (r.status_tick_ms <= 0) {
        r.status_tick_ms += STATUS_TICK_MS;
        for (int i = 0; i < ST_COUNT; i++) {
            if (player.status[i] == 0) continue;
            if (status_tick_player(i, 1) != 0) {
                reflex_events |= EV_STATUS_TICK;
                r.status_id = i;
            }
        }
    }
}

void skill_rating_update() {
    if (training_active()) return;
    int64_t good = fight_stat_this_fight(FS_PARRIES) + fight_stat_this_fight(FS_DODGES) +
                   fight_stat_this_fight(FS_GUARD_BREAKS);
    int64_t hurt = fight_stat_this_fight(FS_FULL_HITS);
    int64_t perfects = fight_stat_this_fight(FS_PERFECTS);
    if (hurt + good <= 1) return;
    double half = (double)perfects / 2.0;
    double score = ((double)good + half) * 1000.0 / (2.0 * (double)hurt + (double)good + half);
    int32_t rating = skill_rating();
    int32_t rated = profile_rated_fights();
    int32_t k = rated < 10 ? 6 : 20;
    rating += (int32_t)((score - rating) / k);
    rating = std::clamp(rating, 0, RATING_MAX);
    rated++;
    profile_skill_store(rating, rated, rated % PROFILE_WRITE_EVERY == 0);
}

bool flow_hint_due() {
    static int64_t seen_count = -1;
    static int32_t seen_clock = 0;
    static int32_t last_clock = 0;
    static bool stretch_counted = false;  // this idle stretch has brought the hint up
    const Reflex& r = reflex;
    if (game_state != STATE_COMBAT || combat.reflex != 1 || training_active() || !monster_alive() || r.fight_over)
        return false;
    int64_t count = r.fight_stats[FS_JABS] + r.fight_stats[FS_HEAVIES];
    bool changed = count != seen_count;
    if (r.clock < last_clock || changed) {
        seen_clock = r.clock;
        stretch_counted = false;
    }
    if (seen_count >= 0 && count > seen_count) profile_attack_hint_mark();
    seen_count = count;
    last_clock = r.clock;
    if (r.monster_state == MS_ATTACK) return false;
    if (!profile_attack_hint_seen()) return true;
    if (r.clock - seen_clock < FLOW_HINT_IDLE_MS) return false;
    // Each idle stretch that brings the hint up counts once, so it comes up at most three times in
    // a profile's life; it hides while the monster winds up and comes back without counting again.
    if (!stretch_counted) {
        if (profile_flow_hint_count() >= FLOW_HINT_MAX) return false;
        profile_flow_hint_raise();
        stretch_counted = true;
    }
    return true;
}

void run_stats_reset() {
    berserk_floor = -1;
    for (int64_t& s : reflex.fight_stats) s = 0;
    duel = DuelMeters{};
    killer_type = M_NONE;  // a death outside a fight names no monster of an earlier run
    flow = combo = threat_total = 0;
    for (int32_t& c : duel_counters) c = 0;
    duel_shatters = 0;
}
