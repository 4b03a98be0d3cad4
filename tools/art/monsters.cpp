// The monsters, drawn with shaded solids. Each function gets frame f of n; every motion is a
// whole number of sine cycles over the loop so that the last frame runs into the first.
#include <algorithm>
#include <cmath>

#include "paint.h"

namespace {

// sin of `cycles` whole turns over the loop, at frame f of n
float wave(int f, int n, float cycles = 1, float phase = 0) {
    return std::sin(2 * PI * ((float)f * cycles / (float)n + phase));
}

int iround(float v) { return (int)std::lround(v); }

void eye(Pic& p, float x, float y, float r) {
    disc(p, x, y, r, r * 0.8f, 0);
    p.put((int)x, (int)y, 3);
}

// ---- rat: side view, facing left; sniffs, breathes and swishes its tail ----
void rat(Pic& p, int f, int n) {
    float br = wave(f, n);
    int hy = iround(wave(f, n, 2) * 0.8f);
    float tail = wave(f, n, 1, 0.25f);
    chain(p, {{58, 24}, {65, 27}, {70, 24}, {71.f + tail, 17}, {68.f + 2 * tail, 10}, {64.f + 3 * tail, 6}},
          2.0f, 0.6f, 0.15f);
    ball(p, 52, 23, 9, 8.5f, 0.15f);                                     // haunch
    limb(p, 50, 28, 45, 31.5f, 2, 1.3f, 0.2f);                            // hind foot
    ball(p, 38, 20.f - br * 0.4f, 20, 10.5f + br * 0.5f, 0.05f);          // body
    limb(p, 23, 24, 21, 31, 2.2f, 1.6f, 0.2f);                            // fore leg
    limb(p, 21, 31.5f, 16, 31.5f, 1.3f, 1.0f, 0.1f);
    limb(p, 31, 26, 30, 31, 2.0f, 1.4f, 0.25f);                           // far fore leg
    // head
    ball(p, 22, 16.f + hy, 8.5f, 7.5f, 0.05f);
    limb(p, 20, 17.f + hy, 7, 21.f + hy, 7, 2.6f, 0.05f);
    ball(p, 27, 8.f + hy, 4.5f, 5, -0.1f);                                // ear
    disc(p, 27.5f, 8.5f + hy, 2.2f, 3, 1);
    ball(p, 5.5f, 20.5f + hy, 2.2f, 2, -0.5f);                            // nose
    eye(p, 15, 15.f + hy, 2.2f);
    p.put(14, 14 + hy, 3);
    line(p, 7, 24.f + hy, 9, 24.f + hy, 3);                               // teeth
    line(p, 8, 25.f + hy, 8, 26.f + hy, 3);
    for (int w = -1; w <= 1; w++) line(p, 7, 21.f + hy, 0, 20.f + hy + w * 3 + br, 2);
    // fur strokes along the back
    for (int i = 0; i < 4; i++) line(p, 34.f + i * 6, 16.f - br * 0.4f, 37.f + i * 6, 15.f - br * 0.4f, 1);
}

// ---- goblin: front view, crouched, knife raised; breathes and blinks ----
void goblin(Pic& p, int f, int n) {
    float br = wave(f, n, 2);
    int b = iround(br * 0.7f);
    limb(p, 19, 31, 17, 37, 3.2f, 2.8f, 0.3f);
    limb(p, 28, 31, 30, 37, 3.2f, 2.8f, 0.3f);
    ball(p, 16, 38, 4, 1.8f, 0.2f);
    ball(p, 31, 38, 4, 1.8f, 0.2f);
    ball(p, 23.5f, 27.f + b * 0.5f, 9.5f, 8.f - b * 0.3f, 0.3f);          // tunic
    line(p, 15, 31, 32, 31, 1);
    rect(p, 22, 30, 3, 3, 3);                                             // buckle
    limb(p, 15, 23.f + b, 9, 30, 2.5f, 2.2f, 0.05f);                      // left arm
    ball(p, 8.5f, 31, 2.8f, 2.8f, 0);
    limb(p, 32, 23.f + b, 37, 19.f + b, 2.5f, 2.2f, 0.05f);               // knife arm
    slab(p, {{38, 17.f + b}, {41, 2.f + b}, {44, 5.f + b}, {40, 18.f + b}}, 2, 3, 1);
    line(p, 35, 17.f + b, 42, 19.f + b, 1);                               // knife guard
    ball(p, 38, 18.f + b, 2.8f, 2.8f, 0);
    // head with wide ears
    slab(p, {{16, 9.f + b}, {1, 4.f + b}, {4, 8.f + b}, {15, 17.f + b}});
    slab(p, {{31, 9.f + b}, {46, 4.f + b}, {43, 8.f + b}, {32, 17.f + b}});
    line(p, 5, 7.f + b, 14, 11.f + b, 1);
    line(p, 42, 7.f + b, 33, 11.f + b, 1);
    ball(p, 23.5f, 12.f + b, 10, 8.5f, 0);
    limb(p, 17, 9.f + b, 22, 11.f + b, 1.1f, 1.1f, 0.5f);                 // brows
    limb(p, 30, 9.f + b, 25, 11.f + b, 1.1f, 1.1f, 0.5f);
    bool blink = f == n - 3 || f == n - 2;
    if (blink) {
        line(p, 17, 13.f + b, 21, 13.f + b, 1);
        line(p, 26, 13.f + b, 30, 13.f + b, 1);
    } else {
        disc(p, 19, 13.f + b, 2.4f, 1.6f, 0);
        disc(p, 28, 13.f + b, 2.4f, 1.6f, 0);
        p.put(19, 13 + b, 3);
        p.put(28, 13 + b, 3);
    }
    ball(p, 23.5f, 15.5f + b, 2, 2.4f, -0.1f);                            // nose
    rect(p, 18, 18 + b, 12, 2, 0);                                        // grin
    for (int x = 18; x < 30; x += 3) p.put(x + 1, 18 + b, 3);
    p.put(20, 19 + b, 3);
    p.put(27, 19 + b, 3);
}

// ---- skeleton: front view with a notched sword; sways, jaw chatters ----
void skeleton(Pic& p, int f, int n) {
    int sx = iround(wave(f, n) * 1.2f);
    int jaw = (f % 8 == 1 || f % 8 == 2) ? 1 : 0;
    // legs
    for (int s = -1; s <= 1; s += 2) {
        float hx = 24 + s * 4.f;
        limb(p, hx, 38, hx + s * 1.5f, 44, 1.4f, 1.2f, -0.15f);
        ball(p, hx + s * 1.5f, 44, 1.9f, 1.9f, -0.2f);
        limb(p, hx + s * 1.5f, 44, hx + s * 1.5f, 47, 1.2f, 1.1f, -0.15f);
        limb(p, hx + s * 1.5f - 2, 48, hx + s * 1.5f + 2, 48, 1, 1, -0.1f);
    }
    slab(p, {{18, 33}, {30, 33}, {32, 37}, {24, 40}, {16, 37}}, 2, 3, 1);  // pelvis
    disc(p, 24, 36.5f, 1.8f, 1.4f, 0);
    // spine and ribs swaying above the hips
    limb(p, 24, 33, 24.f + sx, 17, 1.2f, 1.2f, -0.1f);
    for (int i = 0; i < 4; i++) {
        float y = 19.5f + i * 3.2f, w = 8.f - i * 0.9f;
        for (int s = -1; s <= 1; s += 2)
            chain(p, {{24.f + sx, y}, {24.f + sx + s * w * 0.7f, y + 0.2f}, {24.f + sx + s * w, y + 2.2f}}, 1.0f, 0.8f, -0.2f);
    }
    // left arm hanging
    ball(p, 16.f + sx, 19, 2.3f, 2.3f, -0.2f);
    limb(p, 16.f + sx, 19, 12.f + sx, 27, 1.3f, 1.2f, -0.15f);
    ball(p, 12.f + sx, 27, 1.6f, 1.6f, -0.2f);
    limb(p, 12.f + sx, 27, 10, 34, 1.1f, 1.0f, -0.15f);
    limb(p, 10, 34, 9, 37, 1.3f, 0.7f, 0);
    // sword arm, blade up
    ball(p, 32.f + sx, 19, 2.3f, 2.3f, -0.2f);
    limb(p, 32.f + sx, 19, 36.f + sx * 0.5f, 27, 1.3f, 1.2f, -0.15f);
    ball(p, 36.f + sx * 0.5f, 27, 1.6f, 1.6f, -0.2f);
    limb(p, 36.f + sx * 0.5f, 27, 38, 33, 1.1f, 1.0f, -0.15f);
    slab(p, {{38, 31}, {41, 4}, {43, 1}, {43, 5}, {40, 31}}, 2, 3, 1);
    p.put(41, 18, 0);
    p.put(42, 11, 0);
    line(p, 35, 31, 42, 33, 1);
    ball(p, 38.5f, 33, 2, 2, -0.1f);
    // skull
    limb(p, 24.f + sx, 14, 24.f + sx, 18, 1, 1, 0);
    slab(p, {{19.f + sx, 11.f + jaw}, {29.f + sx, 11.f + jaw}, {27.f + sx, 17.f + jaw}, {21.f + sx, 17.f + jaw}});
    ball(p, 24.f + sx, 8, 7.5f, 7, -0.3f);
    eye(p, 21.f + sx, 8.5f, 2.3f);
    eye(p, 27.f + sx, 8.5f, 2.3f);
    p.put(24 + sx, 11, 0);
    p.put(24 + sx, 12, 0);
    line(p, 20.f + sx, 14.f, 28.f + sx, 14.f, 1);
    for (int x = 21; x <= 27; x += 2) p.put(x + sx, 14 + jaw, 0);
}

// ---- slime: a dome of goo that squashes and stretches ----
void slime(Pic& p, int f, int n) {
    float s = wave(f, n);
    float rx = 15.5f + 2.2f * s, ry = 13.5f - 2.4f * s;
    float cy = 35 - ry * 0.92f;
    disc(p, 19, 34, rx + 2, 2.2f, 1);
    ball(p, 19, cy, rx, ry, 0.05f);
    for (int y = 35; y < p.h; y++) rect(p, 0, y, p.w, 1, 0);
    for (int x = 0; x < p.w; x++)   // flatten the underside onto the puddle
        if (p.at(x, 34)) p.put(x, 35, 1);
    // bubbles drifting up inside
    for (int i = 0; i < 3; i++) {
        float t = std::fmod((float)f / n + i / 3.f, 1.f);
        float bx = 12.f + i * 7, by = 33 - t * ry * 1.4f;
        if (p.at((int)bx, (int)by) && p.at((int)bx, (int)by - 2)) {
            p.put((int)bx, (int)by, 3);
            p.put((int)bx + 1, (int)by - 1, 1);
        }
    }
    disc(p, 12.f - s, cy - ry * 0.5f, 2.4f, 1.6f, 3);                    // shine
    float ey = cy - ry * 0.05f;
    disc(p, 14, ey, 2.4f, 2.8f - s * 0.4f, 0);
    disc(p, 24, ey, 2.4f, 2.8f - s * 0.4f, 0);
    p.put(13, (int)ey - 1, 3);
    p.put(23, (int)ey - 1, 3);
    rect(p, 17, (int)(ey + 4), 4, 1, 0);
    line(p, 4, 33, 4, 35, 1);
    line(p, 33, 33, 33, 35, 1);
}

// ---- bat: front view, three wing beats a loop, body bobbing against the wings ----
void bat_wing(Pic& p, float w, float by) {
    // w = 1 wings up, -1 down
    Pt sh = {30, 24 + by}, el = {18, 15 + by - 9 * w}, tip = {2, 20 + by - 17 * w};
    Pt f1 = {5, 33 + by - 11 * w}, f2 = {13, 38 + by - 6 * w}, f3 = {23, 37 + by - 2 * w}, body = {31, 33 + by};
    poly(p, {sh, el, tip, f1, f2, f3, body}, 1);
    // scallops between the finger tips
    auto notch = [&](Pt a, Pt b) { disc(p, (a.x + b.x) / 2, (a.y + b.y) / 2 + 2.2f, 3.2f, 2.8f, 0); };
    notch(tip, f1);
    notch(f1, f2);
    notch(f2, f3);
    notch(f3, body);
    thick(p, sh.x, sh.y, el.x, el.y, 1.2f, 3);
    for (Pt t : {tip, f1, f2}) thick(p, el.x, el.y, t.x, t.y, 0.6f, 2);
    line(p, el.x, el.y, f3.x, f3.y, 2);
    thick(p, tip.x, tip.y, tip.x - 1, tip.y - 2, 0.7f, 3);  // claw
}

void bat(Pic& p, int f, int n) {
    float w = wave(f, n, 3);
    float by = -2.f * wave(f, n, 3, 0.2f);
    bat_wing(p, w, by);
    mirror_x(p);
    bat_wing(p, w, by);
    ball(p, 35, 31 + by, 7.5f, 9.5f, 0.15f);
    line(p, 32, 35 + by, 38, 35 + by, 1);
    limb(p, 32, 39 + by, 31, 44 + by, 1, 0.8f, 0);
    limb(p, 38, 39 + by, 39, 44 + by, 1, 0.8f, 0);
    slab(p, {{29, 18 + by}, {27, 6 + by}, {34, 15 + by}});
    slab(p, {{41, 18 + by}, {43, 6 + by}, {36, 15 + by}});
    ball(p, 35, 20 + by, 7.5f, 6.5f, 0.05f);
    disc(p, 31.5f, 19 + by, 1.8f, 1.5f, 0);
    disc(p, 38.5f, 19 + by, 1.8f, 1.5f, 0);
    rect(p, 31, (int)(18 + by), 2, 2, 3);
    rect(p, 38, (int)(18 + by), 2, 2, 3);
    ball(p, 35, 22.5f + by, 1.6f, 1.2f, 0.4f);
    rect(p, 32, (int)(24 + by), 7, 2, 0);
    line(p, 33, 24 + by, 33, 27 + by, 3);
    line(p, 37, 24 + by, 37, 27 + by, 3);
}

// ---- orc: front view, heavy build, axe in hand; slow breathing ----
void orc(Pic& p, int f, int n) {
    float br = wave(f, n);
    int b = iround(br);
    limb(p, 22, 46, 21, 58, 5, 4.5f, 0.3f);
    limb(p, 37, 46, 38, 58, 5, 4.5f, 0.3f);
    ball(p, 20, 60.5f, 6.5f, 3.2f, 0.35f);
    ball(p, 39, 60.5f, 6.5f, 3.2f, 0.35f);
    slab(p, {{20, 46}, {39, 46}, {36, 56}, {23, 56}}, 1, 2, 1);           // loin cloth
    ball(p, 29.5f, 35.f - b * 0.5f, 15, 13.f + br * 0.5f, 0.12f);         // torso
    disc(p, 23, 31.f - b * 0.5f, 5, 3, 2);                                // chest plates
    disc(p, 36, 31.f - b * 0.5f, 5, 3, 2);
    recolor(p, 21, 30.f - b * 0.5f, 2.5f, 2, 3);
    line(p, 29, 30, 29, 44, 1);
    for (int y : {37, 41}) {
        line(p, 24, y, 27, y, 1);
        line(p, 31, y, 34, y, 1);
    }
    rect(p, 15, 45, 30, 3, 1);                                            // belt
    rect(p, 27, 44, 5, 5, 3);
    disc(p, 29.5f, 46.5f, 1.2f, 1, 1);
    // arms
    limb(p, 14, 29.f - b, 9, 44, 5.8f, 5, 0.9f);
    limb(p, 45, 29.f - b, 50, 40, 5.8f, 5, 0.9f);
    limb(p, 14, 29.f - b, 9, 44, 4.8f, 4, 0.05f);
    rect(p, 6, 38, 8, 3, 1);
    ball(p, 9, 46, 4.2f, 4, 0.1f);
    limb(p, 45, 29.f - b, 50, 40, 4.8f, 4, 0.05f);
    // a double-bitted axe: haft behind the fist, head high over the shoulder
    thick(p, 50.5f, 58, 50.5f, 2.f - b, 1.5f, 1);
    line(p, 50, 58, 50, 2.f - b, 2);
    slab(p, {{52, 6.f - b}, {58, 1.f - b}, {58, 21.f - b}, {52, 15.f - b}}, 2, 3, 1);
    slab(p, {{49, 6.f - b}, {43, 1.f - b}, {43, 21.f - b}, {49, 15.f - b}}, 2, 3, 1);
    line(p, 57, 2.f - b, 57, 20.f - b, 3);
    line(p, 44, 2.f - b, 44, 20.f - b, 3);
    rect(p, 49, 5 - b, 4, 11, 1);
    ball(p, 51, 43, 4.3f, 4, 0.1f);
    // shoulder plates
    ball(p, 15, 25.f - b, 7.5f, 6, -0.2f);
    ball(p, 44, 25.f - b, 7.5f, 6, -0.2f);
    p.put(13, 23 - b, 1);
    p.put(46, 23 - b, 1);
    // head
    int hb = b;
    slab(p, {{19, 12.f - hb}, {15, 8.f - hb}, {20, 17.f - hb}});
    slab(p, {{40, 12.f - hb}, {44, 8.f - hb}, {39, 17.f - hb}});
    ball(p, 29.5f, 13.f - hb, 10.5f, 10, 0.05f);
    ball(p, 29.5f, 19.f - hb, 10, 6, 0.15f);                             // heavy jaw
    limb(p, 21, 9.f - hb, 38, 9.f - hb, 2.4f, 2.4f, -0.05f);            // brow
    disc(p, 25, 12.5f - hb, 3, 1.6f, 0);
    disc(p, 34, 12.5f - hb, 3, 1.6f, 0);
    rect(p, 25, 12 - hb, 2, 1, 3);
    rect(p, 33, 12 - hb, 2, 1, 3);
    ball(p, 29.5f, 16.f - hb, 2.6f, 2.2f, 0);
    rect(p, 23, 21 - hb, 14, 2, 0);                                      // mouth
    for (int s = -1; s <= 1; s += 2) {                                    // tusks
        float tx = 29.5f + s * 6.5f;
        limb(p, tx, 23.f - hb, tx + s * 1.f, 15.f - hb, 1.9f, 0.6f, 0.9f);
        limb(p, tx, 23.f - hb, tx + s * 1.f, 15.f - hb, 1.3f, 0.3f, -1.f);
    }
    limb(p, 29.5f, 6.f - hb, 31, 1.f - hb, 2.2f, 1.2f, 0.4f);             // top knot
}

// ---- dragon: side view facing right; slow breath, wing drift and head sway ----
void dragon(Pic& p, int f, int n) {
    float br = wave(f, n);
    float hx = 2.5f * wave(f, n, 1, 0.1f), hy = 2.f * wave(f, n, 2);
    float wg = 2.5f * wave(f, n, 1, 0.35f);
    // far wing, dark, behind everything
    poly(p, {{64, 40}, {86, 6.f - wg}, {104, 14.f - wg}, {96, 26}, {90, 34}, {78, 42}}, 1);
    thick(p, 64, 40, 86, 6 - wg, 1.2f, 2);
    // tail curling round to the front
    chain(p, {{46, 60}, {30, 66}, {17, 70}, {8, 77}, {7, 84}, {17, 86}, {30, 84}, {38, 81}}, 9.5f, 1.5f, 0.05f);
    for (int i = 0; i < 5; i++) slab(p, {{30.f - i * 6, 58.f + i * 2.5f}, {26.f - i * 6, 52.f + i * 2.5f}, {24.f - i * 6, 61.f + i * 2.5f}});
    // far legs
    limb(p, 60, 70, 60, 84, 4.5f, 3.5f, 0.35f);
    limb(p, 103, 66, 106, 84, 4, 3.2f, 0.35f);
    // body
    ball(p, 50, 66, 12, 13, 0.1f);                                         // haunch
    ball(p, 76, 56.f - br * 0.6f, 34, 20.f + br * 0.8f, 0.15f);
    for (int i = 0; i < 7; i++) {                                           // belly scutes
        float x = 56.f + i * 7, y = 70.f + br * 0.5f + (i == 0 || i == 6 ? -2 : 0);
        line(p, x, y, x + 3, y + 4, 3);
    }
    // spines standing on the ridge of the back
    for (int i = 0; i < 6; i++) {
        float x = 52.f + i * 8.f, dx = (x - 76) / 34;
        float y = 56.f - br * 0.6f - (20.f + br * 0.8f) * std::sqrt(std::max(0.f, 1 - dx * dx)) + 2;
        slab(p, {{x - 3, y + 2}, {x + 1, y - 6}, {x + 3, y + 2}});
    }
    // near legs with claws
    limb(p, 50, 72, 47, 80, 5, 4, 0.1f);
    limb(p, 47, 80, 52, 86, 3.5f, 2.5f, 0.1f);
    limb(p, 96, 64, 99, 78, 5, 4, 0.1f);
    limb(p, 99, 78, 103, 86, 3.5f, 2.5f, 0.1f);
    for (int c = 0; c < 3; c++) {
        line(p, 53.f + c * 2, 86, 56.f + c * 2, 87, 3);
        line(p, 104.f + c * 2, 86, 107.f + c * 2, 87, 3);
    }
    // neck and head
    float nx = 124 + hx, ny = 22 + hy;
    chain(p, {{94, 48}, {106, 36}, {114, 28}, {nx - 2, ny + 2}}, 12, 7.5f, 0.05f);
    for (int i = 0; i < 4; i++) {
        float t = i / 4.f;
        float x = 98 + (nx - 98) * t, y = 50 + (ny + 8 - 50) * t;
        line(p, x + 4, y + 2, x + 9, y - 1, 3);
    }
    for (int i = 0; i < 3; i++) {
        float t = (i + 0.5f) / 3;
        float x = 96 + (nx - 8 - 96) * t, y = 34 + (ny - 8 - 34) * t;
        slab(p, {{x - 3, y + 4}, {x - 2, y - 4}, {x + 3, y + 2}});
    }
    // scales: small dark crescents over the hide of body, tail and neck (not the head)
    for (int y = 30; y < 84; y += 4)
        for (int x = 4 + (y / 4 % 2) * 3; x < 118; x += 6)
            if (p.at(x, y) == 2 && p.at(x + 2, y) == 2 && p.at(x + 1, y + 1) == 2) {
                p.put(x, y, 1);
                p.put(x + 1, y + 1, 1);
                p.put(x + 2, y, 1);
            }
    chain(p, {{nx - 2, ny - 6}, {nx - 10, ny - 14}, {nx - 19, ny - 17}}, 2.6f, 0.6f, -0.25f);  // horns
    chain(p, {{nx + 2, ny - 6}, {nx - 3, ny - 15}, {nx - 9, ny - 20}}, 2.4f, 0.6f, -0.25f);
    ball(p, nx + 4, ny, 10, 8.5f, 0);
    limb(p, nx + 6, ny + 1, nx + 29, ny + 5, 6.5f, 4.2f, 0);             // snout
    limb(p, nx + 2, ny + 8, nx + 25, ny + 10, 4, 2.4f, 0.25f);            // jaw
    line(p, nx + 8, ny + 7, nx + 30, ny + 8, 0);
    for (int t = 0; t < 4; t++) line(p, nx + 12.f + t * 5, ny + 7, nx + 13.f + t * 5, ny + 9, 3);
    limb(p, nx - 1, ny - 5, nx + 12, ny - 3, 1.6f, 1.3f, -0.3f);         // brow
    disc(p, nx + 7, ny - 1, 2.6f, 1.8f, 0);
    rect(p, (int)(nx + 7), (int)(ny - 2), 1, 3, 3);
    disc(p, nx + 29, ny + 3, 1.2f, 1, 0);                                 // nostril
    // smoke curling from the nostril late in the loop
    if (f >= n * 2 / 3) {
        float t = (float)(f - n * 2 / 3) / (float)(n - n * 2 / 3);
        for (int k = 0; k < 3; k++) {
            float sx = nx + 31 + t * 6 + k * 2, sy = ny - 2 - t * 12 - k * 4;
            disc(p, sx, sy, 1.5f - k * 0.3f, 1.2f, k == 0 ? 2 : 1);
        }
    }
    // near wing folded up from the shoulder
    Pt sh = {80, 40.f - br * 0.4f}, wr = {96, 3.f - wg};
    Pt t1 = {40, 10.f - wg * 0.5f}, t2 = {50, 28}, t3 = {64, 36};
    poly(p, {sh, wr, t1, t2, t3, {74, 40}}, 1);
    auto notch = [&](Pt a, Pt b) { recolor(p, (a.x + b.x) / 2 + 2, (a.y + b.y) / 2 + 1, 4.5f, 1, 0); };
    notch(t1, t2);
    notch(t2, t3);
    notch(t3, {74, 40});
    thick(p, sh.x, sh.y, wr.x, wr.y, 2.2f, 2);
    line(p, sh.x - 1, sh.y - 1, wr.x - 1, wr.y, 3);
    for (Pt t : {t1, t2, t3}) thick(p, wr.x, wr.y, t.x, t.y, 0.8f, 2);
    thick(p, wr.x, wr.y, wr.x + 4, wr.y - 3, 1.1f, 3);
}

// ---- mimic: a chest whose lid is a jaw ----
// lift: how far the lid stands above the rim; awake: eyes and teeth showing
void mimic_body(Pic& p, int lift, bool awake, int tongue) {
    const int x0 = 4, x1 = 68, rim_y = 26;
    // the mouth: dark inside between lid and rim
    if (lift > 0) {
        rect(p, x0 + 2, rim_y - lift, x1 - x0 - 3, lift + 2, 0);
    }
    // body
    slab(p, {{(float)x0, (float)rim_y}, {(float)x1 + 1, (float)rim_y}, {(float)x1, 39}, {(float)x0 + 1, 39}}, 2, 3, 1);
    for (int y : {31, 35}) line(p, x0 + 2, y, x1 - 2, y, 1);
    for (int bx : {12, 56}) {
        rect(p, bx, rim_y, 5, 18, 1);
        rect(p, bx + 1, rim_y, 3, 18, 3);
        for (int y = rim_y + 3; y < 39; y += 6) p.put(bx + 2, y, 1);
    }
    if (awake && lift > 1)
        for (int x = x0 + 5; x < x1 - 6; x += 8)   // lower teeth
            slab(p, {{(float)x, (float)rim_y + 1}, {x + 3.f, rim_y - 2.f - (lift > 5 ? 3 : 0)}, {x + 6.f, (float)rim_y + 1}}, 3, 3, 2);
    if (awake && tongue > 0) {
        ball(p, 36, rim_y + 2.f + tongue * 0.5f, 6, 3.f + tongue * 0.5f, 0.15f);
        line(p, 36, rim_y, 36, rim_y + 2.f + tongue, 1);
    }
    // lid: a rounded top over the rim
    int ly = rim_y - lift;
    std::vector<Pt> lid = {{(float)x0 - 1, (float)ly}, {(float)x0 - 1, ly - 8.f}};
    for (int i = 0; i <= 10; i++) {
        float a = PI * i / 10;
        lid.push_back({36 - 33 * std::cos(a), ly - 8 - 5 * std::sin(a)});
    }
    lid.push_back({(float)x1 + 2, ly - 8.f});
    lid.push_back({(float)x1 + 2, (float)ly});
    slab(p, lid, 2, 3, 1);
    line(p, x0, ly - 9, x1, ly - 9, 1);
    for (int bx : {12, 56}) {
        rect(p, bx, ly - 12, 5, 12, 1);
        rect(p, bx + 1, ly - 12, 3, 12, 3);
    }
    rect(p, 32, ly - 5, 9, 8, 1);   // lock plate
    rect(p, 33, ly - 4, 7, 6, 3);
    rect(p, 36, ly - 2, 1, 3, 0);
    if (awake && lift > 1)
        for (int x = x0 + 1; x < x1 - 5; x += 8)   // upper teeth
            slab(p, {{(float)x, (float)ly}, {x + 3.f, ly + 2.f + (lift > 5 ? 3 : 0)}, {x + 6.f, (float)ly}}, 3, 3, 2);
    if (awake) {
        for (int s : {24, 48}) {
            disc(p, (float)s, ly - 8.5f, 4.5f, 3, 0);
            rect(p, s - 2, ly - 10, 4, 3, 3);
        }
    }
}

void mimic(Pic& p, int f, int n) {
    // chatter: a quick snap in each half of the loop around a gape
    float c = wave(f, n, 4);
    int lift = 8 + iround(3 * c);
    mimic_body(p, lift, true, 3 + iround(2 * wave(f, n, 2)));
}

void mimic_open(Pic& p, int f, int n) {
    static const int LIFT[8] = {0, 0, 1, 2, 4, 6, 7, 8};
    int i = f * 8 / n;
    mimic_body(p, LIFT[i], i >= 2, i >= 5 ? i - 4 : 0);
}

// ---- chest: closed on frame 0, the lid swings back, open with treasure on the last ----
void chest(Pic& p, int f, int n) {
    float a = n > 1 ? (float)f / (float)(n - 1) : 0;  // 0 shut .. 1 open
    const int x0 = 2, x1 = 33, rim = 17;
    // inside of the chest and its gold, seen as the lid opens
    if (a > 0) {
        int top = rim - (int)(6 * a);
        rect(p, x0 + 2, top, x1 - x0 - 3, rim - top + 1, 0);
        for (int i = 0; i < 6; i++) {
            float gx = 7.f + i * 4.5f, gy = rim - 1 - 3 * a + (i % 2);
            if (gy > top) disc(p, gx, gy, 2.2f, 1.4f, i % 2 ? 3 : 2);
        }
    }
    slab(p, {{(float)x0, (float)rim}, {(float)x1 + 1, (float)rim}, {(float)x1, 33}, {(float)x0 + 1, 33}}, 2, 3, 1);
    line(p, x0 + 2, 25, x1 - 2, 25, 1);
    for (int bx : {7, 26}) {
        rect(p, bx, rim, 3, 16, 1);
        rect(p, bx + 1, rim, 1, 16, 3);
    }
    // the lid: its front face shrinks as it turns back, then its underside shows
    float face = 9 * (1 - a * 1.3f);
    if (face > 0.5f) {
        float ly = rim - 6 * a;
        std::vector<Pt> lid = {{(float)x0 - 1, ly}, {(float)x0 - 1, ly - face}};
        for (int i = 0; i <= 8; i++) {
            float t = PI * i / 8;
            lid.push_back({17.5f - 16.5f * std::cos(t), ly - face - 5 * (1 - a) * std::sin(t)});
        }
        lid.push_back({(float)x1 + 2, ly - face});
        lid.push_back({(float)x1 + 2, ly});
        slab(p, lid, 2, 3, 1);
        for (int bx : {7, 26}) {
            rect(p, bx, (int)(ly - face - 4 * (1 - a)), 3, (int)(face + 4 * (1 - a)), 1);
            rect(p, bx + 1, (int)(ly - face - 4 * (1 - a)), 1, (int)(face + 4 * (1 - a)), 3);
        }
        if (a < 0.3f) {
            rect(p, 15, (int)ly - 4, 6, 6, 1);
            rect(p, 16, (int)ly - 3, 4, 4, 3);
            p.put(18, (int)ly - 1, 0);
        }
    } else {
        // open: the lid's underside stands behind the opening
        int top = rim - 6 - (int)(10 * (a - 0.7f) / 0.3f);
        slab(p, {{(float)x0 - 1, (float)rim - 6}, {(float)x0, (float)top}, {(float)x1 + 1, (float)top}, {(float)x1 + 2, (float)rim - 6}}, 1, 2, 1);
        line(p, x0 + 2, top + 2, x1 - 1, top + 2, 2);
    }
    if (f == n - 1) {   // a glint on the treasure
        p.put(18, rim - 7, 3);
        line(p, 16, rim - 7, 20, rim - 7, 3);
        line(p, 18, rim - 9, 18, rim - 5, 3);
    }
}

// ---- skulls: a heap on the floor; a glint wanders over the crowns ----
void skull(Pic& p, float cx, float cy, float r, bool light) {
    ball(p, cx, cy, r, r * 0.9f, light ? -0.3f : -0.1f);
    slab(p, {{cx - r * 0.6f, cy + r * 0.5f}, {cx + r * 0.6f, cy + r * 0.5f}, {cx + r * 0.45f, cy + r * 1.05f}, {cx - r * 0.45f, cy + r * 1.05f}});
    disc(p, cx - r * 0.4f, cy + r * 0.05f, r * 0.3f, r * 0.28f, 0);
    disc(p, cx + r * 0.4f, cy + r * 0.05f, r * 0.3f, r * 0.28f, 0);
    p.put((int)cx, (int)(cy + r * 0.45f), 0);
}

void skulls(Pic& p, int f, int n) {
    limb(p, 3, 17, 54, 15, 1.4f, 1.4f, -0.2f);
    ball(p, 3, 17, 2, 2, -0.2f);
    ball(p, 54, 15, 2, 2, -0.2f);
    limb(p, 8, 12, 48, 18, 1.3f, 1.3f, -0.1f);
    skull(p, 12, 11.5f, 6, false);
    skull(p, 45, 11.5f, 6, false);
    skull(p, 28.5f, 8.5f, 8, true);
    int t = f * 5 / n;
    if (t < 3) {
        int gx = 22 + t * 5, gy = 3 + (t == 1 ? -1 : 0);
        p.put(gx, gy, 3);
        p.put(gx - 1, gy, 3);
        p.put(gx + 1, gy, 3);
        p.put(gx, gy - 1, 3);
        p.put(gx, gy + 1, 3);
    }
}

}  // namespace

const ArtEntry ART_MONSTERS[] = {
    {"bat", bat},       {"chest", chest}, {"dragon", dragon}, {"goblin", goblin},
    {"mimic", mimic},   {"mimic_open", mimic_open}, {"orc", orc}, {"rat", rat},
    {"skeleton", skeleton}, {"skulls", skulls}, {"slime", slime}, {nullptr, nullptr},
};
