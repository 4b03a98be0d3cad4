// The shrine's wall faces and furniture. Wall faces sit on the same dark stone courses so that
// neighbouring faces tile into one room; the furniture (pedestal, pillar, skull heaps) is drawn
// as the opaque front of a box.
#include <cmath>

#include "paint.h"

namespace {

// Dark stone courses, 8 texels tall, joints staggered by half a block on alternate courses.
void stone(Pic& p, int block = 16) {
    for (int y = 0; y < p.h; y++)
        for (int x = 0; x < p.w; x++) {
            int row = y / 8, xx = x + (row % 2) * block / 2;
            int by = y % 8, bx = xx % block;
            int c = 1;
            if (by == 7 || bx == block - 1) c = 0;                        // mortar
            else if (by == 0 || bx == 0) c = 2;                           // worn top-left edge
            unsigned h = (unsigned)(xx / block) * 2654435761u ^ (unsigned)row * 40503u;
            if (c == 1 && ((h >> 7) + (unsigned)x * 7 + (unsigned)y * 13) % 29 == 0) c = 2;  // grit
            p.put(x, y, c);
        }
}

// A round arch of stone blocks round a dark opening, from x0 to x1, springing at y_spring.
void arch(Pic& p, int x0, int x1, int y_spring, int bottom) {
    float cx = (x0 + x1 + 1) / 2.f, r = (x1 - x0 + 1) / 2.f;
    for (int y = 0; y < bottom; y++)
        for (int x = x0 - 4; x <= x1 + 4; x++) {
            float dx = x + 0.5f - cx, dy = y + 0.5f - y_spring;
            float d = dy < 0 ? std::sqrt(dx * dx + dy * dy) : std::fabs(dx);
            if (d < r) p.put(x, y, 0);
            else if (d < r + 4) {
                float a = dy < 0 ? std::atan2(dy, dx) : 0;
                int seg = dy < 0 ? (int)((a + PI) / (PI / 9)) : (y / 8);
                bool joint = dy < 0 ? std::fmod((a + PI) / (PI / 9), 1.f) < 0.12f : y % 8 == 7;
                p.put(x, y, joint ? 0 : (d < r + 1 ? 3 : (seg % 2 ? 2 : 2)));
            }
        }
}

void banner(Pic& p, int, int) {
    stone(p);
    thick(p, 6, 5, 57, 5, 1.5f, 3);                                       // rod
    ball(p, 6, 5, 2.5f, 2.5f, -0.2f);
    ball(p, 57, 5, 2.5f, 2.5f, -0.2f);
    std::vector<Pt> cloth = {{12, 6}, {51, 6}, {51, 104}, {31.5f, 90}, {12, 104}};
    poly(p, cloth, 2);
    std::vector<Pt> inner = {{15, 8}, {48, 8}, {48, 98}, {31.5f, 86}, {15, 98}};
    poly(p, inner, 1);
    for (int x : {20, 31, 42}) line(p, x, 10, x, 84, 0);                  // folds
    for (int x : {21, 32, 43}) line(p, x, 10, x, 84, 2);
    for (int y = 6; y < 8; y++) line(p, 12, y, 51, y, 3);
    crest(p, 31.5f, 22, 1.3f, 1, 3, 3);
    for (int i = 0; i < 3; i++) ball(p, 24.f + i * 7.5f, 70, 1.6f, 1.6f, -0.3f);   // three studs: the march
}

void bones(Pic& p, int, int) {
    stone(p);
    // twelve niches for the bestiary, four across and three down, framed in bone
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 4; c++) {
            int x = c * 15 + 3, y = r * 20 + 3;
            rect(p, x - 1, y - 1, 15, 19, 3);
            rect(p, x, y, 13, 17, 2);
            rect(p, x + 1, y + 1, 11, 15, 0);
            for (int k = 1; k < 17; k += 4) p.put(x - 1, y + k, 1);
        }
    // skulls on the posts between the rows
    for (int r = 1; r < 3; r++)
        for (int c = 1; c < 4; c++) {
            float x = c * 15 + 2.5f, y = r * 20 + 1.f;
            ball(p, x, y, 2.6f, 2.2f, -0.3f);
            p.put((int)x - 1, (int)y, 0);
            p.put((int)x + 1, (int)y, 0);
        }
    for (int x = 0; x < 64; x += 4) {   // a row of long bones along the foot
        limb(p, (float)x, 62, x + 3.f, 62, 1, 1, -0.2f);
    }
}

// A cabinet of three shelves with dark compartments where the weapons lie.
void cabinet(Pic& p) {
    slab(p, {{4, 2}, {60, 2}, {60, 62}, {4, 62}}, 2, 3, 1);
    for (int y = 3; y < 62; y += 5) line(p, 5, y, 59, y, 2);
    for (int cy : {7, 23, 40}) {
        int h = cy == 7 ? 13 : 14;
        rect(p, 7, cy - 1, 50, h + 2, 1);
        rect(p, 8, cy, 48, h, 0);
        line(p, 8, cy + h - 1, 55, cy + h - 1, 1);   // shelf lip in shadow
        line(p, 7, cy + h + 1, 56, cy + h + 1, 3);
    }
    for (int x : {6, 57}) rect(p, x, 2, 1, 60, 3);
    ball(p, 32, 58, 2, 1.5f, -0.2f);
}

void case_front(Pic& p, int, int) {
    stone(p);
    cabinet(p);
}

void case_back(Pic& p, int, int) {
    stone(p);
    slab(p, {{4, 2}, {60, 2}, {60, 62}, {4, 62}}, 2, 3, 1);
    for (int x = 8; x < 60; x += 7) line(p, x, 3, x, 61, 1);             // planks
    thick(p, 8, 8, 56, 56, 1.5f, 1);                                      // a cross brace
    thick(p, 56, 8, 8, 56, 1.5f, 1);
    line(p, 8, 7, 56, 55, 3);
    line(p, 56, 7, 8, 55, 3);
    for (int y : {4, 60}) rect(p, 5, y, 55, 2, 1);
}

void cases(Pic& p, int, int) {
    stone(p);
    // a glass case on a stand; its keepsake is drawn inside it
    slab(p, {{14, 50}, {50, 50}, {52, 63}, {12, 63}}, 2, 3, 1);           // stand
    line(p, 16, 55, 48, 55, 1);
    rect(p, 18, 8, 28, 42, 3);                                            // frame
    rect(p, 20, 10, 24, 39, 0);                                           // inside
    line(p, 22, 12, 22, 20, 1);                                           // glints on the glass
    line(p, 24, 12, 22, 14, 1);
    line(p, 41, 40, 41, 46, 1);
    slab(p, {{16, 4}, {48, 4}, {46, 9}, {18, 9}}, 2, 3, 1);               // cornice
}

void door(Pic& p, int, int) {
    stone(p);
    arch(p, 20, 107, 52, 112);
    // two leaves of planks bound with iron
    for (int y = 0; y < 112; y++)
        for (int x = 20; x <= 107; x++) {
            if (p.at(x, y) != 0) continue;
            float dx = x + 0.5f - 64, dy = y + 0.5f - 52;
            if (dy < 0 && dx * dx + dy * dy > 43.f * 43.f) continue;
            if (x < 22 || x > 105) continue;
            int c = (x - 22) % 9 == 0 ? 1 : 2;
            if (x == 63 || x == 64) c = 0;
            p.put(x, y, c);
        }
    for (int y : {30, 62, 94}) {
        for (int x = 22; x <= 105; x++)
            if (p.at(x, y) && x != 63 && x != 64) {
                p.put(x, y, 3);
                p.put(x, y + 1, 3);
                p.put(x, y + 2, 1);
            }
        for (int x = 26; x < 104; x += 9)
            if (x != 62 && p.at(x, y + 1) == 3) p.put(x, y + 1, 1);
    }
    for (int s : {-1, 1}) {   // ring pulls
        float cx = 64 + s * 7.f;
        disc(p, cx, 72, 3.5f, 3.5f, 3);
        disc(p, cx, 72, 2, 2, 0);
        ball(p, cx, 67, 2, 2, -0.2f);
    }
    slab(p, {{58, 1}, {70, 1}, {68, 12}, {60, 12}}, 2, 3, 1);              // keystone
    crest(p, 64, 2, 0.35f, 1, 3, 3);
    rect(p, 8, 108, 112, 4, 2);                                            // threshold
    line(p, 8, 108, 119, 108, 3);
}

void alcove(Pic& p) {
    stone(p);
    arch(p, 14, 49, 22, 52);
    slab(p, {{10, 50}, {54, 50}, {54, 63}, {10, 63}}, 2, 3, 1);           // plinth
    line(p, 12, 55, 52, 55, 1);
    line(p, 14, 58, 50, 58, 1);
}

void statue(Pic& p, int, int) {
    alcove(p);
    for (int y = 18; y < 50; y += 6) line(p, 24, y, 40, y, 1);            // a dim niche wall
}

void statue_fig(Pic& p, int, int) {
    alcove(p);
    // a hooded guardian resting on a sword, carved in pale stone
    slab(p, {{24, 16}, {40, 16}, {45, 50}, {19, 50}}, 2, 3, 1);            // robe
    line(p, 32, 22, 32, 49, 1);
    line(p, 27, 30, 25, 49, 1);
    line(p, 37, 30, 39, 49, 1);
    ball(p, 32, 13, 6, 6.5f, -0.1f);                                      // hood
    disc(p, 32, 14.5f, 3.2f, 3.5f, 0);                                    // shadowed face
    p.put(31, 14, 2);
    p.put(33, 14, 2);
    thick(p, 32, 30, 32, 49, 1.3f, 3);                                    // sword, point down
    rect(p, 27, 28, 11, 2, 3);
    ball(p, 32, 26, 3.5f, 2.5f, -0.2f);                                   // hands on the pommel
}

void pedestal(Pic& p, int, int) {
    // front of a brazier's stone drum
    rect(p, 0, 0, 64, 23, 1);
    rect(p, 0, 0, 64, 4, 2);
    line(p, 0, 0, 63, 0, 3);
    line(p, 0, 4, 63, 4, 0);
    // Five windows of 8 at a pitch of 12 leave the same 4-texel margin at both ends, clear of the rims.
    for (int x = 4; x + 8 <= 60; x += 12) {
        rect(p, x, 7, 8, 11, 0);
        rect(p, x + 1, 8, 6, 9, 1);
        line(p, x + 1, 8, x + 6, 8, 2);
    }
    rect(p, 0, 19, 64, 4, 2);
    line(p, 0, 19, 63, 19, 3);
}

void pillar(Pic& p, int, int) {
    rect(p, 0, 0, 64, 76, 1);
    rect(p, 0, 0, 64, 8, 2);                                              // capital
    line(p, 0, 0, 63, 0, 3);
    line(p, 0, 8, 63, 8, 0);
    rect(p, 2, 9, 60, 2, 2);
    for (int x = 4; x < 64; x += 8) {                                     // flutes
        line(p, x, 12, x, 66, 0);
        line(p, x + 1, 12, x + 1, 66, 2);
    }
    rect(p, 0, 67, 64, 9, 2);                                             // base
    line(p, 0, 67, 63, 67, 3);
    line(p, 0, 71, 63, 71, 1);
}

void shrine_skulls(Pic& p, int, int) {
    // a heap of skulls; its top edge is the outline the view follows
    auto skull = [&](float x, float y, float r) {
        ball(p, x, y, r, r * 0.9f, -0.2f);
        disc(p, x - r * 0.4f, y + r * 0.1f, r * 0.3f, r * 0.3f, 0);
        disc(p, x + r * 0.4f, y + r * 0.1f, r * 0.3f, r * 0.3f, 0);
        p.put((int)x, (int)(y + r * 0.5f), 0);
        line(p, x - r * 0.4f, y + r * 0.8f, x + r * 0.4f, y + r * 0.8f, 1);
    };
    disc(p, 32, 34, 34, 22, 1);
    for (int i = 0; i < 6; i++) skull(5.f + i * 11, 26, 5.5f);
    for (int i = 0; i < 5; i++) skull(10.5f + i * 11, 17, 5.5f);
    for (int i = 0; i < 3; i++) skull(21.f + i * 11, 9, 5.5f);
    limb(p, 2, 31, 62, 30, 1.2f, 1.2f, -0.2f);
}

}  // namespace

// The crest of the order: a shield bearing a quill over a chevron.
void crest(Pic& p, float cx, float top, float s, int field, int charge, int edge) {
    std::vector<Pt> sh = {{cx - 10 * s, top}, {cx + 10 * s, top}, {cx + 10 * s, top + 10 * s}};
    for (int i = 1; i < 8; i++) {
        float t = i / 8.f;
        sh.push_back({cx + 10 * s * (1 - t), top + 10 * s + 14 * s * std::sin(t * PI / 2)});
    }
    sh.push_back({cx, top + 24 * s});
    for (int i = 7; i >= 1; i--) {
        float t = i / 8.f;
        sh.push_back({cx - 10 * s * (1 - t), top + 10 * s + 14 * s * std::sin(t * PI / 2)});
    }
    sh.push_back({cx - 10 * s, top + 10 * s});
    poly(p, sh, edge);
    std::vector<Pt> in;
    for (Pt q : sh) in.push_back({cx + (q.x - cx) * 0.84f, top + 1.6f * s + (q.y - top) * 0.84f});
    poly(p, in, field);
    // chevron
    thick(p, cx - 7 * s, top + 17 * s, cx, top + 11 * s, 1.3f * s, edge);
    thick(p, cx + 7 * s, top + 17 * s, cx, top + 11 * s, 1.3f * s, edge);
    // quill: a feather from upper right down to a nib at lower left
    Pt a = {cx + 6 * s, top + 3 * s}, b = {cx - 5 * s, top + 17 * s};
    for (int i = 0; i <= 10; i++) {
        float t = i / 10.f, w = (1 - std::fabs(t * 1.6f - 0.6f)) * 3.2f * s;
        if (t > 0.8f) w = 0;
        float x = a.x + (b.x - a.x) * t, y = a.y + (b.y - a.y) * t;
        if (w > 0) thick(p, x - w * 0.6f, y - w * 0.5f, x + w * 0.6f, y + w * 0.5f, 0.9f * s, charge);
    }
    thick(p, a.x, a.y, b.x, b.y, 0.6f * s, field == 1 ? 2 : 1);
    thick(p, b.x, b.y, b.x - 1.5f * s, b.y + 2 * s, 0.7f * s, charge);
}

const ArtEntry ART_ROOMS[] = {
    {"shrine_banner", banner},     {"shrine_bones", bones},         {"shrine_case", case_front},
    {"shrine_case_back", case_back}, {"shrine_cases", cases},       {"shrine_door", door},
    {"shrine_pedestal", pedestal}, {"shrine_pillar", pillar},       {"shrine_skulls", shrine_skulls},
    {"shrine_statue", statue},     {"shrine_statue_fig", statue_fig}, {nullptr, nullptr},
};
