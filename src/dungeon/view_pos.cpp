// Camera easing: 30 % of the remaining way each tick, snapping when close.
#include "dungeon/view_pos.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "dungeon/monsters.h"
#include "game/player.h"

ViewPos view_pos = {0.5f, 0.5f, 0.0f, 0.0f, VIEW_LIFT_REST, VIEW_LIFT_REST, VIEW_SLIDE_REST, VIEW_SLIDE_REST};

namespace {

// Exact single-precision angles so a loaded run faces precisely where it was saved.
constexpr uint32_t FACING_BITS[4] = {0xBFC90FDAu, 0x00000000u, 0x3FC90FDAu, 0x40490FDBu};

void ease(float& value, float target, float snap) {
    value += (target - value) * 0.3f;
    if (std::fabs(target - value) < snap) value = target;
}

}  // namespace

float facing_angle(int facing) { return std::bit_cast<float>(FACING_BITS[facing & 3]); }

void player_view_sync() {
    view_pos.x = (float)player.x + 0.5f;
    view_pos.y = (float)player.y + 0.5f;
    view_pos.angle = view_pos.angle_target = facing_angle(player.facing);
    view_pos.slide = view_pos.slide_target = VIEW_SLIDE_REST;
    view_pos.lift = view_pos.lift_target = VIEW_LIFT_REST;
    monsters_snap_draw();
}

void world_animate() {
    ease(view_pos.x, (float)player.x + 0.5f, 0.01f);
    ease(view_pos.y, (float)player.y + 0.5f, 0.01f);
    ease(view_pos.angle, view_pos.angle_target, 0.01f);
    ease(view_pos.lift, view_pos.lift_target, 0.002f);
    ease(view_pos.slide, view_pos.slide_target, 0.5f);
}
