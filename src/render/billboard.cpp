// The shrine's see-through furniture, one column at a time: an upright box standing on the floor
// with a lid when it is lower than the eye, a pictured front face, and the three soul-fire niches
// of the central pillar. Each box leaves its top row as a clip for the objects behind it.
#include <algorithm>
#include <cmath>

#include "dungeon/shrine_billboard.h"
#include "world/glyphs.h"
#include "render/objects.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "render/view.h"
#include "render/view_shade.h"
#include "render/view_frame.h"

BillboardClips billboard_clips;

namespace {

const Image* picture(const char* name) {
    return sprite_entry_image(sprite_find(name), 0);
}

// For each column of the skulls picture, the first row holding a texel.
uint8_t skull_top[256];
bool skull_top_done = false;

void build_skull_outline(const Image* im) {
    const int w = std::min(im->w, 256);
    for (int c = 0; c < w; c++) {
        int r = 0;
        while (r <= im->h - 2 && im->pixels[(size_t)r * im->w + c] == 0) r++;
        skull_top[c] = (uint8_t)std::min(r, 255);
    }
    skull_top_done = true;
}

float frac(float v) { return v - std::floor(v); }

// One pixel of a soul-fire niche, or -1 outside the niche (the face is drawn there).
int niche_pixel(const ViewHit& hit, int X, int row, float u, float m, float K, float a, float ray_x, float ray_y,
                int upgrade) {
    const float k = view_eye_height;
    const float du = std::fabs(u - 0.5f) / 0.3f;
    const bool opening = du <= 0.86f && K >= 0.6f && K <= 1.02f;
    if (!opening) return (du < 1.0f && K > 0.56f && K < 1.06f) ? 3 : -1;
    const ViewScene& scene = view_frame.scene;
    const int r = scene.upgrade_rank[upgrade];
    const int R = std::max(1, scene.upgrade_max_rank[upgrade]);
    float f = 0.0f;
    if (scene.bought_upgrade == upgrade) {
        const int t = frame_counter - scene.bought_tick;
        if (t >= 0 && t < 50) f = (1.0f - (float)t / 50.0f) * 0.3f;
    }
    const bool across_x = hit.face < 2;
    const float s = std::max(std::fabs(across_x ? ray_x : ray_y), 0.0001f);
    float e = (across_x ? ray_y : ray_x) / s;
    if (hit.face == 1 || hit.face == 2) e = -e;
    float side = -1.0f;
    if (std::fabs(e) >= 0.000001f) side = e >= 0.0f ? (0.758f - m) / e : (0.242f - m) / e;
    float cap = -1.0f;
    if (std::fabs(K - k) >= 0.000001f) {
        const float target = K < k ? 0.6f : 1.02f;
        cap = ((target - k) * a / (K - k) - a) * s;
    }
    const bool side_met = side >= 0.0f && side <= 0.2f;
    if (cap > 0.0f && cap < (side_met ? side : 0.2f)) return 0;
    if (side_met) {
        const int need = (r == 0 && f == 0.0f) ? 2 : 3 * r + 4;
        if (BAYER4[row & 3][X & 3] < need) return r == 0 ? 1 : 3;
        return 0;
    }
    const float n = (k + (K - k) * (0.2f * s + a) / a - 0.6f) / 0.42f;
    if (r == 0 && f == 0.0f) {
        if (n < 0.08f) return ((frame_counter / 8 + X) % 4 == 0) ? 3 : 0;
        return 0;
    }
    const float V = 0.65f * (float)r / (float)R + 0.3f + f;
    if (n >= V) return 0;
    const float t = (float)frame_counter;
    const float c = (1.0f - n / V) * 0.75f * (0.2f * std::sin(18.0f * n - 0.4f * t) + 0.85f);
    const float o = std::fabs(-0.12f * n * std::sin(0.13f * t + 5.0f * n) + (0.2f * e + m - 0.5f) / 0.3f);
    if (o >= c) return 0;
    if (n < 0.35f * V && o < 0.45f * c) return 2;
    if (n > 0.7f * V) return ((X + row) & 1) ? 1 : 3;
    return 3;
}

}  // namespace

void draw_billboard(const ViewHit& hit, int X, float a, float b, int glyph, int axis, float u, float ray_x,
                    float ray_y) {
    const ScreenRect& v = screen_layout.view;
    const int H = v.y1 - v.y0 + 1, W = v.x1 - v.x0 + 1;
    const float g = shrine_billboard_height(glyph);
    if (g <= 0.0f) return;
    const float k = view_eye_height;
    const float ap = std::max(a, 0.05f);
    const int T = (int)((float)H / ap);
    const int bottom = view_horizon + (int)(k * (float)T);
    int top = bottom - (int)(g * (float)T);
    const float m = (hit.face == 1 || hit.face == 2) ? 1.0f - u : u;

    const Image* pic = picture(glyph == GLYPH_BRAZIER ? "shrine_pedestal" : glyph == GLYPH_SOUL_FIRE ? "shrine_pillar" : "shrine_skulls");
    const bool skulls = glyph != GLYPH_BRAZIER && glyph != GLYPH_SOUL_FIRE;
    const float repeat = skulls ? 0.5f : g;
    if (skulls && pic && pic->w > 0 && pic->h > 0) {
        if (!skull_top_done) build_skull_outline(pic);
        const int col = std::clamp((int)(64.0f * m), 0, std::min(pic->w, 256) - 1);
        top += (int)((float)skull_top[col] / (float)pic->h * 0.5f * (float)T);
    }

    // The lid of a box lower than the eye.
    int start = top;
    if (b > ap + 0.01f && g < k) {
        const int T2 = (int)((float)H / b);
        const int far_row = view_horizon + (int)(k * (float)T2) - (int)(g * (float)T2);
        start = std::min(far_row, top);
        for (int row = std::max(start, v.y0); row < top && row <= v.y1; row++) screen_pixel(X, row, 1);
        if (glyph == GLYPH_BRAZIER && far_row >= v.y0 && far_row <= v.y1 && far_row < top) screen_pixel(X, far_row, 2);
    }
    if (X >= 0 && X < FB_LONG && billboard_clips.count[X] < BILLBOARD_CLIP_MAX) {
        const int i = billboard_clips.count[X]++;
        billboard_clips.depth[X][i] = ap;
        billboard_clips.top[X][i] = (int16_t)std::clamp(start, -30000, 32767);
    }

    // The front face, opaque over its whole rectangle.
    const int level = distance_shade_level(ap, axis);
    const float rim = 3.0f * ap / (float)W;
    const int face = hit.face;
    const int upgrade = glyph == GLYPH_SOUL_FIRE ? (face == 0 ? 0 : face == 1 ? 2 : face == 2 ? 1 : -1) : -1;
    for (int row = std::max(v.y0, top); row <= std::min(v.y1, bottom); row++) {
        const float K = (float)(bottom - row) / (float)std::max(1, T);
        int c = 0;
        if (pic && pic->w > 0 && pic->h > 0) {
            const int pr = std::clamp((int)(frac((g - K) / repeat) * (float)pic->h), 0, pic->h - 1);
            const int pc = std::clamp((int)(m * (float)pic->w), 0, pic->w - 1);
            c = pic->pixels[(size_t)pr * pic->w + pc];
        }
        if (glyph == GLYPH_BRAZIER) {
            if (u < rim || u > 1.0f - rim || row <= top + 1) c = 2;
        } else if (c == 1) {
            c = BAYER4[row & 3][X & 3] >= level ? 1 : 0;
        }
        if (upgrade >= 0) {
            const int n = niche_pixel(hit, X, row, u, m, K, ap, ray_x, ray_y, upgrade);
            if (n >= 0) c = n;
        }
        screen_pixel(X, row, c);
    }
}
