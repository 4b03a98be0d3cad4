// One wall strip of the first-person view: the face's look by glyph, light by dither, the wall
// torch and ornaments of stone faces and the outline of every strip.
#include <algorithm>
#include <cmath>
#include <cstddef>

#include "dungeon/map.h"
#include "render/fxfield.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "render/view.h"
#include "render/view_shade.h"
#include "render/view_frame.h"

namespace {

// Joint widths across and down the face, each at least about a pixel where the strip is drawn.
struct Mortar {
    float u, v;
};

const Image* face_picture(const char* name) { return sprite_entry_image(sprite_find(name), 0); }

// Stone: 2, mortar and cracks 1.
int stone_texel(const ViewHit& hit, float u, float v, Mortar mortar) {
    return brick_pattern_at(hit, u, v, mortar.u, mortar.v) == 0 ? 2 : 1;
}

// Stairs down: a dark doorway with steps sinking into it, lit at the front.
int stairs_texel(const ViewHit& hit, float u, float v, Mortar mortar) {
    if (u < 0.12f || u > 0.88f || v < 0.12f) return stone_texel(hit, u, v, mortar);
    if (u < 0.16f || u > 0.84f || v < 0.16f) return 3;
    const int step = (int)((v - 0.16f) / 0.14f);
    const float inset = 0.06f * (float)(5 - std::min(step, 5));
    if (u < 0.16f + inset || u > 0.84f - inset) return 0;
    const float in_step = (v - 0.16f) - 0.14f * (float)step;
    if (in_step < 0.03f) return step >= 3 ? 2 : 1;
    return 0;
}

// Door: vertical planks in a stone frame with iron bands and a ring.
int door_texel(float u, float v) {
    if (u < 0.14f || u > 0.86f) return (u < 0.08f || u > 0.92f) ? 1 : 3;
    if (std::fabs(v - 0.25f) < 0.03f || std::fabs(v - 0.75f) < 0.03f) return 1;
    const float ru = u - 0.72f, rv = v - 0.5f;
    if (std::fabs(ru * ru + rv * rv - 0.0025f) < 0.0015f) return 3;
    const float plank = (u - 0.14f) / 0.18f;
    return plank - std::floor(plank) < 0.1f ? 1 : 2;
}

// Cracked wall: bricks with a jagged dark split down the middle.
int cracked_texel(const ViewHit& hit, float u, float v, Mortar mortar) {
    const float split = 0.5f + 0.12f * std::sin(v * 17.0f) + 0.05f * std::sin(v * 41.0f);
    if (std::fabs(u - split) < 0.025f + mortar.u) return 0;
    if (std::fabs(u - split) < 0.05f + mortar.u) return 1;
    return stone_texel(hit, u, v, mortar);
}

// Hollow wall: bricks of a lighter, looser kind with wider joints.
int hollow_texel(const ViewHit& hit, float u, float v, Mortar mortar) {
    const int c = brick_pattern_at(hit, u, v, mortar.u * 2.0f, mortar.v * 2.0f);
    return c == 0 ? 2 : (c == 2 ? 1 : 0);
}

// Decorated faces: a hanging banner ("N"), a carved window ("W").
int banner_texel(const ViewHit& hit, float u, float v, Mortar mortar) {
    if (u > 0.3f && u < 0.7f && v > 0.08f) {
        const float point = 0.85f - 0.1f * (1.0f - std::fabs(u - 0.5f) / 0.2f);
        if (v < point) {
            if (v < 0.11f) return 3;
            const float du = u - 0.5f, dv = v - 0.4f;
            if (du * du + dv * dv < 0.006f) return 3;
            return (u < 0.32f || u > 0.68f) ? 2 : 1;
        }
    }
    return stone_texel(hit, u, v, mortar);
}

int window_texel(const ViewHit& hit, float u, float v, Mortar mortar) {
    const float du = u - 0.5f, dv = v - 0.42f;
    if (std::fabs(du) < 0.16f && v > 0.22f && v < 0.7f) {
        if (dv < -0.08f && du * du + (dv + 0.08f) * (dv + 0.08f) > 0.0256f) return stone_texel(hit, u, v, mortar);
        if (std::fabs(du) < 0.015f || std::fabs(v - 0.5f) < 0.015f) return 1;
        return 0;
    }
    if (std::fabs(du) < 0.19f && v > 0.18f && v < 0.74f) return 3;
    return stone_texel(hit, u, v, mortar);
}

// The "K" face: the case picture with its compartments rimmed in light; in the shrine each
// compartment shows the weapon the scene puts in it, fitted and centred.
int case_texel(const ViewHit& hit, float u, float v) {
    const ViewScene& scene = view_frame.scene;
    const bool in_map = hit.x >= 0 && hit.y >= 0 && hit.x < MAP_W && hit.y < MAP_H;
    const int set = in_map ? scene.pedestal_variant[hit.y][hit.x] : -1;
    const int variant = set >= 0 ? set : (int)(cell_hash(hit.x, hit.y) & 1u);
    const int x = (int)(u * 64.0f), y = (int)(v * 64.0f);
    for (int i = 0; i < 4; i++) {
        DecalRect r;
        if (!decal_atlas_rect(GLYPH_PEDESTAL, variant, i, &r)) continue;
        const int x0 = (int)((r.u - r.w / 2) * 64.0f), x1 = (int)((r.u + r.w / 2) * 64.0f) - 1;
        const int y0 = (int)((1.0f - r.v - r.h / 2) * 64.0f), y1 = (int)((1.0f - r.v + r.h / 2) * 64.0f) - 1;
        if (x < x0 || x > x1 || y < y0 || y > y1) continue;
        if (x == x0 || x == x1 || y == y0 || y == y1) return 3;
        const int id = set >= 0 ? scene.pedestal_items[hit.y][hit.x][i] : 0;
        if (const Image* pic = id ? item_sprite(id) : nullptr) {
            // Fit the picture inside the rim, keeping its shape.
            const float bw = (float)(x1 - x0 - 1), bh = (float)(y1 - y0 - 1);
            const float scale = std::min(bw / (float)pic->w, bh / (float)pic->h);
            const float pw = (float)pic->w * scale, ph = (float)pic->h * scale;
            const float px = (u * 64.0f - (float)(x0 + 1) - (bw - pw) / 2) / pw;
            const float py = (v * 64.0f - (float)(y0 + 1) - (bh - ph) / 2) / ph;
            if (px >= 0 && px < 1 && py >= 0 && py < 1) {
                const int t = sample_texture(pic, px, py);
                if (t) return t;
            }
        }
        return sample_texture(face_picture("shrine_case_back"), u, v) ? 1 : 0;
    }
    return sample_texture(face_picture("shrine_case"), u, v);
}

// The "E" faces continue over runs of up to 8 cells: u over the whole run.
float long_face_u(const ViewHit& hit, float u) {
    // Step toward the cells that stand left of this one on screen; on the mirrored faces (1 and 2)
    // that is the way of growing coordinates.
    const int way = (hit.face == 1 || hit.face == 2) ? -1 : 1;
    int dx = 0, dy = 0;
    if (hit.face < 2) dy = way; else dx = way;
    int before = 0, total = 1;
    while (before < 7 && gmap_at(hit.x - dx * (before + 1), hit.y - dy * (before + 1)) == GLYPH_DOOR_WALL)
        before++;
    total = before + 1;
    while (total < 8 && gmap_at(hit.x + dx * (total - before), hit.y + dy * (total - before)) == GLYPH_DOOR_WALL)
        total++;
    return ((float)before + u) / (float)total;
}

int exit_texel(float u, float v) { return fxfield_sample(4, u, v); }

int face_texel(const ViewHit& hit, int glyph, float u, float v, Mortar mortar) {
    switch (glyph) {
        case GLYPH_DOOR: return door_texel(u, v);
        case GLYPH_STAIRS: return stairs_texel(hit, u, v, mortar);
        case GLYPH_CRACKED: return cracked_texel(hit, u, v, mortar);
        case GLYPH_HOLLOW: return hollow_texel(hit, u, v, mortar);
        case GLYPH_PEDESTAL: return case_texel(hit, u, v);
        case GLYPH_STATUE: return sample_texture(face_picture("shrine_statue"), u, v);
        case GLYPH_BONE_WALL:
            if (view_in_shrine) {
                const int t = wall_decal_texel((int)(u * 64.0f), (int)(v * 64.0f));
                if (t >= 0) return t ? t : 0;
                if (t == -2) return 1;
                return sample_texture(face_picture("shrine_bones"), u, v);
            }
            return stone_texel(hit, u, v, mortar);
        case GLYPH_CASE_SHELF:
            return view_in_shrine ? sample_texture(face_picture("shrine_cases"), u, v)
                                  : stone_texel(hit, u, v, mortar);
        case GLYPH_BANNER_WALL: return view_in_shrine ? sample_texture(face_picture("shrine_banner"), u, v)
                                        : banner_texel(hit, u, v, mortar);
        case GLYPH_STATUE_WALL: return view_in_shrine ? sample_texture(face_picture("shrine_statue_fig"), u, v)
                                        : window_texel(hit, u, v, mortar);
        case GLYPH_DOOR_WALL: return sample_texture(face_picture("shrine_door"), long_face_u(hit, u), v);
        case GLYPH_EXIT: {
            // The exit: a stone arch round the flames.
            if (u < 0.1f || u > 0.9f || v < 0.08f) return stone_texel(hit, u, v, mortar);
            if (u < 0.14f || u > 0.86f || v < 0.12f) return 3;
            return exit_texel((u - 0.14f) / 0.72f, (v - 0.12f) / 0.88f);
        }
        default: return stone_texel(hit, u, v, mortar);
    }
}

// Whether a face is drawn as plain stone bricks and nothing else.
bool face_is_stone(int glyph) {
    switch (glyph) {
        case GLYPH_DOOR: case GLYPH_STAIRS: case GLYPH_CRACKED: case GLYPH_HOLLOW: case GLYPH_PEDESTAL:
        case GLYPH_STATUE: case GLYPH_BANNER_WALL: case GLYPH_STATUE_WALL: case GLYPH_DOOR_WALL: case GLYPH_EXIT:
            return false;
        case GLYPH_BONE_WALL: case GLYPH_CASE_SHELF: return !view_in_shrine;
        default: return true;
    }
}

// The colour of row y of a wall strip: the face's texel, then the torch or the ornament over it.
int strip_texel(const ViewHit& hit, int glyph, int y, int column, float u, float face_h, int full_top, Mortar mortar,
                bool torch, bool ornament, float px_u, bool detail, float torch_radius) {
    float v = face_h > 0 ? (float)(y - full_top) / face_h : 0.0f;
    // The shrine's walls are three units high: their bricks and pictures repeat up the face, but
    // the great door's picture stands once over the whole height.
    if (view_in_shrine && glyph != GLYPH_DOOR_WALL) v = v * 3.0f - std::floor(v * 3.0f);
    int c = face_texel(hit, glyph, u, v, mortar);
    if (torch) {
        const float du = std::fabs(u - 0.5f);
        const float bracket = px_u / 2.0f + (detail ? 0.09f : 0.11f);
        const float flick = 0.02f * std::sin(0.3f * (float)frame_counter + 7.0f * v);
        if (du < bracket * 0.35f && v > 0.4f && v < 0.62f) c = 1;  // the stem
        else if (du < bracket && v >= 0.38f && v < 0.42f) c = 1;   // the cup
        else if (v < 0.38f && v > 0.16f + flick && du < (0.38f - v) * 0.35f + 0.01f)
            c = (du < (0.38f - v) * 0.15f) ? 3 : 2;                 // the flame
        else {
            const float radius = torch_radius;
            const float dv = v - 0.34f;
            const float d = std::sqrt(du * du + dv * dv);
            if (d < radius && c < 2) {
                const int need = (int)(16.0f * d / radius);
                if (BAYER4[y & 3][column & 3] >= need) c = 2;
            }
        }
    } else if (ornament) {
        // A small iron ring on a plate.
        const float du = u - 0.5f, dv = v - 0.45f;
        const float d2 = du * du + dv * dv;
        if (std::fabs(du) < 0.05f && std::fabs(v - 0.36f) < 0.03f) c = 1;
        else if (std::fabs(d2 - 0.004f) < 0.0018f) c = 3;
    }
    return c;
}

}  // namespace

int wall_door_inset(int glyph, float u, float h) {
    return glyph == GLYPH_DOOR && u >= 0.14f && u <= 0.86f ? (int)(h / 16.0f) : 0;
}

void draw_wall_column(const ViewHit& hit, int column, float depth, int glyph, int axis, bool edge, float u,
                      float ray_x, float ray_y) {
    const ScreenRect& r = screen_layout.view;
    if (column < r.x0 || column > r.x1) return;
    const int W = r.x1 - r.x0 + 1, H = r.y1 - r.y0 + 1;
    const float x = std::max(depth, 0.05f);
    const float h = (float)H / x;
    const int bottom = std::min(r.y1, view_horizon + (int)(view_eye_height * h));
    const int full_top = bottom - (int)(view_in_shrine ? 3.0f * h : h);
    int top = std::max(r.y0, full_top);
    int draw_top = top, draw_bottom = bottom;
    if (const int inset = wall_door_inset(glyph, u, h)) {
        draw_top = std::max(r.y0, full_top + inset);
        draw_bottom = bottom - inset;
    }
    if (hit.face == 1 || hit.face == 2) u = 1.0f - u;
    const float face_h = (float)(bottom - full_top);
    // A joint narrower than a pixel drops out in some columns and rows and the bricks break up into
    // dashes. Down the face a pixel is 1 / h; across it, a column spans 2 depth / (W |ray|) of the
    // face, the ray's component across the face's grid line, which grows as the wall turns away.
    const float ray_across = std::fabs(axis == 0 ? ray_x : ray_y);
    const float column_u = 2.0f * depth / ((float)W * std::max(ray_across, 0.05f));
    const Mortar mortar{std::clamp(column_u, 0.012f, 0.08f), std::max(0.012f, 1.0f / std::max(h, 1.0f))};
    const bool detail = view_detail_look != 0;

    // Decorations of plain stone faces.
    bool torch = false, ornament = false;
    if (glyph == GLYPH_WALL) {
        const uint32_t cx = (uint32_t)hit.x, cy = (uint32_t)hit.y, f = (uint32_t)hit.face;
        torch = hash_mix((cy * 0xA9728941u + 0x91C35F65u) ^ ((4u * cx + f) * 0x9E3779B1u)) % 9u == 0;
        if (!torch)
            ornament = hash_mix((cy * 0xC121B31Du + 0x9D9AF453u) ^
                                ((4u * cx + f) * 0x9E3779B1u + 0xD1B76C81u)) % 7u == 0 &&
                       std::fabs(u - 0.5f) < 2.0f * depth / (float)W + 0.25f;
    }
    const float px_u = 2.0f * depth / (float)W;
    // The glow round a torch breathes with the frame count alone.
    const float torch_radius = !torch ? 0.0f
                                      : (detail ? 0.27f : 0.36f) + 0.02f * std::sin(0.11f * (float)frame_counter) +
                                            0.015f * std::sin(0.37f * (float)frame_counter);
    const int level = distance_shade_level(depth, axis);
    screen_set_dither(level);
    // With no offset, colour override, mask or clip in force, the dither is all that stands
    // between a texel and the framebuffer: the strip is written directly, rows the dither drops
    // unsampled where the face is plain stone.
    const bool direct =
        !draw_column_mask && !draw_column_clip && screen_box_direct(column, draw_top, column, draw_bottom);
    if (direct) {
        bool shown[4];
        for (int k = 0; k < 4; k++) shown[k] = draw_dither_level == 0 || BAYER4[k][column & 3] >= draw_dither_level;
        const int stride = screen_layout.width;
        uint8_t* p = framebuffer + (std::ptrdiff_t)draw_top * stride + column;
        if (!torch && !ornament && face_is_stone(glyph)) {
            BrickColumn bricks;
            brick_column_prepare(&bricks, hit, u, mortar.u, mortar.v);
            for (int y = draw_top; y <= draw_bottom; y++, p += stride) {
                if (!shown[y & 3]) continue;
                float v = face_h > 0 ? (float)(y - full_top) / face_h : 0.0f;
                if (view_in_shrine) v = v * 3.0f - std::floor(v * 3.0f);
                *p = brick_column_at(bricks, v) == 0 ? 2 : 1;
            }
        } else {
            for (int y = draw_top; y <= draw_bottom; y++, p += stride) {
                const int c = strip_texel(hit, glyph, y, column, u, face_h, full_top, mortar, torch, ornament, px_u,
                                          detail, torch_radius);
                if (c > 0 && shown[y & 3]) *p = (uint8_t)c;
            }
        }
    } else {
        for (int y = draw_top; y <= draw_bottom; y++) {
            const int c =
                strip_texel(hit, glyph, y, column, u, face_h, full_top, mortar, torch, ornament, px_u, detail,
                            torch_radius);
            if (c > 0) screen_pixel(column, y, c);
        }
    }
    screen_set_dither(0);
    if (top >= r.y0 && top <= r.y1) screen_pixel(column, top, 2);
    if (bottom >= r.y0 && bottom <= r.y1) screen_pixel(column, bottom, 2);
    if (edge && glyph != GLYPH_DOOR_WALL)
        for (int y = top; y <= bottom; y++) screen_pixel(column, y, 2);
}
