// A new player takes the training offer from the title and plays it from the first map to the
// camp by presses through game_tick: walking by the shortest way, answering each wind-up as the
// drill asks, closing every tip, taking the fixed level-up card; at the training-over prompt B goes
// back to the title, and a new run from there reaches the class select. The bag screen's own input
// is not in the game yet, so the test equips the shield and drinks the antidote by hand where the
// tips send the player into the bag.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "boons/boons.h"
#include "camp/camp.h"
#include "classes/gear_rules.h"
#include "combat/combat.h"
#include "combat/reflex.h"
#include "combat/status.h"
#include "combat/training.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "game/game.h"
#include "game/state.h"
#include "items/bag.h"
#include "items/equip.h"
#include "profile/profile.h"
#include "screens/transition.h"
#include "services/confirm.h"
#include "support/temp_save_dir.h"
#include "support/tick_reset.h"
#include "world/buttons.h"
#include "world/player.h"

namespace {

struct Bot {
    bool last_was_press = false;
    int32_t answered_windup = -1;  // state_start of the wind-up already answered
    int heavy_ticks = 0, rest_ticks = 0;
    int t = 0;
    std::vector<uint32_t> drills_seen;
    uint32_t tips_seen = 0;

    // One tick with `btn` pressed, released the tick after (new presses need an edge).
    void press(uint8_t btn) {
        game_tick(last_was_press ? 0 : btn);
        last_was_press = !last_was_press;
    }

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

    bool glyph_on_map(char c, int* x, int* y) {
        for (int yy = 0; yy < MAP_H; yy++)
            for (int xx = 0; xx < MAP_W; xx++)
                if (gmap[yy][xx] == c) {
                    *x = xx, *y = yy;
                    return true;
                }
        return false;
    }

    void dungeon() {
        // The bag's lessons, by hand (see the file's note).
        if (training_shield_due()) {
            ASSERT_TRUE(bag_equip(bag_find(ITEM_WOODEN_SHIELD), gear_rules_now()));
        }
        if (training_antidote_due()) {
            status_clear(player.status);
            bag_remove(player.bag, bag_find(ITEM_ANTIDOTE));
        }
        int gx = -1, gy = -1;
        const bool potion_due = player.hp < player.max_hp && current_floor == 1 && monster_at(8, 8) < 0;
        const bool pickup = glyph_on_map('s', &gx, &gy) || glyph_on_map('a', &gx, &gy) ||
                            (potion_due && glyph_on_map('p', &gx, &gy));
        if (!pickup) glyph_on_map('>', &gx, &gy);
        press(walk_to(gx, gy));
    }

    void duel() {
        const Reflex& r = reflex;
        const uint32_t d = training.drill;
        if (drills_seen.empty() || drills_seen.back() != d) drills_seen.push_back(d);
        const bool winding = r.monster_state == MS_ATTACK;
        const int32_t tti = reflex_time_to_impact();
        uint8_t held = 0;
        if (d == DRILL_BLOCK) {
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
        game_tick(held);
        last_was_press = held != 0;
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

    // One decision; false once the class select is reached.
    bool step() {
        t++;
        if (tips.text) tips_seen |= tips.id >= 0 ? 1u << tips.id : 0;
        if (game_state == STATE_CLASS_SELECT) return false;
        if (transition_active()) {
            game_tick(0);
            last_was_press = false;
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
        case STATE_TITLE: press(title_cursor == 1 ? BTN_A : BTN_DOWN); break;
        case STATE_DUNGEON: dungeon(); break;
        case STATE_COMBAT: duel(); break;
        case STATE_LEVELUP: press(BTN_A); break;
        case STATE_CAMP: camp_step(); break;
        case STATE_BAG: game_state = STATE_DUNGEON; break;
        default: press(BTN_B); break;
        }
        return true;
    }
};

TEST(TrainingRun, ANewPlayerPlaysTheTrainingToItsEndAndReachesTheClassSelect) {
    TempSaveDir tmp;
    tick_globals_reset(STATE_TITLE);
    training_offer_set(true);
    training_stop();
    Bot bot;
    int max_floor = -1;
    bool saw_training = false, saw_prompt = false, saw_camp = false;
    int levelups = 0;
    int32_t last_state = game_state;
    int ticks = 0;
    for (; ticks < 120000 && bot.step(); ticks++) {
        if (training_active()) {
            saw_training = true;
            max_floor = std::max(max_floor, (int)current_floor);
        }
        saw_prompt = saw_prompt || training.over_prompt;
        saw_camp = saw_camp || game_state == STATE_CAMP;
        if (game_state == STATE_LEVELUP && last_state != STATE_LEVELUP) levelups++;
        last_state = game_state;
        if (saw_training) {
            ASSERT_GT(player.hp, 0) << "training never kills, tick " << ticks;
        }
    }
    EXPECT_EQ(game_state, STATE_CLASS_SELECT) << "stuck at tick " << ticks << " in state " << game_state
                                               << " floor " << current_floor << " at " << player.x << ","
                                               << player.y << " drill " << training.drill;
    EXPECT_TRUE(saw_training);
    EXPECT_EQ(max_floor, 3);
    EXPECT_TRUE(saw_camp);
    EXPECT_TRUE(saw_prompt);
    EXPECT_EQ(levelups, 2);
    EXPECT_EQ(player.boon_ranks[BOON_BLOODTHIRST], 2);  // the fixed card both times
    EXPECT_FALSE(training_active());
    EXPECT_FALSE(training_offer_on());
    // Every drill of the four floors ran.
    for (uint32_t d : {DRILL_JAB, DRILL_FINISHER, DRILL_BLOCK, DRILL_PARRY, DRILL_FINISH_IT, DRILL_DODGE,
                       DRILL_FINISH_ORC, DRILL_SMASH, DRILL_STOP, DRILL_STARS, DRILL_MIXED}) {
        bool seen = false;
        for (uint32_t s : bot.drills_seen) seen = seen || s == d;
        EXPECT_TRUE(seen) << "drill " << d;
    }
    // The lessons' tips came up on the way (the bag's two wait for the bag screen; the poison tip
    // waits for a bite, and this player parries the rat).
    for (int id : {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 14, 15, 16, 17, 18, 19, 24, 25, 26, 27, 28, 29})
        EXPECT_TRUE(bot.tips_seen >> id & 1u) << "tip " << id;
}

}  // namespace
