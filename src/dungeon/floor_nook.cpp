// Secret nooks: on one floor in each ten a hollow wall hides a pocket of gold, sometimes a potion,
// dug into solid rock beside a corridor or room. Also the flood count that keeps chests honest.
#include "dungeon/floor.h"

#include "dungeon/map.h"
#include "items/floor_items.h"
#include "items/item_random.h"

namespace {

const int DX[4] = {0, 1, 0, -1};
const int DY[4] = {-1, 0, 1, 0};

bool inside_play(int x, int y) { return x >= 1 && x <= MAP_W - 2 && y >= 1 && y <= MAP_H - 2; }

// Open for a nook's neighbour: walkable and not a chest, a mimic or an urn.
bool nook_open(char c) { return !glyph_blocks(c) && c != GLYPH_CHEST && c != GLYPH_MIMIC && c != GLYPH_URN && c != GLYPH_CHEST_OPEN; }

// Solid rock on every side of (x, y) except the one it was entered from (moving in dir).
bool walled_except(int x, int y, int dir) {
    for (int d = 0; d < 4; ++d)
        if (d != (dir + 2) % 4 && gmap_at(x + DX[d], y + DY[d]) != GLYPH_WALL) return false;
    return true;
}

bool next_to_exit(int x, int y) {
    for (int d = 0; d < 4; ++d) {
        char c = gmap_at(x + DX[d], y + DY[d]);
        if (c == GLYPH_STAIRS || c == GLYPH_EXIT) return true;
    }
    return false;
}

// A pocket one step in dir from (x, y): inside the play area, rock, and rock around it.
bool pocket_ok(int x, int y, int dir) {
    int bx = x + DX[dir], by = y + DY[dir];
    return inside_play(bx, by) && gmap[by][bx] == GLYPH_WALL && walled_except(bx, by, dir);
}

}  // namespace

int floor_flood_fill(int x, int y) {
    auto passable = [](int cx, int cy) {
        char c = gmap_at(cx, cy);
        return c != GLYPH_WALL && c != GLYPH_CHEST && c != GLYPH_CHEST_OPEN;
    };
    if (!passable(x, y)) return 0;
    uint8_t seen[MAP_H][MAP_W] = {};
    int stack[MAP_W * MAP_H];
    int top = 0, count = 0;
    seen[y][x] = 1;
    stack[top++] = y * MAP_W + x;
    while (top > 0) {
        int cell = stack[--top];
        ++count;
        for (int d = 0; d < 4; ++d) {
            int nx = cell % MAP_W + DX[d], ny = cell / MAP_W + DY[d];
            if (!passable(nx, ny) || seen[ny][nx]) continue;
            seen[ny][nx] = 1;
            stack[top++] = ny * MAP_W + nx;
        }
    }
    return count;
}

bool floor_is_special(int n) {
    if (n % 10 == 9) return false;
    uint32_t h = ((uint32_t)(n / 10) * 0xC2B2AE35u + 0x5EC2E7u) ^ run_seed;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return n % 10 == (int)(h & 7) + 1;
}

void secret_nook_add(int x, int y, int dir, uint32_t (*rand)()) {
    if (dir < 0 || dir > 3 || !inside_play(x, y) || gmap[y][x] != GLYPH_WALL || next_to_exit(x, y)) return;
    if (!pocket_ok(x, y, dir)) return;
    int bx = x + DX[dir], by = y + DY[dir];
    gmap[y][x] = GLYPH_HOLLOW;
    gmap[by][bx] = GLYPH_GOLD;
    if (!pocket_ok(bx, by, dir)) return;
    gmap[by + DY[dir]][bx + DX[dir]] = GLYPH_GOLD;
    if (rand() % 2 != 0) return;
    gmap[by][bx] = GLYPH_POTION;
    Item item = item_make_potion(current_floor, floor_rand);
    if (item.id != ITEM_HEALING_POTION) floor_item_add_new(bx, by, item);
}

void floor_add_secret_nook() {
    int cx[MAP_W * MAP_H], cy[MAP_W * MAP_H], cd[MAP_W * MAP_H];
    int count = 0;
    for (int y = 1; y <= MAP_H - 2; ++y)
        for (int x = 1; x <= MAP_W - 2; ++x) {
            if (gmap[y][x] != GLYPH_WALL || next_to_exit(x, y)) continue;
            int open = 0, open_dir = 0;
            for (int d = 0; d < 4; ++d)
                if (nook_open(gmap_at(x + DX[d], y + DY[d]))) {
                    ++open;
                    open_dir = d;
                }
            if (open != 1) continue;
            int dir = (open_dir + 2) % 4;
            if (!pocket_ok(x, y, dir)) continue;
            cx[count] = x;
            cy[count] = y;
            cd[count] = dir;
            ++count;
        }
    // With no wall to hide it behind there is simply no nook.
    if (count == 0) return;
    int pick = (int)(floor_rand_raw() % (uint32_t)count);
    secret_nook_add(cx[pick], cy[pick], cd[pick], floor_rand_raw);
}
