// A player for the training run, by presses through game_tick only: from the title it takes the
// training offer, walks each floor by the shortest way, answers each wind-up as the drill asks,
// closes every tip, equips the shield and drinks the antidote through the bag screen when the
// lessons ask, takes the fixed level-up card, and at the training-over prompt goes back to the
// title; a new run from there reaches the class select. Used by the training run test and the
// training's whole-game script.
#pragma once
#include <cstdint>
#include <vector>

#include "camp/camp.h"
#include "combat/combat.h"
#include "combat/reflex.h"
#include "combat/status.h"
#include "combat/training.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "game/game.h"
#include "game/state.h"
#include "items/bag.h"
#include "render/screen.h"
#include "screens/transition.h"
#include "services/confirm.h"
#include "world/bag_view.h"
#include "world/buttons.h"
#include "world/game_state.h"
#include "world/player.h"

struct TrainingPlay {
    bool draw = false;  // draw_frame() after every tick
    // Called after every tick and frame (the review pictures hook here).
    void (*after_frame)(long tick) = nullptr;
    long ticks = 0;

    bool last_was_press = false;
    int32_t answered_windup = -1;  // state_start of the wind-up already answered
    int heavy_ticks = 0, rest_ticks = 0;
    int t = 0;
    std::vector<uint32_t> drills_seen;
    uint32_t tips_seen = 0;
    // The bag's two lessons, each seen done on the bag screen.
    bool shield_equipped_in_bag = false, antidote_drunk_in_bag = false;

    void tick(uint8_t held) {
        const bool in_bag = game_state == STATE_BAG;
        const bool had_shield = player.off_hand.id == ITEM_WOODEN_SHIELD;
        const bool was_poisoned = status_has(player.status, ST_POISON);
        game_tick(held);
        if (in_bag && !had_shield && player.off_hand.id == ITEM_WOODEN_SHIELD) shield_equipped_in_bag = true;
        if (in_bag && was_poisoned && !status_has(player.status, ST_POISON)) antidote_drunk_in_bag = true;
        last_was_press = held != 0;
        if (draw) draw_frame();
        if (after_frame) after_frame(ticks);
        ticks++;
    }

    // `btn` pressed for a tick, or released when the last tick pressed (new presses need an edge).
    void press(uint8_t btn) { tick(last_was_press ? 0 : btn); }

    // The next step toward (gx, gy) by the shortest way over anything but walls.
    uint8_t walk_to(int gx, int gy) {
        int dist[MAP_H][MAP_W];
        for (auto& row : dist)
            for (int& d : row) d = -1;
        std::vector<int> queue{gy * MAP_W + gx};
        dist[gy][gx] = 0;
        const int dx[4] = {0, 1, 0, -1}, dy[4] = {-1, 0, 1, 0};
        for (size_t i = 0; i < queue.size(); i++) {
            int x = queue[i] % MAP_W, y = queue[i] / MAP_W;
            for (int k = 0; k < 4; k++) {
                int nx = x + dx[k], ny = y + dy[k];
                if (gmap_at(nx, ny) == '#' || dist[ny][nx] >= 0) continue;
                dist[ny][nx] = dist[y][x] + 1;
                queue.push_back(ny * MAP_W + nx);
            }
        }
        int best = -1, best_d = 1 << 20;
        for (int k = 0; k < 4; k++) {
            int nx = player.x + dx[k], ny = player.y + dy[k];
            if (gmap_at(nx, ny) == '#' || dist[ny][nx] < 0) continue;
            if (dist[ny][nx] < best_d) best_d = dist[ny][nx], best = k;
        }
        if (best < 0) return 0;
        if (best == player.facing) return BTN_UP;
        return best == (player.facing + 1) % 4 ? BTN_RIGHT : BTN_LEFT;
    }

    static bool glyph_on_map(char c, int* x, int* y) {
        for (int yy = 0; yy < MAP_H; yy++)
            for (int xx = 0; xx < MAP_W; xx++)
                if (gmap[yy][xx] == c) {
                    *x = xx, *y = yy;
                    return true;
                }
        return false;
    }

    void dungeon() {
        // The bag's lessons hold the stairs' way shut until they are done in the bag.
        if (training_shield_due() || training_antidote_due()) {
            press(BTN_SELECT);
            return;
        }
        int gx = -1, gy = -1;
        const bool potion_due = player.hp < player.max_hp && current_floor == 1 && monster_at(8, 8) < 0;
        const bool pickup = glyph_on_map('s', &gx, &gy) || glyph_on_map('a', &gx, &gy) ||
                            (potion_due && glyph_on_map('p', &gx, &gy));
        if (!pickup) glyph_on_map('>', &gx, &gy);
        press(walk_to(gx, gy));
    }

    // On the bag screen: the item the lesson asks for, reached with the d-pad, tapped open, and its
    // card's first action (equip or use) taken; with no lesson left, the bag is closed.
    void bag() {
        const BagView& v = bag_view;
        const int target = training_shield_due()     ? bag_find(ITEM_WOODEN_SHIELD)
                           : training_antidote_due() ? bag_find(ITEM_ANTIDOTE)
                                                     : -1;
        if (v.pressing) {
            tick(0);  // a tap: A let go before the long hold would pick the item up
            return;
        }
        if (target < 0) {
            press(v.card_open ? BTN_B : BTN_SELECT);
            return;
        }
        if (v.card_open) {
            if (v.card_on_hand || v.card_entry != target)
                press(BTN_B);
            else
                press(v.card_action > 0 ? BTN_LEFT : BTN_A);
            return;
        }
        if (v.zone != BAG_ZONE_GRID) {
            press(screen_layout.landscape ? BTN_RIGHT : BTN_DOWN);
            return;
        }
        // Toward the item's top-left cell; both layouts move inside the grid alike, and the bot
        // never presses past its edges, where the cursor would leave for the hands or the pages.
        const BagEntry& e = player.bag.entries[target];
        if (bag_cell(player.bag, v.col, v.row) == target)
            press(BTN_A);
        else if (v.row != e.row)
            press(v.row > e.row ? BTN_UP : BTN_DOWN);
        else
            press(v.col > e.col ? BTN_LEFT : BTN_RIGHT);
    }

    void duel() {
        const Reflex& r = reflex;
        const uint32_t d = training.drill;
        if (drills_seen.empty() || drills_seen.back() != d) drills_seen.push_back(d);
        const bool winding = r.monster_state == MS_ATTACK;
        const int32_t tti = reflex_time_to_impact();
        // The second rat's bite is let land once, so the antidote has poison to cure.
        const bool take_bite = d == DRILL_FINISH_IT && r.type == M_RAT && !(tips.shown >> 12 & 1u) &&
                               !status_has(player.status, ST_POISON);
        uint8_t held = 0;
        if (take_bite) {
            held = 0;
        } else if (d == DRILL_BLOCK) {
            held = BTN_B;
        } else if (d == DRILL_STOP) {
            // A full heavy let go while the slow wind-up runs.
            if (winding && answered_windup != r.state_start) {
                held = BTN_A;
                if (++heavy_ticks > r.heavy_ms / 16 + 4) {
                    answered_windup = r.state_start;
                    heavy_ticks = 0;
                    held = 0;
                }
            }
        } else if (r.monster_state == MS_GUARD) {
            // The shield: a full heavy, then let go.
            if (rest_ticks > 0) {
                rest_ticks--;
            } else {
                held = BTN_A;
                if (++heavy_ticks > r.heavy_ms / 16 + 4) heavy_ticks = 0, rest_ticks = 20, held = 0;
            }
        } else if (winding && (drill_pause_for_cue() || (tti >= 0 && tti <= 150)) &&
                   answered_windup != r.state_start) {
            answered_windup = r.state_start;
            if (r.current.kind == ATK_SIDE)
                held = r.current.side >= 0 ? BTN_LEFT : BTN_RIGHT;
            else
                held = BTN_B;
        } else if (!winding) {
            heavy_ticks = 0;
            held = (t % 14 < 2) ? BTN_A : 0;
        }
        tick(held);
    }

    void camp_step() {
        if (camp_page != CAMP_PAGE_HUB) {
            press(BTN_B);
        } else if (camp.cursor != CAMP_TILE_ONWARD) {
            press(BTN_DOWN);
        } else {
            press(BTN_A);
        }
    }

    // One decision and one tick; false once the class select is reached.
    bool step() {
        t++;
        if (tips.text) tips_seen |= tips.id >= 0 ? 1u << tips.id : 0;
        if (game_state == STATE_CLASS_SELECT) return false;
        if (transition_active()) {
            tick(0);
            return true;
        }
        if (tips.text || confirm_open) {
            press(BTN_A);
            return true;
        }
        if (training.over_prompt) {
            press(BTN_B);
            return true;
        }
        switch (game_state) {
        case STATE_TITLE: press(title_cursor == TITLE_NEW_RUN ? BTN_A : BTN_DOWN); break;
        case STATE_DUNGEON: dungeon(); break;
        case STATE_COMBAT: duel(); break;
        case STATE_LEVELUP: press(BTN_A); break;
        case STATE_CAMP: camp_step(); break;
        case STATE_BAG: bag(); break;
        default: press(BTN_B); break;
        }
        return true;
    }
};
