// A simple player for whole-run tests: it presses buttons through game_tick as a person would.
// In the dungeon it walks a shortest path over the cells it has seen to the stairs (or the exit of
// a boss floor, once the dragon is down), exploring the nearest unseen edge when neither is known;
// in a duel it guards while a blow is about to land and jabs otherwise; it takes the first level-up
// card, and at a camp it sells its junk, rests and goes onward.
#pragma once
#include <cstdint>
#include <cstring>

#include "camp/camp.h"
#include "combat/reflex.h"
#include "dungeon/floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "game/game.h"
#include "saves/settings.h"
#include "screens/screens.h"
#include "screens/transition.h"
#include "services/confirm.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/glyphs.h"
#include "world/player.h"

struct Autoplay {
    long ticks = 0;
    int jab_phase = 0;
    bool quit = false;  // the game asked to end (QUIT on the title)
    bool draw = true;
    bool passive = false;  // in a duel, do nothing at all (a run that means to die)
    // Called after every tick and frame (the review pictures hook here).
    void (*after_frame)(long tick) = nullptr;

    void tick(uint8_t held) {
        // A player who has swapped A and B in the controls presses the other one.
        if (settings.swap_ab == 1 && (held & (BTN_A | BTN_B)) && (held & (BTN_A | BTN_B)) != (BTN_A | BTN_B))
            held ^= BTN_A | BTN_B;
        if (!game_tick(held)) quit = true;
        if (draw) draw_frame();
        if (after_frame) after_frame(ticks);
        ticks++;
    }
    // A press: held for one tick, released for one.
    void press(uint8_t b) {
        tick(b);
        tick(0);
    }
    void wait(int n) {
        for (int i = 0; i < n; i++) tick(0);
    }
    // Lets the view ease to rest after a step or a turn.
    void settle() {
        for (int i = 0; i < 30 && (view_pos.angle != view_pos.angle_target ||
                                   view_pos.x != (float)player.x + 0.5f || view_pos.y != (float)player.y + 0.5f);
             i++)
            tick(0);
    }

    // ---- the dungeon ----
    static bool in_map(int x, int y) { return x >= 0 && y >= 0 && x < MAP_W && y < MAP_H; }
    static bool dragon_alive() {
        for (int i = 0; i < monsters.count; i++)
            if (monsters.list[i].type == M_DRAGON) return true;
        return false;
    }
    // Whether a seen cell can be walked onto (a monster's cell counts: walking into it fights).
    static bool walkable(int x, int y) {
        if (!in_map(x, y)) return false;
        const char c = gmap[y][x];
        if (c == GLYPH_DOOR) return player.keys > 0;
        if (c == GLYPH_CHEST || c == GLYPH_CHEST_OPEN || c == GLYPH_URN) return false;
        return !glyph_blocks(c) || monster_at(x, y) >= 0;
    }
    static bool is_goal(int x, int y) {
        const char c = gmap[y][x];
        if (c == GLYPH_EXIT) return !dragon_alive();
        if (c == GLYPH_STAIRS) return current_floor % 10 != 9;
        const int m = monster_at(x, y);
        return m >= 0 && monsters.list[m].type == M_DRAGON;  // the boss is met, not walked round
    }
    // The first step (0 north, 1 east, 2 south, 3 west) of a shortest path over seen cells to a
    // goal, else to the nearest unseen open cell; -1 when there is nowhere to go.
    // Cells the player has stood beside and faced on this floor; unseen ones not yet faced are
    // where exploring goes next.
    uint8_t looked[MAP_H][MAP_W] = {};
    int looked_floor = -1;
    uint32_t looked_run = 0;  // the run's seed: a new run's floor is another floor
    int next_direction() {
        if (looked_floor != current_floor || looked_run != run_seed) {
            std::memset(looked, 0, sizeof looked);
            looked_floor = current_floor;
            looked_run = run_seed;
        }
        static const int DX[4] = {0, 1, 0, -1}, DY[4] = {-1, 0, 1, 0};
        int first[MAP_H][MAP_W];
        std::memset(first, -1, sizeof first);
        int qx[MAP_W * MAP_H], qy[MAP_W * MAP_H], head = 0, tail = 0;
        qx[tail] = player.x;
        qy[tail++] = player.y;
        first[player.y][player.x] = 4;  // the start: no first step yet
        int frontier = -1, frontier_looked = -1;
        while (head < tail) {
            const int x = qx[head], y = qy[head++];
            for (int d = 0; d < 4; d++) {
                const int nx = x + DX[d], ny = y + DY[d];
                if (!in_map(nx, ny) || first[ny][nx] != -1) continue;
                const int step = first[y][x] == 4 ? d : first[y][x];
                if (explored[ny][nx] && is_goal(nx, ny)) return step;
                if (!explored[ny][nx]) {
                    // An unseen cell not yet faced: worth a look when nothing better is known.
                    if (frontier < 0 && !looked[ny][nx]) frontier = step;
                    if (frontier_looked < 0 && looked[ny][nx]) frontier_looked = step;
                    continue;
                }
                if (!walkable(nx, ny)) continue;
                first[ny][nx] = step;
                qx[tail] = nx;
                qy[tail++] = ny;
            }
        }
        // Every unseen edge was faced once, yet stays unseen: the run was loaded from an earlier
        // save on this floor, so what was looked at is forgotten and looked at again.
        if (frontier < 0 && frontier_looked >= 0) {
            std::memset(looked, 0, sizeof looked);
            return frontier_looked;
        }
        return frontier;
    }
    // One move toward the goal: a turn or a step.
    void dungeon_move() {
        const int d = next_direction();
        if (d < 0) {
            press(BTN_RIGHT);  // look around for more of the map
        } else if (d == player.facing) {
            press(BTN_UP);
        } else if (d == (player.facing + 1) % 4) {
            press(BTN_RIGHT);
        } else {
            press(BTN_LEFT);
        }
        settle();
        static const int DX[4] = {0, 1, 0, -1}, DY[4] = {-1, 0, 1, 0};
        const int fx = player.x + DX[player.facing & 3], fy = player.y + DY[player.facing & 3];
        if (in_map(fx, fy)) looked[fy][fx] = 1;
    }

    // ---- the duel ----
    void duel_step() {
        if (passive) {
            tick(0);
            return;
        }
        const int32_t impact = reflex_time_to_impact();
        if (impact >= 0 && impact < 260) {
            tick(BTN_B);  // guard through the blow
            return;
        }
        jab_phase = (jab_phase + 1) % 6;
        tick(jab_phase == 0 ? BTN_A : 0);
    }

    // ---- the camp: sell the junk, rest, onward ----
    static int tile_index(int32_t tile) {
        static const int32_t TILES[4] = {CAMP_TILE_SELL, CAMP_TILE_SHOP, CAMP_TILE_FORGE, CAMP_TILE_REST};
        for (int i = 0; i < 4; i++)
            if (TILES[i] == tile) return i;
        return -1;
    }
    void camp_step() {
        if (camp_page == CAMP_PAGE_SELL) {
            int32_t rows[CAMP_LIST_MAX];
            press(camp_sell_rows(rows) > 0 && rows[0] == CAMP_ROW_JUNK ? BTN_A : BTN_B);
            return;
        }
        if (camp_page != CAMP_PAGE_HUB) {
            press(BTN_B);
            return;
        }
        int junk = 0;
        camp_junk_total(&junk, nullptr);
        const int32_t want = junk > 0                                           ? CAMP_TILE_SELL
                             : !camp.rested && player.hp < player.max_hp ? CAMP_TILE_REST
                                                                         : CAMP_TILE_ONWARD;
        const int at = tile_index(camp.cursor), to = tile_index(want);
        if (camp.cursor == want) press(BTN_A);
        else if (camp.cursor == CAMP_TILE_BOONS) press(BTN_DOWN);
        else if (camp.cursor == CAMP_TILE_ONWARD) press(BTN_UP);
        else if (want == CAMP_TILE_ONWARD) press(BTN_DOWN);
        else press(to < at ? BTN_LEFT : BTN_RIGHT);
    }

    // One decision in whatever state the game is in; false when the script has nothing to do.
    bool step() {
        if (transition_active()) {
            tick(0);
            return true;
        }
        if (confirm_open) {
            press(BTN_A);
            return true;
        }
        switch (game_state) {
            case STATE_DUNGEON:
                if (way_out_open) {
                    while (way_out_cursor != 1) press(BTN_DOWN);  // ESCAPE
                    press(BTN_A);
                } else {
                    dungeon_move();
                }
                return true;
            case STATE_COMBAT: duel_step(); return true;
            case STATE_LEVELUP: press(BTN_A); return true;
            case STATE_CAMP: camp_step(); return true;
            default: return false;
        }
    }
};
