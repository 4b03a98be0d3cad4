// The case's animated extras: the button spotlight that eases towards a hinted button, and the
// moving sheen of the gold and rainbow cases with its mask and band. Stepped by the frame loop
// once per drawn frame and read by both compositors.
#include "platform/case_sheen.h"

#include <cmath>
#include <new>
#include <vector>

#include "platform/case_art.h"
#include "platform/case_layers.h"
#include "platform/case_layers_internal.h"
#include "platform/case_recolor.h"
#include "services/services.h"

namespace {

constexpr int GLOW_FULL = 255;
constexpr int SHEEN_TILT_FRAMES = 180;  // a tilt reading steers the sheen this long

struct {
    uint8_t which = 0;
    int32_t level = 0;
} glow;

struct {
    float value = 0, tilt = 0, base_a = 0, base_b = 0;
    bool have_base = false;
    int64_t tilt_frame = -1000000;
    int64_t frame = 0;
} sheen;

struct {
    std::vector<uint32_t> pixels;
    int32_t width = 0, height = 0, colour = -1;
} band;

float clampf(float v, float lo, float hi) { return v < lo ? lo : v > hi ? hi : v; }

uint32_t hash_cell(uint32_t x, uint32_t y) {
    uint32_t h = y * 0x85EBCA77u ^ x * 0x9E3779B1u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return h ^ (h >> 12);
}

// The mask of the case parts the sheen runs over, for the gold or the rainbow case.
void glow_map_build(CaseLayerSet& s, int colour) {
    const std::vector<uint32_t>& from = colour == CASE_GOLD ? s.composed : s.source;
    s.glow.assign(from.size(), 0);
    for (size_t i = 0; i < from.size(); i++) {
        const uint32_t p = from[i];
        if (p >> 24 != 0xFF) continue;
        const int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
        const int mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
        const int mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
        const int chroma = mx - mn;
        uint32_t v = 0;
        if (colour == CASE_GOLD) {
            if (r > b + 20 && chroma > 24) v = (uint32_t)((mx * 5428005) >> 23) + 90;
        } else {
            const uint32_t x = (uint32_t)(i % (size_t)s.width), y = (uint32_t)(i / (size_t)s.width);
            if (b > r + 20 && chroma > 20 && hash_cell(x / 2, y / 2) % 19 == 0) v = 255;
        }
        if (v > 255) v = 255;
        s.glow[i] = 0xFF000000u | v << 16 | v << 8 | v;
    }
    s.glow_colour = colour;
}

void band_build(int wp, int hp, int colour) {
    band.pixels.assign((size_t)2 * wp * hp, 0xFF000000u);
    band.width = 2 * wp;
    band.height = hp;
    band.colour = colour;
    const float w = (float)wp;
    for (int r = 0; r < hp; r++) {
        const int centre = wp + (int)std::lround(0.15f * r);
        for (int c = 0; c < 2 * wp; c++) {
            const float q = (float)(c - centre);
            uint32_t px;
            if (colour == CASE_GOLD) {
                const float a = q / (0.1f * w), b = (q - 0.16f * w) / (0.035f * w);
                const float v = 0.55f * std::exp(-a * a) + 0.3f * std::exp(-b * b);
                const uint32_t R = (uint32_t)clampf(255 * v, 0, 255), G = (uint32_t)clampf(236 * v, 0, 255),
                               B = (uint32_t)clampf(186 * v, 0, 255);
                px = 0xFF000000u | R << 16 | G << 8 | B;
            } else {
                const float period = 0.22f * w;
                const float m = std::fmod(std::fabs(q), period), d = std::fmin(m, period - m);
                const float e = d / (0.025f * w);
                const float v = std::exp(-e * e) * std::exp(-q * q / (0.45f * w * w));
                const uint32_t g = (uint32_t)clampf(255 * v, 0, 255);
                px = 0xFF000000u | g << 16 | g << 8 | g;
            }
            band.pixels[(size_t)r * 2 * wp + c] = px;
        }
    }
}

}  // namespace

void button_glow_step(uint8_t request) {
    int target = 0;
    if (request) {
        glow.which = request;
        target = GLOW_FULL;
    }
    const int gap = target - glow.level;
    if (gap > 4 || gap < -4) glow.level += gap / 5;
    else if (gap > 0) glow.level++;
    else if (gap < 0) glow.level--;
}

int button_glow_level() { return glow.level; }
uint8_t button_glow_which() { return glow.which; }

bool sheen_active() {
    const int c = case_color_current();
    return case_shine_on && (c == CASE_GOLD || c == CASE_RAINBOW);
}

void sheen_tilt_input(float a, float b) {
    if (!sheen.have_base) {
        sheen.base_a = a;
        sheen.base_b = b;
        sheen.have_base = true;
    }
    sheen.base_a += (a - sheen.base_a) * 0.004f;
    sheen.base_b += (b - sheen.base_b) * 0.004f;
    sheen.tilt = clampf((b - sheen.base_b) * 0.6f + (a - sheen.base_a), -1.2f, 1.2f);
    sheen.tilt_frame = sheen.frame;
}

void sheen_update() {
    sheen.frame++;
    const float n = (float)sheen.frame;
    const float target = sheen.frame - sheen.tilt_frame <= SHEEN_TILT_FRAMES
                             ? sheen.tilt
                             : 0.75f * std::sin(0.011f * n) + 0.2f * std::sin(0.029f * n);
    sheen.value += (target - sheen.value) * 0.12f;
}

int sheen_offset() {
    const float wp = (float)case_picture_width();
    return (int)((sheen.value * 0.75f + 0.5f) * wp - wp);
}

const uint32_t* case_glow_map(int* width, int* height) {
    *width = *height = 0;
    if (!sheen_active()) return nullptr;
    CaseLayerSet* s = case_current_layers();
    if (!s->loaded || s->composed.empty()) return nullptr;
    const int c = case_color_current();
    try {
        if (s->glow_colour != c || s->glow.size() != s->source.size()) glow_map_build(*s, c);
    } catch (const std::bad_alloc&) {
        s->glow = {};
        s->glow_colour = -1;
        return nullptr;
    }
    *width = s->width;
    *height = s->height;
    return s->glow.data();
}

const uint32_t* sheen_band(int* width, int* height) {
    *width = *height = 0;
    if (!sheen_active()) return nullptr;
    const int wp = case_picture_width(), hp = case_picture_height(), c = case_color_current();
    try {
        if (band.width != 2 * wp || band.height != hp || band.colour != c) band_build(wp, hp, c);
    } catch (const std::bad_alloc&) {
        band = {};
        return nullptr;
    }
    *width = band.width;
    *height = band.height;
    return band.pixels.data();
}
