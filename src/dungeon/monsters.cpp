// Monster records. Removing a monster moves the last record into its slot, so slots are not stable.
#include "dungeon/monsters.h"

#include "dungeon/elite.h"
#include "dungeon/map.h"
#include "telemetry/check.h"

MonsterList monsters;

const MonsterKind MONSTER_TYPES[M_COUNT] = {
    {.name = "NONE", .hp = 0, .attack = 0, .xp = 0, .unused = 0},
    {.name = "GOBLIN", .hp = 17, .attack = 3, .xp = 5, .unused = 0},
    {.name = "RAT", .hp = 8, .attack = 2, .xp = 3, .unused = 0},
    {.name = "SKELETON", .hp = 25, .attack = 4, .xp = 8, .unused = 0},
    {.name = "DRAGON", .hp = 59, .attack = 6, .xp = 25, .unused = 0},
    {.name = "BAT", .hp = 11, .attack = 2, .xp = 3, .unused = 0},
    {.name = "SLIME", .hp = 29, .attack = 2, .xp = 6, .unused = 0},
    {.name = "ORC", .hp = 27, .attack = 3, .xp = 10, .unused = 0},
    {.name = "MIMIC", .hp = 34, .attack = 5, .xp = 12, .unused = 0},
};

namespace {

int live_count() {
    int n = monsters.count;
    return n < 0 ? 0 : n > MAX_MONSTERS ? MAX_MONSTERS : n;
}

// Open '.' cells in a straight line from (x, y), not counting (x, y), at most 4.
int open_run(int x, int y, int dx, int dy) {
    int n = 0;
    while (n < 4 && gmap_at(x + dx * (n + 1), y + dy * (n + 1)) == GLYPH_FLOOR) ++n;
    return n;
}

}  // namespace

void monsters_clear() { monsters.count = 0; }

bool monster_add(int t, int x, int y) {
    if (!SOFT_CHECK_AS(t > M_NONE && t < M_COUNT, "t > M_NONE && t < M_COUNT", "src/dungeon", "monster_add type %d", t))
        return false;
    if (monsters.count < 0 || monsters.count >= MAX_MONSTERS) return false;
    Monster m{};
    m.x = x;
    m.y = y;
    m.type = t;
    m.elite = elite_chance_test(x, y, current_floor, t) ? 1 : 0;
    m.dir = monster_start_dir(t, x, y);
    m.home_x = x;
    m.home_y = y;
    m.draw_x = (float)x + 0.5f;
    m.draw_y = (float)y + 0.5f;
    monsters.list[monsters.count++] = m;
    return true;
}

int monster_start_dir(int t, int x, int y) {
    if (t != M_SKELETON) return 2;
    int vertical = open_run(x, y, 0, -1) + open_run(x, y, 0, 1);
    int horizontal = open_run(x, y, 1, 0) + open_run(x, y, -1, 0);
    return horizontal >= vertical ? 1 : 2;
}

void monster_footprint(const Monster& m, int* x0, int* y0, int* w, int* h) {
    int fx = m.x, fy = m.y, fw = 1, fh = 1;
    if (m.type == M_DRAGON) {
        fx = m.x - 1;
        fy = m.y - 1;
        fw = 3;
        fh = 2;
    } else if (m.type == M_ORC) {
        fw = m.orc_vertical ? 1 : 2;
        fh = m.orc_vertical ? 2 : 1;
    }
    if (x0) *x0 = fx;
    if (y0) *y0 = fy;
    if (w) *w = fw;
    if (h) *h = fh;
}

bool monster_covers(const Monster& m, int x, int y) {
    int x0, y0, w, h;
    monster_footprint(m, &x0, &y0, &w, &h);
    return x >= x0 && x < x0 + w && y >= y0 && y < y0 + h;
}

int monster_at(int x, int y) {
    for (int i = 0; i < live_count(); ++i)
        if (monster_covers(monsters.list[i], x, y)) return i;
    return -1;
}

void monster_remove(int idx) {
    if (!SOFT_CHECK_AS(idx >= 0 && idx < monsters.count && idx < MAX_MONSTERS, "idx >= 0 && idx < monsters.count",
                       "src/dungeon", "monster_remove %d of %d", idx, monsters.count))
        return;
    int last = monsters.count - 1;
    if (last >= MAX_MONSTERS) last = MAX_MONSTERS - 1;
    monsters.list[idx] = monsters.list[last];
    monsters.count = last;
}

void monsters_snap_draw() {
    for (int i = 0; i < live_count(); ++i) {
        monsters.list[i].draw_x = (float)monsters.list[i].x + 0.5f;
        monsters.list[i].draw_y = (float)monsters.list[i].y + 0.5f;
    }
}

int monster_type_of_glyph(int c) {
    switch (c) {
        case GLYPH_BAT: return M_BAT;
        case GLYPH_DRAGON: return M_DRAGON;
        case GLYPH_GOBLIN: return M_GOBLIN;
        case GLYPH_SLIME: return M_SLIME;
        case GLYPH_MIMIC: return M_MIMIC;
        case GLYPH_ORC: return M_ORC;
        case GLYPH_RAT: return M_RAT;
        case GLYPH_SKELETON: return M_SKELETON;
        default: return M_NONE;
    }
}

const char* monster_behaviour_text(int t) {
    static const char* const LINES[M_COUNT] = {
        "",
        "WANDERS ABOUT",
        "SKITTERS ABOUT",
        "PATROLS A LINE",
        "HOLDS ITS GROUND",
        "FLITS, 2 A TURN",
        "OOZES, SLOWLY",
        "LURKS, SLOW TO STIR",
        "WAITS. IT'S A CHEST",
    };
    return (t > M_NONE && t < M_COUNT) ? LINES[t] : "";
}

bool mimic_is_revealed(const Monster& m) { return m.kind_state == MIMIC_REVEALED; }
