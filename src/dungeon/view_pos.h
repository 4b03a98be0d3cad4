// The camera of the first-person view: where it stands, where it looks, the horizon shift and the
// eye height. Exploration and the map code own it and ease it every tick; the view only reads it.
// Snapped when a floor is entered or a run is loaded.
#pragma once

struct ViewPos {
    float x, y;  // cell units, eased toward the player's cell centre
    float angle, angle_target;  // radians; a turn moves the target by a quarter turn
    float eye_height, eye_height_target;  // share of a wall unit, rests at 0.5
    float horizon_shift, horizon_shift_target;  // pixels, truncated when drawn; rests at 0
};

constexpr float VIEW_EYE_REST = 0.5f;
constexpr float VIEW_HORIZON_REST = 0.0f;
// The quarter turn added to or taken from the target angle, as the float the turns use.
constexpr float VIEW_QUARTER_TURN = 1.5707963f;

extern ViewPos view_pos;

// The view angle of a facing: north -pi/2, east 0, south pi/2, west pi.
float facing_angle(int facing);
void player_view_sync();
// One tick of easing; the shrine moves the eye height and horizon targets while a card is open.
void world_animate();
// Moves value 30 % of the way to target and puts it exactly on target once closer than snap.
void ease_toward(float& value, float target, float snap);
