// Recolouring of the case art to a case colour: a hue shift for most colours, a tone ramp for the
// metal and plastic ones, and the rainbow case. Called when a case set is composed, and for the
// plain pad's body colour.
#include "platform/case_recolor.h"

#include <cmath>

namespace {

constexpr uint32_t MARKED_ALPHA = 0xFE;
constexpr uint32_t LABEL_DARK = 0xFF2E3038;  // white labels turn this on pale cases
constexpr float ART_HUE = 218.0f;            // the hue of the art's own blue

const float CASE_HUE_TARGET[CASE_COLOUR_TABLE] = {218, 110, 282, 24, 46, 356, 44, 300, 218,
                                                  40,  230, 220, 218, 110, 282, 24, 46, 356};
const float CASE_VALUE_GAIN[CASE_COLOUR_TABLE] = {1.0f, 1.0f, 0.88f, 1.15f, 1.05f, 1.0f, 1.1f, 1.0f, 1.0f,
                                                  1.0f, 0.4f, 1.3f,  1.0f,  1.0f,  0.88f, 1.15f, 1.05f, 1.0f};

struct RampStop {
    float at;
    uint32_t rgb;
};
struct Ramp {
    const RampStop* stops;
    int count;
};
const RampStop RAMP_GOLD[] = {{0.0f, 0x2E1C05}, {0.35f, 0x83560F}, {0.6f, 0xBF861C},
                              {0.8f, 0xDDA83E}, {0.93f, 0xF3D27E}, {1.0f, 0xFFF0C2}};
const RampStop RAMP_BEIGE[] = {{0.0f, 0x3E382F}, {0.35f, 0x7C7566}, {0.65f, 0xB2AB9A}, {0.85f, 0xCFC8B8}, {1.0f, 0xE9E3D6}};
const RampStop RAMP_BLACK[] = {{0.0f, 0x050507}, {0.45f, 0x17181D}, {0.8f, 0x2E3038}, {1.0f, 0x555963}};
const RampStop RAMP_GREY[] = {{0.0f, 0x5E616A}, {0.4f, 0xAEB1B8}, {0.75f, 0xDEE0E4}, {1.0f, 0xFBFBFC}};

// The ramp of a ramped case colour; count 0 for the hue-shifted ones.
Ramp case_ramp(int c) {
    switch (c) {
    case CASE_GOLD: return {RAMP_GOLD, 6};
    case CASE_BEIGE: return {RAMP_BEIGE, 5};
    case CASE_BLACK: return {RAMP_BLACK, 4};
    case CASE_LIGHT_GREY: return {RAMP_GREY, 4};
    default: return {nullptr, 0};
    }
}

struct Hsv {
    float h, s, v;  // degrees, 0..1, 0..1
};

Hsv to_hsv(uint32_t p) {
    const int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
    const int mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
    Hsv o = {0.0f, 0.0f, mx / 255.0f};
    if (mx == 0) return o;
    const float d = (float)(mx - mn);
    o.s = d / mx;
    if (d == 0) return o;
    if (mx == r) o.h = 60.0f * std::fmod((g - b) / d + 6.0f, 6.0f);
    else if (mx == g) o.h = 60.0f * ((b - r) / d + 2.0f);
    else o.h = 60.0f * ((r - g) / d + 4.0f);
    return o;
}

uint32_t from_hsv(Hsv c, uint32_t alpha) {
    const float h = std::fmod(c.h, 360.0f) / 60.0f;
    const int sector = (int)h;
    const float f = h - sector;
    const float p = c.v * (1 - c.s), q = c.v * (1 - c.s * f), t = c.v * (1 - c.s * (1 - f));
    float r, g, b;
    switch (sector) {
    case 0: r = c.v, g = t, b = p; break;
    case 1: r = q, g = c.v, b = p; break;
    case 2: r = p, g = c.v, b = t; break;
    case 3: r = p, g = q, b = c.v; break;
    case 4: r = t, g = p, b = c.v; break;
    default: r = c.v, g = p, b = q; break;
    }
    const uint32_t R = (uint32_t)(r * 255 + 0.5f), G = (uint32_t)(g * 255 + 0.5f), B = (uint32_t)(b * 255 + 0.5f);
    return alpha | R << 16 | G << 8 | B;
}

// Blue enough to be recoloured: lit, not grey, within the hue window.
bool in_window(const Hsv& c, float lo, float hi) { return c.v > 0 && c.s >= 0.03f && c.h >= lo && c.h <= hi; }

uint32_t ramp_colour(const Ramp& ramp, float t, uint32_t alpha) {
    int i = 0;
    while (i < ramp.count - 2 && t > ramp.stops[i + 1].at) i++;
    const RampStop& a = ramp.stops[i];
    const RampStop& b = ramp.stops[i + 1];
    const float u = (t - a.at) / (b.at - a.at);
    uint32_t out = alpha;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const float lo = (float)((a.rgb >> shift) & 255), hi = (float)((b.rgb >> shift) & 255);
        out |= (uint32_t)(lo + (hi - lo) * u + 0.5f) << shift;
    }
    return out;
}

float clamp01(float v) { return v < 0 ? 0 : v > 1 ? 1 : v; }

}  // namespace

uint32_t case_recolor(uint32_t p, int c) {
    const uint32_t alpha = p & 0xFF000000u;
    if (alpha >> 24 == MARKED_ALPHA) {
        if ((c == CASE_BEIGE || c == CASE_LIGHT_GREY) && ((p >> 16) & 255) >= 0xC3 && (p & 255) >= 238)
            return LABEL_DARK;
        return p | 0xFF000000u;
    }
    if (c < 0 || c >= CASE_COLOUR_TABLE || c == CASE_UNCHANGED || c == CASE_SOLID_BLUE) return p;
    const Hsv hsv = to_hsv(p);
    const Ramp ramp = case_ramp(c);
    if (ramp.count) {
        if (!in_window(hsv, 205.0f, 255.0f)) return p;
        float t;
        if (c == CASE_GOLD) {
            const float g = clamp01((hsv.v - 0.35f) / 0.68f);
            t = (3 - 2 * g) * g * g;
        } else {
            t = clamp01((hsv.v - 0.2f) / 0.8f);
        }
        return ramp_colour(ramp, t, alpha);
    }
    if (!in_window(hsv, 150.0f, 285.0f)) return p;
    Hsv out = hsv;
    out.h = std::fmod(CASE_HUE_TARGET[c] + (hsv.h - ART_HUE) + 720.0f, 360.0f);
    out.v = std::fmin(1.0f, hsv.v * CASE_VALUE_GAIN[c]);
    return from_hsv(out, alpha);
}

int case_rainbow_step(int x, int y, int w, int h) {
    const float e = 0.65f * x / w + 0.45f * y / h;
    int step = (int)((e - std::floor(e)) * RAINBOW_STEPS);
    return step > RAINBOW_STEPS - 1 ? RAINBOW_STEPS - 1 : step;
}

uint32_t case_rainbow_variant(uint32_t p, int step) {
    const uint32_t alpha = p & 0xFF000000u;
    if (alpha >> 24 == MARKED_ALPHA) return p | 0xFF000000u;
    const Hsv hsv = to_hsv(p);
    if (!in_window(hsv, 150.0f, 285.0f)) return p;
    Hsv out = hsv;
    out.h = std::fmod((step + 0.5f) * 360.0f / RAINBOW_STEPS + (hsv.h - ART_HUE) + 720.0f, 360.0f);
    out.v = std::fmin(1.0f, 1.08f * hsv.v);
    return from_hsv(out, alpha);
}

uint32_t case_recolor_rainbow(uint32_t p, int x, int y, int w, int h) {
    return case_rainbow_variant(p, case_rainbow_step(x, y, w, h));
}
