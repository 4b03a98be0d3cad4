// Hollow walls and urns. Which urns leave gold is fixed by the boss layout, not by chance, so a
// reloaded floor gives the same gold.
#include "dungeon/secrets.h"

#include "dungeon/boss_layouts.h"
#include "dungeon/map.h"
#include "dungeon/particles.h"
#include "services/rumble.h"
#include "sound/audio.h"

namespace {

bool in_map(int x, int y) { return x >= 0 && x < MAP_W && y >= 0 && y < MAP_H; }

}  // namespace

SecretFind wall_bump_secret(int x, int y) {
    if (!in_map(x, y)) return SECRET_NOTHING;
    char& cell = gmap[y][x];
    if (cell == GLYPH_CRACKED) {
        cell = GLYPH_FLOOR;
        return SECRET_OPENED;
    }
    if (cell == GLYPH_HOLLOW) {
        cell = GLYPH_CRACKED;
        return SECRET_HOLLOW;
    }
    return SECRET_NOTHING;
}

void urn_break(int x, int y) {
    if (gmap_at(x, y) != GLYPH_URN) return;
    const char(*layout)[MAP_W + 1] = boss_layout_for_floor(current_floor);
    int count = 0;
    for (int row = 0; row <= y; ++row) {
        int last_col = row == y ? x : MAP_W - 2;
        for (int col = 1; col <= last_col && col <= MAP_W - 2; ++col)
            if (layout[row][col] == GLYPH_URN) ++count;
    }
    gmap[y][x] = count % 2 == 0 ? GLYPH_GOLD : GLYPH_FLOOR;
    marker_add(x, y);
    play_sfx(SFX_BREAK);
    rumble_add(0.35f, 0.15f, 120);
}
