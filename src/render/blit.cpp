// Image blits into the framebuffer. Callers: the first-person view, the fight views and every
// screen that shows a picture; icons.cpp builds the named and fitted icons on these.
#include "render/blit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "render/pixel_run.h"
#include "render/screen.h"

SpriteClip sprite_clip = {0, 0, -1, -1, 0, 0};
uint8_t sprite_scaled_reuse = 0;

static uint8_t scratch_pixels[SPRITE_SCRATCH_BYTES];
static Image scratch_image = {scratch_pixels, 0, 0, 1};

// Sizes past this many pixels cannot be drawn meaningfully and would overflow the arithmetic.
constexpr long long MAX_DRAWN_SIDE = 1 << 20;

static bool image_ok(const Image* img) {
    return img && img->pixels && img->w >= 1 && img->h >= 1;
}

static int density_of(const Image* img) { return img->density > 1 ? img->density : 1; }

// The range [lo, hi) of destination offsets 0..n-1 from `start` that land inside 0..limit-1
// once `origin` is added. Pixels outside it would be dropped by the pipeline's bounds test.
static void visible_span(long long start, long long origin, long long n, long long limit,
                         long long* lo, long long* hi) {
    long long first = start + origin;
    *lo = first < 0 ? -first : 0;
    *hi = limit - first < n ? limit - first : n;
}

void sprite_draw(const Image* img, int x, int y, int k) {
    if (!image_ok(img) || k < 1) return;
    if ((long long)img->w * k > MAX_DRAWN_SIDE || (long long)img->h * k > MAX_DRAWN_SIDE) return;
    const int w = img->w, h = img->h;
    const int left = x - (w * k) / 2, top = y + 1 - h * k;
    for (int i = 0; i < h; i++) {
        const uint8_t* row = img->pixels + (size_t)i * w;
        int j = 0;
        while (j < w) {
            uint8_t t = row[j];
            int n = 1;
            while (j + n < w && row[j + n] == t) n++;
            if (t != 0) pixel_fill(left + j * k, top + i * k, n * k, k, t);
            j += n;
        }
    }
}

// Colour of a reduced pixel: the box of source texels it covers, by weighted vote.
// Returns 0 when less than 30 % of the box is opaque.
static int box_colour(const Image* img, int b, int e_col, int t, int e_row) {
    static const int WEIGHT[8] = {10, 10, 16, 30, 10, 10, 10, 10};
    int sum[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    int n = 0;
    for (int r = t; r <= e_row; r++) {
        const uint8_t* row = img->pixels + (size_t)r * img->w;
        for (int c = b; c <= e_col; c++) {
            uint8_t v = row[c];
            if (v == 0) continue;
            n++;
            sum[v & 7] += WEIGHT[v & 7];
        }
    }
    int area = (e_col - b + 1) * (e_row - t + 1);
    if (10 * n < 3 * area) return 0;
    int best = 1;
    for (int c = 2; c <= 7; c++)
        if (sum[c] > sum[best]) best = c;  // ties keep the lower value
    return best;
}

void sprite_draw_scaled(const Image* img, int x, int y, float s) {
    if (!image_ok(img) || !(s > 0.0f)) return;
    const long long w = img->w, h = img->h;
    float fw = (float)w * s + 0.5f, fh = (float)h * s + 0.5f;
    if (!(fw < (float)MAX_DRAWN_SIDE) || !(fh < (float)MAX_DRAWN_SIDE)) return;
    const long long dw = (int)fw, dh = (int)fh;
    if (dw < 1 || dh < 1) return;
    const long long left = x - dw / 2, top = y + 1 - dh;
    long long j0, j1, i0, i1;
    visible_span(left, draw_origin_x, dw, screen_layout.width, &j0, &j1);
    visible_span(top, draw_origin_y, dh, screen_layout.height, &i0, &i1);
    const bool enlarging = dw >= w && dh >= h;
    // The votes of a reduced picture are kept for the repeated passes of an outline (see
    // sprite_scaled_reuse). Reducing keeps dw x dh below w x h, so most pictures fit the cache.
    static const Image* voted_img = nullptr;
    static long long voted_w = 0, voted_h = 0;
    static uint8_t voted[1 << 16];
    const bool cached = !enlarging && dw * dh <= (long long)sizeof voted;
    if (cached && (!sprite_scaled_reuse || voted_img != img || voted_w != dw || voted_h != dh)) {
        std::memset(voted, 0xFF, (size_t)(dw * dh));  // filled as the pixels are visited
        voted_img = img;
        voted_w = dw;
        voted_h = dh;
    }
    // Each visible column's source span, worked out once rather than per row.
    static int32_t col_first[FB_LONG], col_end[FB_LONG];
    if (j1 - j0 > FB_LONG) j1 = j0 + FB_LONG;  // the visible span is never wider than the screen
    for (long long j = j0; j < j1; j++) {
        const long long b = (w * j) / dw;
        long long ec = (w * (j + 1)) / dw;
        if (ec < b + 1) ec = b + 1;
        col_first[j - j0] = (int32_t)b;
        col_end[j - j0] = (int32_t)ec;
    }
    // The pipeline of screen_pixel, with its bounds test already met by the visible spans.
    const int fb_w = screen_layout.width;
    const int dither = draw_dither_level, override_colour = draw_color_override;
    for (long long i = i0; i < i1; i++) {
        const long long t = (h * i) / dh;
        long long e = (h * (i + 1)) / dh;
        if (e < t + 1) e = t + 1;
        const long long Y = top + i + draw_origin_y;
        uint8_t* fb_row = &framebuffer[Y * fb_w];
        const uint8_t* src_row = img->pixels + t * w;
        uint8_t* voted_row = cached ? &voted[i * dw] : nullptr;
        if (enlarging && !draw_column_mask && !draw_column_clip && dither == 0) {
            // Nothing drops single pixels: each source texel is one run of the row.
            for (long long j = j0; j < j1;) {
                const int b = col_first[j - j0];
                long long k = j + 1;
                while (k < j1 && col_first[k - j0] == b) k++;
                int colour = src_row[b];
                if (colour != 0) {
                    if (override_colour >= 0) colour = override_colour;
                    std::memset(fb_row + left + j + draw_origin_x, colour, (size_t)(k - j));
                }
                j = k;
            }
            continue;
        }
        for (long long j = j0; j < j1; j++) {
            const long long X = left + j + draw_origin_x;
            // Pixels the pipeline would drop anyway are not worth a vote.
            if (draw_column_mask && draw_column_mask[X]) continue;
            if (draw_column_clip && Y >= draw_column_clip[X]) continue;
            const int b = col_first[j - j0];
            int colour;
            if (enlarging) {
                colour = src_row[b];
            } else if (cached && voted_row[j] != 0xFF) {
                colour = voted_row[j];
            } else {
                colour = box_colour(img, b, col_end[j - j0] - 1, (int)t, (int)e - 1);
                if (cached) voted_row[j] = (uint8_t)colour;
            }
            if (colour == 0) continue;
            if (override_colour >= 0) colour = override_colour;
            if (dither != 0 && BAYER4[Y & 3][X & 3] < dither) continue;
            fb_row[X] = (uint8_t)colour;
        }
    }
}

static bool is_whole(float s) { return std::floor(s) == s && std::fabs(s) < (float)MAX_DRAWN_SIDE; }

void sprite_draw_at_scale(const Image* img, int x, int y, float s) {
    if (!image_ok(img)) return;
    if (img->density < 2 && is_whole(s))
        sprite_draw(img, x, y, (int)s);
    else
        sprite_draw_scaled(img, x, y, s / (float)density_of(img));
}

void sprite_draw_alt(const Image* img, int x, int y, int k) {
    if (!image_ok(img) || k < 1) return;
    if ((long long)img->w * k > MAX_DRAWN_SIDE || (long long)img->h * k > MAX_DRAWN_SIDE) return;
    const int w = img->w, h = img->h;
    const int left = x - (k * h) / 2, top = y + 1 - k * w;
    // Source texel (column j, row i) lands on destination column h-1-i, row j.
    for (int i = 0; i < h; i++) {
        const uint8_t* row = img->pixels + (size_t)i * w;
        for (int j = 0; j < w; j++)
            if (row[j] != 0) pixel_fill(left + (h - 1 - i) * k, top + j * k, k, k, row[j]);
    }
}

void sprite_draw_at_scale_alt(const Image* img, int x, int y, float s) {
    if (!image_ok(img)) return;
    if (img->density <= 1 && is_whole(s)) {
        sprite_draw_alt(img, x, y, (int)s);
        return;
    }
    const int w = img->w, h = img->h;
    if ((long long)w * h > SPRITE_SCRATCH_BYTES) return;
    for (int i = 0; i < h; i++)
        for (int j = 0; j < w; j++) scratch_pixels[j * h + (h - 1 - i)] = img->pixels[i * w + j];
    scratch_image.w = h;
    scratch_image.h = w;
    scratch_image.density = img->density;
    sprite_draw_scaled(&scratch_image, x, y, s / (float)density_of(img));
}

void sprite_set_clip(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    sprite_clip.x0 = x0;
    sprite_clip.y0 = y0;
    sprite_clip.x1 = x1;
    sprite_clip.y1 = y1;
}

void sprite_set_checker_dim(int flag) { sprite_clip.checker_dim = flag ? 1 : 0; }

void sprite_set_break_bands(int32_t mode) { sprite_clip.break_bands = mode; }

// A crack across the picture one logical pixel high, zigzagging every two logical columns.
static bool in_break_band(int col, int row, int h, int p, int mode) {
    const int z = p * ((col / p / 2) % 2);
    const int a = h * 30 / 100 + z;
    if (row >= a && row < a + p) return true;
    const int b = h / 2 - z;
    return mode >= 2 && row >= b && row < b + p;
}

int sprite_rotated_top(const Image* img, int y, float s, float angle, float pivot_u, float pivot_v) {
    if (!image_ok(img) || !(s > 0.0f)) return y;
    const float sp = s / (float)density_of(img);
    const float pu = pivot_u * (float)img->w, pv = pivot_v * (float)img->h;
    const float a = angle * 3.1415927f / 180.0f;
    const float ca = std::cos(a), sa = std::sin(a);
    const float corner = 0.5f * (std::fabs(sa) + std::fabs(ca));  // a pixel's highest corner above its centre
    float top = 1e30f;
    for (int row = 0; row < img->h; row++)
        for (int col = 0; col < img->w; col++) {
            if (img->pixels[row * img->w + col] == 0) continue;
            const float du = (float)col + 0.5f - pu, dv = (float)row + 0.5f - pv;
            top = std::fmin(top, (du * sa + dv * ca - corner) * sp);
        }
    return top > 1e29f ? y : y + (int)std::floor(top);
}

void sprite_draw_rotated(const Image* img, int x, int y, float s, float angle, float pivot_u,
                         float pivot_v) {
    if (!image_ok(img) || !(s > 0.0f)) return;
    const int w = img->w, h = img->h, p = density_of(img);
    const float sp = s / (float)p;
    const float pu = pivot_u * (float)w, pv = pivot_v * (float)h;
    const float ex = std::fmax(pu, (float)w - pu), ey = std::fmax(pv, (float)h - pv);
    const float fr = std::sqrt(ex * ex + ey * ey) * sp;
    if (!(fr < (float)MAX_DRAWN_SIDE)) return;
    const long long r = (int)fr;
    const float a = angle * 3.1415927f / 180.0f;
    const float ca = std::cos(a), sa = std::sin(a);
    const bool clipping = sprite_clip.x1 >= sprite_clip.x0;
    const int mode = sprite_clip.break_bands;

    long long x0, x1, y0, y1;
    visible_span(x - r - 2, draw_origin_x, 2 * r + 5, screen_layout.width, &x0, &x1);
    visible_span(y - r - 2, draw_origin_y, 2 * r + 5, screen_layout.height, &y0, &y1);
    // The square round the pivot holds the picture at any angle; at this angle only the box round
    // its four turned corners (and two pixels more) can land on it.
    {
        float lo_x = 1e30f, hi_x = -1e30f, lo_y = 1e30f, hi_y = -1e30f;
        for (int k = 0; k < 4; k++) {
            const float du = ((k & 1) ? (float)w : 0.0f) - pu, dv = ((k & 2) ? (float)h : 0.0f) - pv;
            const float cx = (float)x + (du * ca - dv * sa) * sp, cy = (float)y + (du * sa + dv * ca) * sp;
            lo_x = std::fmin(lo_x, cx);
            hi_x = std::fmax(hi_x, cx);
            lo_y = std::fmin(lo_y, cy);
            hi_y = std::fmax(hi_y, cy);
        }
        const long long base_x = x - r - 2, base_y = y - r - 2;
        if (lo_x - 2.0f > (float)(base_x + x0)) x0 = std::max(x0, (long long)std::floor(lo_x) - 2 - base_x);
        if (hi_x + 2.0f < (float)(base_x + x1)) x1 = std::min(x1, (long long)std::ceil(hi_x) + 3 - base_x);
        if (lo_y - 2.0f > (float)(base_y + y0)) y0 = std::max(y0, (long long)std::floor(lo_y) - 2 - base_y);
        if (hi_y + 2.0f < (float)(base_y + y1)) y1 = std::min(y1, (long long)std::ceil(hi_y) + 3 - base_y);
    }
    for (long long yi = y0; yi < y1; yi++) {
        const int Y = (int)(y - r - 2 + yi);
        const float dy = ((float)Y + 0.5f - (float)y) / sp;
        for (long long xi = x0; xi < x1; xi++) {
            const int X = (int)(x - r - 2 + xi);
            const float dx = ((float)X + 0.5f - (float)x) / sp;
            const float u = dx * ca + dy * sa + pu;
            const float v = -dx * sa + dy * ca + pv;
            if (!(u >= 0.0f && u < (float)w && v >= 0.0f && v < (float)h)) continue;
            const int col = (int)u, row = (int)v;
            int colour = img->pixels[row * w + col];
            if (colour == 0) continue;
            if (clipping && (X < sprite_clip.x0 || X > sprite_clip.x1 || Y < sprite_clip.y0 ||
                             Y > sprite_clip.y1))
                continue;
            if (mode != 0 && in_break_band(col, row, h, p, mode)) continue;
            if (sprite_clip.checker_dim) {
                if ((X ^ Y) & 1) continue;
                if (colour == 2 || colour == 3) colour--;
            }
            screen_pixel(X, Y, colour);
        }
    }
}
