// The fight record and a fight's life: the start when the player bumps a monster, the per-step duel
// update that turns the engine's events into words, sounds and shakes, the timers, and the victory.
// Called by exploration (start_combat) and the tick (combat_update, combat_tick).
#include "combat/combat.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "boons/boons.h"
#include "classes/classes.h"
#include "combat/combat_queue.h"
#include "combat/duel.h"
#include "combat/fx.h"
#include "combat/loot.h"
#include "combat/reflex.h"
#include "combat/status.h"
#include "combat/training.h"
#include "dungeon/elite.h"
#include "dungeon/fxfield.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "dungeon/particles.h"
#include "levelup/levelup.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "services/rumble.h"
#include "services/services.h"
#include "services/toast.h"
#include "sound/audio.h"
#include "telemetry/check.h"
#include "telemetry/run_record.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

Combat combat;
uint32_t killer_type;
uint8_t reflex_fights = 1;
uint8_t reflex_started;

namespace {

constexpr uint8_t DIRECTIONS = BTN_UP | BTN_DOWN | BTN_LEFT | BTN_RIGHT;
constexpr int FX_FIELD_COMBO = 5;
constexpr int32_t DODGE_MEMORY_MS = 700;  // a hurt this soon after a dodge the other way was a wrong-way dodge
constexpr int32_t DRAGON_HEAT_BONUS = 1;  // above this heat a dragon has a fifth more hp
constexpr int HEAT_ATTACK_BONUS = 3;      // above this heat monsters hit 15 % harder
constexpr int HEAT_DRAGON_SKIP = 4;       // ... and dragons a further quarter, except at this heat
constexpr int HIT_STOP_STAR = 3, HIT_STOP_PARRY = 6, HIT_STOP_BREAK = 8, HIT_STOP_FINISHER = 9;
constexpr int HIT_STOP_STAGGER = 10, HIT_STOP_BIG = 12;
constexpr int32_t PLAYER_DEAD = 1, PLAYER_ALIVE = 2, MONSTER_SLAIN = 0;  // fight results
constexpr int COUNTER_PERFECT = 0, COUNTER_INTERRUPT = 1, COUNTER_SHATTER = 2;
constexpr int MILESTONE_CRUSH = 18, MILESTONE_FLOW = 20;
constexpr int FLOW_LEVEL_TOP = 5;

int32_t last_glow_height = -1;

const char* monster_name(int type) { return MONSTER_TYPES[(type > M_NONE && type < M_COUNT) ? type : 0].name; }

// A bounded text write: longer texts are cut at the buffer's end.
__attribute__((format(printf, 3, 4))) void line_format(char* out, size_t size, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(out, size, fmt, args);
    va_end(args);
}

void upper_copy(char* out, size_t size, const char* in) {
    size_t i = 0;
    for (; in[i] && i + 1 < size; i++) out[i] = (in[i] >= 'a' && in[i] <= 'z') ? (char)(in[i] - 32) : in[i];
    out[i] = '\0';
}

int monster_start_hp(int type, bool elite) {
    int b = MONSTER_TYPES[type].hp;
    int f = current_floor;
    int hp = b + f * b / 5;
    if (f > 19) hp += (f - 19) * b / 20;
    if (f > 29) hp += (f - 29) * b / 4;
    if (elite) hp *= 2;
    if (type == M_DRAGON && run_heat > DRAGON_HEAT_BONUS) hp += hp / 5;
    return hp;
}

// The combo glow behind the fight: brighter and faster as the combo's damage tier climbs.
void combo_glow() {
    if (combo == 0) {
        if (fxfield_active(FX_FIELD_COMBO)) fxfield_clear(FX_FIELD_COMBO);
        return;
    }
    int p = combo_tier_percent();
    float level = p >= 200 ? 0.55f : p >= 150 ? 0.44f : p >= 125 ? 0.3025f : p >= 110 ? 0.165f : 0.0f;
    int32_t rate = p >= 200 ? 105 : p >= 150 ? 136 : p >= 125 ? 178 : 238;
    int32_t h = screen_view_height();
    if (h != last_glow_height) {
        last_glow_height = h;
        fxfield_set_ramp(FX_FIELD_COMBO, h / 2, h / 4, 2, FXFIELD_HOT);
    }
    fxfield_set_level(FX_FIELD_COMBO, level);
    fxfield_set_rate(FX_FIELD_COMBO, rate);
}

void shake_at_least(int n) { combat.shake_timer = std::max(combat.shake_timer, n); }

void hit_feedback(uint64_t ev) {
    const Reflex& r = reflex;
    bool weak = ev & EV_WEAK;
    combat.hit_popup_timer = POPUP_HIT_TICKS;
    combat.hit_popup_value = r.last_damage_dealt;
    combat.hit_popup_heavy = (ev & EV_HEAVY_HIT) || r.heavy_landed;
    combat.monster_flash_timer = POPUP_LONG_TICKS;
    play_sfx(weak ? SFX_HIT : SFX_HEAVY);
    if (!weak) spawn_sparks((ev & EV_HEAVY_HIT) || r.heavy_landed);
    int weight = r.heavy_landed ? r.heavy_weight : 5;
    if (ev & EV_CRUSHED) {
        fx_state.hit_stop = weight > 7 ? std::min(weight, 11) + 4 : HIT_STOP_BIG;
        shake_at_least(18);
        rumble_add(1.0f, 0.8f, 300);
    } else if ((ev & EV_HEAVY_HIT) || r.heavy_landed) {
        shake_at_least(weight + 4);
        fx_state.hit_stop = weight;
        rumble_add(0.4f + 0.05f * (float)weight, 0.6f, 60 + 15 * weight);
    } else if (weak) {
        rumble_add(0.05f, 0.15f, 50);
    } else {
        rumble_add(0.15f, 0.3f, 50);
    }
}

// A recent dodge toward the arrows that still took the blow came too soon: the blow was not
// dodged, which is not the same as dodging the other way.
bool dodged_right_way(const Reflex& r) { return r.current.side == 0 || r.dodge_side == -r.current.side; }

void hurt_feedback(uint64_t ev) {
    const Reflex& r = reflex;
    int d = r.last_damage_taken;
    play_sfx(SFX_HURT);
    shake_from_damage(d);
    fx_hurt_from_damage(d);
    float frac = (float)d / (float)std::max(player.max_hp, 1);
    rumble_add(0.3f + 2.5f * frac, 0.2f + 1.5f * frac, 200);
    combat.hurt_popup_timer = POPUP_LONG_TICKS;
    combat.hurt_popup_value = d;
    combat.hurt_popup_kind = HURT_KIND_HURT;
    shake_at_least(10);
    bool side = r.current.kind == ATK_SIDE;
    combat.hit_by_side = side;
    if (!side)
        combat.hurt_reason = HURT_PLAIN;
    else if (ev & EV_HEAVY_TAKEN)
        combat.hurt_reason = HURT_THROUGH_GUARD;
    else if (r.dodge_at != REFLEX_NEVER && r.clock - r.dodge_at < DODGE_MEMORY_MS && !dodged_right_way(r))
        combat.hurt_reason = HURT_WRONG_WAY;
    else
        combat.hurt_reason = HURT_SIDE_NOT_DODGED;
}

void events_feedback(uint64_t ev) {
    const Reflex& r = reflex;
    if (ev & EV_HIT) hit_feedback(ev);
    if (ev & EV_SHATTERED) {
        fx_state.hit_stop = HIT_STOP_BIG;
        shake_at_least(20);
        rumble_add(1.0f, 0.9f, 350);
    }
    if ((ev & EV_PARRY) && !(ev & EV_PERFECT)) {
        fx_state.hit_stop = HIT_STOP_PARRY;
        shake_at_least(5);
        play_sfx(SFX_POPUP);
        rumble_add(0.3f, 0.7f, 90);
    }
    if ((ev & EV_STAR) && !(ev & EV_GUARD_BROKEN)) {
        fx_state.hit_stop = HIT_STOP_STAR;
        shake_at_least(3);
        play_sfx(SFX_HIT);
        rumble_add(0.15f, 0.5f, 50);
    }
    if ((ev & EV_GUARD_BROKEN) && !(ev & EV_SHATTERED)) {
        fx_state.hit_stop = HIT_STOP_BREAK;
        shake_at_least(10);
        rumble_add(0.7f, 0.8f, 200);
    }
    if (ev & EV_DODGE) play_sfx(SFX_SWISH);
    if (ev & EV_BLOCK) {
        play_sfx(SFX_HIT);
        rumble_add(0.15f, 0.6f, 80);
        combat.hurt_popup_timer = POPUP_LONG_TICKS;
        combat.hurt_popup_value = r.last_damage_taken;
        combat.hurt_popup_kind = HURT_KIND_BLOCK;
    }
    if (ev & EV_PLAYER_HURT) hurt_feedback(ev);
    if ((ev & EV_BLOCK) && player.hp <= 0) combat.hurt_reason = HURT_DIED_BLOCKING;
    if (ev & EV_WINDOW) play_sfx(r.current.kind == ATK_SIDE ? SFX_DENY : SFX_MOVE);
    if (ev & EV_HEAVY_READY) {
        play_sfx(SFX_CONFIRM);
        rumble_add(0.2f, 0.6f, 60);
    }
    if (ev & EV_HEAVY_TAKEN) shake_at_least(14);
    if (ev & EV_FINISHER) {
        fx_hit_stop(HIT_STOP_FINISHER);
        shake_at_least(14);
        rumble_add(0.8f, 0.8f, 200);
    }
    if (ev & EV_STAGGERED) {
        fx_state.hit_stop = HIT_STOP_STAGGER;
        shake_at_least(14);
        play_sfx(SFX_POPUP);
        rumble_add(0.8f, 0.8f, 250);
    }
    if (ev & EV_INTERRUPTED) {
        fx_state.hit_stop = HIT_STOP_BIG;
        shake_at_least(16);
        play_sfx(SFX_POPUP);
        rumble_add(0.9f, 0.9f, 300);
    }
    if (ev & EV_STATUS_TICK) status_flash(r.status_id);

    if (ev & EV_PARRY) duel_counters[DC_PARRIES]++;
    if (ev & EV_DODGE) duel_counters[DC_DODGES]++;
    if (ev & EV_GUARD_BROKEN) duel_counters[DC_GUARD_BREAKS]++;
    if (ev & EV_PERFECT) platform_counter_bump(COUNTER_PERFECT);
    if (ev & EV_INTERRUPTED) platform_counter_bump(COUNTER_INTERRUPT);
    if (ev & EV_SHATTERED) platform_counter_bump(COUNTER_SHATTER);
    if (ev & EV_CRUSHED) platform_milestone(MILESTONE_CRUSH);
    if (flow_level() == FLOW_LEVEL_TOP) platform_milestone(MILESTONE_FLOW);
}

// The combo tier's word: "FLOW x2!", "FLOW x1.5!", "FLOW x1.25!".
void tier_word(int p, char* out, size_t size) {
    if (p % 100 == 0)
        std::snprintf(out, size, "FLOW x%d!", p / 100);
    else if (p % 10 == 0)
        std::snprintf(out, size, "FLOW x%d.%d!", p / 100, (p % 100) / 10);
    else
        std::snprintf(out, size, "FLOW x%d.%02d!", p / 100, p % 100);
}

// One word per step, the first that applies; DEATH'S DOOR wins over all.
void events_word(uint64_t ev) {
    const char* word = nullptr;
    int size = 2;
    int p = combo_tier_percent();
    if (ev & EV_CRUSHED) word = "CRUSHED!", size = 5;
    else if (ev & EV_INTERRUPTED) word = "INTERRUPTED!", size = 4;
    else if (ev & EV_STAGGERED) word = "STAGGERED!", size = 4;
    else if (ev & EV_PERFECT) word = "PERFECT!", size = 4;
    else if (ev & EV_SHATTERED) word = "SHATTERED!", size = 5;
    else if (ev & EV_DODGE) word = "WIDE OPEN!", size = 3;
    else if (ev & EV_GUARD_BROKEN) word = "BROKEN!", size = 2;
    else if ((ev & EV_FLOW_TIER) && p > 100) {
        tier_word(p, combat.flow_word, sizeof combat.flow_word);
        word = combat.flow_word;
        size = p < 125 ? 2 : p < 150 ? 3 : p < 200 ? 4 : 5;
    } else if (ev & EV_SIDESTEP) word = "SIDESTEP!";
    else if (ev & EV_ROBBED) word = "ROBBED!";
    else if (ev & EV_POISONED) word = "POISONED!";
    else if (ev & EV_ON_FIRE) word = "ON FIRE!";
    else if (ev & EV_CORRODED) word = "CORRODED!";
    if (ev & EV_DEATHS_DOOR) word = "DEATH'S DOOR", size = 5;
    if (word) popup_text(word, size);
}

void fight_over() {
    const Reflex& r = reflex;
    if (r.hp <= 0) {
        fx_hit_big();
    }
    skill_rating_update();
    if (r.hp <= 0) {
        run_record_fight_end(MONSTER_SLAIN);
        combat_victory();
        return;
    }
    run_record_fight_end(r.player_dead ? PLAYER_DEAD : PLAYER_ALIVE);
    if (!r.player_dead) return;
    player.hp = 0;
    killer_type = combat.type;
    combat.death_hits = (int32_t)fight_stat_this_fight(FS_FULL_HITS);
    combat.death_ms = r.clock;
    combat.death_status = -1;
    game_state = STATE_DEATH;
}

void victory_finish() {
    if (combat.levelled) play_sfx(SFX_REWARD);
    if (combat.victory_lines[1][0])
        toast_show2(combat.victory_lines[0], combat.victory_lines[1]);
    else
        toast_show(combat.victory_lines[0]);
    // Exploration opens the level-up screen next when picks are owed.
    game_state = STATE_DUNGEON;
}

void count_down(int32_t& t) {
    if (t > 0) t--;
}

}  // namespace

void combat_log_push(const char* text) {
    for (int i = 0; i + 1 < COMBAT_LOG_LINES; i++) std::memcpy(combat.log[i], combat.log[i + 1], COMBAT_LOG_BYTES);
    std::snprintf(combat.log[COMBAT_LOG_LINES - 1], COMBAT_LOG_BYTES, "%s", text ? text : "");
}

int combat_monster_attack() {
    int type = (combat.type > M_NONE && combat.type < M_COUNT) ? (int)combat.type : M_GOBLIN;
    if (training_active()) {
        int a = training_attack(type);
        return a > 0 ? a : 2;
    }
    int f = current_floor;
    int a = MONSTER_TYPES[type].attack + f / 4;
    if (f < 20) {
        if (f < 5) a -= 1;
    } else {
        a += (f - 19) / 7;
        if (f > 29) a += (f - 27) / 3 + (f - 28) / 2;
    }
    a += (f + 1) / 12;
    a = std::max(a, 1);
    a += 2 * combat.buff + (combat.elite ? 2 : 0);
    if (run_heat > HEAT_ATTACK_BONUS) {
        a += a * 15 / 100;
        if (type == M_DRAGON && run_heat != HEAT_DRAGON_SKIP) a += a / 4;
    }
    return a;
}

void start_combat(int type, int mx, int my) {
    if (type <= M_NONE || type >= M_COUNT)
        check_failed("t > M_NONE && t < M_COUNT", __FILE__, __LINE__, __func__, "start_combat monster %d", type);
    if (mx < 0 || mx >= MAP_W || my < 0 || my >= MAP_H)
        check_failed("mx >= 0 && mx < MAP_W && my >= 0 && my < MAP_H", __FILE__, __LINE__, __func__,
                     "start_combat at (%d,%d)", mx, my);
    if (type <= M_NONE || type >= M_COUNT) type = M_GOBLIN;
    codex_met(type);
    combat.hit_by_side = 0;
    combat.hurt_reason = HURT_NONE;

    int m = monster_at(mx, my);
    bool training = training_active();
    bool elite;
    if (training)
        elite = false;
    else if (m >= 0)
        elite = monsters.list[m].elite || (cheat_flags[CHEAT_FORCE_ELITES] && elite_type_eligible(type));
    else
        elite = elite_type_eligible(type) && (cheat_flags[CHEAT_FORCE_ELITES] || elite_chance_test(mx, my, current_floor, type));

    int full = training ? drill_monster_hp(type) : monster_start_hp(type, elite);
    int hp = full;
    if (m >= 0) {
        int carried = monsters.list[m].carried_hp;
        monsters.list[m].carried_hp = 0;
        if (carried >= 1 && carried < full) hp = carried;
    }

    combat = Combat{};
    combat.last_move = 0xFF;  // no move made yet
    combat.type = (uint32_t)type;
    combat.hp = hp;
    combat.max_hp = full;
    combat.elite = elite ? 1 : 0;
    combat.monster_x = mx;
    combat.monster_y = my;
    combat_queue_fill();
    if (training) drill_begin();
    combat.reflex = (reflex_fights || training) ? 1 : 0;

    char name[12];
    upper_copy(name, sizeof name, monster_name(type));
    char line[COMBAT_LOG_BYTES];
    if (hp < full)
        line_format(line, sizeof line, "A wounded %s!", name);
    else if (elite)
        line_format(line, sizeof line, "An ELITE %s!", name);
    else
        line_format(line, sizeof line, "%s %s appears!", std::strchr("AEIOU", name[0]) ? "An" : "A", name);
    if (type == M_MIMIC && combat.reflex) line_format(line, sizeof line, "It's a MIMIC!");
    if (training && current_floor == 0) line[0] = '\0';
    combat_log_push(line);
    game_state = STATE_COMBAT;

    if (!combat.reflex) return;
    int dmax = reflex_hp_scale(full), dhp = reflex_hp_scale(hp);
    dmax += dmax * flow / 4000;
    dhp += dhp * flow / 4000;
    run_record_fight_begin();
    reflex_fight_start(type, dhp, dmax, combat_monster_attack(), current_floor, true);
    combat.hp = reflex.hp;
    combat.max_hp = reflex.max_hp;
    reflex_started = 1;
    if (type == M_MIMIC) {
        combat.shake_timer = 10;
        rumble_add(0.5f, 0.5f, 200);
    }
}

void combat_resume_reflex() {
    if (combat.reflex != 1) return;
    reflex_fight_start((int)combat.type, std::max(combat.hp, 1), combat.max_hp, combat_monster_attack(),
                       current_floor, false);
    reflex_started = 1;
}

void combat_update(uint8_t held, uint8_t presses) {
    if (combat.victory_delay > 0) return;
    if (presses & BTN_START) {
        state_under_pause = STATE_COMBAT;
        game_state = STATE_PAUSE;
        return;
    }
    combo_glow();
    if (reflex_started) {
        presses &= (uint8_t)~(BTN_LEFT | BTN_RIGHT);
        if (!(held & DIRECTIONS)) reflex_started = 0;
    }
    duel.view_guard_held = (held & BTN_B) ? 1 : 0;
    if (fx_state.hit_stop > 0) {
        if (!(presses & (BTN_B | BTN_LEFT | BTN_RIGHT))) return;
        fx_state.hit_stop = 0;
    }
    ReflexInput in{};
    in.attack = (held & BTN_A) && !(training_active() && drill_is_defence());
    in.guard = (held & BTN_B) ? 1 : 0;
    in.dodge = (presses & BTN_LEFT) ? -1 : ((presses & BTN_RIGHT) ? 1 : 0);
    reflex_fight_update(in);
    combat.hp = reflex.hp;
    uint64_t ev = reflex_events;
    if (training_active()) drill_on_events(ev);
    duel.view_crush_pending = (ev & EV_CRUSHED) ? 1 : 0;
    duel.view_weak_pending = (ev & EV_WEAK) ? 1 : 0;
    events_feedback(ev);
    events_word(ev);
    if (reflex.fight_over) fight_over();
}

void combat_victory() {
    play_sfx(SFX_KILL);
    rumble_add(0.35f, 0.35f, 120);
    int type = (combat.type > M_NONE && combat.type < M_COUNT) ? (int)combat.type : M_GOBLIN;
    int x = combat.monster_x, y = combat.monster_y;
    int m = monster_at(x, y);
    if (m >= 0) monster_remove(m);

    // The stolen gold goes back before the loot: it left this purse in the fight, so it always fits,
    // and the loot's gold is told by what the purse takes of it.
    int gold_back = combat.gold_stolen;
    player.gold = bound_gold(player.gold, gold_back);
    combat.gold_stolen = 0;

    char loot_line[VICTORY_LINE_BYTES];
    int fl = flow_level();
    loot_drop(type, x, y, 2 * fl, combat.elite, loot_line, sizeof loot_line);
    int threat_before = threat_total;
    threat_total = bound_threat(threat_total, fl);

    int xp = MONSTER_TYPES[type].xp * (combat.elite ? 2 : 1);
    xp += xp * boon_value(BOON_VETERAN) / 100;
    if (training_active()) xp = training_xp_gap(type);
    int levels = gain_xp(xp);
    combat.levelled = levels > 0;
    if (levels > 0) combat_log_push("Level up!");

    player.kills = bound_kills(player.kills, 1);
    weapon_stat_kill();
    codex_slain(type);
    if (player.floor_kills < 255) player.floor_kills++;

    int pct = boon_level(BOON_BLOOD_PACT) > 0 ? 25 : boon_value(BOON_BLOODTHIRST);
    if (pct > 0) player_heal(std::min(std::max(1, player.max_hp * pct / 100), player.max_hp - player.hp));

    bool healed = type == M_DRAGON;
    if (healed) {
        player_gain_hp(player.max_hp);
        status_clear(player.status);
    }

    char name[12];
    upper_copy(name, sizeof name, monster_name(type));
    char* l1 = combat.victory_lines[0];
    char* l2 = combat.victory_lines[1];
    if (combat.levelled)
        line_format(l1, VICTORY_LINE_BYTES, "LEVEL UP! NOW LVL %d", player.level);
    else if (gold_back > 0)
        line_format(l1, VICTORY_LINE_BYTES, "GOT %dG BACK! +%d XP", gold_back, xp);
    else if (combat.elite)
        line_format(l1, VICTORY_LINE_BYTES, "ELITE %s SLAIN!", name);
    else
        line_format(l1, VICTORY_LINE_BYTES, "%s SLAIN! +%d XP", name, xp);
    if (loot_line[0])
        line_format(l2, VICTORY_LINE_BYTES, "%s", loot_line);
    else if (healed)
        line_format(l2, VICTORY_LINE_BYTES, "FULLY HEALED");
    else if (combat.elite && !combat.levelled && gold_back == 0)
        line_format(l2, VICTORY_LINE_BYTES, "+%d XP", xp);
    else if (threat_total / 10 > threat_before / 10)
        line_format(l2, VICTORY_LINE_BYTES, "+1 SOUL: THREAT");
    else
        l2[0] = '\0';

    combat.victory_delay = VICTORY_DELAY_TICKS;
    fx_hit_big();
    spawn_debris();
}

void combat_tick() {
    if (game_state != STATE_COMBAT) return;
    if (fx_state.hit_stop > 0) {
        fx_state.hit_stop--;
        count_down(combat.shake_timer);
        return;
    }
    count_down(combat.hit_popup_timer);
    count_down(combat.monster_flash_timer);
    count_down(combat.shake_timer);
    count_down(combat.hurt_popup_timer);
    count_down(combat.heal_timer);
    if (combat.victory_delay > 0 && --combat.victory_delay == 0) {
        victory_finish();
        return;
    }
    if (combat.monster_delay > 0 && --combat.monster_delay == 0) combat_monster_act();
}

bool combat_is_reflex() { return combat.reflex == 1; }


int32_t combat_victory_delay() { return combat.victory_delay; }

DeathNumbers combat_death_numbers() {
    return DeathNumbers{combat.hurt_reason, combat.death_status, combat.death_hits, combat.death_ms};
}

int evade_chance() {
    constexpr int EVADE_MAX = 75;
    const int chance = class_hook_zero() + boon_value(BOON_SIDESTEP);
    return chance < EVADE_MAX ? chance : EVADE_MAX;
}
