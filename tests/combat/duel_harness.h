// A headless step harness for the duel: a fresh player and fight, scripted inputs (press, hold or
// release a button at a duel millisecond) in, and one record per step out (clock, monster state,
// event bits, both hit points).
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

#include "combat/combat.h"
#include "combat/duel.h"
#include "combat/fx.h"
#include "combat/loot.h"
#include "combat/reflex.h"
#include "dungeon/floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "items/floor_items.h"
#include "items/item.h"
#include "world/glyphs.h"
#include "world/game_state.h"
#include "world/player.h"

// One scripted input: at duel time `at` (ms), the action happens on the first step whose clock
// reaches it. 'A' attack down, 'a' attack up, 'G' guard down, 'g' guard up, 'L'/'R' dodge.
struct DuelCue {
    int32_t at;
    char action;
};

struct DuelStep {
    int32_t clock;
    int32_t state;
    uint64_t events;
    int32_t player_hp, monster_hp;
};

// A known player: a short sword and a wooden shield, plenty of hp, no statuses, no boons.
inline void duel_player_reset(int hp = 100) {
    player = Player{};
    player.hp = player.max_hp = hp;
    player.attack = 3;
    player.level = 1;
    player.cls = 0;
    player.main_hand = item_make(ITEM_SHORT_SWORD);
    player.off_hand = item_make(ITEM_WOODEN_SHIELD);
}

// An open walled room on `floor`, no monsters or floor items, the known player at (5, 5) facing east,
// no cheats.
inline void duel_open_room(int floor) {
    duel_player_reset(100);
    current_floor = floor;
    for (uint8_t& f : cheat_flags) f = 0;
    for (int y = 0; y < MAP_H; y++)
        for (int x = 0; x < MAP_W; x++)
            gmap[y][x] = (x == 0 || y == 0 || x == MAP_W - 1 || y == MAP_H - 1) ? GLYPH_WALL : GLYPH_FLOOR;
    monsters_clear();
    floor_items_clear();
    player.x = 5;
    player.y = 5;
    player.facing = 1;
}

// A fresh run's meters and a duel against `type` on `floor`, with the stream at a fixed start.
inline void duel_reset(int type, int floor = 0, int hp = 500, int attack = 10, bool opening = false,
                       uint32_t rng = FIGHT_RNG_START) {
    current_floor = floor;
    duel_player_reset();
    for (uint8_t& f : cheat_flags) f = 0;
    game_state = STATE_COMBAT;
    reflex_clear();
    run_stats_reset();
    fx_reset();
    combat = Combat{};
    combat.type = (uint32_t)type;
    fight_rng_state = rng;
    reflex_fight_start(type, hp, hp, attack, floor, opening);
}

// Steps the duel until the clock reaches `until` (or the fight ends), applying the cues in order.
// The attack and guard buttons stay as the last cue left them.
struct DuelDriver {
    uint8_t attack = 0, guard = 0;
    size_t next = 0;
    std::vector<DuelCue> cues;
    std::vector<DuelStep> trace;

    uint64_t step(int dodge = 0) {
        int32_t upcoming = reflex.clock + ((reflex.frame % 3 == 0) ? 16 : 17);
        while (next < cues.size() && cues[next].at <= upcoming) {
            switch (cues[next].action) {
            case 'A': attack = 1; break;
            case 'a': attack = 0; break;
            case 'G': guard = 1; break;
            case 'g': guard = 0; break;
            case 'L': dodge = -1; break;
            case 'R': dodge = 1; break;
            default: break;
            }
            next++;
        }
        ReflexInput in{};
        in.attack = attack;
        in.guard = guard;
        in.dodge = dodge;
        reflex_fight_update(in);
        trace.push_back({reflex.clock, reflex.monster_state, reflex_events, player.hp, reflex.hp});
        return reflex_events;
    }
    // Runs to the clock `until`; returns the OR of the events seen.
    uint64_t run_to(int32_t until) {
        uint64_t all = 0;
        while (reflex.clock < until && !reflex.fight_over) all |= step();
        return all;
    }
    // Runs until an event of `mask` shows (at most `limit` ms); returns the step's events or 0.
    uint64_t run_until(uint64_t mask, int32_t limit = 20000) {
        int32_t end = reflex.clock + limit;
        while (reflex.clock < end && !reflex.fight_over) {
            uint64_t ev = step();
            if (ev & mask) return ev;
        }
        return 0;
    }
};

// Puts the monster into a wind-up of `kind` now, with nothing else queued; returns the impact time.
inline int32_t duel_force_attack(int kind, int side = 0) {
    reflex.incoming_count = 0;
    AttackEntry e{};
    e.kind = kind;
    e.windup = 1000;
    e.parry_window = 360;
    e.side = side;
    reflex.current = e;
    reflex_monster_enter(MS_ATTACK, e.windup);
    reflex.window_cue_sent = 0;
    return reflex.state_start + reflex.state_length;
}

// Moves the pending impact of the wind-up in flight to `impact` (a duel ms).
inline void duel_set_impact(int32_t impact) { reflex.state_length = impact - reflex.state_start; }
