// The item pictures: weapons stand tip up, shields and potions face the viewer. Each reads by its
// outline first: blade lengths differ, the axe carries a crescent, potions differ in flask shape.
#include <cmath>

#include "paint.h"

namespace {

// A straight blade from the tip down to its base, with a dark fuller and a bright left edge.
void blade(Pic& p, float cx, float tip, float base, float hw) {
    slab(p, {{cx, tip}, {cx + hw, tip + hw * 2}, {cx + hw, base}, {cx - hw, base}, {cx - hw, tip + hw * 2}}, 2, 3, 1);
    line(p, cx, tip + hw * 2 + 1, cx, base - 2, 1);
    line(p, cx - hw + 1, tip + hw * 2, cx - hw + 1, base - 1, 3);
}

void hilt(Pic& p, float cx, float base, float guard, float grip_end) {
    slab(p, {{cx - guard, base}, {cx + guard, base}, {cx + guard - 1, base + 3}, {cx - guard + 1, base + 3}}, 2, 3, 1);
    ball(p, cx - guard, base + 1.5f, 1.8f, 1.8f, -0.1f);
    ball(p, cx + guard, base + 1.5f, 1.8f, 1.8f, -0.1f);
    limb(p, cx, base + 3, cx, grip_end, 1.7f, 1.7f, 0.45f);
    for (float y = base + 5; y < grip_end; y += 3) line(p, cx - 1, y, cx + 1, y - 1, 3);
    ball(p, cx, grip_end + 1.5f, 2.6f, 2.4f, -0.2f);
}

void short_sword(Pic& p, int, int) {
    blade(p, 10, 3, 27, 3);
    hilt(p, 10, 27, 6, 35);
}

void sword(Pic& p, int, int) {
    blade(p, 9, 1, 25, 3.5f);
    hilt(p, 9, 25, 7.5f, 33);
}

void long_sword(Pic& p, int, int) {
    blade(p, 10, 1, 41, 3);
    hilt(p, 10, 41, 8, 54);
}

void enchanted_sword(Pic& p, int, int) {
    blade(p, 10, 1, 41, 3.5f);
    // runes along the fuller and a glow round the blade
    for (int y = 12; y < 38; y += 5) {
        p.put(10, y, 3);
        p.put(11, y + 1, 3);
        p.put(9, y + 2, 3);
    }
    for (Pt s : {Pt{3, 8}, Pt{16, 16}, Pt{4, 28}, Pt{17, 34}}) {
        line(p, s.x - 1, s.y, s.x + 1, s.y, 3);
        line(p, s.x, s.y - 1, s.x, s.y + 1, 3);
    }
    // winged guard
    slab(p, {{1, 38}, {10, 41}, {19, 38}, {17, 44}, {10, 44}, {3, 44}}, 2, 3, 1);
    limb(p, 10, 44, 10, 54, 1.7f, 1.7f, 0.45f);
    for (float y = 46; y < 54; y += 3) line(p, 9, y, 11, y - 1, 3);
    ball(p, 10, 56, 3, 3, -0.3f);
    p.put(10, 56, 1);
}

void dagger(Pic& p, int, int) {
    blade(p, 10, 1, 11, 2.5f);
    hilt(p, 10, 11, 5, 16);
}

void venom_dagger(Pic& p, int, int) {
    // a wavy blade dripping poison
    std::vector<Pt> b = {{10, 1}};
    for (int i = 0; i <= 4; i++) b.push_back({12.5f + (i % 2 ? 1.5f : 0), 3.f + i * 2});
    for (int i = 4; i >= 0; i--) b.push_back({7.5f + (i % 2 ? 1.5f : 0), 3.f + i * 2});
    slab(p, b, 2, 3, 1);
    line(p, 10, 4, 10, 10, 1);
    hilt(p, 10, 11, 5, 16);
    ball(p, 15, 8, 1.2f, 1.6f, -0.4f);
    ball(p, 16, 12.5f, 1.4f, 1.8f, -0.4f);
    p.put(13, 4, 3);
}

void battle_axe(Pic& p, int, int) {
    limb(p, 8, 6, 8, 58, 1.7f, 1.7f, 0.35f);
    for (int y = 44; y < 57; y += 3) line(p, 7, y, 9, y - 1, 3);
    ball(p, 8, 58, 2.2f, 1.8f, 0);
    slab(p, {{8, 9}, {15, 3}, {19, 10}, {19, 24}, {15, 31}, {8, 25}}, 2, 3, 1);   // crescent bit
    disc(p, 10, 17, 2.5f, 6, 1);                                                     // its hollow
    line(p, 18, 10, 18, 24, 3);
    slab(p, {{8, 13}, {1, 16}, {8, 20}}, 2, 3, 1);                                   // back spike
    limb(p, 8, 6, 8, 1, 1.4f, 0.5f, -0.2f);
}

void spear(Pic& p, int, int) {
    limb(p, 10, 15, 10, 59, 1.3f, 1.3f, 0.35f);
    slab(p, {{10, 0}, {14, 7}, {12, 14}, {8, 14}, {6, 7}}, 2, 3, 1);
    line(p, 10, 3, 10, 12, 1);
    rect(p, 8, 14, 5, 3, 1);
    rect(p, 9, 15, 3, 1, 3);
    for (int i = 0; i < 3; i++) line(p, 9.f + i, 17, 7.f + i * 3, 24.f - i, 1);   // tassel
}

void wooden_shield(Pic& p, int, int) {
    disc(p, 20, 20, 19, 19, 3);
    disc(p, 20, 20, 18, 18, 1);
    disc(p, 20, 20, 16.5f, 16.5f, 2);
    for (int x = 9; x < 33; x += 6) line(p, x, 4, x, 36, 1);
    for (int a = 0; a < 8; a++) {   // rivets round the rim
        float t = a * PI / 4;
        p.put((int)(20 + 17.2f * std::cos(t)), (int)(20 + 17.2f * std::sin(t)), 3);
    }
    ball(p, 20, 20, 5, 5, -0.2f);   // boss
}

void iron_shield(Pic& p, int, int) {
    std::vector<Pt> s = {{3, 2}, {37, 2}, {37, 20}};
    for (int i = 1; i < 8; i++) {
        float t = i / 8.f;
        s.push_back({37 - 17 * t, 20 + 18 * std::sin(t * PI / 2)});
    }
    s.push_back({20, 38});
    for (int i = 7; i >= 1; i--) {
        float t = i / 8.f;
        s.push_back({3 + 17 * t, 20 + 18 * std::sin(t * PI / 2)});
    }
    s.push_back({3, 20});
    slab(p, s, 2, 3, 1);
    rect(p, 18, 5, 5, 28, 3);      // a cross
    rect(p, 7, 12, 27, 4, 3);
    line(p, 22, 5, 22, 32, 1);
    line(p, 7, 15, 33, 15, 1);
    for (Pt r : {Pt{6, 5}, Pt{34, 5}, Pt{6, 24}, Pt{34, 24}}) p.put((int)r.x, (int)r.y, 3);
}

void tower_shield(Pic& p, int, int) {
    std::vector<Pt> s;
    for (int i = 0; i <= 8; i++) {
        float t = PI * i / 8;
        s.push_back({20 - 14 * std::cos(t), 6 - 5 * std::sin(t)});
    }
    s.push_back({34, 39});
    s.push_back({6, 39});
    slab(p, s, 2, 3, 1);
    for (int y : {10, 30}) {
        rect(p, 7, y, 27, 3, 1);
        line(p, 7, y, 33, y, 3);
    }
    line(p, 20, 2, 20, 38, 1);
    line(p, 19, 2, 19, 38, 3);
    ball(p, 20, 20, 4, 4, -0.2f);
}

void kite_shield(Pic& p, int, int) {
    std::vector<Pt> s;
    for (int i = 0; i <= 8; i++) {
        float t = PI * i / 8;
        s.push_back({15 - 13 * std::cos(t), 9 - 8 * std::sin(t)});
    }
    s.push_back({28, 12});
    s.push_back({15, 29});
    s.push_back({2, 12});
    slab(p, s, 2, 3, 1);
    slab(p, {{15, 4}, {21, 11}, {15, 22}, {9, 11}}, 1, 1, 1);   // a dark lozenge with a light core
    slab(p, {{15, 8}, {18, 11}, {15, 16}, {12, 11}}, 3, 3, 3);
}

// Glass that shows its contents: liquid below `level`, the glass above it.
void fill_liquid(Pic& p, int level) {
    for (int y = level; y < p.h; y++)
        for (int x = 0; x < p.w; x++)
            if (p.at(x, y) == 2) p.put(x, y, 3);
            else if (p.at(x, y) == 3) p.put(x, y, 2);
}

void cork(Pic& p, float cx, float top, float hw) {
    slab(p, {{cx - hw, top}, {cx + hw, top}, {cx + hw - 0.5f, top + 3}, {cx - hw + 0.5f, top + 3}}, 1, 2, 1);
}

void potion(Pic& p, int, int) {
    rect(p, 5, 4, 4, 6, 2);
    line(p, 5, 4, 5, 9, 3);
    ball(p, 7, 15, 6.5f, 6.5f, 0.25f);
    fill_liquid(p, 14);
    line(p, 2, 14, 11, 14, 1);
    cork(p, 7, 1, 2.5f);
    rect(p, 4, 11, 2, 2, 3);
}

void antidote(Pic& p, int, int) {
    slab(p, {{3, 8}, {11, 8}, {12, 21}, {2, 21}}, 2, 3, 1);
    rect(p, 5, 4, 4, 5, 2);
    cork(p, 7, 1, 2.5f);
    rect(p, 3, 11, 8, 8, 1);   // label with a cross
    rect(p, 6, 12, 2, 6, 3);
    rect(p, 4, 14, 6, 2, 3);
}

void greater_potion(Pic& p, int, int) {
    rect(p, 8, 3, 4, 5, 2);
    ball(p, 10, 13, 9, 6.5f, 0.25f);
    fill_liquid(p, 11);
    line(p, 2, 11, 17, 11, 1);
    cork(p, 10, 0, 2.5f);
    rect(p, 4, 9, 2, 2, 3);
}

void superior_potion(Pic& p, int, int) {
    slab(p, {{8, 8}, {12, 8}, {18, 19}, {2, 19}}, 2, 3, 1);
    fill_liquid(p, 13);
    rect(p, 8, 3, 4, 5, 2);
    cork(p, 10, 0, 2.5f);
    for (Pt s : {Pt{16, 3}, Pt{3, 6}}) {
        line(p, s.x - 2, s.y, s.x + 2, s.y, 3);
        line(p, s.x, s.y - 2, s.x, s.y + 2, 3);
    }
}

void gold(Pic& p, int, int) {
    auto coin = [&](float x, float y) {
        disc(p, x, y, 4.5f, 2.2f, 1);
        disc(p, x, y - 1, 4.5f, 2.2f, 2);
        disc(p, x - 0.5f, y - 1.5f, 2.8f, 1.0f, 3);
    };
    coin(5, 13);
    coin(17, 13);
    coin(11, 14);
    coin(8, 10);
    coin(14, 10);
    coin(11, 7);
    coin(11, 4.5f);
    p.put(17, 3, 3);
    line(p, 16, 3, 18, 3, 3);
    line(p, 17, 2, 17, 4, 3);
}

void key(Pic& p, int, int) {
    disc(p, 5.5f, 6, 5, 5, 2);
    recolor(p, 4, 4, 2.5f, 2, 3);
    disc(p, 5.5f, 6, 2.2f, 2.2f, 0);
    thick(p, 10, 6, 28, 6, 1.3f, 2);
    line(p, 10, 5, 28, 5, 3);
    rect(p, 21, 7, 2, 4, 2);
    rect(p, 25, 7, 2, 5, 2);
    line(p, 10, 7, 28, 7, 1);
}

}  // namespace

const ArtEntry ART_ITEMS[] = {
    {"item_antidote", antidote},
    {"item_battle_axe", battle_axe},
    {"item_dagger", dagger},
    {"item_enchanted_sword", enchanted_sword},
    {"item_gold", gold},
    {"item_greater_potion", greater_potion},
    {"item_iron_shield", iron_shield},
    {"item_key", key},
    {"item_long_sword", long_sword},
    {"item_potion", potion},
    {"item_shield", kite_shield},
    {"item_short_sword", short_sword},
    {"item_spear", spear},
    {"item_superior_potion", superior_potion},
    {"item_sword", sword},
    {"item_tower_shield", tower_shield},
    {"item_venom_dagger", venom_dagger},
    {"item_wooden_shield", wooden_shield},
    {nullptr, nullptr},
};
