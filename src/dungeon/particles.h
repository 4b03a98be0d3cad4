// Screen-space particles, flame embers, flying coins, drifting dust, dungeon embers and the
// short-lived markers on the map cells where urns broke: their pools and their simulation, stepped
// once per tick by the game with what it needs handed in. Every pool is a fixed array; spawning
// into a full pool drops the newcomer; a step keeps the survivors in order at the front.
// The drawing lives in render/particles.h.
#pragma once
#include <cstdint>

struct Spark {
    float x, y, vx, vy;
    int32_t life, max_life;
    int32_t kind;  // 0 spark, 1 debris
};
struct Ember {
    float x, y, vx, vy;
    int32_t life;
};
struct Mote {
    float x, y, vx, vy, floor_y;
    int32_t life;
    uint8_t size;
};
struct CoinFly {
    float t, speed, bend;
};
struct DustPoint {
    float u, v, depth, phase;
};
struct Marker {
    int32_t x, y, age;
};

constexpr int SPARK_MAX = 96, FLAME_EMBER_MAX = 72, MOTE_MAX = 64, COIN_FLY_MAX = 8, DUST_MAX = 18,
              DUNGEON_EMBER_MAX = 24, MARKER_MAX = 4;

template <typename T, int N>
struct Pool {
    T items[N];
    int32_t count;
};

// Steps each live entry with `step` and keeps, in order at the front, those it returns true for.
template <typename T, int N, typename Step>
void pool_step(Pool<T, N>& pool, Step step) {
    int kept = 0;
    for (int i = 0; i < pool.count; i++) {
        T e = pool.items[i];
        if (step(e)) pool.items[kept++] = e;
    }
    pool.count = kept;
}

extern Pool<Spark, SPARK_MAX> spark_pool;
extern Pool<Ember, FLAME_EMBER_MAX> flame_embers;
extern Pool<Mote, MOTE_MAX> mote_pool;
extern Pool<CoinFly, COIN_FLY_MAX> coin_fly;
extern DustPoint dust_drift[DUST_MAX];
extern Pool<Ember, DUNGEON_EMBER_MAX> dungeon_embers;
extern Pool<Marker, MARKER_MAX> markers;
constexpr uint32_t PARTICLE_RNG_START = 0x2545F491u;
extern uint32_t particle_rng;

// What a tick's particle step needs to know of the game.
struct ParticleStep {
    bool dungeon;      // the dungeon screen runs: dust, embers, markers and motes live
    bool combat;       // a fight runs: sparks and debris live
    bool coins;        // souls gained now fly to the HUD (the dungeon, no transition running)
    int32_t souls;     // the run's soul value now
    bool embers;       // screen effects are on
    int32_t view_w, view_h;  // the view's size in pixels
};

void spawn_sparks(bool big);
void spawn_debris();
// Throws up dust motes in a view of view_w x view_h pixels: 10, or 56 when wide.
void spawn_motes(bool wide, int view_w, int view_h);
void flame_embers_update(float intensity, int width, int height);
// Marks a map cell where an urn broke; the oldest of 4 markers is dropped.
void marker_add(int x, int y);
int32_t marker_age_at(int x, int y);
void particles_update(const ParticleStep& step);
void particles_reset();
