// The particle pools and ambient effects, stepped once per tick by the game.
#include "dungeon/particles.h"

#include <algorithm>
#include <cmath>

#include "dungeon/fxfield.h"
#include "dungeon/view_pos.h"
#include "world/game_state.h"
#include "world/player.h"
#include "world/xorshift.h"

Pool<Spark, SPARK_MAX> spark_pool;
Pool<Ember, FLAME_EMBER_MAX> flame_embers;
Pool<Mote, MOTE_MAX> mote_pool;
Pool<CoinFly, COIN_FLY_MAX> coin_fly;
DustPoint dust_drift[DUST_MAX];
Pool<Ember, DUNGEON_EMBER_MAX> dungeon_embers;
Pool<Marker, MARKER_MAX> markers;
uint32_t particle_rng = PARTICLE_RNG_START;

namespace {

int32_t souls_kept = -1;
bool dust_ready = false;
float dust_angle = 0.0f;

uint32_t rnd() { return xorshift32(particle_rng); }
float frac1000() { return (float)(rnd() % 1000u) / 1000.0f; }
float signed2000(float scale) { return ((float)(rnd() % 2000u) / 1000.0f - 1.0f) * scale; }

template <typename T, int N>
T* pool_add(Pool<T, N>& p) {
    if (p.count >= N) return nullptr;
    return &p.items[p.count++];
}

void dust_respawn(DustPoint& d, bool any_v) {
    d.u = frac1000();
    if (any_v) d.v = frac1000();
    d.depth = 0.3f + 0.7f * frac1000();
    d.phase = frac1000() * 6.2831853f;
}

}  // namespace

void spawn_sparks(bool big) {
    const int n = big ? 18 : 9;
    for (int i = 0; i < n; i++) {
        Spark* s = pool_add(spark_pool);
        if (!s) return;
        const float a = signed2000(3.14159f);
        const float speed = (0.5f + 0.5f * (float)(rnd() % 100u) / 100.0f) * (big ? 3.2f : 2.4f);
        s->x = signed2000(4.0f);
        s->y = signed2000(4.0f);
        s->vx = speed * std::cos(a);
        s->vy = speed * std::sin(a) - 0.8f;
        s->life = s->max_life = (int32_t)(rnd() % 10u) + 12;
        s->kind = 0;
    }
}

void spawn_debris() {
    for (int i = 0; i < 5; i++) {
        Spark* s = pool_add(spark_pool);
        if (!s) return;
        s->x = signed2000(8.0f);
        s->y = signed2000(6.0f);
        s->vx = 0.0f;
        s->vy = -0.35f - 0.25f * (float)(rnd() % 100u) / 100.0f;
        s->life = s->max_life = (int32_t)(rnd() & 15u) + 34;
        s->kind = 1;
    }
}

void spawn_motes(bool wide, int view_w, int view_h) {
    const float W = (float)view_w, H = (float)view_h;
    const int n = wide ? 56 : 10;
    for (int i = 0; i < n; i++) {
        Mote* m = pool_add(mote_pool);
        if (!m) return;
        const float f1 = frac1000(), f2 = frac1000();
        const float f3 = (float)(rnd() % 2000u) / 2000.0f;
        const float f4 = frac1000(), f5 = frac1000();
        if (wide) {
            m->x = (0.15f + 0.7f * f1) * W;
            m->y = (0.05f + 0.6f * f2) * H;
            m->vx = (2.0f * f3 - 1.0f) * 0.9f;
            m->vy = 0.4f * f4;
        } else {
            m->x = (0.4f + 0.2f * f1) * W;
            m->y = (0.2f + 0.3f * f2) * H;
            m->vx = (2.0f * f3 - 1.0f) * 0.25f;
            m->vy = 0.2f * f4;
        }
        m->floor_y = (0.82f + 0.15f * f5) * H;
        m->life = wide ? (int32_t)(rnd() % 40u) + 50 : (int32_t)(rnd() % 25u) + 30;
        m->size = wide ? (uint8_t)(rnd() % 3u + 1u) : 1;
    }
}

void flame_embers_update(float intensity, int width, int height) {
    const int n = ((int)(117.0f * std::clamp(intensity, 0.0f, 1.0f)) + (int)(rnd() % 100u) + 33) / 100;
    for (int i = 0; i < n; i++) {
        float cx = 0.0f, cy = 0.0f;
        bool found = false;
        for (int t = 0; t < 8 && !found; t++) {
            cx = frac1000();
            cy = 0.45f + 0.54f * frac1000();
            found = fxfield_sample(0, cx, cy) > 1;
        }
        if (!found) cy = 0.97f;
        Ember* e = pool_add(flame_embers);
        if (!e) break;
        e->x = cx * (float)width;
        e->y = cy * (float)height;
        e->vx = (2.0f * (float)(rnd() % 2000u) / 2000.0f - 1.0f) * 0.2f;
        e->vy = -0.35f - 0.45f * (float)(rnd() % 100u) / 100.0f;
        e->life = (int32_t)(rnd() % 80u) + 60;
    }
    pool_step(flame_embers, [width](Ember& e) {
        const int old = e.life--;
        if (old <= 1 || e.y < 1.0f) return false;
        e.x += e.vx + 0.25f * std::sin(0.09f * (float)e.life + 40.0f * e.vy);
        e.y += e.vy;
        return e.x >= 0.0f && e.x < (float)width;
    });
}

void marker_add(int x, int y) {
    if (markers.count >= MARKER_MAX) {
        for (int i = 1; i < markers.count; i++) markers.items[i - 1] = markers.items[i];
        markers.count--;
    }
    markers.items[markers.count++] = Marker{x, y, 0};
}

int32_t marker_age_at(int x, int y) {
    for (int i = 0; i < markers.count; i++)
        if (markers.items[i].x == x && markers.items[i].y == y) return markers.items[i].age;
    return -1;
}

void particles_reset() {
    spark_pool.count = 0;
    mote_pool.count = 0;
    coin_fly.count = 0;
    dungeon_embers.count = 0;
    markers.count = 0;
    souls_kept = -1;
    dust_ready = false;
}

void particles_update(const ParticleStep& step) {
    const bool dungeon = step.dungeon;
    // Sparks and debris live only in a fight.
    if (step.combat) {
        pool_step(spark_pool, [](Spark& s) {
            if (s.life <= 1) return false;
            s.x += s.vx;
            s.y += s.vy;
            s.life--;
            if (s.kind == 0) {
                s.vy += 0.16f;
                s.vx *= 0.95f;
            } else {
                s.vx = 0.35f * std::sin(0.3f * (float)s.life + s.y);
            }
            return true;
        });
    } else {
        spark_pool.count = 0;
    }
    // Coins fly to the HUD as the run's soul value grows.
    pool_step(coin_fly, [](CoinFly& c) {
        c.t += c.speed;
        return c.t < 1.0f;
    });
    if (step.coins) {
        const int32_t now = step.souls;
        if (souls_kept >= 0 && now > souls_kept) {
            const int add = std::min(now - souls_kept, COIN_FLY_MAX - coin_fly.count);
            for (int i = 0; i < add; i++) {
                CoinFly* c = pool_add(coin_fly);
                if (!c) break;
                c->t = -0.12f * (float)i;
                c->speed = 0.018f + 0.004f * (float)(rnd() & 3u);
                c->bend = signed2000(0.6f);
            }
        }
        souls_kept = now;
    }
    // Dust drifts, sliding sideways as the view turns.
    if (!dust_ready) {
        for (DustPoint& d : dust_drift) dust_respawn(d, true);
        dust_angle = view_pos.angle;
        dust_ready = true;
    }
    float w = view_pos.angle - dust_angle;
    w = std::remainder(w, 6.2831853f);
    dust_angle = view_pos.angle;
    for (DustPoint& d : dust_drift) {
        d.u += d.depth * w / -1.5708f + 0.0006f * std::sin(d.phase);
        d.v += 0.0005f * std::cos(0.7f * d.phase) + 0.0007f;
        d.phase += 0.02f;
        d.u -= std::floor(d.u);
        if (d.u >= 1.0f) d.u = 0.0f;  // a hair below 0 rounds up to 1 in the subtraction
        if (d.v >= 1.0f) {
            d.v -= 1.0f;
            d.u = frac1000();
        }
    }
    // Embers rise on the last floor of each ten.
    if (dungeon && step.embers && current_floor % 10 == 9) {
        if (dungeon_embers.count < DUNGEON_EMBER_MAX && rnd() % 7u == 0u) {
            Ember* e = pool_add(dungeon_embers);
            e->x = frac1000() * (float)step.view_w;
            e->y = (float)(step.view_h - 12);
            e->vx = 0.0f;
            e->vy = -0.35f - 0.4f * (float)(rnd() % 100u) / 100.0f;
            e->life = (int32_t)(rnd() % 70u) + 70;
        }
        pool_step(dungeon_embers, [](Ember& e) {
            if (e.life <= 1) return false;
            e.life--;
            e.vx = 0.3f * std::sin(0.08f * (float)e.life + e.x);
            e.x += e.vx;
            e.y += e.vy;
            return true;
        });
    } else {
        dungeon_embers.count = 0;
    }
    // Markers age and go.
    if (dungeon) {
        pool_step(markers, [](Marker& m) { return ++m.age < 71; });
    } else {
        markers.count = 0;
    }
    // Motes fall and bounce on the floor.
    if (dungeon) {
        pool_step(mote_pool, [](Mote& m) {
            if (m.life <= 1) return false;
            m.life--;
            m.vy += 0.15f;
            m.x += m.vx;
            m.y += m.vy;
            if (m.y > m.floor_y) {
                m.y = m.floor_y;
                m.vx *= 0.6f;
                m.vy *= -0.3f;
            }
            return true;
        });
    } else {
        mote_pool.count = 0;
    }
    // The exit faces' flames on the boss floors.
    if (dungeon && current_floor % 10 == 9 && (frame_counter & 1)) fxfield_update(4, 32, 40);
}
