// Light as dither, texture sampling, the brick pattern, decal places, the vignette and floor rows.
#include "render/view_shade.h"
#include "world/glyphs.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "render/pictures.h"
#include "render/screen.h"
#include "render/view.h"
#include "saves/settings.h"

int distance_shade_level(float d, int kind) {
    if (view_in_shrine) {
        int level = d < 5.0f ? 0 : (d < 9.0f ? 3 : 6);
        if (kind == 1 && d >= 5.0f) level += 2;
        return level;
    }
    int level = d < 2.0f ? 0 : d < 3.5f ? 3 : d < 5.5f ? 6 : d < 8.0f ? 9 : 12;
    if (kind == 1) level += 3;
    if (level == 0) return 0;
    return std::clamp(level + view_flicker, 0, 12);
}

int sample_texture(const Image* img, float u, float v) {
    if (!img || !img->pixels || img->w < 1 || img->h < 1) return 0;
    const int c = std::clamp((int)(u * (float)img->w), 0, img->w - 1);
    const int r = std::clamp((int)(v * (float)img->h), 0, img->h - 1);
    return img->pixels[(size_t)r * img->w + c];
}

void brick_column_prepare(BrickColumn* out, const ViewHit& hit, float u, float mortar_u, float mortar_v) {
    BrickColumn& b = *out;
    b.detail = view_detail_look != 0;
    b.mortar_v = mortar_v;
    b.mortar_v2 = 2.0f * mortar_v;
    b.mortar_v7 = 7.0f * mortar_v;
    if (!b.detail) {
        // Odd courses are shifted by half a brick; whether u falls on a joint depends on that alone.
        for (int odd = 0; odd < 2; odd++) {
            const float a = 3.0f * u + (odd ? 0.5f : 0.0f);
            const float frac_a = a - std::floor(a);
            b.joint_of_parity[odd] = frac_a < 3.0f * mortar_u;
        }
        return;
    }
    // The courses and joints of a face depend on its cell and side alone, and the columns of a wall
    // strip meet the same face one after another: they are worked out once per face met.
    struct FaceBricks {
        int32_t x, y, face;
        bool valid;
        float bounds[4];
        uint32_t m[5];
    };
    static FaceBricks last = {};
    if (!last.valid || last.x != hit.x || last.y != hit.y || last.face != hit.face) {
        const uint32_t cx = (uint32_t)hit.x, cy = (uint32_t)hit.y;
        const uint32_t g = hash_mix((cy * 0xA9728941u + 0x85EBCA77u) ^ ((4u * cx + (uint32_t)hit.face) * 0x9E3779B1u));
        for (int i = 0; i < 4; i++) {
            const int n = (int)((g >> (4 + 4 * i)) & 15u);
            last.bounds[i] = 0.2f * (float)(i + 1) + ((float)n - 7.5f) * 0.008f;
        }
        static const uint32_t K[5] = {0xC121B31Du, 0x470D7D94u, 0xCCF9480Bu, 0x52E51282u, 0xD8D0DCF9u};
        for (int i = 0; i < 5; i++) last.m[i] = hash_mix(K[i] ^ (g * 0x9E3779B1u));
        last.x = hit.x;
        last.y = hit.y;
        last.face = hit.face;
        last.valid = true;
    }
    for (int i = 0; i < 4; i++) b.bounds[i] = last.bounds[i];
    // Down one column u is fixed: whether it meets a course's joints is known per course.
    for (int i = 0; i < 5; i++) {
        const uint32_t m = last.m[i];
        const float j1 = 0.15f + 0.003f * (float)(m % 100u);
        bool joint = std::fabs(u - j1) < mortar_u / 2.0f;
        if (!joint && (m & (1u << 16))) {
            const float j2 = j1 + 0.28f + 0.0025f * (float)((m >> 8) % 100u);
            joint = j2 < 0.95f && std::fabs(u - j2) < mortar_u / 2.0f;
        }
        b.joint[i] = joint;
        b.crack[i] = !(m & (1u << 17)) && !(m & (1u << 18));
    }
}

int brick_pattern_at(const ViewHit& hit, float u, float v, float mortar_u, float mortar_v) {
    // The callers walk down a column: the column's bricks are kept while face, u and joints stay.
    struct ColumnKey {
        int32_t x, y, face, detail;
        float u, mortar_u, mortar_v;
        bool valid;
    };
    static ColumnKey key = {};
    static BrickColumn column = {};
    const int32_t detail = view_detail_look != 0;
    if (!key.valid || key.x != hit.x || key.y != hit.y || key.face != hit.face || key.detail != detail ||
        !(key.u == u) || !(key.mortar_u == mortar_u) || !(key.mortar_v == mortar_v)) {
        brick_column_prepare(&column, hit, u, mortar_u, mortar_v);
        key = {hit.x, hit.y, hit.face, detail, u, mortar_u, mortar_v, true};
    }
    return brick_column_at(column, v);
}

// The bones face shows twelve compartments in four columns and three bands: the eight monster
// kinds, then four weapons. A compartment whose picture is missing stays shut.
static const Image* decal_picture(int index) {
    if (index < 8) return monster_sprite(index + 1);
    static const int WEAPONS[4] = {1, 2, 9, 10};
    return item_sprite(WEAPONS[index - 8]);
}

int wall_decal_texel(int x, int y) {
    int band = -1;
    for (int b = 0; b < 3; b++)
        if (y >= 3 + 20 * b && y < 20 + 20 * b) band = b;
    if (band < 0) return -1;
    const int col = (x - 3) / 15;
    if (x < 3 || col > 3 || x - 3 - 15 * col >= 13) return -1;
    const Image* im = decal_picture(band * 4 + col);
    if (!im || im->w < 1 || im->h < 1) return -2;
    const float scale = std::min(13.0f / (float)im->w, 17.0f / (float)im->h);
    const int dw = std::max(1, (int)((float)im->w * scale));
    const int dh = std::max(1, (int)((float)im->h * scale));
    const int lx = x - (3 + 15 * col) - (13 - dw) / 2;
    const int ly = y - (3 + 20 * band) - (17 - dh);
    if (lx < 0 || ly < 0 || lx >= dw || ly >= dh) return 0;
    const int sx = std::min(im->w - 1, (int)((float)lx / scale));
    const int sy = std::min(im->h - 1, (int)((float)ly / scale));
    return im->pixels[(size_t)sy * im->w + sx];
}

bool decal_atlas_rect(int glyph, int variant, int index, DecalRect* out) {
    if (!out) return false;
    switch (glyph) {
        case GLYPH_PEDESTAL: {
            static const int RECTS[2][4][4] = {
                {{8, 7, 55, 19}, {8, 23, 55, 36}, {8, 40, 55, 53}, {0, 0, 0, 0}},
                {{12, 7, 27, 19}, {36, 7, 51, 19}, {8, 23, 55, 36}, {8, 40, 55, 53}}};
            if (index < 0 || index > 3) return false;
            const int* r = RECTS[variant > 0 ? 1 : 0][index];
            if (r[2] <= r[0]) return false;
            out->u = ((float)(r[0] + r[2] + 1) / 2.0f) / 64.0f;
            out->v = 1.0f - ((float)(r[1] + r[3] + 1) / 2.0f) / 64.0f;
            out->w = (float)(r[2] + 1 - r[0]) / 64.0f;
            out->h = (float)(r[3] + 1 - r[1]) / 64.0f;
            out->offset = 0.16f;
            return true;
        }
        case GLYPH_BONE_WALL:
            if (index < 0 || index > 11) return false;
            out->u = ((float)(index % 4) * 15.0f + 9.5f) / 64.0f;
            out->v = 1.0f - ((float)(index / 4) * 20.0f + 11.5f) / 64.0f;
            out->w = 13.0f / 64.0f;
            out->h = 17.0f / 64.0f;
            out->offset = 0.0f;
            return true;
        case GLYPH_BRAZIER:
            out->u = 0.5f;
            out->v = 0.35f + 0.17f;  // the brazier's billboard height
            out->w = 0.4f;
            out->h = 0.45f;
            out->offset = 0.5f;
            return true;
        case GLYPH_CASE_SHELF:
            out->u = 0.5f;
            out->v = 0.5390625f;
            out->w = 0.375f;
            out->h = 0.609375f;
            out->offset = 0.16f;
            return true;
        default: return false;
    }
}

uint8_t vignette[FB_LONG * FB_SHORT];
int32_t vignette_w = 0, vignette_h = 0;

void vignette_build() {
    if (!settings.vignette) return;
    const ScreenRect& r = screen_layout.view;
    const int W = r.x1 - r.x0 + 1, H = r.y1 - r.y0 + 1;
    if (W < 1 || H < 1 || W * H > FB_LONG * FB_SHORT) return;
    if (W != vignette_w || H != vignette_h) {
        for (int y = 0; y < H; y++)
            for (int x = 0; x < W; x++) {
                const float u = ((float)x + 0.5f - (float)W / 2.0f) / ((float)W / 2.0f);
                const float v = ((float)y + 0.5f - (float)H / 2.0f) / ((float)H / 2.0f);
                const float L = (0.85f * u * u + v * v - 0.55f) / 0.75f;
                vignette[y * W + x] = L <= 0.0f ? 0 : L >= 2.0f ? 32 : (uint8_t)(int)(16.0f * L);
            }
        vignette_w = W;
        vignette_h = H;
    }
    for (int y = 0; y < H; y++)
        for (int x = 0; x < W; x++) {
            // The middle of the view is untouched: eight clear levels are passed over at once.
            if ((x & 7) == 0 && x + 8 <= W) {
                uint64_t levels;
                std::memcpy(&levels, &vignette[y * W + x], 8);
                if (!levels) {
                    x += 7;
                    continue;
                }
            }
            const int level = vignette[y * W + x];
            if (!level) continue;
            const int fx = r.x0 + x, fy = r.y0 + y;
            uint8_t& p = framebuffer[fy * screen_layout.width + fx];
            if (p < 1 || p > 3) continue;
            const int t = BAYER4[fy & 3][fx & 3];
            const int steps = (level > t) + (level > t + 16);
            p = (uint8_t)std::max(0, (int)p - steps);
        }
}

// The slab split of a floor tile: where the cut lies along each axis, by eight hash bits.
struct SlabCuts {
    float first[40], other[30];
};
static constexpr SlabCuts slab_cuts() {
    SlabCuts t{};
    for (int i = 0; i < 40; i++) t.first[i] = 0.3f + (float)i / 100.0f;
    for (int i = 0; i < 30; i++) t.other[i] = 0.35f + (float)i / 100.0f;
    return t;
}
static constexpr SlabCuts SLAB_CUTS = slab_cuts();

static int floor_slab(int cx, int cy, float fx, float fy) {
    uint32_t M = ((uint32_t)cx * 0x538453D7u + 0xDAA66D13u) ^ ((uint32_t)cy * 0xCCF9480Bu + 0x9D9AF453u);
    M = hash_mix(M);
    const bool across_x = (M >> 6) & 1u;
    const float first = across_x ? fx : fy, other = across_x ? fy : fx;
    if (first < SLAB_CUTS.first[M % 40u]) return 0;
    return other < SLAB_CUTS.other[(M >> 8) % 30u] ? 1 : 2;
}

void cast_floor_rows(FloorRecord* records, int, bool tile_mode, float dist, float cam_x, float cam_y,
                     float dir_x, float dir_y, float plane_x, float plane_y) {
    const ScreenRect& r = screen_layout.view;
    const int W = r.x1 - r.x0 + 1;
    if (W < 1 || W > FB_LONG) return;
    // Every row of a frame looks along the same column rays: they are worked out once per view.
    static float ray_x[FB_LONG], ray_y[FB_LONG];
    static float ray_dir_x, ray_dir_y, ray_plane_x, ray_plane_y;
    static int ray_w = 0;
    if (ray_w != W || !(ray_dir_x == dir_x) || !(ray_dir_y == dir_y) || !(ray_plane_x == plane_x) ||
        !(ray_plane_y == plane_y)) {
        for (int i = 0; i < W; i++) {
            const float s = 2.0f * ((float)i + 0.5f) / (float)W - 1.0f;
            ray_x[i] = dir_x + plane_x * s;
            ray_y[i] = dir_y + plane_y * s;
        }
        ray_w = W;
        ray_dir_x = dir_x;
        ray_dir_y = dir_y;
        ray_plane_x = plane_x;
        ray_plane_y = plane_y;
    }
    const int look = !tile_mode ? 0 : !view_detail_look ? 1 : 2;
    for (int i = 0; i < W; i++) {
        const float wx = cam_x + dist * ray_x[i];
        const float wy = cam_y + dist * ray_y[i];
        const int cx = (int)std::floor(wx), cy = (int)std::floor(wy);
        FloorRecord& rec = records[i];
        rec.x = wx;
        rec.y = wy;
        rec.distance = dist;
        if (look == 0) {
            rec.key = (int32_t)(((uint32_t)cx << 16) | ((uint32_t)cy & 0xFFFFu));
        } else if (look == 1) {
            rec.key = (int32_t)cell_hash(cx, cy);
        } else {
            const int slab = floor_slab(cx, cy, wx - (float)cx, wy - (float)cy);
            rec.key = (int32_t)(cell_hash(cx, cy) * 4u + (uint32_t)slab);
        }
    }
}
