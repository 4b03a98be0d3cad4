// Finding monster and item pictures by name, the blank-row extents of monster art, and the
// monster figures drawn from boxes and lines when a kind has no picture.
#include <algorithm>
#include <cctype>
#include <cstdio>

#include "dungeon/monsters.h"
#include "render/blit.h"
#include "render/draw.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "render/view_frame.h"
#include "saves/settings.h"

namespace {

constexpr int ITEM_PICTURES = 14;
const char* const ITEM_SPRITE_NAMES[ITEM_PICTURES + 1] = {
    nullptr,           "item_short_sword", "item_long_sword",      "item_enchanted_sword",
    "item_dagger",     "item_wooden_shield", "item_iron_shield",   "item_potion",
    "item_antidote",   "item_battle_axe",  "item_spear",           "item_venom_dagger",
    "item_tower_shield", "item_greater_potion", "item_superior_potion"};

struct LookUp {
    bool done;
    const SpriteEntry* row;
};
LookUp monster_rows[M_COUNT];
LookUp item_rows[ITEM_PICTURES + 1];

struct Extents {
    bool done;
    int32_t bottom, top;
};
Extents monster_extents[M_COUNT];

const SpriteEntry* find_named(const char* name) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%s", name);
    return sprite_find(buf);
}

const SpriteEntry* monster_row(int32_t kind) {
    if (kind < 1 || kind >= M_COUNT) return nullptr;
    LookUp& l = monster_rows[kind];
    if (!l.done) {
        char lower[24];
        std::snprintf(lower, sizeof lower, "%s", MONSTER_TYPES[kind].name);
        for (char* p = lower; *p; p++) *p = (char)std::tolower((unsigned char)*p);
        l.row = find_named(lower);
        l.done = true;
    }
    return l.row;
}

int blank_rows_bottom(const Image& im) {
    int n = 0;
    for (int r = im.h - 1; r >= 0; r--, n++)
        for (int c = 0; c < im.w; c++)
            if (im.pixels[(size_t)r * im.w + c]) return n;
    return n;
}

int blank_rows_top(const Image& im) {
    int n = 0;
    for (int r = 0; r < im.h; r++, n++)
        for (int c = 0; c < im.w; c++)
            if (im.pixels[(size_t)r * im.w + c]) return n;
    return n;
}

}  // namespace

const Image* monster_sprite(int32_t kind) {
    if (settings.monster_art == 1) return nullptr;
    return sprite_entry_image(monster_row(kind), frame_counter);
}

const Image* item_sprite(int32_t id) {
    if (id < 1 || id > ITEM_PICTURES) return nullptr;
    LookUp& l = item_rows[id];
    if (!l.done) {
        l.row = find_named(ITEM_SPRITE_NAMES[id]);
        l.done = true;
    }
    return sprite_entry_image(l.row, frame_counter);
}

void monster_sprite_extents(int32_t kind, int32_t* bottom_blank, int32_t* top_blank) {
    int32_t b = 0, t = 0;
    const SpriteEntry* row = monster_row(kind);
    if (row) {
        Extents& e = monster_extents[kind];
        if (!e.done) {
            int32_t bottoms[64], tops[64];
            int n = 0;
            if (row->anim) {
                n = std::min(row->anim->count, 64);
                for (int i = 0; i < n; i++) {
                    bottoms[i] = blank_rows_bottom(row->anim->frames[i]);
                    tops[i] = blank_rows_top(row->anim->frames[i]);
                }
            } else if (row->still) {
                n = 1;
                bottoms[0] = blank_rows_bottom(*row->still);
                tops[0] = blank_rows_top(*row->still);
            }
            if (n > 0) {
                std::sort(bottoms, bottoms + n);
                std::sort(tops, tops + n);
                e.bottom = bottoms[n / 2];
                e.top = tops[n / 2];
            }
            e.done = true;
        }
        b = e.bottom;
        t = e.top;
    }
    if (bottom_blank) *bottom_blank = b;
    if (top_blank) *top_blank = t;
}

// ---- figures of primitives ----

namespace {

void box(int x, int y, int w, int h, int c) { screen_fill_rect(x, y, w, h, c); }

void figure_goblin(int x, int y, int f) {
    box(x, y, 18, 13, 2);
    box(x + 3, y - 8, 12, 8, 2);
    screen_pixel(x + 6, y - 5, 0);
    screen_pixel(x + 11, y - 5, 0);
    screen_hline(x + 5, y - 2, 8, 0);
    screen_line(x + 18, y + 5, x + 28, y - f, 2);
    screen_line(x + 28, y - f, x + 28, y - f - 6, 2);
}

void figure_rat(int x, int y, int f) {
    box(x - 5, y + 5, 28, 8, 2);
    box(x + 20, y + 2, 8, 9, 2);
    screen_pixel(x + 24, y + 5, 0);
    screen_line(x + 28, y + 7, x + 33, y + 6 + f, 2);
    screen_line(x + 28, y + 10, x + 33, y + 11 + f, 2);
    box(x - 3, y + 13, 3, 3, 2);
    box(x + 5, y + 13, 3, 3, 2);
    box(x + 13, y + 13, 3, 3, 2);
    screen_line(x - 5, y + 7, x + f - 13, y - 2, 2);
}

void figure_skeleton(int x, int y, int f) {
    box(x + 5, y - 10, 13, 10, 2);
    box(x + 8, y - 8, 2, 2, 0);
    box(x + 13, y - 8, 2, 2, 0);
    screen_hline(x + 9, y - 3, 6, 0);
    screen_vline(x + 11, y, 15, 2);
    for (int r : {3, 7, 11}) screen_hline(x + 5, y + r, 13, 2);
    screen_line(x + 5, y + 3, x - 3 - f, y + 11, 2);
    screen_line(x + 18, y + 3, x + 26 + f, y + 11, 2);
    screen_vline(x + 7, y + 15, 5, 2);
    screen_vline(x + 14, y + 15, 5, 2);
}

void figure_dragon(int x, int y, int f) {
    box(x - 5, y, 30, 15, 2);
    box(x + 22, y - 5, 13, 9, 2);
    box(x + 33, y + 1, 5, 4, 2);
    screen_pixel(x + 27, y - 2, 0);
    screen_line(x, y, x - 10, y - 10, 2);
    screen_line(x - 10, y - 10, x + 5, y - 5, 2);
    screen_line(x + 5, y - 5, x + 14, y - 10, 2);
    screen_line(x + 14, y - 10, x + 20, y - 5, 2);
    for (int i = 0; i < 6; i++) screen_line(x + 4 * i, y + 1, x + 4 * i + 2, y - 3, 2);
    box(x - 3, y + 15, 5, 4, 2);
    box(x + 7, y + 15, 5, 4, 2);
    box(x + 17, y + 15, 5, 4, 2);
    if (f) {
        screen_line(x + 38, y + 2, x + 46, y, 2);
        screen_line(x + 38, y + 4, x + 49, y + 4, 2);
        screen_line(x + 38, y + 6, x + 46, y + 7, 2);
    }
}

void figure_bat(int x, int y, int f) {
    const int w = 3 * f;
    box(x + 10, y + w - 12, 11, 9, 2);
    screen_line(x + 10, y + w - 12, x + 11, y + w - 16, 2);
    screen_line(x + 11, y + w - 16, x + 13, y + w - 12, 2);
    screen_line(x + 20, y + w - 12, x + 19, y + w - 16, 2);
    screen_line(x + 19, y + w - 16, x + 17, y + w - 12, 2);
    box(x + 12, y + w - 9, 2, 2, 3);
    box(x + 17, y + w - 9, 2, 2, 3);
    screen_pixel(x + 14, y + w - 4, 0);
    screen_pixel(x + 16, y + w - 4, 0);
    // Each wing: a leading edge out to the tip, two ribs back to the body and the trailing edge;
    // the tips sit high on bob frame 1 and low on frame 0.
    const int tip = f ? -16 : 0;
    const int by = y + w - 10;
    screen_line(x + 10, by, x - 2, by + tip - 2, 2);
    screen_line(x - 2, by + tip - 2, x - 6, by + tip + 4, 2);
    screen_line(x - 6, by + tip + 4, x + 2, by + tip / 2 + 4, 2);
    screen_line(x + 2, by + tip / 2 + 4, x + 10, by + 5, 2);
    screen_line(x + 20, by, x + 32, by + tip - 2, 2);
    screen_line(x + 32, by + tip - 2, x + 36, by + tip + 4, 2);
    screen_line(x + 36, by + tip + 4, x + 28, by + tip / 2 + 4, 2);
    screen_line(x + 28, by + tip / 2 + 4, x + 20, by + 5, 2);
}

void figure_slime(int x, int y, int f) {
    box(x - 1, y + 8, 33, 12, 2);
    box(x + 3, y + f + 2, 25, 6 - f, 2);
    box(x + 8, y + f - 2, 15, 4, 2);
    box(x + 9, y + 6, 3, 3, 0);
    box(x + 19, y + 6, 3, 3, 0);
    screen_hline(x + 12, y + 13, 7, 0);
    box(x + 5, y + f + 3, 2, 2, 3);
    screen_vline(x + 1, y + 20, 2, 2);
    screen_vline(x + 26, y + 20, 3, 2);
}

void figure_orc(int x, int y, int f) {
    box(x + 3, y - 10, 25, 18, 2);
    box(x + 7, y - 22, 17, 12, 2);
    const int eye = view_frame.scene.monster_buff > 0 ? 3 : 0;
    box(x + 10, y - 19, 3, 2, eye);
    box(x + 18, y - 19, 3, 2, eye);
    screen_vline(x + 10, y - 13, 3, 3);
    screen_vline(x + 20, y - 13, 3, 3);
    screen_hline(x + 3, y + 4, 25, 0);
    box(x + 5, y + 8, 8, 12, 2);
    box(x + 18, y + 8, 8, 12, 2);
    box(x - 2, y - 9, 5, 12, 2);
    box(x + 28, y - 9, 5, 10, 2);
    screen_line(x + 31, y, x + 38, y - f - 16, 2);
    screen_line(x + 32, y, x + 39, y - f - 16, 2);
    box(x + 35, y - f - 24, 7, 9, 2);
}

void figure_mimic(int x, int y, int f) {
    const int l = -2 * f;
    box(x - 1, y + 4, 33, 16, 1);
    screen_rect(x - 1, y + 4, 33, 16, 2);
    screen_vline(x + 6, y + 4, 16, 2);
    screen_vline(x + 24, y + 4, 16, 2);
    box(x - 2, y + l - 10, 35, 8, 1);
    screen_rect(x - 2, y + l - 10, 35, 8, 2);
    box(x, y + l - 2, 31, 6 - l, 0);
    for (int i = 0; i < 6; i++) {
        screen_line(x + 1 + 5 * i, y + l - 2, x + 3 + 5 * i, y + l + 1, 3);
        screen_line(x + 3 + 5 * i, y + l + 1, x + 5 + 5 * i, y + l - 2, 3);
        screen_line(x + 1 + 5 * i, y + 3, x + 3 + 5 * i, y, 3);
        screen_line(x + 3 + 5 * i, y, x + 5 + 5 * i, y + 3, 3);
    }
    box(x + 14, y, 9, 3, 2);
    box(x + 8, y + l - 8, 3, 3, 3);
    box(x + 20, y + l - 8, 3, 3, 3);
}

}  // namespace

void draw_monster_primitive(int32_t kind, int x, int y) {
    const Image* im = monster_sprite(kind);
    if (im) {
        const int room = y - screen_layout.view.y0 - 7 - view_frame.scene.lunge;
        const int density = im->density > 1 ? im->density : 1;
        const int h = std::max(1, im->h / density);
        float s = 1.0f;
        if (density >= 2) {
            if (room >= 2 * h)
                s = 2.0f;
            else if (room > h)
                s = (float)room / (float)h;
        }
        sprite_draw_at_scale(im, x + 15, y + 16, s);
        return;
    }
    const int f = (frame_counter / 6) & 1;
    switch (kind) {
        case M_RAT: figure_rat(x, y, f); break;
        case M_SKELETON: figure_skeleton(x, y, f); break;
        case M_DRAGON: figure_dragon(x, y, f); break;
        case M_BAT: figure_bat(x, y, f); break;
        case M_SLIME: figure_slime(x, y, f); break;
        case M_ORC: figure_orc(x, y, f); break;
        case M_MIMIC: figure_mimic(x, y, f); break;
        default: figure_goblin(x, y, f); break;
    }
}
