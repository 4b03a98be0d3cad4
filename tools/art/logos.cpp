// The two splash logos: the crest over the game's name. They alone use the extra colours
// 4 (light blue), 5 (green) and 6 (white).
#include <cmath>

#include "paint.h"

namespace {

constexpr int BLUE = 4, GREEN = 5, WHITE = 6;

// The name in the 5x7 font blown up to kx x ky blocks, white over a blue drop shadow with a
// shaded lower half so the letters look cut.
void title(Pic& p, int cx, int y, const char* text, int kx, int ky, int gap) {
    int x = cx - big_text_width(text, kx, gap) / 2;
    big_text(p, x + 2, y + 2, text, kx, ky, gap, BLUE);
    big_text(p, x, y, text, kx, ky, gap, WHITE);
    for (int yy = y + ky * 4; yy < y + ky * 7; yy++)
        for (int xx = x; xx < x + big_text_width(text, kx, gap); xx++)
            if (p.at(xx, yy) == WHITE && (xx + yy) % 2 == 0) p.put(xx, yy, 3);
}

// The crest with a halo of rays and green laurel sprigs at its sides.
void emblem(Pic& p, float cx, float top, float s) {
    float cy = top + 11 * s;
    for (int i = 0; i < 16; i++) {
        float a = i * PI / 8, r0 = 14 * s, r1 = (i % 2 ? 15.5f : 17.5f) * s;
        line(p, cx + r0 * std::cos(a), cy + r0 * std::sin(a), cx + r1 * std::cos(a), cy + r1 * std::sin(a),
             i % 2 ? 1 : BLUE);
    }
    for (int side = -1; side <= 1; side += 2)
        for (int i = 0; i < 5; i++) {
            float t = i / 4.f, a = PI * (-0.05f + 0.42f * t);   // climbing the shield's flank
            float x = cx + side * 12.5f * s * std::cos(a), y = cy + 12.5f * s * std::sin(a);
            disc(p, x, y, 1.6f * s, 0.9f * s, GREEN);
            disc(p, x - side * 0.5f * s, y - 0.4f * s, 0.7f * s, 0.4f * s, 3);
        }
    crest(p, cx, top, s, 1, WHITE, BLUE);
}

void logo_landscape(Pic& p, int, int) {
    emblem(p, 86, 18, 2.8f);
    title(p, 86, 104, "QUILLMARCH", 3, 3, 2);
    for (int x = 20; x < 152; x++) p.put(x, 131, x % 3 ? GREEN : 0);
    ball(p, 86, 131, 2.5f, 2.5f, -0.3f);
}

void logo_portrait(Pic& p, int, int) {
    emblem(p, 72, 22, 2.8f);
    title(p, 72, 110, "QUILL", 4, 4, 3);
    title(p, 72, 145, "MARCH", 4, 4, 3);
    for (int x = 24; x < 120; x++) p.put(x, 178, x % 3 ? GREEN : 0);
}

}  // namespace

const ArtEntry ART_LOGOS[] = {
    {"splash_logo", logo_landscape},
    {"splash_logo_portrait", logo_portrait},
    {nullptr, nullptr},
};
