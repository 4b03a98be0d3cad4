// Monsters, the mimic and the objects lying on the floor, drawn as scaled pictures at the bottom
// centre the view gives them; walls in front hide them through the view's column mask and clip.
#include <algorithm>
#include <cmath>

#include "dungeon/monsters.h"
#include "world/glyphs.h"
#include "items/floor_items.h"
#include "items/item.h"
#include "render/blit.h"
#include "render/draw.h"
#include "render/objects.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "render/view_frame.h"

namespace {

int density(const Image* im) { return im->density > 1 ? im->density : 1; }

const Anim* named_anim(const char* name) {
    const SpriteEntry* e = sprite_find(name);
    return e ? e->anim : nullptr;
}

// Frame `ticks` / ticks per frame of an animation, held on its last frame; the last frame when
// the ticks are unknown (negative).
const Image* held_frame(const Anim* anim, int32_t ticks) {
    if (!anim || anim->count < 1 || !anim->frames) return nullptr;
    int i = anim->count - 1;
    if (ticks >= 0) i = std::min(ticks / std::max(1, anim->ticks_per_frame), anim->count - 1);
    return &anim->frames[i];
}

float item_scale(float depth) { return std::clamp(1.0f / std::max(depth, 0.4f), 0.5f, 1.25f) * 2.0f; }

// Fixed-size shapes for a floor letter with no picture at all.
void fallback_shape(int glyph, int x, int y) {
    switch (glyph) {
        case GLYPH_CHEST:
        case GLYPH_CHEST_OPEN:
            screen_fill_rect(x - 9, y - 10, 18, 10, 1);
            screen_rect(x - 9, y - 10, 18, 10, 2);
            screen_vline(x - 5, y - 10, 10, 2);
            screen_vline(x + 4, y - 10, 10, 2);
            if (glyph == GLYPH_CHEST) {
                screen_fill_rect(x - 10, y - 15, 20, 5, 1);
                screen_rect(x - 10, y - 15, 20, 5, 2);
                screen_fill_rect(x - 1, y - 12, 3, 4, 3);
            } else {
                screen_fill_rect(x - 8, y - 9, 16, 3, 0);
                screen_rect(x - 10, y - 19, 20, 8, 2);
                screen_fill_rect(x - 9, y - 18, 18, 6, 1);
            }
            break;
        case GLYPH_ANTIDOTE:
        case GLYPH_POTION:
            screen_fill_rect(x - 3, y - 9, 6, 8, 2);
            screen_fill_rect(x - 2, y - 12, 4, 3, 2);
            if (glyph == GLYPH_ANTIDOTE) {
                screen_hline(x - 2, y - 6, 5, 3);
                screen_vline(x, y - 8, 5, 3);
            } else {
                screen_fill_rect(x - 2, y - 7, 4, 5, 3);
            }
            break;
        case GLYPH_GOLD:
            screen_fill_rect(x - 5, y - 2, 11, 4, 3);
            screen_fill_rect(x - 3, y - 5, 7, 3, 3);
            screen_pixel(x, y - 6, 3);
            break;
        case GLYPH_KEY:
            screen_rect(x - 5, y - 7, 6, 6, 3);
            screen_hline(x + 1, y - 4, 7, 3);
            screen_pixel(x + 6, y - 3, 3);
            screen_pixel(x + 6, y - 5, 3);
            break;
        case GLYPH_SHIELD:
            screen_fill_circle(x, y - 7, 7, 2);
            screen_fill_circle(x, y - 7, 5, 1);
            screen_fill_circle(x, y - 7, 2, 3);
            break;
        case GLYPH_WEAPON:
            screen_vline(x, y - 16, 16, 2);
            screen_vline(x - 1, y - 16, 16, 2);
            screen_vline(x + 1, y - 16, 16, 1);
            screen_pixel(x, y - 18, 2);
            screen_hline(x - 4, y - 4, 9, 3);
            screen_fill_rect(x - 1, y - 2, 3, 3, 1);
            break;
        default: break;
    }
}

}  // namespace

void draw_monster(int32_t type, ViewObject obj, bool elite) {
    const Image* im = monster_sprite(type);
    if (!im) {
        // The figures are drawn from their top-left corner; their box is about 30 wide with its
        // feet 16 below it, so this stands one on the floor centred on its column.
        draw_monster_primitive(type, obj.x - 15, obj.y - 16);
        if (elite) draw_crown_mark(obj.x - 3, obj.y - 36 + ((frame_counter / 20) & 1));
        return;
    }
    const ScreenRect& v = screen_layout.view;
    const float H = (float)(v.y1 - v.y0 + 1);
    const float d = std::max(obj.depth, 0.4f);
    float s = type == M_DRAGON ? std::clamp(5.2f / d, 0.4f, 6.5f) : std::clamp(2.0f / d, 0.4f, 2.5f);
    int32_t bottom_blank = 0, top_blank = 0;
    monster_sprite_extents(type, &bottom_blank, &top_blank);
    const int p = density(im);
    if (type == M_SKELETON || type == M_ORC) {
        const float f = type == M_SKELETON ? 0.5f : 0.9f;
        const float h = (float)(im->h - bottom_blank - top_blank) / (float)p;
        if (h > 1.0f) s *= f * H / (2.0f * h) * d / (d + 0.3f);
    }
    int y = obj.y + (int)((float)bottom_blank / (float)p * s);
    if (type == M_BAT) y -= (int)(0.25f * H / std::max(obj.depth, 0.05f));
    const int shift = (int)((float)sprite_anchor_x(type) * s);
    sprite_draw_at_scale(im, obj.x - shift, y, s);
    if (elite) {
        // Above the head, over the mass of the body.
        const int head = y + 1 - (int)((float)im->h / (float)p * s + 0.5f) + (int)((float)top_blank / (float)p * s);
        draw_crown_mark(obj.x - 3, head - 6 + ((frame_counter / 20) & 1));
    }
}

void draw_mimic(ViewObject obj, int monster_index, int map_x, int map_y) {
    if (monster_index < 0 || monster_index >= monsters.count) return;
    const Monster& m = monsters.list[monster_index];
    if (!mimic_is_revealed(m)) {
        draw_floor_object(GLYPH_CHEST, obj, map_x, map_y);
        return;
    }
    const int32_t ticks = view_scene_mimic_ticks(view_frame.scene, monster_index);
    static const Anim* open = named_anim("mimic_open");
    const Image* im = ticks >= 0 ? held_frame(open, ticks) : monster_sprite(M_MIMIC);
    if (!im) {
        draw_monster_primitive(M_MIMIC, obj.x, obj.y);
        return;
    }
    sprite_draw_at_scale(im, obj.x, obj.y, 2.5f * std::clamp(1.0f / std::max(obj.depth, 0.4f), 0.5f, 1.25f));
}

void draw_floor_object(int glyph, ViewObject obj, int map_x, int map_y) {
    const Image* im = nullptr;
    float s = item_scale(obj.depth);
    if (glyph == GLYPH_ANTIDOTE || glyph == GLYPH_POTION || glyph == GLYPH_SHIELD || glyph == GLYPH_WEAPON) {
        const int i = floor_item_find(map_x, map_y);
        if (i >= 0)
            im = item_sprite((int32_t)floor_items.entries[i].item.id);
        else if (glyph == GLYPH_POTION)
            im = item_sprite(ITEM_HEALING_POTION);
        else if (glyph == GLYPH_ANTIDOTE)
            im = item_sprite(ITEM_ANTIDOTE);
    } else if (glyph == GLYPH_CHEST || glyph == GLYPH_CHEST_OPEN) {
        static const Anim* chest = named_anim("chest");
        im = glyph == GLYPH_CHEST ? held_frame(chest, 0) : held_frame(chest, view_scene_chest_ticks(view_frame.scene, map_x, map_y));
        s *= 2.5f;
    }
    if (!im) im = item_sprite_for_glyph(glyph);
    if (!im) {
        fallback_shape(glyph, obj.x, obj.y);
        return;
    }
    sprite_draw_at_scale(im, obj.x, obj.y, s);
}

namespace {
uint8_t view_mask[FB_LONG];
int16_t view_clip[FB_LONG];
}  // namespace

void view_clip_begin() {
    const ScreenRect& v = screen_layout.view;
    for (int x = 0; x < FB_LONG; x++) {
        view_mask[x] = (x < v.x0 || x > v.x1) ? 1 : 0;
        view_clip[x] = (int16_t)(v.y1 + 1);
    }
    screen_set_column_mask(view_mask);
    screen_set_column_clip(view_clip);
}

void view_clip_end() {
    screen_set_column_mask(nullptr);
    screen_set_column_clip(nullptr);
}
