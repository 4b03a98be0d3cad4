// What the parts of one first-person frame share: the camera as the exploration code keeps it,
// the view's basis and sizes, and the per-column hits of the wall pass.
#pragma once
#include <cstdint>

#include "render/screen.h"
#include "render/view_scene.h"

// The camera record of the view (owned by the exploration code, read here).
struct ViewCamera {
    float x, y;          // cell units, cell centres at +0.5
    float angle;         // radians: east 0, south +pi/2
    float angle_target;
    float horizon_shift; // pixels, truncated when used
    float eye;           // k, 0.5 in the dungeon
};
ViewCamera view_camera();

struct ViewFrame {
    ViewCamera cam;
    float dir_x, dir_y, plane_x, plane_y;
    int x0, y0, x1, y1, W, H;
    int horizon;
    float ceiling;  // 1 in the dungeon, 3 in the shrine
    bool shrine;
    bool effects;
    ViewScene scene;
};
extern ViewFrame view_frame;

// The rows of each column the walls take (bottom < top where no wall was met).
extern int16_t view_wall_top[FB_LONG], view_wall_bottom[FB_LONG];

// The gathered objects of one frame, drawn farthest first.
constexpr int VIEW_OBJECT_MAX = 90;
struct ViewEntry {
    float depth;       // along the view direction
    float test_depth;  // compared with the depth buffer
    int32_t column;
    int32_t kind;      // the map letter; 'M' a monster
    int32_t cell_x, cell_y;
    int32_t monster;   // index for 'M', else -1
};
extern ViewEntry view_objects[VIEW_OBJECT_MAX];
extern int32_t view_object_count;

void view_draw_floor_and_ceiling();
void view_draw_walls();
void view_gather_objects();
void view_draw_objects();
