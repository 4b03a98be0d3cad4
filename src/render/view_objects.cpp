// The things standing in the first-person view: gathered from a wedge of cells in front of the
// player, the shrine's fire objects and the monsters, sorted farthest first and drawn outlined,
// each hidden by the walls and see-through boxes in front of it.
#include <algorithm>
#include <cmath>

#include "dungeon/elite.h"
#include "dungeon/map.h"
#include "dungeon/monsters.h"
#include "items/item.h"
#include "world/player.h"
#include "render/blit.h"
#include "render/draw.h"
#include "render/fxfield.h"
#include "render/objects.h"
#include "render/particles.h"
#include "render/pictures.h"
#include "render/view.h"
#include "render/view_frame.h"
#include "dungeon/shrine_billboard.h"

ViewEntry view_objects[VIEW_OBJECT_MAX];
int32_t view_object_count = 0;

namespace {

// The object's place on screen: false when it is behind the camera or beyond a view width
// outside either edge.
bool place(float wx, float wy, float* depth, int* column) {
    const ViewFrame& f = view_frame;
    const float rx = wx - f.cam.x, ry = wy - f.cam.y;
    const float d = rx * f.dir_x + ry * f.dir_y;
    const float lateral = rx * f.plane_x + ry * f.plane_y;
    *depth = d;
    if (!(d > 0.05f)) return false;
    // Truncated before the view's left edge is added, so objects just left of a view that does
    // not start at column 0 land on the same column as elsewhere.
    const float off = (lateral / d + 1.0f) * (float)f.W / 2.0f;
    if (!(off >= (float)-f.W && off <= (float)(f.x1 - f.x0 + f.W))) return false;
    *column = f.x0 + (int)off;
    return true;
}

bool append(float depth, float test_depth, int column, int kind, int x, int y, int monster) {
    if (view_object_count >= VIEW_OBJECT_MAX) return false;
    view_objects[view_object_count++] = {depth, test_depth, column, kind, x, y, monster};
    return true;
}

bool wedge_kind(int g, bool shrine) {
    if (glyph_is_pickup(g) || g == GLYPH_CHEST || g == GLYPH_CHEST_OPEN) return true;
    return !shrine && (g == GLYPH_URN || g == 'F' || g == GLYPH_SOUL_FIRE);
}

int floor_row(float depth) {
    const ViewFrame& f = view_frame;
    return f.horizon + (int)(f.cam.eye * (float)f.H / (std::max(depth, 0.3f) + 0.3f));
}

uint8_t object_mask[FB_LONG];
int16_t object_clip[FB_LONG];

}  // namespace

// Hides the object where a wall stands in front of it and outside the view, and clips it at the top
// row of the nearest see-through box in front of it: a nearer box hides what a farther one shows.
void view_object_clip_set(float test_depth) {
    const ViewFrame& f = view_frame;
    for (int X = 0; X < FB_LONG; X++) {
        if (X < f.x0 || X > f.x1) {
            object_mask[X] = 1;
            object_clip[X] = 0;
            continue;
        }
        object_mask[X] = depth_buffer[X] < test_depth ? 1 : 0;
        int16_t clip = (int16_t)(f.y1 + 1);
        float nearest = 1e30f;
        for (int i = 0; i < billboard_clips.count[X]; i++)
            if (billboard_clips.depth[X][i] < test_depth && billboard_clips.depth[X][i] < nearest) {
                nearest = billboard_clips.depth[X][i];
                clip = billboard_clips.top[X][i];
            }
        object_clip[X] = clip;
    }
    screen_set_column_mask(object_mask);
    screen_set_column_clip(object_clip);
}

namespace {

// The four dark passes and the plain one that outline an object.
template <typename Draw>
void outlined(Draw draw) {
    static const int OX[5] = {-1, 1, 0, 0, 0}, OY[5] = {0, 0, -1, 1, 0};
    for (int p = 0; p < 5; p++) {
        screen_set_offset(OX[p], OY[p], p < 4 ? 0 : -1);
        sprite_scaled_reuse = p > 0 ? 1 : 0;
        draw();
    }
    sprite_scaled_reuse = 0;
    screen_set_offset(0, 0, -1);
}

void draw_brazier(const ViewEntry& e, int x) {
    const ViewFrame& f = view_frame;
    const float S = (float)f.H / std::max(e.depth, 0.3f);
    const int w = (int)(0.26f * S), v = (int)(0.34f * S);
    if (w <= 2 || v <= 3) return;
    const bool lit = e.cell_x >= 0 && e.cell_x < MAP_W && e.cell_y >= 0 && e.cell_y < MAP_H &&
                     f.scene.brazier_lit[e.cell_y][e.cell_x] != 0;
    const int c = lit ? 3 : 1;
    const int T = f.horizon + (int)(f.cam.eye * S) - (int)(0.35f * S) - v / 6 - 1;
    const int n = v - v / 4 - v / 6 - 1;
    screen_fill_rect(x - 3 * w / 8, T, 3 * w / 4 + 1, v / 6 + 1, c);
    screen_fill_rect(x - (w / 8 + 1) / 2, T - v / 4, w / 8 + 1, v / 4, c);
    for (int i = 1; i <= n; i++) {
        int h = (int)(std::sqrt((float)i / (float)n) * (float)w / 2.0f);
        if (h < 2) h = 1;
        const int row = T - v / 4 - i;
        screen_hline(x - h, row, 2 * h + 1, c);
        if (!lit) {
            screen_pixel(x - h, row, 2);
            screen_pixel(x + h, row, 2);
        } else if (n / 4 < i - 1 && i - 1 < n - 1) {
            screen_pixel(x - h / 2, row, 2);
        }
    }
    screen_hline(x - w / 2 - 1, T - v / 4 - n, w + 3, 2);
    if (!lit) screen_hline(x - 3 * w / 8, T, 3 * w / 4 + 1, 2);
}

void draw_fire_stand(const ViewEntry& e, int x) {
    const float S = (float)view_frame.H / (std::max(e.depth, 0.3f) + 0.3f);
    const int w = (int)(0.3f * S);
    const int f = floor_row(e.depth);
    const int top = f - (int)(0.55f * S);
    screen_vline(x, top, f - top + 1, 2);
    screen_line(x, f - 2, x - w / 3, f, 2);
    screen_line(x, f - 2, x + w / 3, f, 2);
    screen_fill_rect(x - w / 2, top - 2, w, 3, 2);
    screen_hline(x - w / 2 - 1, top - 3, w + 2, 3);
    const int fh = (int)(0.34f * S);
    if (w <= 1 || fh <= 1) return;
    // The flame: a tapering tongue that sways and flickers by its cell and the frame.
    const uint32_t g = cell_hash(e.cell_x, e.cell_y);
    const float t = (float)frame_counter;
    for (int i = 0; i < fh; i++) {
        const float up = (float)i / (float)fh;
        const float sway = std::sin(0.21f * t + 4.0f * up + (float)(g & 7u)) * up * (float)w * 0.2f;
        const float flick = 0.85f + 0.15f * std::sin(0.5f * t + (float)(g >> 8 & 15u) + 9.0f * up);
        const int half = (int)((1.0f - up) * (float)w * 0.5f * flick);
        const int cx = x + (int)sway, row = top - 4 - i;
        if (half < 1 && i > 0) break;
        screen_hline(cx - half, row, 2 * half + 1, up > 0.6f ? 2 : 3);
        if (half >= 2 && up < 0.5f) screen_hline(cx - half / 2, row, half + 1, 3);
    }
}

// Urns and their shards share the picture of the skulls, scaled by distance.
void draw_urn(const ViewEntry& e, int x, int f) {
    const Image* pic = item_sprite_for_glyph(GLYPH_URN);
    const float s = std::clamp(2.0f / std::max(e.depth, 0.4f), 0.4f, 2.5f);
    int w = 12, h = 8;
    if (pic) {
        const int p = pic->density > 1 ? pic->density : 1;
        w = (int)std::lround((float)pic->w / (float)p * s);
        h = (int)std::lround((float)pic->h / (float)p * s);
    }
    const uint32_t g = cell_hash(e.cell_x, e.cell_y);
    const int t = frame_counter;
    if (e.kind == GLYPH_URN) {
        if (pic) outlined([&] { sprite_draw_at_scale(pic, x, f, s); });
        if (!view_frame.effects) return;
        const uint32_t v0 = g * 0x9E3779B1u;
        const uint32_t vs[3] = {v0, v0 ^ 0x85EBCA77u, v0 ^ 0x0BD794EEu};
        for (int k = 0; k < 3; k++) {
            const uint32_t q = hash_mix(vs[k]);
            const int P = (int)(q % 30u) + 50;
            const int ph = (int)(((q >> 8) + (uint32_t)t) % (uint32_t)P);
            const int sx = x - w / 3 + (int)((q >> 16) % (uint32_t)(2 * w / 3 + 1)) +
                           (int)(1.5f * std::sin(0.15f * (float)ph + (float)k));
            const int sy = f - h / 3 - ph * (h + 6) / P;
            screen_pixel(sx, sy, ph < 86 * P / 256 ? 3 : ph < 2 * P / 3 ? 2 : 1);
        }
        for (int i = 1; i <= h / 2 + 2; i++) {
            if ((t / 6 + i) % 4 == 0) continue;
            const float a = 0.04f * (float)t + 0.35f * (float)i + (float)(g % 8u);
            screen_pixel(x + (int)((0.15f * (float)i + 1.0f) * std::sin(a)), f - h - i, 1);
        }
        return;
    }
    // Shards of a broken urn, fading out before the marker is dropped.
    const int a = marker_age_at(e.cell_x, e.cell_y);
    if (a < 0) return;
    static const Anim* skulls = [] {
        const SpriteEntry* se = sprite_find("skulls");
        return se ? se->anim : nullptr;
    }();
    if (skulls && skulls->count > 0) {
        const int frame = std::min(a / std::max(1, skulls->ticks_per_frame), skulls->count - 1);
        if (a > 56) screen_set_dither((17 * a - 952) / 16);
        const int level = draw_dither_level;
        outlined([&] {
            screen_set_dither(level);
            sprite_draw_at_scale(&skulls->frames[frame], x, f, s);
        });
        screen_set_dither(0);
    }
    if (a < 65) {
        const int spread = w * a / 144 + w / 2;
        for (int i = -spread; i <= spread; i += 2) {
            if ((i / 2 + a) % 4 == 0) continue;
            int row = ((g >> (i & 15)) & 1u) ? f - 2 : f - 1;
            if (a < 10) row--;
            screen_pixel(x + i, row, 1);
        }
    }
}

void draw_drip(const ViewEntry& e, int x, int f) {
    const uint32_t h = cell_hash(e.cell_x, e.cell_y);
    const int t = (int)((h + (uint32_t)frame_counter) % (h % 60u + 110u));
    if (t < 34) {
        const int c = 2 * view_frame.horizon - f;
        const float k = (float)t / 34.0f;
        const int y = c + (int)((float)(f - c) * k * k);
        screen_pixel(x, y, 2);
        if (e.depth < 2.5f) screen_pixel(x, y - 1, 1);
    } else if (t < 40) {
        const int j = (t - 34) / 2 + 1;
        screen_pixel(x - j, f - 1, 1);
        screen_pixel(x + j, f - 1, 1);
        if (t < 36) screen_pixel(x, f - 2, 2);
    }
}

void draw_entry(const ViewEntry& e) {
    const ViewFrame& f = view_frame;
    const int x = e.column;
    if (e.kind == GLYPH_MIMIC) {
        const Monster& m = monsters.list[e.monster];
        const float d = m.type == M_DRAGON ? e.depth - 0.5f : e.depth;
        const ViewObject obj = {x, floor_row(d), e.depth};
        if (m.type == M_MIMIC) {
            if (!mimic_is_revealed(m))
                outlined([&] { draw_floor_object(GLYPH_CHEST, obj, e.cell_x, e.cell_y); });
            else
                outlined([&] { draw_mimic(obj, e.monster, e.cell_x, e.cell_y); });
        } else {
            const bool elite = monster_is_elite(e.monster);
            outlined([&] { draw_monster(m.type, obj, elite); });
        }
        return;
    }
    const int fr = floor_row(e.depth);
    switch (e.kind) {
        case GLYPH_SOUL_FIRE: {
            const float S = (float)f.H / std::max(e.depth, 0.3f);
            const float g = shrine_billboard_height(GLYPH_SOUL_FIRE) > 0.0f ? shrine_billboard_height(GLYPH_SOUL_FIRE) : 1.3f;
            const int bottom = f.horizon + (int)(f.cam.eye * S) - (int)((g - 0.04f) * S) + 1;
            fxfield_draw_columns(6, x, bottom, 0.85f * S / 32.0f);
            break;
        }
        case GLYPH_BRAZIER: draw_brazier(e, x); break;
        case 'F': draw_fire_stand(e, x); break;
        case GLYPH_URN:
        case 'r': draw_urn(e, x, fr); break;
        case 'd': draw_drip(e, x, fr); break;
        default: {
            const ViewObject obj = {x, fr, e.depth};
            outlined([&] { draw_floor_object(e.kind, obj, e.cell_x, e.cell_y); });
            break;
        }
    }
}

}  // namespace

void view_gather_objects() {
    const ViewFrame& f = view_frame;
    view_object_count = 0;
    int fx, fy;
    facing_vector(player.facing, &fx, &fy);
    const int px = -fy, py = fx;  // across the line of sight
    for (int ahead = 4; ahead >= 1; ahead--)
        for (int j = -ahead; j <= ahead; j++) {
            const int cx = player.x + fx * ahead + px * j, cy = player.y + fy * ahead + py * j;
            const int g = (unsigned char)gmap_at(cx, cy);
            float depth;
            int column;
            if (!place((float)cx + 0.5f, (float)cy + 0.5f, &depth, &column)) continue;
            int kind = 0;
            if (wedge_kind(g, f.shrine)) {
                kind = g;
            } else if (f.effects && g == GLYPH_FLOOR) {
                const uint32_t n = view_detail_look ? 4u : 11u;
                if (cell_hash(cx + 97 * current_floor, cy) % n == 0) kind = 'd';
            }
            if (kind) append(depth, depth, column, kind, cx, cy, -1);
            if (marker_age_at(cx, cy) >= 0) append(depth, depth, column, 'r', cx, cy, -1);
        }
    if (f.shrine)
        for (int y = 0; y < MAP_H; y++)
            for (int x = 0; x < MAP_W; x++) {
                const int g = (unsigned char)gmap[y][x];
                if (g != 'F' && g != GLYPH_BRAZIER && g != GLYPH_SOUL_FIRE && g != GLYPH_URN) continue;
                float depth;
                int column;
                if (!place((float)x + 0.5f, (float)y + 0.5f, &depth, &column)) continue;
                if (depth < 0.3f || depth > 14.0f) continue;
                append(depth, depth, column, g, x, y, -1);
            }
    for (int i = 0; i < monsters.count && i < MAX_MONSTERS; i++) {
        const Monster& m = monsters.list[i];
        int x0, y0, w, h;
        monster_footprint(m, &x0, &y0, &w, &h);
        const float wx = (float)x0 + (float)w / 2.0f + (m.draw_x - ((float)m.x + 0.5f));
        const float wy = (float)y0 + (float)h / 2.0f + (m.draw_y - ((float)m.y + 0.5f));
        float depth;
        int column;
        if (!place(wx, wy, &depth, &column)) continue;
        const int side = std::max(w, h);
        const float test = depth - (side > 1 ? (float)side / 2.0f : 0.0f);
        append(depth, test, column, GLYPH_MIMIC, m.x, m.y, i);
    }
    // Farthest first; equal depths keep their gathering order.
    for (int i = 1; i < view_object_count; i++) {
        const ViewEntry e = view_objects[i];
        int j = i - 1;
        while (j >= 0 && e.depth > view_objects[j].depth) {
            view_objects[j + 1] = view_objects[j];
            j--;
        }
        view_objects[j + 1] = e;
    }
}

void view_draw_objects() {
    for (int i = 0; i < view_object_count; i++) {
        const ViewEntry& e = view_objects[i];
        view_object_clip_set(e.test_depth);
        draw_entry(e);
        screen_set_column_mask(nullptr);
        screen_set_column_clip(nullptr);
    }
}
