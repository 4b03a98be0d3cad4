// The procedural floor: rooms joined in a chain by corridors, stairs in the last room's wall,
// then monsters, potions, gold, gear, a lucky find, a chest and perhaps a hidden nook.
// Every draw comes from one stream seeded by the run seed and the floor number, in a fixed order,
// so a run seed always rebuilds the same floor.
#include "dungeon/floor.h"

#include "dungeon/map.h"
#include "items/floor_items.h"
#include "items/item_random.h"
#include "items/item.h"
#include "world/player.h"
#include "world/xorshift.h"

uint32_t floor_rng = 1;
FloorRoom floor_rooms[FLOOR_MAX_ROOMS];
int32_t floor_room_count = 0;

uint32_t floor_rand_raw() {
    // A zero state would repeat zero for ever; the stream restarts from 1 instead.
    if (xorshift32(floor_rng) == 0) floor_rng = 1;
    return floor_rng;
}

int floor_rand(int n) {
    uint32_t d = floor_rand_raw();
    return n > 0 ? (int)(d % (uint32_t)n) + 1 : 1;
}

namespace {

// The play area: the border stays solid.
bool inside_play(int x, int y) { return x >= 1 && x <= MAP_W - 2 && y >= 1 && y <= MAP_H - 2; }

void open_cell(int x, int y) {
    if (inside_play(x, y)) gmap[y][x] = GLYPH_FLOOR;
}

int centre_x(const FloorRoom& r) { return r.x + r.w / 2; }
int centre_y(const FloorRoom& r) { return r.y + r.h / 2; }

void place_rooms(int wanted) {
    floor_room_count = 0;
    for (int tries = 0; floor_room_count < wanted && tries < 80; ++tries) {
        uint32_t r1 = floor_rand_raw(), r2 = floor_rand_raw(), r3 = floor_rand_raw(), r4 = floor_rand_raw();
        FloorRoom room;
        room.w = (int)(r1 & 1) + 3;
        room.h = (int)(r2 & 1) + 3;
        room.x = (int)(r3 % (12 - (r1 & 1))) + 1;
        room.y = (int)(r4 % (8 - (r2 & 1))) + 1;
        bool clash = false;
        for (int i = 0; i < floor_room_count && !clash; ++i) {
            const FloorRoom& o = floor_rooms[i];
            // Touching counts as a clash: rooms keep a wall between them.
            clash = room.x <= o.x + o.w && o.x <= room.x + room.w && room.y <= o.y + o.h && o.y <= room.y + room.h;
        }
        if (clash) continue;
        floor_rooms[floor_room_count++] = room;
        for (int y = room.y; y < room.y + room.h; ++y)
            for (int x = room.x; x < room.x + room.w; ++x) open_cell(x, y);
    }
}

void walk_vertical(int x, int y0, int y1) {
    int step = y1 > y0 ? 1 : -1;
    for (int y = y0; y != y1;) {
        y += step;
        open_cell(x, y);
    }
}

void walk_horizontal(int y, int x0, int x1) {
    int step = x1 > x0 ? 1 : -1;
    for (int x = x0; x != x1;) {
        x += step;
        open_cell(x, y);
    }
}

void dig_corridors() {
    for (int i = 0; i + 1 < floor_room_count; ++i) {
        int ax = centre_x(floor_rooms[i]), ay = centre_y(floor_rooms[i]);
        int bx = centre_x(floor_rooms[i + 1]), by = centre_y(floor_rooms[i + 1]);
        if ((floor_rand_raw() & 1) == 0) {
            walk_vertical(ax, ay, by);
            walk_horizontal(by, ax, bx);
        } else {
            walk_horizontal(ay, ax, bx);
            walk_vertical(bx, ay, by);
        }
    }
}

struct StairsSpot {
    int x, y;  // the wall cell
    int ix, iy;  // the room cell in front of it
};

bool stairs_candidate(int x, int y) {
    if (x < 0 || x >= MAP_W || y < 0 || y >= MAP_H || gmap[y][x] != GLYPH_WALL) return false;
    int open = (gmap_at(x, y - 1) != GLYPH_WALL) + (gmap_at(x + 1, y) != GLYPH_WALL) + (gmap_at(x, y + 1) != GLYPH_WALL) +
               (gmap_at(x - 1, y) != GLYPH_WALL);
    return open == 1;
}

int stairs_candidates(const FloorRoom& r, StairsSpot* out) {
    int n = 0;
    auto consider = [&](int x, int y, int ix, int iy) {
        if (stairs_candidate(x, y)) out[n++] = {x, y, ix, iy};
    };
    for (int x = r.x; x < r.x + r.w; ++x) {
        consider(x, r.y - 1, x, r.y);
        consider(x, r.y + r.h, x, r.y + r.h - 1);
    }
    for (int y = r.y; y < r.y + r.h; ++y) {
        consider(r.x - 1, y, r.x, y);
        consider(r.x + r.w, y, r.x + r.w - 1, y);
    }
    return n;
}

// Breadth-first over open cells (anything but '#'), north, east, south, west.
bool reachable(int sx, int sy, int tx, int ty) {
    uint8_t seen[MAP_H][MAP_W] = {};
    int queue[MAP_W * MAP_H];
    int head = 0, tail = 0;
    seen[sy][sx] = 1;
    queue[tail++] = sy * MAP_W + sx;
    static const int DX[4] = {0, 1, 0, -1}, DY[4] = {-1, 0, 1, 0};
    while (head < tail) {
        int x = queue[head] % MAP_W, y = queue[head] / MAP_W;
        ++head;
        if (x == tx && y == ty) return true;
        for (int d = 0; d < 4; ++d) {
            int nx = x + DX[d], ny = y + DY[d];
            if (gmap_at(nx, ny) == GLYPH_WALL || seen[ny][nx]) continue;
            seen[ny][nx] = 1;
            queue[tail++] = ny * MAP_W + nx;
        }
    }
    return false;
}

const FloorRoom& random_room() { return floor_rooms[floor_rand_raw() % (uint32_t)(floor_room_count - 1) + 1]; }

bool blocked_above_and_below(int x, int y) { return glyph_blocks(gmap_at(x, y - 1)) && glyph_blocks(gmap_at(x, y + 1)); }

// An orc needs two open cells side by side, neither squeezed between blocks above and below.
bool place_orc(const FloorRoom& r) {
    if (r.w < 2) return false;
    for (int t = 0; t < 30; ++t) {
        int x = r.x + (int)(floor_rand_raw() % (uint32_t)(r.w - 1));
        int y = r.y + (r.h > 1 ? (int)(floor_rand_raw() % (uint32_t)r.h) : 0);
        if (!inside_play(x, y) || !inside_play(x + 1, y)) continue;
        if (gmap[y][x] != GLYPH_FLOOR || gmap[y][x + 1] != GLYPH_FLOOR) continue;
        if (blocked_above_and_below(x, y) || blocked_above_and_below(x + 1, y)) continue;
        gmap[y][x] = GLYPH_ORC;
        gmap[y][x + 1] = GLYPH_ORC_BODY;
        return true;
    }
    return false;
}

void place_monster(int n) {
    const FloorRoom& room = random_room();
    for (int k = 0; k < 4; ++k) {
        char kind = floor_spawn_pick(floor_rand_raw(), n);
        if (kind != GLYPH_ORC) {
            floor_place_in_room(room, kind);
            return;
        }
        if (place_orc(room)) return;
    }
}

// A potion letter of a better kind carries its item; the plain healing potion is the bare letter.
void place_potion(int n) {
    int x, y;
    if (!floor_place_in_room(random_room(), GLYPH_POTION, &x, &y)) return;
    Item item = item_make_potion(n, floor_rand);
    if (item.id != ITEM_HEALING_POTION) floor_item_add_new(x, y, item);
}

void place_gear(int n, const GearRules& g) {
    static const char GEAR[] = "swswa";
    char glyph = GEAR[floor_rand_raw() % (n <= 2 ? 4u : 5u)];
    int x, y;
    if (!floor_place_in_room(random_room(), glyph, &x, &y) || glyph == GLYPH_ANTIDOTE) return;
    Item item = item_make_random(glyph, n, floor_rand, g);
    gmap[y][x] = item_glyph(item.id);
    floor_item_add_new(x, y, item);
}

void place_lucky_find(int n, const GearRules& g) {
    Item item;
    if (!item_make_floor(n, floor_rand, g, &item)) return;
    int x, y;
    if (floor_place_in_room(random_room(), item_glyph(item.id), &x, &y)) floor_item_add_new(x, y, item);
}

// A chest may not cut the map: it must take away only its own cell.
void place_chest(int n, int sx, int sy, const GearRules& g) {
    if (floor_rand_raw() % 3 != 0) return;
    int before = floor_flood_fill(sx, sy) - 1;
    for (int t = 0; t < 8; ++t) {
        int x, y;
        if (!floor_place_in_room(random_room(), GLYPH_CHEST, &x, &y)) continue;
        if (floor_flood_fill(sx, sy) != before) {
            gmap[y][x] = GLYPH_FLOOR;
            continue;
        }
        floor_item_add(x, y, item_make_gear(n, floor_rand, g), FLOOR_SRC_CHEST);
        if (n >= 4 && (floor_rand_raw() & 3) == 0) gmap[y][x] = GLYPH_MIMIC;
        if ((floor_rand_raw() & 1) == 0) floor_place_in_room(random_room(), GLYPH_KEY);
        return;
    }
}

// One attempt; false when the layout is unusable and the next attempt must start.
bool try_floor(int n, const GearRules& g) {
    floor_items_clear();
    for (auto& row : gmap)
        for (char& c : row) c = GLYPH_WALL;
    place_rooms((int)(floor_rand_raw() & 3) + 3);
    if (floor_room_count < 2) return false;
    dig_corridors();

    StairsSpot spots[16];
    int spot_count = stairs_candidates(floor_rooms[floor_room_count - 1], spots);
    if (spot_count == 0) return false;
    const StairsSpot& s = spots[floor_rand_raw() % (uint32_t)spot_count];
    int sx = centre_x(floor_rooms[0]), sy = centre_y(floor_rooms[0]);
    if (s.ix == sx && s.iy == sy) return false;
    gmap[s.y][s.x] = GLYPH_STAIRS;
    if (!reachable(sx, sy, s.ix, s.iy)) return false;

    uint32_t a = floor_rand_raw(), b = floor_rand_raw(), c = floor_rand_raw(), d = floor_rand_raw();
    int depth = n < 8 ? n : 8;
    int monster_count = depth / 2 + (int)(a % 3) + 1;
    int potion_count = (int)(b & 1) + 1;
    int gold_count = (int)(c & 1) + depth / 3 + 1;
    int gear_count = (int)(d & 1) + 1;
    for (int i = 0; i < monster_count; ++i) place_monster(n);
    for (int i = 0; i < potion_count; ++i) place_potion(n);
    for (int i = 0; i < gold_count; ++i) floor_place_in_room(random_room(), GLYPH_GOLD);
    for (int i = 0; i < gear_count; ++i) place_gear(n, g);
    place_lucky_find(n, g);
    if (n >= 1) place_chest(n, sx, sy, g);
    if (floor_is_special(n)) floor_add_secret_nook();

    player.x = sx;
    player.y = sy;
    player.facing = 1;
    return true;
}

}  // namespace

void floor_fallback_room() {
    floor_items_clear();
    floor_room_count = 0;
    for (int y = 0; y < MAP_H; ++y)
        for (int x = 0; x < MAP_W; ++x) {
            bool border = y == 0 || y == MAP_H - 1 || x == 0 || x == MAP_W - 1;
            gmap[y][x] = border ? GLYPH_WALL : GLYPH_FLOOR;
        }
    gmap[MAP_H - 1][MAP_W - 2] = GLYPH_STAIRS;
    player.x = 2;
    player.y = 2;
    player.facing = 1;
}

void floor_generate(int n, const GearRules& g) {
    floor_rng = (uint32_t)n * 0x9E3779B9u ^ run_seed;
    if (floor_rng == 0) floor_rng = 1;
    for (int attempt = 0; attempt < FLOOR_ATTEMPTS; ++attempt) {
        if (try_floor(n, g)) return;
        floor_rng = (uint32_t)attempt + floor_rng * 1103515245u + 12345u;
        if (floor_rng == 0) floor_rng = 1;
    }
    floor_fallback_room();
}

bool floor_place_in_room(const FloorRoom& room, char glyph, int* out_x, int* out_y) {
    for (int t = 0; t < 30; ++t) {
        int x = room.x + (room.w > 1 ? (int)(floor_rand_raw() % (uint32_t)room.w) : 0);
        int y = room.y + (room.h > 1 ? (int)(floor_rand_raw() % (uint32_t)room.h) : 0);
        if (!inside_play(x, y) || gmap[y][x] != GLYPH_FLOOR) continue;
        gmap[y][x] = glyph;
        if (out_x) *out_x = x;
        if (out_y) *out_y = y;
        return true;
    }
    return false;
}
