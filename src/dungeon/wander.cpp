// Monster wandering. Moves are drawn from the floor's own stream so that a floor replays the same
// way from the same actions; fights only ever start from the player's bump, never from here.
#include "dungeon/wander.h"

#include <cstdlib>

#include "dungeon/floor.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "world/player.h"
#include "world/xorshift.h"

const MonsterWalk MONSTER_WALK[M_COUNT] = {
    {WALK_STAY, 0, 1, 0, 0},      // none
    {WALK_WANDER, 1, 1, 50, 3},   // goblin
    {WALK_WANDER, 1, 1, 100, 3},  // rat
    {WALK_PATROL, 1, 1, 100, 4},  // skeleton
    {WALK_STAY, 0, 1, 0, 0},      // dragon
    {WALK_WANDER, 2, 1, 100, 3},  // bat
    {WALK_WANDER, 1, 2, 50, 2},   // slime
    {WALK_WANDER, 1, 1, 30, 3},   // orc
    {WALK_STAY, 0, 1, 0, 0},      // mimic
};

namespace {

constexpr int DIR_DX[4] = {0, 1, 0, -1};
constexpr int DIR_DY[4] = {-1, 0, 1, 0};
// Kinds that ever move: goblin, rat, skeleton, bat, slime, orc (bits over the type).
constexpr uint32_t WALKER_MASK = 0xEE;
// The debug switch that freezes every monster.

uint32_t wander_rand() {
    if (monster_seed == 0) monster_seed = 1;  // a zero state would stay zero
    return xorshift32(monster_seed);
}

bool within_leash(const Monster& m, int x, int y) {
    int leash = MONSTER_WALK[m.type].leash;
    return std::abs(x - m.home_x) <= leash && std::abs(y - m.home_y) <= leash;
}

int manhattan(int x0, int y0, int x1, int y1) { return std::abs(x0 - x1) + std::abs(y0 - y1); }

// Whether monster m, turned to `vertical` (orcs only), fits with its anchor on (x, y).
bool footprint_free(int m, uint8_t vertical, int x, int y, CellTest wide_may_enter) {
    Monster probe = monsters.list[m];
    probe.x = x;
    probe.y = y;
    probe.orc_vertical = vertical;
    int x0, y0, w, h;
    monster_footprint(probe, &x0, &y0, &w, &h);
    bool wide = w * h > 1;
    for (int cy = y0; cy < y0 + h; ++cy)
        for (int cx = x0; cx < x0 + w; ++cx) {
            if (gmap_at(cx, cy) != GLYPH_FLOOR) return false;
            if (cx == player.x && cy == player.y) return false;
            for (int j = 0; j < monsters.count && j < MAX_MONSTERS; ++j)
                if (j != m && monster_covers(monsters.list[j], cx, cy)) return false;
            if (wide && cell_between_walls(cx, cy)) return false;
            if (wide && wide_may_enter && !wide_may_enter(cx, cy)) return false;
        }
    return true;
}

void wander_move(int i) {
    Monster& m = monsters.list[i];
    uint32_t r = wander_rand();
    if ((int)(r % 100) >= MONSTER_WALK[m.type].wander_pct) return;
    int dir = (int)(wander_rand() & 3);
    int tx = m.x + DIR_DX[dir], ty = m.y + DIR_DY[dir];
    if (!within_leash(m, tx, ty)) return;
    m.dir = dir;
    if (monster_try_step(i, tx, ty, nullptr)) {
        m.x = tx;
        m.y = ty;
    }
}

// Walks on along its line; at a block or the leash's end it turns about, and stays put (facing
// as before) when the way back is blocked too.
void patrol_move(int i) {
    Monster& m = monsters.list[i];
    int old_dir = m.dir & 3;
    const int tries[2] = {old_dir, old_dir ^ 2};
    for (int dir : tries) {
        m.dir = dir;
        int tx = m.x + DIR_DX[dir], ty = m.y + DIR_DY[dir];
        if (monster_try_step(i, tx, ty, nullptr) && within_leash(m, tx, ty)) {
            m.x = tx;
            m.y = ty;
            return;
        }
    }
    m.dir = old_dir;
}

// Rules 1 to 5 that keep a monster where it is for this action.
bool holds_still(Monster& m) {
    if (m.type == M_DRAGON || m.type == M_MIMIC) return true;
    if (manhattan(m.x, m.y, player.x, player.y) == 1) return true;
    int fx, fy;
    facing_vector(player.facing, &fx, &fy);
    if (m.x == player.x + 2 * fx && m.y == player.y + 2 * fy && gmap_at(player.x + fx, player.y + fy) == GLYPH_FLOOR)
        return true;
    if (m.move_cooldown > 0) {
        m.move_cooldown--;
        return true;
    }
    int period = MONSTER_WALK[m.type].period;
    if (period > 1) {
        int32_t old = m.turn++;
        if (old % period != 0) return true;
    }
    return !((WALKER_MASK >> m.type) & 1u);
}

// Tries to turn the orc about `pivot`, its new second cell on side `side` (-1 or +1) of the pivot.
bool orc_pivot(int i, int px, int py, uint8_t vertical, int side, CellTest wide_may_enter) {
    int qx = px + (vertical ? 0 : side), qy = py + (vertical ? side : 0);
    if (manhattan(qx, qy, player.x, player.y) <= 1) return false;
    int ax = qx < px ? qx : px, ay = qy < py ? qy : py;
    if (!footprint_free(i, vertical, ax, ay, wide_may_enter)) return false;
    Monster& m = monsters.list[i];
    // The drawn body keeps its place: a lying orc's centre is half a cell east of its anchor's,
    // a standing one's half a cell south.
    float shift = vertical ? 0.5f : -0.5f;
    m.draw_x += shift;
    m.draw_y -= shift;
    m.x = ax;
    m.y = ay;
    m.orc_vertical = vertical;
    return true;
}

void orc_face_player(int i, CellTest wide_may_enter) {
    Monster& m = monsters.list[i];
    uint8_t vertical = (uint8_t)(player.facing & 1);
    if (m.orc_vertical == vertical) return;
    int bx = m.x + (m.orc_vertical ? 0 : 1), by = m.y + (m.orc_vertical ? 1 : 0);
    int pivots[2][2] = {{m.x, m.y}, {bx, by}};
    if (manhattan(bx, by, player.x, player.y) < manhattan(m.x, m.y, player.x, player.y)) {
        pivots[0][0] = bx;
        pivots[0][1] = by;
        pivots[1][0] = m.x;
        pivots[1][1] = m.y;
    }
    for (const auto& p : pivots) {
        // Toward the player's line of sight: the row they look along when facing east or west,
        // the column when facing north or south. On the line itself, south or east first.
        int gap = vertical ? player.y - p[1] : player.x - p[0];
        int toward = gap < 0 ? -1 : 1;
        if (orc_pivot(i, p[0], p[1], vertical, toward, wide_may_enter) ||
            orc_pivot(i, p[0], p[1], vertical, -toward, wide_may_enter))
            return;
    }
}

}  // namespace

bool monster_try_step(int m, int x, int y, CellTest wide_may_enter) {
    if (m < 0 || m >= monsters.count || m >= MAX_MONSTERS) return false;
    return footprint_free(m, monsters.list[m].orc_vertical, x, y, wide_may_enter);
}

void monsters_step(bool frozen) {
    if (frozen) return;
    for (int i = 0; i < monsters.count && i < MAX_MONSTERS; ++i) {
        Monster& m = monsters.list[i];
        if (m.type <= M_NONE || m.type >= M_COUNT || holds_still(m)) continue;
        const MonsterWalk& walk = MONSTER_WALK[m.type];
        int moves = walk.steps > 1 ? walk.steps : 1;
        for (int k = 0; k < moves; ++k) {
            if (walk.mode == WALK_WANDER)
                wander_move(i);
            else if (walk.mode == WALK_PATROL)
                patrol_move(i);
        }
    }
}

void monsters_step_extra(CellTest wide_may_enter) {
    for (int i = 0; i < monsters.count && i < MAX_MONSTERS; ++i)
        if (monsters.list[i].type == M_ORC) orc_face_player(i, wide_may_enter);
}

void monsters_ease_draw() {
    for (int i = 0; i < monsters.count && i < MAX_MONSTERS; ++i) {
        Monster& m = monsters.list[i];
        ease_toward(m.draw_x, (float)m.x + 0.5f, 0.01f);
        ease_toward(m.draw_y, (float)m.y + 0.5f, 0.01f);
    }
}
