// The frame globals of the first-person view.
#include "render/view.h"

int32_t view_flicker = 0;
int32_t view_detail_look = 0;
int32_t view_in_shrine = 0;
int32_t view_horizon = VIEW_HORIZON_START;
float view_eye_height = 0.5f;
float depth_buffer[FB_LONG];

