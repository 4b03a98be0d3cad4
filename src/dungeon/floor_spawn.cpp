// Which monsters a generated floor holds: each kind ramps in over four floors from its first
// floor and may fade out later, keeping a share of its weight.
#include "dungeon/floor.h"
#include "world/glyphs.h"

namespace {

struct SpawnRow {
    char glyph;
    int first;  // floors counted from 1
    int weight;
    int fade_floor;  // 0 = never fades
    int fade_len;
    int kept;
};

const SpawnRow MONSTER_SPAWN[] = {
    {GLYPH_RAT, 1, 30, 3, 4, 0},  {GLYPH_GOBLIN, 1, 30, 9, 6, 0},  {GLYPH_BAT, 2, 20, 15, 6, 0},
    {GLYPH_SKELETON, 3, 40, 20, 5, 15}, {GLYPH_SLIME, 4, 20, 18, 4, 0}, {GLYPH_ORC, 7, 30, 0, 0, 30},
};

int row_weight(const SpawnRow& r, int n) {
    int d = n + 1;
    if (d < r.first) return 0;
    int w = r.weight;
    int k = d - r.first + 1;
    if (k < 4) w = r.weight * k / 4;
    if (r.fade_floor != 0 && d >= r.fade_floor) {
        int j = d - r.fade_floor + 1;
        if (j >= r.fade_len) return r.kept;
        w = w - (w - r.kept) * j / r.fade_len;
    }
    return w;
}

}  // namespace

int floor_spawn_weight(char glyph, int n) {
    for (const SpawnRow& r : MONSTER_SPAWN)
        if (r.glyph == glyph) return row_weight(r, n);
    return 0;
}

char floor_spawn_pick(uint32_t draw, int n) {
    int total = 0;
    for (const SpawnRow& r : MONSTER_SPAWN) total += row_weight(r, n);
    if (total <= 0) return GLYPH_GOBLIN;
    uint32_t v = draw % (uint32_t)total;
    uint32_t sum = 0;
    for (const SpawnRow& r : MONSTER_SPAWN) {
        sum += (uint32_t)row_weight(r, n);
        if (sum > v) return r.glyph;
    }
    return GLYPH_GOBLIN;
}
