// The glyph map and what the player has seen of it.
#include "dungeon/map.h"

#include <initializer_list>

#include <cmath>
#include <cstdlib>

#include "world/player.h"

char gmap[MAP_H][MAP_W];
uint8_t explored[MAP_H][MAP_W];

namespace {

bool in_map(int x, int y) { return x >= 0 && x < MAP_W && y >= 0 && y < MAP_H; }

// Whether nothing blocks the straight line between the player's cell and the cell at (dx, dy).
bool line_clear(int px, int py, int dx, int dy) {
    int n = 2 * (std::abs(dx) > std::abs(dy) ? std::abs(dx) : std::abs(dy));
    for (int m = 1; m < n; ++m) {
        float fx = (float)px + 0.5f + (float)(dx * m) / (float)n;
        float fy = (float)py + 0.5f + (float)(dy * m) / (float)n;
        int cx = (int)std::floor(fx);
        int cy = (int)std::floor(fy);
        if (cx == px && cy == py) continue;
        if (cx == px + dx && cy == py + dy) continue;
        if (!in_map(cx, cy) || glyph_blocks(gmap[cy][cx])) return false;
    }
    return true;
}

}  // namespace

char gmap_at(int x, int y) { return in_map(x, y) ? gmap[y][x] : GLYPH_WALL; }

namespace {

// A set of glyphs as bits over c - base, so a membership test is one shift.
constexpr uint64_t glyph_bits(std::initializer_list<char> glyphs, char base) {
    uint64_t bits = 0;
    for (char g : glyphs) bits |= 1ULL << (g - base);
    return bits;
}

// Walls and everything the player reaches only by bumping (stairs, exit, doors, shrine objects).
constexpr char BLOCK_BASE = GLYPH_WALL;
constexpr uint64_t BLOCKING = glyph_bits({GLYPH_WALL, GLYPH_HOLLOW, GLYPH_CRACKED, GLYPH_DOOR, GLYPH_STAIRS,
                                          GLYPH_DOOR_WALL, GLYPH_PEDESTAL, GLYPH_BONE_WALL, GLYPH_BANNER_WALL,
                                          GLYPH_STATUE, GLYPH_CASE_SHELF, GLYPH_STATUE_WALL, GLYPH_EXIT},
                                         BLOCK_BASE);
static_assert(BLOCKING == 0x3A0B040800010DULL);

constexpr char PICKUP_BASE = GLYPH_ANTIDOTE;  // the lowest pickup letter
constexpr uint64_t PICKUPS =
    glyph_bits({GLYPH_ANTIDOTE, GLYPH_GOLD, GLYPH_KEY, GLYPH_POTION, GLYPH_SHIELD, GLYPH_WEAPON}, PICKUP_BASE);
static_assert(PICKUPS == 0x448441u);

}  // namespace

bool glyph_blocks(int c) {
    int k = c - BLOCK_BASE;
    return k >= 0 && k <= 53 && (BLOCKING >> k) & 1u;
}

bool glyph_is_pickup(int c) {
    int k = c - PICKUP_BASE;
    return k >= 0 && k <= 22 && (PICKUPS >> k) & 1u;
}

bool cell_between_walls(int x, int y) {
    auto blocks = [](int cx, int cy) { return glyph_blocks(gmap_at(cx, cy)); };
    return (blocks(x - 1, y) && blocks(x + 1, y)) || (blocks(x, y - 1) && blocks(x, y + 1));
}

void facing_vector(int facing, int* dx, int* dy) {
    static const int DX[4] = {0, 1, 0, -1};
    static const int DY[4] = {-1, 0, 1, 0};
    int f = facing & 3;
    if (dx) *dx = DX[f];
    if (dy) *dy = DY[f];
}

void explore_mark_view() {
    int px = player.x, py = player.y;
    int fx = 0, fy = 0, sx = 0, sy = 0;
    facing_vector(player.facing, &fx, &fy);
    facing_vector(player.facing + 1, &sx, &sy);
    for (int dy = -5; dy <= 5; ++dy) {
        for (int dx = -5; dx <= 5; ++dx) {
            int x = px + dx, y = py + dy;
            if (!in_map(x, y) || explored[y][x]) continue;
            if (std::abs(dx) <= 1 && std::abs(dy) <= 1) {
                explored[y][x] = 1;
                continue;
            }
            int forward = fx * dx + fy * dy;
            int side = sx * dx + sy * dy;
            if (forward <= 0 || forward < std::abs(side) || dx * dx + dy * dy > 25) continue;
            if (line_clear(px, py, dx, dy)) explored[y][x] = 1;
        }
    }
}
