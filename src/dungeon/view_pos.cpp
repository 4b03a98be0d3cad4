// Camera easing: 30 % of the remaining way each tick, snapping when close.
#include "dungeon/view_pos.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "dungeon/monsters.h"
#include "world/player.h"

ViewPos view_pos = {0.5f, 0.5f, 0.0f, 0.0f, VIEW_EYE_REST, VIEW_EYE_REST, VIEW_HORIZON_REST, VIEW_HORIZON_REST};

namespace {

// Exact single-precision angles so a loaded run faces precisely where it was saved.
constexpr uint32_t FACING_BITS[4] = {0xBFC90FDAu, 0x00000000u, 0x3FC90FDAu, 0x40490FDBu};

}  // namespace

void ease_toward(float& value, float target, float snap) {
    value += (target - value) * 0.3f;
    if (std::fabs(target - value) < snap) value = target;
}

float facing_angle(int facing) { return std::bit_cast<float>(FACING_BITS[facing & 3]); }

void player_view_sync() {
    view_pos.x = (float)player.x + 0.5f;
    view_pos.y = (float)player.y + 0.5f;
    view_pos.angle = view_pos.angle_target = facing_angle(player.facing);
    view_pos.horizon_shift = view_pos.horizon_shift_target = VIEW_HORIZON_REST;
    view_pos.eye_height = view_pos.eye_height_target = VIEW_EYE_REST;
    monsters_snap_draw();
}

void world_animate() {
    ease_toward(view_pos.x, (float)player.x + 0.5f, 0.01f);
    ease_toward(view_pos.y, (float)player.y + 0.5f, 0.01f);
    ease_toward(view_pos.angle, view_pos.angle_target, 0.01f);
    ease_toward(view_pos.eye_height, view_pos.eye_height_target, 0.002f);
    ease_toward(view_pos.horizon_shift, view_pos.horizon_shift_target, 0.5f);
}
