// Where the first-person camera stands and looks: eased toward the player's cell and facing
// each tick, snapped when a floor is entered or a run is loaded.
#pragma once

struct ViewPos {
    float x, y;  // eased toward the player's cell centre
    float angle, angle_target;  // radians
    float lift, lift_target;  // vertical offset, rests at 0.5
    float slide, slide_target;  // second eased value, rests at 0
};

constexpr float VIEW_LIFT_REST = 0.5f;
constexpr float VIEW_SLIDE_REST = 0.0f;

extern ViewPos view_pos;

// The view angle of a facing: north -pi/2, east 0, south pi/2, west pi.
float facing_angle(int facing);
void player_view_sync();
// One tick of easing; the shrine moves the lift and slide targets while a card is open.
void world_animate();
