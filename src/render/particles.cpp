// Drawing the particle pools and ambient effects that the game steps once per tick.
#include "render/particles.h"

#include <cmath>

#include "render/draw.h"
#include "render/screen.h"
#include "saves/settings.h"

namespace {

int view_w() { return screen_layout.view.x1 - screen_layout.view.x0 + 1; }
int view_h() { return screen_layout.view.y1 - screen_layout.view.y0 + 1; }
int round_px(float v) { return (int)std::lround(v); }

}  // namespace

void particles_draw_sparks(int ox, int oy) {
    for (int i = 0; i < spark_pool.count; i++) {
        const Spark& s = spark_pool.items[i];
        const int x = ox + round_px(s.x), y = oy + round_px(s.y);
        const int age = s.max_life - s.life;
        if (s.kind == 0) {
            screen_pixel(x, y, age < 4 ? 3 : (s.life < 7 ? 1 : 2));
            if (age < 3) screen_pixel(ox + round_px(s.x - s.vx), oy + round_px(s.y - s.vy), 2);
        } else {
            screen_pixel(x, y, s.life > s.max_life / 2 ? 2 : 1);
            if (s.life > s.max_life / 3) screen_pixel(x, y + 1, 1);
        }
    }
}

void flame_embers_draw(int ox, int oy) {
    for (int i = 0; i < flame_embers.count; i++) {
        const Ember& e = flame_embers.items[i];
        screen_pixel(ox + (int)e.x, oy + (int)e.y, e.life > 80 ? 3 : (e.life < 36 ? 1 : 2));
    }
}

void particles_draw_motes() {
    const ScreenRect& r = screen_layout.view;
    for (int i = 0; i < mote_pool.count; i++) {
        const Mote& m = mote_pool.items[i];
        const int x = r.x0 + (int)m.x, y = r.y0 + (int)m.y, s = m.size;
        if (x < r.x0 || y < r.y0 || x + s - 1 > r.x1 || y + s - 1 > r.y1) continue;
        screen_fill_rect(x, y, s, s, (m.life < 12 || s == 1) ? 1 : 2);
    }
}

void coin_fly_draw(int tx, int ty) {
    const ScreenRect& r = screen_layout.view;
    const float W = (float)view_w(), H = (float)view_h();
    const float sx = (float)(r.x0 + r.x1) / 2.0f, sy = (float)(r.y0 + r.y1) / 2.0f;
    for (int i = 0; i < coin_fly.count; i++) {
        const CoinFly& c = coin_fly.items[i];
        if (c.t < 0.0f) continue;
        const float cxp = sx + 0.4f * W * c.bend, cyp = sy - 0.15f * H;
        auto at = [&](float t, float* px, float* py) {
            const float e = t * t * (3.0f - 2.0f * t);
            *px = (1 - e) * (1 - e) * sx + 2 * (1 - e) * e * cxp + e * e * (float)tx;
            *py = (1 - e) * (1 - e) * sy + 2 * (1 - e) * e * cyp + e * e * (float)ty;
        };
        float px, py;
        if (c.t - 0.05f > 0.0f) {
            at(c.t - 0.05f, &px, &py);
            screen_pixel(round_px(px), round_px(py), 1);
        }
        at(c.t, &px, &py);
        const int x = round_px(px), y = round_px(py);
        screen_pixel(x - 1, y, 2);
        screen_pixel(x + 1, y, 2);
        screen_pixel(x, y - 1, 2);
        screen_pixel(x, y + 1, 2);
        screen_pixel(x, y, 3);
    }
}

void twinkles_draw() {
    if (settings.effects != 1) return;  // FULL only
    const ScreenRect& r = screen_layout.view;
    for (const DustPoint& d : dust_drift)
        screen_pixel(r.x0 + (int)((float)view_w() * d.u), r.y0 + (int)((float)view_h() * d.v),
                     std::sin(3.0f * d.phase) > 0.93f ? 2 : 1);
}

void twinkles_draw2() {
    const ScreenRect& r = screen_layout.view;
    for (int i = 0; i < dungeon_embers.count; i++) {
        const Ember& e = dungeon_embers.items[i];
        // Their sway can carry embers born at an edge a few pixels out of the view.
        const int x = r.x0 + (int)e.x, y = r.y0 + (int)e.y;
        if (x < r.x0 || x > r.x1 || y < r.y0 || y > r.y1) continue;
        screen_pixel(x, y, e.life > 60 ? 3 : (e.life < 26 ? 1 : 2));
    }
}
