// The window icon: the order's crest, drawn by a few lines of geometry at 64 x 64. A dark-edged
// shield with a gold border on a deep blue field, a gold chevron, and a white quill laid across
// it from the upper right down to a gold nib.
#include "platform/icon.h"

#include <cmath>

namespace {

constexpr uint32_t OUTLINE = 0x10141CFF, GOLD = 0xE8B848FF, GOLD_DARK = 0x9C6E24FF,
                   FIELD = 0x22365AFF, FIELD_DARK = 0x182843FF, QUILL = 0xF4F4EEFF,
                   QUILL_SHADE = 0xB8C4D4FF, SHAFT = 0x6C7C94FF;

// Inside the shield shrunk by `inset` pixels: straight sides down to row 28, then a curve to the
// point at the bottom centre.
bool in_shield(float x, float y, float inset) {
    const float cx = 31.5f, top = 3 + inset, bottom = 61 - inset, half = 27 - inset;
    if (y < top || y > bottom || half <= 0) return false;
    float hw = half;
    if (y > 28) {
        float t = (y - 28) / (bottom - 28);
        hw = half * std::sqrt(std::fmax(0.f, 1 - t * t));
    }
    return std::fabs(x - cx) <= hw;
}

float seg_dist(float px, float py, float ax, float ay, float bx, float by, float* t_out) {
    float dx = bx - ax, dy = by - ay;
    float t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
    t = std::fmin(1.f, std::fmax(0.f, t));
    if (t_out) *t_out = t;
    float qx = px - (ax + dx * t), qy = py - (ay + dy * t);
    return std::sqrt(qx * qx + qy * qy);
}

uint32_t icon_color(int ix, int iy) {
    const float x = ix + 0.5f, y = iy + 0.5f;
    if (!in_shield(x, y, 0)) return 0;
    if (!in_shield(x, y, 1.5f)) return OUTLINE;
    if (!in_shield(x, y, 4.5f)) return in_shield(x - 1, y - 1, 1.5f) && x < 31.5f ? GOLD : GOLD_DARK;
    // the quill: a shaft from the feather's tip to the nib, vanes either side of it
    const float ax = 47, ay = 8, bx = 18, by = 50;
    float t = 0;
    float d = seg_dist(x, y, ax, ay, bx, by, &t);
    const float side = (x - ax) * (by - ay) - (y - ay) * (bx - ax);  // which vane
    if (t < 0.78f) {
        float w = 7.5f * std::sin(3.1415927f * std::fmin(1.f, t / 0.78f)) + 0.8f;
        if (d < 0.9f) return SHAFT;
        if (d < w) {
            // barbs: thin notches slanting back along the vane
            int barb = (int)std::floor(t * 60 + d * 0.9f) % 5;
            if (barb == 0 && d > 2) return side > 0 ? QUILL_SHADE : SHAFT;
            return side > 0 ? QUILL : QUILL_SHADE;
        }
    } else if (d < 2.4f * (1 - t) / 0.22f + 0.3f) {
        return (int)(t * 40) % 3 == 0 ? GOLD_DARK : GOLD;  // the nib
    }
    // the chevron under the quill
    if (seg_dist(x, y, 13, 46, 31.5f, 31, nullptr) < 3.2f || seg_dist(x, y, 50, 46, 31.5f, 31, nullptr) < 3.2f)
        return y < 31 + 3.2f * 0.5f || x < 31.5f ? GOLD : GOLD_DARK;
    return (ix + iy) % 2 == 0 && y > 40 ? FIELD_DARK : FIELD;
}

uint8_t icon_buf[ICON_SIZE * ICON_SIZE * 4];

}  // namespace

const uint8_t* icon_pixels() {
    for (int y = 0; y < ICON_SIZE; y++)
        for (int x = 0; x < ICON_SIZE; x++) {
            uint32_t c = icon_color(x, y);
            uint8_t* p = icon_buf + (y * ICON_SIZE + x) * 4;
            p[0] = (uint8_t)(c >> 24);
            p[1] = (uint8_t)(c >> 16);
            p[2] = (uint8_t)(c >> 8);
            p[3] = (uint8_t)c;
        }
    return icon_buf;
}
