// The world's invariant checks, every tick after the update. A broken rule is reported through the
// soft-assertion reporter and play goes on; nothing is repaired here.
#include "game/invariants.h"

#include "dungeon/map.h"
#include "game/menus.h"
#include "game/state.h"
#include "telemetry/check.h"

namespace {
const char* const SRC = "src/game";
const char* const FUNC = "game_check_invariants";

// Reports one rule; true when it holds.
#define INV_RULE(cond, expr, ...) \
    ((cond) ? true : (check_failed(expr, SRC, __LINE__, FUNC, __VA_ARGS__), false))

char map_at(const WorldFacts& w, int x, int y) {
    if (x < 0 || y < 0 || x >= INV_MAP_W || y >= INV_MAP_H) return GLYPH_WALL;
    return w.map[y][x];
}

bool in_interior(int x, int y) { return x > 0 && x < INV_MAP_W - 1 && y > 0 && y < INV_MAP_H - 1; }

void check_always(const WorldFacts& w) {
    INV_RULE(w.levelup_pending >= 0, "levelup.pending >= 0", "pending picks %d", w.levelup_pending);
    INV_RULE(w.player_class < INV_CLASS_COUNT, "player.cls < CLASS_COUNT", "class %d", w.player_class);
    if (!w.souls_unknown) INV_RULE(w.souls >= 0, "profile.souls >= 0", "souls %d", w.souls);
    INV_RULE(w.gold >= 0 && w.keys >= 0, "player.gold >= 0 && player.keys >= 0", "gold %d keys %d", w.gold, w.keys);
    INV_RULE(w.level >= 1 && w.xp >= 0 && w.xp < w.xp_next,
             "player.level >= 1 && player.xp >= 0 && player.xp < xp_to_next(player.level)", "level %d xp %d/%d",
             w.level, w.xp, w.xp_next);
    INV_RULE(w.main_id >= 0 && w.main_id < INV_ITEM_COUNT,
             "player.main_hand.id >= ITEM_NONE && player.main_hand.id < ITEM_COUNT", "main hand %d", w.main_id);
    INV_RULE(w.off_id >= 0 && w.off_id < INV_ITEM_COUNT,
             "player.off_hand.id >= ITEM_NONE && player.off_hand.id < ITEM_COUNT", "off hand %d", w.off_id);
    INV_RULE(!(w.main_two_handed && w.off_id != 0),
             "!(ITEMS[player.main_hand.id].two_handed && player.off_hand.id != ITEM_NONE)", "%s", "");
}

void check_player_and_map(const WorldFacts& w) {
    INV_RULE(w.max_hp >= 1 && w.hp <= w.max_hp, "player.max_hp >= 1 && player.hp <= player.max_hp", "hp %d/%d", w.hp,
             w.max_hp);
    if (INV_RULE(in_interior(w.player_x, w.player_y),
                 "player.x > 0 && player.x < MAP_W - 1 && player.y > 0 && player.y < MAP_H - 1", "player at (%d,%d)",
                 w.player_x, w.player_y))
        INV_RULE(map_at(w, w.player_x, w.player_y) != GLYPH_WALL, "gmap[player.y][player.x] != '#'",
                 "player in a wall at (%d,%d)", w.player_x, w.player_y);
    INV_RULE(w.facing >= 0 && w.facing < 4, "player.facing >= 0 && player.facing < 4", "%s", "");
}

void check_monsters(const WorldFacts& w) {
    int n = w.monster_count;
    INV_RULE(n >= 0 && n <= INV_MAX_MONSTERS, "monsters.count >= 0 && monsters.count <= MAX_MONSTERS", "monsters %d", n);
    if (n < 0) n = 0;
    if (n > INV_MAX_MONSTERS) n = INV_MAX_MONSTERS;
    for (int i = 0; i < n; i++) {
        const MonsterFacts& m = w.monsters[i];
        INV_RULE(m.type > 0 && m.type < INV_M_COUNT, "m->type > M_NONE && m->type < M_COUNT", "monster %d type %d", i,
                 m.type);
        INV_RULE(in_interior(m.x, m.y) && map_at(w, m.x, m.y) == GLYPH_FLOOR,
                               "m->x > 0 && m->x < MAP_W - 1 && m->y > 0 && m->y < MAP_H - 1 && gmap[m->y][m->x] == '.'",
                               "monster %d at (%d,%d) on '%c'", i, m.x, m.y, map_at(w, m.x, m.y));
        INV_RULE(!(m.x == w.player_x && m.y == w.player_y), "!(m->x == player.x && m->y == player.y)",
                 "monster %d on the player", i);
        // Off the map no lookup can name the monster; that was reported just above.
        if (in_interior(m.x, m.y)) INV_RULE(m.at == i, "monster_at(m->x, m->y) == i", "two monsters at (%d,%d)", m.x, m.y);
    }
}

void check_bag(const WorldFacts& w) {
    int n = w.bag_count;
    INV_RULE(n >= 0 && n <= INV_BAG_MAX, "b->count >= 0 && b->count <= BAG_MAX_ITEMS", "bag count %d", n);
    if (n < 0) n = 0;
    if (n > INV_BAG_MAX) n = INV_BAG_MAX;
    int covered[INV_BAG_MAX] = {};
    for (int row = 0; row < INV_BAG_ROWS; row++)
        for (int col = 0; col < INV_BAG_COLS; col++) {
            int c = w.bag_cells[row][col];
            if (INV_RULE(c == -1 || (c >= 0 && c < w.bag_count), "c == BAG_EMPTY || (c >= 0 && c < b->count)",
                         "bag cell (%d,%d) = %d of %d", col, row, c, w.bag_count) &&
                c >= 0 && c < n)
                covered[c]++;
        }
    for (int i = 0; i < n; i++) {
        const BagEntryFacts& it = w.bag[i];
        bool known = INV_RULE(it.id > 0 && it.id < INV_ITEM_COUNT, "it->item.id > ITEM_NONE && it->item.id < ITEM_COUNT",
                              "bag item %d id %d", i, it.id);
        INV_RULE(it.count >= 1, "it->count >= 1", "bag item %d count %d", i, it.count);
        // An unknown item has no footprint to compare with.
        if (known)
            INV_RULE(covered[i] == it.w * it.h, "covered[i] == w * h", "bag item %d covers %d cells, not %d", i,
                     covered[i], it.w * it.h);
    }
}

void check_fight(const WorldFacts& w) {
    INV_RULE(w.combat_type > 0 && w.combat_type < INV_M_COUNT, "combat.type > M_NONE && combat.type < M_COUNT",
             "monster %d", w.combat_type);
    INV_RULE(w.combat_hp <= w.combat_max_hp, "combat.hp <= combat.max_hp", "monster hp %d/%d", w.combat_hp,
             w.combat_max_hp);
    INV_RULE(w.combat_queued >= 0 && w.combat_queued <= INV_QUEUE_CAP,
             "combat.queued >= 0 && combat.queued <= MOVE_QUEUE_CAP", "queued %d", w.combat_queued);
}

bool check_floor(int32_t floor) {
    return INV_RULE(floor >= 0 && floor <= INV_MAX_FLOOR, "current_floor >= 0 && current_floor <= MAX_FLOOR",
                    "floor %d", floor);
}
}  // namespace

bool invariants_in_play(int32_t state, int32_t from) {
    return (state >= STATE_DUNGEON && state <= STATE_CAMP) || state == STATE_LEVELUP ||
           (state == STATE_CONTROLS && from == STATE_PAUSE);
}

void invariants_check(const WorldFacts& w, int32_t state, int32_t floor, bool in_play) {
    check_floor(floor);
    check_always(w);
    if (in_play) {
        check_player_and_map(w);
        check_monsters(w);
    }
    check_bag(w);
    if (state == STATE_COMBAT) check_fight(w);
}

void game_check_invariants() {
    static WorldFacts w;
    if (!world_facts_gather(&w)) {
        check_floor(current_floor);
        return;
    }
    invariants_check(w, game_state, current_floor, invariants_in_play(game_state, options_from));
}
