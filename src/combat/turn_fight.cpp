// The turn-menu fight: the menu's input, the player's actions, the monster's queued moves and the
// status ticks between turns. The tick calls combat_player_input; combat_tick runs the monster's
// move when its delay runs out. Every draw comes from the loot stream.
#include "combat/turn_fight.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "boons/boons.h"
#include "classes/gear_rules.h"
#include "combat/combat.h"
#include "combat/combat_queue.h"
#include "combat/duel.h"
#include "combat/fx.h"
#include "combat/loot.h"
#include "combat/run_stats.h"
#include "combat/status.h"
#include "combat/training.h"
#include "dungeon/monster_moves.h"
#include "dungeon/monsters.h"
#include "dungeon/particles.h"
#include "items/bag.h"
#include "items/equip.h"
#include "items/item.h"
#include "items/potion.h"
#include "profile/profile.h"
#include "render/screen.h"
#include "services/rumble.h"
#include "services/toast.h"
#include "sound/audio.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

namespace {

constexpr int FLEE_CHANCE = 50, FLEE_CHANCE_TRAINING = 100;
constexpr int32_t QUEUE_SHAKE = 8;
constexpr int KEEN_ENCHANT_CHANCE = 15;
constexpr int32_t BLOOD_PACT_PER_MILLE = 60;
constexpr int GUARD_BREAK_PERCENT = 175, GUARD_BREAK_AXE_PERCENT = 225;
constexpr int RAGE_BONUS_BUFFS = 1;   // each buff is +2 attack
constexpr int FURY_FLOOR = 10;
constexpr int BURN_TURNS = 3, DEEP_BURN_TURNS = 5, DEEP_BURN_FLOOR = 20;
constexpr int ACID_WEAR_STEPS = 2;
constexpr int GRAB_BASE = 5;          // a goblin grabs floor x 2 + this
// The boon whose value is the chance that a blow sets the monster on fire; its row is empty, so
// the value stays 0 and no draw is made.
constexpr int BOON_FIRE_BLOWS = 36;
constexpr int FIRE_BLOW_PERCENT = 35, FIRE_BLOW_TURNS = 3;

int32_t lifesteal_carry;  // per-mille life steal kept between blows

// 0..n-1 from the loot stream.
int draw(int n) { return loot_rand(n) - 1; }

const char* monster_name() {
    return MONSTER_TYPES[(combat.type > M_NONE && combat.type < M_COUNT) ? combat.type : (uint32_t)M_GOBLIN].name;
}

__attribute__((format(printf, 1, 2))) void say(const char* fmt, ...) {
    char line[COMBAT_LOG_BYTES];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(line, sizeof line, fmt, args);
    va_end(args);
    combat_log_push(line);
}

void remove_head() {
    if (combat.queued <= 0 || combat.queued > MOVE_QUEUE_CAP) {
        combat.queued = 0;
        return;
    }
    for (int i = 0; i + 1 < combat.queued; i++) combat.queue[i] = combat.queue[i + 1];
    combat.queue[--combat.queued] = 0;
}

bool is_tell_of(int tell, int strike) {
    return (tell == MOVE_EYE_GOLD && strike == MOVE_GRAB_RUN) || (tell == MOVE_INHALE && strike == MOVE_BREATH) ||
           (tell == MOVE_DROOL && strike == MOVE_CHOMP) || (tell == MOVE_CHANT && strike == MOVE_BLAST) ||
           (tell == MOVE_RAISE && strike == MOVE_CRUSH) || (tell == MOVE_WIND_UP && strike == MOVE_SLAM);
}

// Wears a hand `steps` steps; a break says so in the log.
void wear_hand(bool main, int steps) {
    Item& it = main ? player.main_hand : player.off_hand;
    char line[COMBAT_LOG_BYTES];
    for (int i = 0; i < steps; i++)
        if (item_wear(it, main ? "main" : "off", line, sizeof line)) {
            combat_log_push(line);
            return;
        }
}

bool main_weapon_ready() {
    return item_id_is_weapon(player.main_hand.id) && !item_is_broken(player.main_hand);
}

}  // namespace

void turn_fight_run_reset() { lifesteal_carry = 0; }

int turn_crit_chance() {
    int c = boon_value(BOON_KEEN_EDGE);
    if (player.main_hand.enchant == ENCHANT_KEEN && !item_is_broken(player.main_hand)) c += KEEN_ENCHANT_CHANCE;
    return c;
}

namespace {

void monster_hurt(int d) { combat.hp = std::max(combat.hp - d, 0); }

// Kills the monster when its hp ran out (drills keep it standing); true when the fight is won.
bool monster_check_slain() {
    if (training_active()) combat.hp = std::max(combat.hp, drill_hp_floor());
    if (combat.hp > 0) return false;
    combat_victory();
    return true;
}

void poison_the_player() {
    if (boon_level(BOON_ANTIVENOM) > 0) return;
    status_add(player.status, ST_POISON, poison_strength(current_floor));
    say("You are poisoned!");
}

void burn_the_player(int turns) {
    status_add(player.status, ST_BURN, turns);
    say("You are on fire!");
}

void player_dies(int32_t reason, int32_t status) {
    player.hp = 0;
    killer_type = combat.type;
    combat.hurt_reason = reason;
    combat.death_status = status;
    combat.death_ms = 0;
    rumble_add(1.0f, 1.0f, 450);
    game_state = STATE_DEATH;
}

// The base damage of a move's blow and whether it strikes one at all.
bool move_blow(int move, int a, int* base) {
    switch (move) {
    case MOVE_SMASH: case MOVE_CHOMP: case MOVE_BLAST: case MOVE_CRUSH: case MOVE_SLAM: *base = 2 * a; return true;
    case MOVE_DOUBLE_BITE: case MOVE_VENOM_BITE: case MOVE_SPIT: case MOVE_FLIT: *base = a - 1; return true;
    case MOVE_BREATH: *base = 2 * a + a / 2; return true;
    case MOVE_SWEEP: *base = 3 * a / 2; return true;
    case MOVE_HIT: case MOVE_CUT: case MOVE_DRAIN: *base = a; return true;
    case MOVE_RAISE: case MOVE_JAB: case MOVE_WIND_UP: case MOVE_SLASH: case MOVE_CLAW: case MOVE_TAIL:
    case MOVE_LUNGE: *base = 0; return true;
    default: *base = 0; return false;
    }
}

const char* blow_verb(int move) {
    switch (move) {
    case MOVE_SMASH: case MOVE_CRUSH: case MOVE_SLAM: return "smashes";
    case MOVE_VENOM_BITE: return "bites";
    case MOVE_BREATH: return "burns";
    case MOVE_CUT: return "cuts";
    case MOVE_FLIT: return "nips";
    case MOVE_SPIT: return "spits";
    case MOVE_CHOMP: return "chomps";
    case MOVE_BLAST: return "blasts";
    case MOVE_DRAIN: return "drains";
    case MOVE_SWEEP: return "sweeps";
    default: return "hits";
    }
}

// A blow that did nothing: evaded, or stopped by the shield or a parry.
void blow_stopped() {
    const char* n = monster_name();
    combat.hurt_popup_timer = POPUP_LONG_TICKS;
    combat.hurt_popup_value = 0;
    if (combat.missed) {
        combat.hurt_popup_kind = POPUP_MISS;
        say("The %s misses!", n);
    } else {
        combat.hurt_popup_kind = POPUP_BLOCKED;
        say("Blocked the %s!", n);
        say(shield_ready() ? "Your shield holds!" : "You parry it!");
    }
    play_sfx(SFX_HIT);
    rumble_add(0.15f, 0.7f, 90);
}

// A blow that landed for d: the player's hp, the feedback, death or LAST STAND. False when the
// player died.
bool blow_lands(int d, bool heavy) {
    if (combat.type == M_MIMIC && !combat.first_strike) {
        combat.first_strike = 1;
        d = std::min(d, std::max(player.hp - 1, 0));
    }
    float low = 0.25f + 2.5f * (float)d / (float)std::max(player.max_hp, 1);
    rumble_add(low, 0.6f * low, heavy ? 260 : 140);
    play_sfx(SFX_HURT);
    if (!cheat_flags[CHEAT_IMMORTAL]) player.hp -= d;
    if (training_active()) player.hp = std::max(player.hp, 1);
    shake_from_damage(d);
    fx_hurt_from_damage(d);
    combat.hurt_popup_timer = POPUP_LONG_TICKS;
    combat.hurt_popup_value = d;
    combat.hurt_popup_kind = HURT_KIND_HURT;
    combat.shake_timer = std::max(combat.shake_timer, 10);
    if (player.hp > 0) return true;
    if (combat_last_stand()) return true;
    player_dies(HURT_PLAIN, -1);
    return false;
}

// SPINES and THORNS answer a landed blow; true when they killed the monster.
bool blow_answered(int d) {
    int spines = boon_value(BOON_SPINES);
    if (spines > 0) {
        int back = std::max(1, d * spines / 100);
        monster_hurt(back);
        say("Spines! %s -%d", monster_name(), back);
    }
    if (shield_ready() && player.off_hand.enchant == ENCHANT_THORNS) {
        monster_hurt(1);
        say("Thorns! %s -1", monster_name());
    }
    return monster_check_slain();
}

// The side effect of a landed blow of `move` that did d.
void blow_effect(int move, int d, bool guarded) {
    switch (move) {
    case MOVE_VENOM_BITE: poison_the_player(); break;
    case MOVE_CUT:
        if (!guarded) poison_the_player();
        break;
    case MOVE_BREATH: burn_the_player(current_floor >= DEEP_BURN_FLOOR ? DEEP_BURN_TURNS : BURN_TURNS); break;
    case MOVE_BLAST: burn_the_player(BURN_TURNS); break;
    case MOVE_SPIT: wear_hand(!(guarded && shield_ready()), ACID_WEAR_STEPS); break;
    case MOVE_DRAIN:
        if (!guarded) {
            int heal = std::min(d, combat.max_hp - combat.hp);
            if (heal > 0) {
                combat.hp += heal;
                say("%s heals %d", monster_name(), heal);
            }
        }
        break;
    default: break;
    }
}

// A move without a blow: its line and what it changes.
void quiet_move(int move) {
    const char* n = monster_name();
    switch (move) {
    case MOVE_EYE_GOLD: {
        int take = std::min(current_floor * 2 + GRAB_BASE, player.gold);
        take = std::max(take, 0);
        player.gold -= take;
        combat.gold_stolen += take;
        say("%s grabs %d gold!", n, take);
        play_sfx(SFX_COIN);
        break;
    }
    case MOVE_GRAB_RUN: {
        char line[48];  // the log keeps 23 characters, a toast 27
        if (combat.gold_stolen > 0)
            std::snprintf(line, sizeof line, "IT FLED WITH %d GOLD!", combat.gold_stolen);
        else
            std::snprintf(line, sizeof line, "%s FLED!", n);
        combat_log_push(line);
        toast_show(line);
        play_sfx(SFX_BACK);
        int m = monster_at(combat.monster_x, combat.monster_y);
        if (m >= 0) monster_remove(m);
        combat.gold_stolen = 0;  // gone with it
        game_state = STATE_DUNGEON;
        break;
    }
    case MOVE_INHALE: say("%s inhales...", n); break;
    case MOVE_HARDEN: say("%s quivers.", n); break;
    case MOVE_ROAR:
        combat.buff++;
        say("%s roars! ATK +2", n);
        play_sfx(SFX_HIT);
        rumble_add(0.4f, 0.2f, 160);
        break;
    case MOVE_DROOL: say("%s drools...", n); break;
    case MOVE_CHANT: say("%s chants...", n); break;
    case MOVE_WARD: say("%s mutters.", n); break;
    default: break;
    }
}

// One tick of each status counter of the player and of the monster after the monster's move.
void status_ticks() {
    for (int i = 0; i < ST_COUNT && game_state == STATE_COMBAT; i++) {
        if (player.status[i] == 0) continue;
        int change = status_tick_player(i, 0);
        if (change == 0) continue;
        say("%s %+d HP", STATUS_TICK[i].name, change);
        if (change > 0) continue;
        rumble_add(0.12f, 0.12f, 60);
        shake_from_damage(-change);
        fx_hurt_from_damage(-change);
        play_sfx(SFX_STATUS);
        status_flash(i);
        if (player.hp <= 0 && !combat_last_stand()) player_dies(HURT_STATUS, i);
    }
    if (game_state != STATE_COMBAT) return;
    for (int i = 0; i < ST_COUNT; i++) {
        if (combat.monster_status[i] == 0) continue;
        int32_t hp = combat.hp;
        int change = status_tick_monster(combat.monster_status, i, &hp, combat.max_hp, 0);
        combat.hp = hp;
        if (change != 0) say("%s %s %+d", monster_name(), STATUS_TICK[i].name, change);
    }
    if (combat.fire_turns > 0) {
        combat.fire_turns--;
        int d = std::max(combat.fire_dose, 0);
        monster_hurt(d);
        if (d > 0) say("%s BURNS -%d", monster_name(), d);
    }
    monster_check_slain();
}

void open_items() {
    int list[TURN_ITEM_MAX];
    if (combat_item_list(list, TURN_ITEM_MAX) == 0) {
        say("Nothing to use!");
        play_sfx(SFX_DENY);
        return;
    }
    combat.item_menu = 1;
    combat.item_cursor = 0;
    play_sfx(SFX_CONFIRM);
}

void item_menu_input(uint8_t presses) {
    int list[TURN_ITEM_MAX];
    int n = combat_item_list(list, TURN_ITEM_MAX);
    if (presses & BTN_B || n == 0) {
        combat.item_menu = 0;
        play_sfx(SFX_BACK);
        return;
    }
    if (combat.item_cursor < 0 || combat.item_cursor >= n) combat.item_cursor = 0;
    if (presses & (BTN_UP | BTN_DOWN)) {
        combat.item_cursor = (combat.item_cursor + ((presses & BTN_UP) ? n - 1 : 1)) % n;
        play_sfx(SFX_MOVE);
    }
    if (!(presses & BTN_A)) return;
    char line[COMBAT_LOG_BYTES];
    ItemUse used = item_use(list[combat.item_cursor], upgrade_active_rank(UPGRADE_FORAGER), line, sizeof line);
    combat_log_push(line);
    if (used == ITEM_USE_NONE) {
        play_sfx(SFX_DENY);
        return;
    }
    if (used == ITEM_USE_HEALED) run_stats_count_potion();
    play_sfx(used == ITEM_USE_HEALED ? SFX_HEAL : SFX_CONFIRM);
    combat.item_menu = 0;
    combat.item_cursor = 0;
    combat.turn++;
    combat.monster_delay = TURN_MONSTER_DELAY;
}

void menu_move(uint8_t presses) {
    int32_t c = std::clamp(combat.action_cursor, 0, TURN_ACTION_COUNT - 1);
    if (screen_layout.landscape) {
        if (presses & BTN_UP) c = (c + TURN_ACTION_COUNT - 1) % TURN_ACTION_COUNT;
        if (presses & BTN_DOWN) c = (c + 1) % TURN_ACTION_COUNT;
    } else {
        if (presses & (BTN_LEFT | BTN_RIGHT)) c ^= 1;
        if (presses & (BTN_UP | BTN_DOWN)) c ^= 2;
    }
    if (c != combat.action_cursor) play_sfx(SFX_MOVE);
    combat.action_cursor = c;
}

}  // namespace

int combat_head_move() { return combat.queued > 0 && combat.queued <= MOVE_QUEUE_CAP ? combat.queue[0] : -1; }

void combat_queue_pop() {
    int head = combat_head_move();
    remove_head();
    if (head >= 0 && combat.queued > 0 && is_tell_of(head, combat.queue[0])) remove_head();
    combat_queue_fill();
    combat.shake_timer = QUEUE_SHAKE;
}

int turn_attack_value() {
    const int a = player_attack_value();
    if (!combat.guard_break_due) return a;
    return a * (player.main_hand.id == ITEM_BATTLE_AXE ? GUARD_BREAK_AXE_PERCENT : GUARD_BREAK_PERCENT) / 100;
}

int flee_chance() { return training_active() ? FLEE_CHANCE_TRAINING : FLEE_CHANCE; }

int combat_item_list(int* out, int max) { return bag_list_usable(out, std::min(max, TURN_ITEM_MAX)); }

void combat_player_input(uint8_t presses) {
    if (combat.victory_delay > 0 || combat.monster_delay > 0) return;
    if (presses & BTN_START) {
        state_under_pause = STATE_COMBAT;
        game_state = STATE_PAUSE;
        return;
    }
    if (combat.item_menu) {
        item_menu_input(presses);
        return;
    }
    menu_move(presses);
    if (!(presses & BTN_A)) return;
    switch (combat.action_cursor) {
    case TURN_ATTACK:
        combat.turn++;
        combat_player_attack();
        if (game_state == STATE_COMBAT && combat.victory_delay == 0) combat.monster_delay = TURN_MONSTER_DELAY;
        break;
    case TURN_DEFEND:
        combat.turn++;
        combat.guarding = 1;
        play_sfx(SFX_CONFIRM);
        say("You brace.");
        if (shield_ready()) wear_hand(false, 1);
        combat.monster_delay = TURN_MONSTER_DELAY;
        break;
    case TURN_ITEM: open_items(); break;
    default: combat_flee(); break;
    }
}

void combat_player_attack() {
    const Item& main = player.main_hand;
    const bool off_weapon = item_id_is_weapon(player.off_hand.id) && item_def(player.off_hand.id).either_hand &&
                            !item_def(main.id).two_handed;
    wear_hand(true, 1);
    if (off_weapon) wear_hand(false, 1);
    const int head = combat_head_move();
    if (head == MOVE_WARD || head == MOVE_FLIT) {
        say(head == MOVE_WARD ? "The ward blocks you!" : "It flits away! Miss!");
        combat.hit_popup_value = 0;
        combat.hit_popup_kind = POPUP_MISS;
        combat.monster_flash_timer = POPUP_LONG_TICKS;
        combat.guard_break_due = 0;
        return;
    }
    const int d = turn_attack_value() + draw(3);
    combat.guard_break_due = 0;
    const bool twice = main_weapon_ready() && (item_def(main.id).flags & ITEM_FLAG_DOUBLE_STRIKE);
    int parts[2] = {twice ? d * 3 / 5 : d, twice ? d * 3 / 5 : 0};
    const int blows = twice ? 2 : 1;
    const int chance = turn_crit_chance();
    const bool crit = chance > 0 && draw(100) + 1 <= chance;
    const bool hardened = head == MOVE_HARDEN;
    for (int i = 0; i < blows; i++) {
        if (crit) parts[i] *= 2;
        if (hardened) parts[i] /= 2;
        parts[i] = std::max(parts[i], 1);
    }
    if (hardened) say("It soaks up the blow!");
    if (twice)
        say("You hit %d+%d", parts[0], parts[1]);
    else
        say("You hit %d", parts[0]);
    const int total = parts[0] + parts[1];
    monster_hurt(total);
    combat.hit_popup_value = total;
    combat.hit_popup_kind = crit ? POPUP_CRIT : (hardened ? POPUP_HALF : POPUP_PLAIN);
    combat.hit_popup_timer = POPUP_HIT_TICKS;
    combat.monster_flash_timer = POPUP_LONG_TICKS;
    spawn_sparks(crit);
    play_sfx(SFX_HEAVY);

    if (main.enchant == ENCHANT_VAMPIRIC && !item_is_broken(main)) player_gain_hp(1);
    const int32_t per_mille = boon_level(BOON_BLOOD_PACT) > 0 ? BLOOD_PACT_PER_MILLE : boon_value(BOON_VAMPIRIC);
    if (per_mille > 0) {
        lifesteal_carry += per_mille * player.max_hp;
        player_gain_hp(lifesteal_carry / 1000);
        lifesteal_carry %= 1000;
    }

    const int atk = player_attack_value();
    const int fire = boon_value(BOON_FIRE_BLOWS);
    if (fire > 0 && draw(100) < fire) {
        combat.fire_dose = std::max(1, atk * FIRE_BLOW_PERCENT / 100);
        combat.fire_turns = FIRE_BLOW_TURNS;
        say("The %s burns!", monster_name());
    }
    const bool venomous = main_weapon_ready() &&
                          ((item_def(main.id).flags & ITEM_FLAG_VENOM) || main.enchant == ENCHANT_VENOMOUS);
    if (venomous && combat.hp > 0) {
        if (!status_has(combat.monster_status, ST_POISON)) say("The %s is poisoned!", monster_name());
        status_add(combat.monster_status, ST_POISON, poison_strength(current_floor));
    }

    if (combat.type == M_DRAGON && combat.hp > 0) {
        if (!combat.enraged && combat.hp * 2 <= combat.max_hp) {
            combat.enraged = 1;
            combat.buff += RAGE_BONUS_BUFFS;
            say("The DRAGON enrages!");
        }
        if (!combat.fury && current_floor >= FURY_FLOOR && combat.hp * 4 <= combat.max_hp) {
            combat.fury = 1;
            combat.buff += RAGE_BONUS_BUFFS;
            say("Its fury doubles!");
        }
    }
    monster_check_slain();
}

void combat_flee() {
    if (loot_rand(100) > flee_chance()) {
        say("Cannot escape!");
        play_sfx(SFX_DENY);
        combat.turn++;
        combat.monster_delay = TURN_MONSTER_DELAY;
        return;
    }
    int m = monster_at(combat.monster_x, combat.monster_y);
    if (m >= 0) {
        monsters.list[m].carried_hp = combat.hp;
        monsters.list[m].move_cooldown = 2;
    }
    combat.fled = 1;
    say("You flee!");
    play_sfx(SFX_BACK);
    game_state = STATE_DUNGEON;
}

int combat_evade_check(int base, bool heavy) {
    combat.missed = 0;
    const int chance = evade_chance();
    if (chance > 0 && draw(100) + 1 <= chance) {
        combat.missed = 1;
        return 0;
    }
    if (heavy && combat.guarding) {
        if (shield_ready()) return 0;
        const Item& main = player.main_hand;
        if (item_id_is_weapon(main.id) && item_def(main.id).two_handed && !item_is_broken(main) && draw(2) == 1)
            return 0;
    }
    int d = base + draw(2);
    if (combat.guarding) d = heavy ? d / 4 : d / 2;
    d -= player_defence_value(gear_rules_now());
    return std::max(d, 1);
}

void combat_monster_act() {
    if (game_state != STATE_COMBAT || combat.reflex) return;
    if (combat.queued <= 0) combat_queue_fill();
    const int move = combat_head_move();
    remove_head();
    combat_queue_fill();
    combat.shake_timer = std::max(combat.shake_timer, QUEUE_SHAKE);
    if (move < 0) return;
    combat.last_move = (uint8_t)move;
    const bool guarded = combat.guarding;
    const bool heavy = move_is_heavy(move);
    int base = 0;
    if (!move_blow(move, combat_monster_attack(), &base)) {
        quiet_move(move);
    } else {
        const int blows = move == MOVE_DOUBLE_BITE ? 2 : 1;
        int d[2] = {0, 0};
        for (int i = 0; i < blows; i++) d[i] = combat_evade_check(base, heavy);
        const int total = d[0] + d[1];
        if (total == 0) {
            blow_stopped();
        } else {
            if (blows == 2)
                say("%s bites %d+%d", monster_name(), d[0], d[1]);
            else
                say("%s %s %d", monster_name(), blow_verb(move), total);
            blow_effect(move, total, guarded);
            if (blow_lands(total, heavy)) blow_answered(total);
        }
    }
    combat.guarding = 0;
    if (game_state == STATE_COMBAT && combat.victory_delay == 0) status_ticks();
}
