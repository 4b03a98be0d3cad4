// The first-person view of the dungeon and the shrine: light flicker and look of the frame, the
// ceiling dots, the floor tiles with the monsters' shadows, the ceilings, and the ray-cast walls
// with the shrine's see-through boxes. Objects follow in view_objects.cpp.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "dungeon/view_pos.h"
#include "render/objects.h"
#include "render/particles.h"
#include "render/pictures.h"
#include "render/view.h"
#include "render/view_frame.h"
#include "render/view_shade.h"
#include "saves/settings.h"
#include "dungeon/shrine_billboard.h"
#include "telemetry/perf.h"

ViewFrame view_frame;
int16_t view_wall_top[FB_LONG], view_wall_bottom[FB_LONG];
float view_stairs_distance = 0.0f;

ViewCamera view_camera() {
    return ViewCamera{view_pos.x, view_pos.y, view_pos.angle, view_pos.angle_target, view_pos.horizon_shift, view_pos.eye_height};
}

namespace {

constexpr float NO_WALL = 1e30f;

// The floor ellipses under the monsters.
struct Shadow {
    float cx, cy, rx, ry;
};
Shadow shadows[MAX_MONSTERS];
int shadow_count = 0;

void gather_shadows() {
    const ViewFrame& f = view_frame;
    shadow_count = 0;
    for (int i = 0; i < monsters.count && i < MAX_MONSTERS; i++) {
        const Monster& m = monsters.list[i];
        if (m.type == M_MIMIC && !mimic_is_revealed(m)) continue;
        int x0, y0, w, h;
        monster_footprint(m, &x0, &y0, &w, &h);
        const int x1 = x0 + w - 1, y1 = y0 + h - 1;
        Shadow& s = shadows[shadow_count++];
        s.cx = (float)(x0 + x1) / 2.0f + 0.5f + (m.draw_x - ((float)m.x + 0.5f)) + 0.3f * f.dir_x;
        s.cy = (float)(y0 + y1) / 2.0f + 0.5f + (m.draw_y - ((float)m.y + 0.5f)) + 0.3f * f.dir_y;
        if (m.type == M_DRAGON) {
            s.rx = 1.45f;
            s.ry = 0.95f;
        } else {
            s.rx = (float)(x1 - x0) * 0.55f + 0.32f;
            s.ry = (float)(y1 - y0) * 0.6f + 0.32f;
        }
    }
}

// The shadows that may fall on the floor row being drawn, by index.
int row_shadows[MAX_MONSTERS];
int row_shadow_count = 0;

// Keeps the shadows whose box (with a margin for rounding) meets the box of world points from
// (x0, y0) to (x1, y1): the others cannot hold any point of the row.
void gather_row_shadows(float x0, float y0, float x1, float y1) {
    const float lo_x = std::min(x0, x1), hi_x = std::max(x0, x1), lo_y = std::min(y0, y1), hi_y = std::max(y0, y1);
    row_shadow_count = 0;
    for (int i = 0; i < shadow_count; i++) {
        const Shadow& s = shadows[i];
        const float reach_x = s.rx * 1.01f + 0.01f, reach_y = s.ry * 1.01f + 0.01f;
        if (s.cx + reach_x < lo_x || s.cx - reach_x > hi_x || s.cy + reach_y < lo_y || s.cy - reach_y > hi_y) continue;
        row_shadows[row_shadow_count++] = i;
    }
}

// 0 outside every shadow of the row, 1 in a shadow's core, 2 on its rim.
int shadow_at(float x, float y) {
    int best = 0;
    for (int k = 0; k < row_shadow_count; k++) {
        const Shadow& s = shadows[row_shadows[k]];
        const float qx = (x - s.cx) / s.rx, qy = (y - s.cy) / s.ry;
        const float q = qx * qx + qy * qy;
        if (q >= 1.0f) continue;
        if (q <= 0.72f) return 1;
        best = 2;
    }
    return best;
}

int floor_level(float d, bool shrine) {
    if (shrine) return d < 5.0f ? 0 : d < 8.0f ? 4 : 8;
    return d < 2.0f ? 0 : d < 3.5f ? 4 : d < 5.5f ? 8 : 12;
}

float fracf(float v) { return v - std::floor(v); }

void ceiling_dots() {
    const ViewFrame& f = view_frame;
    const int t = frame_counter;
    for (int r = f.y0 + 4; r < f.horizon; r += 5)
        for (int c = f.x0 + 1 + 3 * ((r / 5) % 2); c <= f.x1; c += 8) {
            if (r >= view_wall_top[c] && r <= view_wall_bottom[c]) continue;
            int colour = ((r / 5 + c) % 17 == 0) ? 2 : 1;
            if (f.effects) {
                const uint32_t h = cell_hash(c, r);
                const uint32_t period = (h >> 10) % 200u + 200u;
                const uint32_t phase = ((h & 0x3FFu) + (uint32_t)t) % period;
                if (phase < 5) colour = 2;
                else if (phase < 10) colour = 3;
                else if (phase < 22 && h % 4u == 0) continue;
            }
            screen_pixel(c, r, colour);
        }
}

FloorRecord rows_a[FB_LONG + 1], rows_b[FB_LONG + 1];

// Whether the view's pixels may go straight into the framebuffer: no offset, colour override,
// mask, clip or dither in force, and the view inside the framebuffer.
bool view_writes_direct(const ViewFrame& f) {
    return !draw_column_mask && !draw_column_clip && draw_dither_level == 0 && screen_box_direct(f.x0, f.y0, f.x1, f.y1);
}

void draw_floor() {
    const ViewFrame& f = view_frame;
    const float k = f.cam.eye;
    const float limit = 9.0f;
    FloorRecord* cur = rows_a;
    FloorRecord* below = rows_b;
    int first = std::max(f.y0, f.horizon + 1);
    // Skip the rows farther than the limit.
    while (first <= f.y1 && k * (float)f.H / ((float)(first - f.horizon) + 0.5f) > limit) first++;
    if (first > f.y1) return;
    auto cast = [&](FloorRecord* out, int row) {
        const float d = k * (float)f.H / ((float)(row - f.horizon) + 0.5f);
        cast_floor_rows(out, row, true, d, f.cam.x, f.cam.y, f.dir_x, f.dir_y, f.plane_x, f.plane_y);
    };
    cast(cur, first);
    const float pebble_r = 18.0f / (float)f.W;
    const bool direct = view_writes_direct(f);
    for (int row = first; row <= f.y1; row++) {
        uint8_t* line = framebuffer + row * screen_layout.width;
        cast(below, row + 1);
        const float d = cur[0].distance;
        const int level = floor_level(d, f.shrine);
        const bool pebbles = view_detail_look && d < 3.0f;
        const float pr2 = 0.35f * (pebble_r * d) * (pebble_r * d);
        // The row's world points run in a straight line from its first column to its last.
        gather_row_shadows(cur[0].x, cur[0].y, cur[f.x1 - f.x0].x, cur[f.x1 - f.x0].y);
        for (int X = f.x0; X <= f.x1; X++) {
            if (row >= view_wall_top[X] && row <= view_wall_bottom[X]) continue;
            const int i = X - f.x0;
            const FloorRecord& rec = cur[i];
            int colour = 0;
            const bool grout = (X < f.x1 && rec.key != cur[i + 1].key) || rec.key != below[i].key;
            if (grout && BAYER4[row & 3][X & 3] >= level) {
                colour = 1;
            } else if (pebbles) {
                const float sx = 9.0f * rec.x, sy = 9.0f * rec.y;
                const int gx = (int)std::floor(sx), gy = (int)std::floor(sy);
                const float ex = sx - (float)gx - 0.5f, ey = sy - (float)gy - 0.5f;
                if (ex * ex + ey * ey < pr2 && cell_hash(gx, gy) * 0xE9BD37A7u < 0x0B21642Du) colour = 2;
            }
            if (colour && row_shadow_count) {
                const int s = shadow_at(rec.x, rec.y);
                if (s == 1 || (s == 2 && ((X + row) & 1))) colour = 0;
            }
            if (colour) {
                if (direct) line[X] = (uint8_t)colour;
                else screen_pixel(X, row, colour);
            }
        }
        std::swap(cur, below);
    }
}

void draw_ceiling() {
    const ViewFrame& f = view_frame;
    if (!f.shrine && !view_detail_look) return;
    const float k = f.cam.eye;
    const float limit = f.shrine ? 16.0f : 9.0f;
    const bool direct = view_writes_direct(f);
    for (int row = f.y0; row < f.horizon && row <= f.y1; row++) {
        const float o = (float)(f.horizon - row);
        if (o - 0.5f <= 0.0f) continue;
        const float d = (f.ceiling - k) * (float)f.H / (o - 0.5f);
        if (d > limit || d <= 0.0f) continue;
        const int level = d < 2.0f ? 0 : d < 3.5f ? 4 : d < 5.5f ? 8 : 12;
        uint8_t* line = framebuffer + row * screen_layout.width;
        for (int X = f.x0; X <= f.x1; X++) {
            if (row >= view_wall_top[X] && row <= view_wall_bottom[X]) continue;
            const float s = 2.0f * ((float)(X - f.x0) + 0.5f) / (float)f.W - 1.0f;
            const float wx = f.cam.x + d * (f.dir_x + f.plane_x * s);
            const float wy = f.cam.y + d * (f.dir_y + f.plane_y * s);
            int colour = 0;
            if (f.shrine) {
                const float fx = fracf(wx * 0.5f), fy = fracf(wy * 0.5f);
                const float t = 0.6f * (2.0f * d / (float)f.W), t2 = 1.4f * t;
                const bool edge = fx < t2 || fy < t2;
                const bool line = edge || std::fabs(fy - fx) < t || std::fabs(fx + fy - 1.0f) < t;
                if (!line) continue;
                if (d < 6.0f) colour = edge ? 2 : 1;
                else if (BAYER4[row & 3][X & 3] >= (d >= 11.0f ? 8 : 4)) colour = 1;
            } else {
                const float fx = fracf(wx), fy = fracf(wy);
                const float t = 0.7f * (2.0f * d / (float)f.W);
                const bool edge = fx < t || fy < t;
                if (!(edge || std::fabs(fx - fy) < t || std::fabs(fx + fy - 1.0f) < t)) continue;
                if (edge && d < 2.5f) colour = 2;
                else if (BAYER4[row & 3][X & 3] >= level) colour = 1;
            }
            if (colour) {
                if (direct) line[X] = (uint8_t)colour;
                else screen_pixel(X, row, colour);
            }
        }
    }
}

// One see-through cell met by a column's ray.
struct SeeThrough {
    float entry, exit, u;
    int axis, x, y, face, glyph;
};

struct ColumnHit {
    bool hit;
    float depth, u;
    int glyph, axis, face, x, y;
    float ray_x, ray_y;
    int see_count;
    SeeThrough see[BILLBOARD_CLIP_MAX];
};
ColumnHit hits[FB_LONG];

// Casts the ray of column X across the map as frame f sees it: the wall it meets and the
// see-through cells on the way, nearest first.
void cast_column(const ViewFrame& f, int X, ColumnHit& out) {
    const float s = 2.0f * (float)(X - f.x0) / (float)f.W - 1.0f;
    const float rx = f.dir_x + f.plane_x * s, ry = f.dir_y + f.plane_y * s;
    out.ray_x = rx;
    out.ray_y = ry;
    out.hit = false;
    out.see_count = 0;
    int mx = (int)std::floor(f.cam.x), my = (int)std::floor(f.cam.y);
    const float ddx = rx == 0.0f ? NO_WALL : std::fabs(1.0f / rx);
    const float ddy = ry == 0.0f ? NO_WALL : std::fabs(1.0f / ry);
    const int sx = rx < 0.0f ? -1 : 1, sy = ry < 0.0f ? -1 : 1;
    float side_x = rx < 0.0f ? (f.cam.x - (float)mx) * ddx : ((float)mx + 1.0f - f.cam.x) * ddx;
    float side_y = ry < 0.0f ? (f.cam.y - (float)my) * ddy : ((float)my + 1.0f - f.cam.y) * ddy;
    for (int step = 0; step < 32; step++) {
        int axis;
        float entry;
        if (side_x < side_y) {
            entry = side_x;
            side_x += ddx;
            mx += sx;
            axis = 0;
        } else {
            entry = side_y;
            side_y += ddy;
            my += sy;
            axis = 1;
        }
        const int glyph = (unsigned char)gmap_at(mx, my);
        const int face = axis == 0 ? (sx > 0 ? 0 : 1) : (sy > 0 ? 2 : 3);
        const float along = axis == 0 ? f.cam.y + entry * ry : f.cam.x + entry * rx;
        if (f.shrine && shrine_billboard_height(glyph) > 0.0f) {
            if (out.see_count < BILLBOARD_CLIP_MAX)
                out.see[out.see_count++] = {entry, std::min(side_x, side_y), fracf(along), axis, mx, my, face, glyph};
            continue;
        }
        if (glyph_blocks(glyph)) {
            out.hit = true;
            out.depth = std::max(entry, 0.05f);
            out.u = fracf(along);
            out.glyph = glyph;
            out.axis = axis;
            out.face = face;
            out.x = mx;
            out.y = my;
            return;
        }
    }
}

}  // namespace

void view_draw_walls() {
    const ViewFrame& f = view_frame;
    int prev_x = 0, prev_y = 0, prev_axis = -1;
    for (int X = f.x0; X <= f.x1; X++) {
        if (X >= 0 && X < FB_LONG) billboard_clips.count[X] = 0;
        const ColumnHit& h = hits[X];
        if (h.hit) {
            const bool edge = X > f.x0 && prev_axis >= 0 && (h.x != prev_x || h.y != prev_y || h.axis != prev_axis);
            if (h.glyph == GLYPH_STAIRS)
                view_stairs_distance = std::hypot((float)h.x + 0.5f - f.cam.x, (float)h.y + 0.5f - f.cam.y) - 0.5f;
            draw_wall_column(ViewHit{h.x, h.y, h.face}, X, h.depth, h.glyph, h.axis, edge, h.u, h.ray_x, h.ray_y);
            prev_x = h.x;
            prev_y = h.y;
            prev_axis = h.axis;
        } else {
            prev_axis = -1;
        }
        for (int i = h.see_count - 1; i >= 0; i--) {
            const SeeThrough& s = h.see[i];
            draw_billboard(ViewHit{s.x, s.y, s.face}, X, s.entry, s.exit, s.glyph, s.axis, s.u, h.ray_x, h.ray_y);
        }
    }
}

void view_draw_floor_and_ceiling() {
    gather_shadows();
    draw_floor();
    draw_ceiling();
}

ViewScene view_scene_empty() {
    ViewScene s{};
    s.mimic_revealing = -1;
    s.chest_ticks = -1;
    s.bought_upgrade = -1;
    std::memset(s.pedestal_variant, -1, sizeof s.pedestal_variant);
    return s;
}

int32_t view_scene_chest_ticks(const ViewScene& s, int x, int y) {
    return s.chest_ticks >= 0 && s.chest_x == x && s.chest_y == y ? s.chest_ticks : -1;
}

int32_t view_scene_mimic_ticks(const ViewScene& s, int monster_index) {
    return monster_index >= 0 && monster_index == s.mimic_revealing ? s.mimic_ticks : -1;
}

void draw_dungeon_view(const ViewScene& scene) {
    perf_begin(ZONE_VIEW);
    ViewFrame& f = view_frame;
    const ScreenRect& v = screen_layout.view;
    f.scene = scene;
    f.shrine = scene.shrine;
    f.effects = settings.effects != 0;
    view_in_shrine = f.shrine ? 1 : 0;
    view_detail_look = f.shrine ? 1 : scene.training ? 0 : (current_floor / 10) % 2;
    const float t = (float)frame_counter;
    if (f.effects) {
        const float fl = 0.8f * std::sin(0.043f * t) + 0.5f * std::sin(0.131f * t + 1.7f) + 0.25f * std::sin(0.37f * t);
        view_flicker = fl > 0.7f ? 1 : fl < -0.7f ? -1 : 0;
    } else {
        view_flicker = 0;
    }
    f.cam = view_camera();
    f.dir_x = std::cos(f.cam.angle);
    f.dir_y = std::sin(f.cam.angle);
    f.plane_x = -f.dir_y;
    f.plane_y = f.dir_x;
    f.x0 = v.x0;
    f.y0 = v.y0;
    f.x1 = std::min(v.x1, FB_LONG - 1);
    f.y1 = v.y1;
    f.W = v.x1 - v.x0 + 1;
    f.H = v.y1 - v.y0 + 1;
    f.horizon = v.y0 + f.H / 2 + (int)f.cam.horizon_shift;
    f.ceiling = f.shrine ? 3.0f : 1.0f;
    view_horizon = f.horizon;
    view_eye_height = f.cam.eye;

    // Rays first, so the floor, the ceiling and its dots stay out of the wall strips.
    for (int X = 0; X < FB_LONG; X++) {
        depth_buffer[X] = NO_WALL;
        view_wall_top[X] = 1;
        view_wall_bottom[X] = 0;
    }
    for (int X = f.x0; X <= f.x1; X++) {
        cast_column(f, X, hits[X]);
        if (!hits[X].hit) continue;
        depth_buffer[X] = hits[X].depth;
        const float h = (float)f.H / hits[X].depth;
        const int bottom = std::min(f.y1, f.horizon + (int)(f.cam.eye * h));
        // A door's panel leaves bands open above and below it: the floor and ceiling show there.
        const int inset = wall_door_inset(hits[X].glyph, hits[X].u, h);
        view_wall_bottom[X] = (int16_t)std::max(bottom - inset, -30000);
        view_wall_top[X] = (int16_t)std::clamp(bottom - (int)(f.shrine ? 3.0f * h : h) + inset, -30000, 30000);
    }
    if (!view_detail_look) ceiling_dots();
    view_draw_floor_and_ceiling();
    view_draw_walls();
    perf_end(ZONE_VIEW);

    perf_begin(ZONE_SPRITES);
    view_gather_objects();
    view_draw_objects();
    perf_end(ZONE_SPRITES);
    particles_draw_motes();
    twinkles_draw();
    twinkles_draw2();
    vignette_build();
    if (!f.shrine) draw_held_items();
}
