// The items in the player's hands at the bottom of the view, swaying with turns and bobbing with
// steps; empty or broken hands show a plain block. Nothing leaves the view rectangle.
#include <algorithm>
#include <cmath>

#include "dungeon/view_pos.h"
#include "world/player.h"
#include "items/item.h"
#include "render/objects.h"
#include "render/pictures.h"
#include "render/screen.h"
#include "render/view_frame.h"

namespace {

constexpr float PI = 3.14159265f;

float pivot_height(uint32_t id) {
    switch (id) {
        case ITEM_SHORT_SWORD: return 0.8f;
        case ITEM_DAGGER:
        case ITEM_VENOM_DAGGER: return 0.74f;
        case ITEM_SPEAR: return 0.72f;
        default: return 0.86f;
    }
}

const Image* hand_picture(const Item& item) {
    if (item.id == ITEM_NONE || item_is_broken(item)) return nullptr;
    return item_sprite((int32_t)item.id);
}

}  // namespace

void draw_held_items() {
    const ScreenRect& v = screen_layout.view;
    const int W = v.x1 - v.x0 + 1, B = v.y1;
    const int cx = v.x0 + W / 2;
    const int z = std::max(18, 17 * W / 100);
    const int zf = 45 * z / 100;
    const float base_scale = 1.7f * (float)W / 100.0f;
    const float e = std::hypot(view_pos.x - ((float)player.x + 0.5f), view_pos.y - ((float)player.y + 0.5f));
    const int bob = (int)(5.0f * std::sin(PI * std::min(1.0f, e)));
    float turn = view_pos.angle_target - view_pos.angle;
    turn = std::remainder(turn, 2.0f * PI);
    const int sway = (int)(18.0f * turn);

    const Item& main = player.main_hand;
    const Item& off = player.off_hand;
    const Image* main_pic = hand_picture(main);
    const Image* off_pic = hand_picture(off);
    // A two-handed weapon takes both hands even when broken and shown as an empty hand.
    const bool two_handed = main.id != ITEM_NONE && item_def(main.id).two_handed;
    auto scale_of = [&](uint32_t id) {
        return (id == ITEM_DAGGER || id == ITEM_VENOM_DAGGER) ? base_scale * 1.6f : base_scale;
    };

    view_clip_begin();
    if (!two_handed) {
        if (off_pic && item_def(off.id).kind != ITEM_KIND_WEAPON) {
            const RotSprite* r = cached_rotated_sprite(1, off_pic, scale_of(off.id), 8.0f, 0.5f, 0);
            blit_outlined(r, cx - 31 * W / 100 + sway, B + bob - 8);
        } else if (off_pic) {
            const int x = cx - 22 * W / 100 + sway, y = B + bob - 14;
            const RotSprite* r = cached_rotated_sprite(1, off_pic, scale_of(off.id), -35.0f,
                                                       pivot_height(off.id), item_wear_level(off));
            blit_outlined(r, x, y);
            draw_chest_icon(x, y, zf, false, 0);
        } else {
            draw_chest_icon(cx - 28 * W / 100 + sway, B - 75 * z / 100 + bob, z, false, 0);
        }
    }
    if (main_pic) {
        const int x = two_handed ? cx + 16 * W / 100 + sway : cx + 24 * W / 100 + sway;
        const int y = two_handed ? B + bob - 10 : B + bob - 14;
        const RotSprite* r = cached_rotated_sprite(0, main_pic, scale_of(main.id), two_handed ? 40.0f : 35.0f,
                                                   pivot_height(main.id), item_wear_level(main));
        blit_outlined(r, x, y);
        draw_chest_icon(x, y, zf, false, 0);
        if (two_handed)
            draw_chest_icon(x + (int)(1.3f * (float)zf * 0.6427876f), y - (int)(1.3f * (float)zf * 0.76604444f),
                            zf, false, 0);
    } else {
        draw_chest_icon(cx + 28 * W / 100 + sway, B - 75 * z / 100 + bob, z, false, view_frame.scene.berserk ? 1 : 0);
    }
    view_clip_end();
}
